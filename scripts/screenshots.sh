#!/usr/bin/env bash
# Retakes the README's pictures of the window, docs/window.png, docs/window-options.png,
# docs/window-grown.png and docs/window-changed.png: the window after comparing two small
# customer lists, at its designed size (the lists' counts, the overlap bar and the marks of
# lines that hide a tab, a stray byte or an odd space), then with More Options open, then made
# larger with the find bar open; then two CSV exports compared on their id field, with the
# list of changed records; on a virtual X display at 96 DPI under openbox.
#
#   scripts/screenshots.sh [BUILD [OUTDIR]]           defaults: build, docs
#   SCALE=2 scripts/screenshots.sh build /tmp/2x      the same at twice the size (QT_SCALE_FACTOR)
#
# The two lists are written to LISTS (default /home/alex/lists), so that the path fields show
# a home folder rather than a build folder; a folder made for them is removed again. HOME and
# XDG_CONFIG_HOME point at a throwaway folder, so your own settings are neither read nor written.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
out=${2:-docs}
scale=${SCALE:-1}
lists=${LISTS:-/home/alex/lists}

[ -x "$build/quillmark" ] || { echo "screenshots: no $build/quillmark; run make first" >&2; exit 1; }
"$here/install-deps.sh" screen
mkdir -p "$out"
out=$(cd "$out" && pwd)

tmp=$(mktemp -d)
made=()    # what this script wrote outside $tmp: removed at the end
pids=()    # what it started: ended at the end, last first
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ ${#made[@]} -eq 0 ] || rm -rf -- "${made[@]}"
    rm -rf -- "$tmp"
}
trap cleanup EXIT

# The two lists: this year's customers as file 1, last year's as file 2, one address a line.
file1=$lists/customers-2025.txt
file2=$lists/customers-2024.txt
csv1=$lists/customers-2025.csv
csv2=$lists/customers-2024.csv
for f in "$file1" "$file2" "$csv1" "$csv2"; do
    [ ! -e "$f" ] || { echo "screenshots: $f exists; set LISTS to another folder" >&2; exit 1; }
done
top=$lists
while [ ! -e "$(dirname "$top")" ]; do top=$(dirname "$top"); done
if [ -e "$top" ]; then made=("$file1" "$file2" "$csv1" "$csv2"); else made=("$top"); fi
mkdir -p "$lists"
# Some lines carry what a list marks: a tab left at the end by a spreadsheet, a Windows-1252
# byte (file 1) against its UTF-8 spelling (file 2), a zero-width space and a no-break space
# pasted from a web page, and an accent typed as a combining mark (NFD).
{
    printf '%s\n' amira.haddad@example.com ben.okafor@example.org
    printf 'carla.jimenez@example.net\t\n'
    printf '%s\n' d.whitfield@example.com
    printf 'm\374ller@example.de\n'
    printf '%s\n' elena.petrova@example.org farid.nasser@example.com grace.oconnell@example.net \
        hiroshi.tanaka@example.com isabel.moreau@example.org jonas.lindqvist@example.com
    printf 'jos\303\251.garcia@example.es\n'
    printf '%s\n' leah.vandenberg@example.net marcus.bell@example.com nadia.rahman@example.org
} | head -c -1 >"$file1"
{
    printf '%s\n' Amira.Haddad@example.com ben.okafor@example.org carla.jimenez@example.net
    printf 'm\303\274ller@example.de\n'
    printf 'jose\314\201.garcia@example.es\n'
    printf 'elena\342\200\213.petrova@example.org\n'
    printf 'grace.oconnell@example.net\302\240\n'
    printf '%s\n' Hiroshi.Tanaka@example.com leah.vandenberg@example.net marcus.bell@example.com \
        nadia.rahman@example.org priya.shah@example.com rachel.kim@example.org tom.ashby@example.net
} | head -c -1 >"$file2"
# The same customers as records: an id, the address, name, plan and the day of the export.
printf '%s\n' 'id,email,name,plan,updated' '1,amira.haddad@example.com,Amira Haddad,basic,2025-01-02' \
    '2,ben.okafor@example.org,"Okafor, Ben",pro,2025-01-02' \
    '3,carla.jimenez@example.net,Carla Jimenez,basic,2025-01-02' \
    '4,d.whitfield@example.com,Dee Whitfield,pro,2025-01-02' \
    '5,elena.petrova@example.org,Elena Petrova,team,2025-01-02' \
    '6,farid.nasser@example.com,Farid Nasser,team,2025-01-02' | head -c -1 >"$csv1"
