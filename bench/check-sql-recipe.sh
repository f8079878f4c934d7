#!/usr/bin/env bash
# Runs the DuckDB form of the SQL recipe (bench/three-lists-duckdb.sql) on a
# pair of files and checks that its three lists are the companion's, case
# exact (--match-case), item for item.
#   bench/check-sql-recipe.sh [FILE1 FILE2]
# Without files it takes the benchmark's 1M pair in build/bench-data/1000000,
# made by gen.py when it is not there. Exit status: 0 when the lists are the
# same, 1 when one differs (the files are kept and named), 2 on trouble.
set -euo pipefail
bench=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$bench")
companion=${QUILLMARK_COMPARE:-$root/build/quillmark-compare}
peers=$bench/peers/node

if [ $# -eq 0 ]; then
    # The same folder and stamp as bench.py's pairs, so either reuses the other's.
    dir=$root/build/bench-data/1000000
    want="1000000 $(sha256sum "$bench/gen.py" | cut -d' ' -f1)"
    if [ ! -f "$dir/a.txt" ] || [ ! -f "$dir/b.txt" ] || [ "$(cat "$dir/stamp" 2>/dev/null)" != "$want" ]; then
        echo "generating the 1,000,000-line pair in $dir ..." >&2
        python3 "$bench/gen.py" 1000000 "$dir"
        printf '%s\n' "$want" > "$dir/stamp"
    fi
    set -- "$dir/a.txt" "$dir/b.txt"
fi
if [ $# -ne 2 ]; then
    echo "usage: $0 [FILE1 FILE2]" >&2
    exit 2
fi
if [ ! -x "$companion" ]; then
    echo "check-sql-recipe: $companion not found; build it or set QUILLMARK_COMPARE" >&2
    exit 2
fi
command -v node >/dev/null || { echo "check-sql-recipe: node is needed (scripts/install-deps.sh bench)" >&2; exit 2; }
if [ ! -d "$peers/node_modules/@duckdb/node-api" ]; then
    npm install --prefix "$peers" --no-audit --no-fund --silent --engine-strict=false
fi

out=$(mktemp -d "${TMPDIR:-/tmp}/sql-recipe.XXXXXX")
keep=0
trap '[ "$keep" = 1 ] || rm -rf "$out"' EXIT
node "$peers/sql-lists.mjs" --sql "$bench/three-lists-duckdb.sql" \
    --both "$out/sql-both.txt" --only-in-1 "$out/sql-only-in-1.txt" --only-in-2 "$out/sql-only-in-2.txt" \
    "$1" "$2" || exit 2
"$companion" --match-case --lf \
    --both "$out/both.txt" --only-in-1 "$out/only-in-1.txt" --only-in-2 "$out/only-in-2.txt" \
    "$1" "$2" || exit 2

# The companion splits the text at every LF, so a file that ends in one has
# one more line, an empty one, after it; a text reader, as in the query, has
# none. File 1's such line is the last of "both" when file 2 holds an empty
# line (its own such line counts), else the last of "only in 1"; file 2's is
# the last of "only in 2" when file 1 holds no empty line at all.
ends_in_lf() { [ -s "$1" ] && [ "$(tail -c 1 "$1" | od -An -tx1 | tr -d ' \n')" = 0a ]; }
has_empty_line() { LC_ALL=C grep -q $'^\r*$' "$1"; }
drop_final_empty_item() {
    local tail2
    tail2=$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')
    if [ "$tail2" = 0a0a ] || { [ "$tail2" = 0a ] && [ "$(stat -c %s "$1")" = 1 ]; }; then
        truncate -s -1 "$1"
    else
        echo "check-sql-recipe: the companion's $(basename "$1") does not end with the empty line" >&2
        keep=1
        exit 1
    fi
}
e1=0 e2=0 blank1=0 blank2=0
ends_in_lf "$1" && e1=1
ends_in_lf "$2" && e2=1
has_empty_line "$1" && blank1=1
has_empty_line "$2" && blank2=1
if [ $e1 = 1 ]; then
    if [ $e2 = 1 ] || [ $blank2 = 1 ]; then drop_final_empty_item "$out/both.txt"
    else drop_final_empty_item "$out/only-in-1.txt"; fi
fi
if [ $e2 = 1 ] && [ $e1 = 0 ] && [ $blank1 = 0 ]; then
    drop_final_empty_item "$out/only-in-2.txt"
fi

status=0
counts=()
for list in both only-in-1 only-in-2; do
    if cmp -s "$out/$list.txt" "$out/sql-$list.txt"; then
        counts+=("$list $(wc -l < "$out/$list.txt")")
    else
        echo "check-sql-recipe: '$list' differs: $(cmp "$out/$list.txt" "$out/sql-$list.txt" 2>&1 | head -1)" >&2
        status=1
    fi
done
if [ $status = 0 ]; then
    echo "SQL recipe (DuckDB form) on $(basename "$(dirname "$1")")/$(basename "$1") and $(basename "$2"): the same three lists as quillmark-compare --match-case (${counts[*]} items)"
else
    keep=1
    echo "check-sql-recipe: lists kept in $out (sql-*.txt: the query's)" >&2
fi
exit $status
