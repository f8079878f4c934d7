#!/usr/bin/env bash
# Opens the window natively on Wayland (Qt's wayland platform) on a headless weston, with two
# small lists in its path fields, and takes a picture of weston's whole screen.
#
#   scripts/wayland-check.sh [BUILD [OUT.png]]     defaults: build, wayland-check.png
#
# Needs the packages of `scripts/install-deps.sh wayland` (weston, qt6-wayland). Fails when
# the window program does not start or ends early on Wayland, or when no picture comes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
out=${2:-wayland-check.png}
[ -x "$build/quillmark" ] || { echo "wayland-check: no $build/quillmark; run make first" >&2; exit 1; }
"$here/install-deps.sh" wayland
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

tmp=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf -- "$tmp"
}
trap cleanup EXIT
mkdir -p "$tmp/run" "$tmp/home" "$tmp/shots"
chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
# The pixman renderer draws into memory, so the screenshooter (--debug) has pixels to take.
weston --backend=headless-backend.so --use-pixman --width=1280 --height=720 \
    --socket=wl-check --debug >"$tmp/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$tmp/run/wl-check" ] && break; sleep 0.1; done
[ -S "$tmp/run/wl-check" ] || { cat "$tmp/weston.log" >&2; exit 1; }
export WAYLAND_DISPLAY=wl-check

printf 'apple\nbanana\ncherry\n' >"$tmp/file1.txt"
printf 'banana\ncherry\ndate\n' >"$tmp/file2.txt"
QT_QPA_PLATFORM=wayland "$build/quillmark" "$tmp/file1.txt" "$tmp/file2.txt" \
    >"$tmp/quillmark.log" 2>&1 &
qpid=$!
pids+=($qpid)
sleep 4
if ! kill -0 "$qpid" 2>/dev/null; then
    echo "wayland-check: the window program ended on Wayland:" >&2
    cat "$tmp/quillmark.log" >&2
    exit 1
fi
(cd "$tmp/shots" && timeout 20 weston-screenshooter)
shot=$(ls "$tmp/shots"/*.png 2>/dev/null | head -n 1)
[ -n "$shot" ] || { echo "wayland-check: weston took no picture" >&2; exit 1; }
cp "$shot" "$out"
echo "wayland-check: the window runs on Wayland; picture in $out"
