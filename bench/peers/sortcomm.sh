#!/bin/bash
# Three lists with sort -u and comm.
#
#   sortcomm.sh FILE1 FILE2 BOTH ONLY1 ONLY2
#
# The lists come out sorted and without duplicates, so they are not the
# same lists as quillmark-compare writes; this is a speed reference only.
# Case is always significant (comm has no way to ignore it).
set -euo pipefail
export LC_ALL=C
[ $# -eq 5 ] || { echo "usage: sortcomm.sh FILE1 FILE2 BOTH ONLY1 ONLY2" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tr -d '\r' < "$1" | sort -u > "$tmp/1"
tr -d '\r' < "$2" | sort -u > "$tmp/2"
comm -12 "$tmp/1" "$tmp/2" > "$3"
comm -23 "$tmp/1" "$tmp/2" > "$4"
comm -13 "$tmp/1" "$tmp/2" > "$5"
