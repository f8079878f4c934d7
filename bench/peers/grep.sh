#!/bin/bash
# Three lists with grep's fixed-string, whole-line matching.
#
#   grep.sh [-i] FILE1 FILE2 BOTH ONLY1 ONLY2
#
# CRs are removed first (tr), since grep would keep them as part of each
# line. grep -f loads one file as a list of patterns, so this gets slow
# quickly as the files grow; the benchmark runs it on the small pair only.
set -euo pipefail

icase=()
if [ "${1:-}" = "-i" ]; then
    icase=(-i)
    shift
fi
[ $# -eq 5 ] || { echo "usage: grep.sh [-i] FILE1 FILE2 BOTH ONLY1 ONLY2" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tr -d '\r' < "$1" > "$tmp/1"
tr -d '\r' < "$2" > "$tmp/2"

# grep exits 1 when it selects no line; that is an empty list, not an error.
grep -Fx "${icase[@]}" -f "$tmp/2" "$tmp/1" > "$3" || [ $? -eq 1 ]
grep -Fxv "${icase[@]}" -f "$tmp/2" "$tmp/1" > "$4" || [ $? -eq 1 ]
grep -Fxv "${icase[@]}" -f "$tmp/1" "$tmp/2" > "$5" || [ $? -eq 1 ]