printf '%s\n' 'id,email,name,plan,updated' '1,amira.haddad@example.com,Amira Haddad,basic,2024-11-30' \
    '2,ben.okafor@example.com,"Okafor, Ben",pro,2024-11-30' \
    '3,carla.jimenez@example.net,Carla Jimenez,basic,2024-11-30' \
    '5,elena.petrova@example.org,Elena Petrova,basic,2024-11-30' \
    '7,grace.oconnell@example.net,Grace OConnell,basic,2024-11-30' \
    '7,grace.oconnell@example.net,Grace OConnell,pro,2024-11-30' | head -c -1 >"$csv2"

# A display of its own (Xvfb picks a free number) and a window manager on it.
# shellcheck source=x-session.sh
. "$(dirname "$0")/x-session.sh"
start_x_session "$((1600 * scale))x$((1200 * scale))"

QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$build/quillmark" "$file1" "$file2" \
    >"$tmp/quillmark.log" 2>&1 &
pids+=($!)
wid=$(timeout 30 xdotool search --sync --onlyvisible --class quillmark | head -n 1)
sleep 1

at() { xdotool mousemove --window "$wid" $(($1 * scale)) $(($2 * scale)) "${@:3}"; }
shoot() {
    xdotool mousemove 0 0    # no hover highlight in the picture
    sleep 0.5
    import -window "$wid" "png:$1"
    echo "$1: $(identify -format '%wx%h' "$1")"
}

# Designed size: press "Start Comparing" (the left half of its row).
at 136 223 click 1
sleep 1.5
# Two lines of the second list checked: its frame counts them.
at 35 433 click 1
sleep 0.3
at 35 461 click 1
sleep 0.3
shoot "$out/window.png"

# More Options open (Alt+M), with Look-Alike Lines Match checked (Alt+L); closed again after.
xdotool key alt+m
sleep 0.5
xdotool key alt+l
sleep 0.5
shoot "$out/window-options.png"
xdotool key alt+l
sleep 0.3
xdotool key alt+m
sleep 0.5

# Made larger: the lists share the height; a line of the first list clicked, then Ctrl+F.
xdotool windowsize --sync "$wid" $((820 * scale)) $((900 * scale))
sleep 1
at 120 290 click 1
sleep 0.3
xdotool key ctrl+f
sleep 0.3
xdotool type --delay 80 ell
sleep 0.5
shoot "$out/window-grown.png"

# Records: the CSV exports compared on the id, the first line naming the fields and the day of
# the export ignored (More Options: Alt+F, Alt+N, Alt+G), with the list of changed records.
kill "${pids[-1]}" 2>/dev/null || true
wait "${pids[-1]}" 2>/dev/null || true
rm -rf -- "${XDG_CONFIG_HOME:?}"/* # at its designed size again
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$build/quillmark" "$csv1" "$csv2" \
    >>"$tmp/quillmark.log" 2>&1 &
pids+=($!)
wid=$(timeout 30 xdotool search --sync --onlyvisible --class quillmark | head -n 1)
sleep 1
xdotool key alt+m
sleep 0.5
xdotool key alt+f
xdotool type --delay 60 id
xdotool key alt+n alt+g
xdotool type --delay 60 updated
sleep 0.3
xdotool key alt+m
sleep 0.5
at 136 223 click 1
sleep 1.5
shoot "$out/window-changed.png"
