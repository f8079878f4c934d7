#!/usr/bin/env bash
# Puts the window's result lists through what a screen reader asks of them over AT-SPI
# (scripts/atspi-probe.py), on a virtual X display under openbox, with an accessibility bus of
# its own inside a private D-Bus session. Says whether the window answered every call or died.
#
#   scripts/atspi-probe.sh [BUILD [CALL...]]     BUILD defaults to build; CALLs as atspi-probe.py
#   scripts/atspi-probe.sh BUILD --events        prints what a screen reader hears of Down, Space, a find
#   scripts/atspi-probe.sh BUILD --text          the text fields and the delimiter box's open list
#
# Installs what it needs through install-deps.sh (xvfb, openbox, at-spi2-core, python3-pyatspi ...).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
# Debian's Python, which python3-pyatspi installs into, whatever python3 is first on PATH.
python=${PYTHON:-/usr/bin/python3}
[ $# -eq 0 ] || shift

if [ -z "${ATSPI_PROBE_INSIDE:-}" ]; then
    [ -x "$build/quillmark" ] || { echo "atspi-probe: no $build/quillmark; run make first" >&2; exit 2; }
    "$here/install-deps.sh" a11y
    "$python" -c 'import pyatspi' 2>/dev/null || { echo "atspi-probe: python3-pyatspi is missing" >&2; exit 2; }
    build=$(cd "$build" && pwd)
    # The buses' own start-up chatter is left out.
    ATSPI_PROBE_INSIDE=1 exec dbus-run-session -- "$0" "$build" "$@" \
        2> >(grep -v --line-buffered -e '^dbus-daemon\[' -e '^SpiRegistry daemon' >&2)
fi

tmp=$(mktemp -d)
pids=() # what this script started: ended at the end, last first
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf -- "$tmp"
}
trap cleanup EXIT

# shellcheck source=x-session.sh
. "$(dirname "$0")/x-session.sh"
start_x_session "1280x1024"

# Two small files whose three lists each have at least two lines, and compared on their
# first field two changed lines.
printf 'apple,1\nbanana,2\ncherry,3\ndate,4\nelder,5\nfig,6\n' >"$tmp/one.txt"
printf 'banana,2\ncherry,9\ndate,10\nfig,6\ngrape,7\nkiwi,8\nlemon,9\n' >"$tmp/two.txt"

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    "$build/quillmark" "$tmp/one.txt" "$tmp/two.txt" >"$tmp/quillmark.log" 2>&1 &
window=$!
pids+=("$window")

set +e
"$python" "$here/atspi-probe.py" "$window" "$@"
probed=$?
if kill -0 "$window" 2>/dev/null; then
    echo "window: still running"
else
    wait "$window"
    status=$?
    echo "window: ended with status $status$( [ $status -gt 128 ] && echo " (signal $((status - 128)))")"
    sed 's/^/window log: /' "$tmp/quillmark.log" | tail -5
fi
exit $probed
