#!/usr/bin/env bash
# Runs two builds of quillmark-compare over the same small inputs and option
# sets and checks that they behave the same: standard output, standard error,
# exit status and every file left behind, byte for byte. Meant for changes
# that must not change what the companion does (a refactor, a faster path).
#
# Usage: compare-outputs.sh OLD NEW
#   OLD, NEW  two quillmark-compare binaries
# Prints each case that differs, then "N passed, N failed"; exits 1 when one
# failed. Set KEEP=1 to keep the temporary folder for a look.

set -u

if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
    echo "usage: $0 OLD NEW (two quillmark-compare binaries)" >&2
    exit 2
fi
old=$(realpath "$1")
new=$(realpath "$2")
work=$(mktemp -d)
[ "${KEEP:-}" = 1 ] || trap 'rm -rf "$work"' EXIT
in="$work/in"
mkdir "$in"

# The inputs. Each run gets a fresh copy of them as its working folder, so
# outputs written over or beside them are compared too.
printf 'apple\nPear\nfig\nfig\nkiwi\nplum \nFig\n\n' >"$in/a.txt"
printf 'APPLE\nfig\nplum\nplum\t\nmango\n\nlime\n' >"$in/b.txt"
printf 'id;name;note\n1;"Smith, J";"said ""hi"""\n2;Doe;plain\n3;"Lee";x,y\n' >"$in/c1.csv"
printf 'id;name;note\n1;"Smith, J";other\n4;Roe;plain\n3;Lee;"x,y"\n' >"$in/c2.csv"
printf 'caf\xe9\n\x93quoted\x94\nna\xefve\nplain\n' >"$in/w1.txt"
printf 'caf\xc3\xa9\n\x93quoted\x94\nnaive\nplain\r\n' >"$in/w2.txt"
printf 'one\0two, "2"\0multi\nline\0three\r\0' >"$in/z1.txt"
printf 'two, "2"\0multi\nline\0four\0' >"$in/z2.txt"
printf 'no\xc2\xa0break space\ncaf\xc3\xa9\nzero\xe2\x80\x8bwidth\nsame\nApple\n' >"$in/l1.txt"
printf 'no break space\ncafe\xcc\x81\nzerowidth\nsame\napple \n' >"$in/l2.txt"
printf 'k1 alpha\nk2 beta\n  \nk3 gamma\n' >"$in/k1.txt"
printf 'k2 BETA\nk4 delta\n\nk1 other\n' >"$in/k2.txt"
: >"$in/empty.txt"
echo 'a regular file' >"$in/notdir"

passed=0
failed=0

# runOne SIDE BIN STDIN STDOUT ARGS...: one run in a fresh copy of the inputs.
runOne() {
    local side=$1 bin=$2 stdin=$3 stdout=$4
    shift 4
    local dir="$work/$side"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -a "$in" "$dir/files"
    (
        cd "$dir/files" || exit 99
        if [ "$stdout" = - ]; then
            exec -a quillmark-compare "$bin" "$@" <"$stdin" >"$dir/out" 2>"$dir/err"
        else
            exec -a quillmark-compare "$bin" "$@" <"$stdin" >"$stdout" 2>"$dir/err"
        fi
    )
    echo $? >"$dir/status"
    [ -e "$dir/out" ] || : >"$dir/out"
}

# check NAME [-i STDIN] [-o STDOUT] -- ARGS...: runs both builds, compares.
check() {
    local name=$1 stdin=/dev/null stdout=-
    shift
    while [ "$1" != -- ]; do
        case $1 in
        -i) stdin=$2 ;;
        -o) stdout=$2 ;;
        esac
        shift 2
    done
    shift
    runOne old "$old" "$stdin" "$stdout" "$@"
    runOne new "$new" "$stdin" "$stdout" "$@"
    local what=()
    cmp -s "$work/old/status" "$work/new/status" ||
        what+=("status $(cat "$work/old/status") vs $(cat "$work/new/status")")
    cmp -s "$work/old/out" "$work/new/out" || what+=(stdout)
    cmp -s "$work/old/err" "$work/new/err" || what+=(stderr)
    diff -r "$work/old/files" "$work/new/files" >/dev/null 2>&1 || what+=(files)
    if [ ${#what[@]} -eq 0 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $name: ${what[*]}"
        echo "      args: $*"
    fi
}

# Every way to ask for outputs: none (the counts), each one to a file and to
# standard output, several at once.
outputs=(
    ""
    "--both both.out"
    "--both -"
    "--only-in-1 only1.out"
    "--only-in-1 -"
    "--only-in-2 only2.out"
    "--only-in-2 -"
    "--csv lists.csv"
    "--csv -"
    "--near-misses near.out"
    "--near-misses -"
    "--both - --only-in-1 - --only-in-2 -"
    "--both both.out --only-in-1 only1.out --only-in-2 only2.out --csv lists.csv --near-misses near.out"
    "--only-in-2 - --csv lists.csv --near-misses -"
    "--only-in-2 only2.out --both - --csv -"
)
# Comparison and output options.
optionSets=(
    ""
    "--match-case"
    "--ignore-blanks"
    "--each-once"
    "--skip-empty"
    "--skip-empty --ignore-blanks --match-case"
    "--look-alike"
    "--look-alike --match-case"
    "--lf"
    "-z"
    "--zero-terminated --match-case"
    "--exit-status"
    "--exit-status --match-case --each-once"
    "--summary"
    "--summary --match-case --each-once"
    "--field 2 --delimiter ;"
    "--field 1 --delimiter space"
    "--field 2 --delimiter tab"
    "--field 1"
    "--key-pattern ^(k\\d)"
    "--key-pattern [a-z]+"
)
pairs=(
    "a.txt b.txt"
    "c1.csv c2.csv"
    "w1.txt w2.txt"
    "l1.txt l2.txt"
    "z1.txt z2.txt"
    "k1.txt k2.txt"
    "empty.txt a.txt"
    "a.txt empty.txt"
    "empty.txt empty.txt"
)

# The word splitting of the sets below is on purpose: each is a list of words.
for output in "${outputs[@]}"; do
    for options in "${optionSets[@]}"; do
        # shellcheck disable=SC2086
        check "a/b: $options $output" -- $options $output a.txt b.txt
    done
    for pair in "${pairs[@]}"; do
        # shellcheck disable=SC2086
        check "$pair: $output" -- $output $pair
        # shellcheck disable=SC2086
        check "$pair, -z: $output" -- -z $output $pair
    done
done
for options in "${optionSets[@]}"; do
    for pair in "${pairs[@]}"; do
        # shellcheck disable=SC2086
        check "$pair: $options, all to files" -- $options "${outputs[12]}" $pair
        # shellcheck disable=SC2086
        check "$pair: $options, counts" -- $options $pair
    done
done

# Standard input as either file, and as both.
check "file 1 from stdin" -i "$in/a.txt" -- --only-in-1 - --csv - - b.txt
check "file 2 from stdin" -i "$in/b.txt" -- --only-in-2 - --near-misses n.out a.txt -
check "file 2 from stdin, streamed" -i "$in/b.txt" -- --only-in-2 o.out --summary a.txt -
check "both from stdin" -i "$in/a.txt" -- - -
check "stdin and /dev/stdin" -i "$in/a.txt" -- - /dev/stdin

# Missing and unusable inputs.
check "file 1 missing" -- missing.txt b.txt
check "file 2 missing" -- --both - a.txt missing.txt
check "both missing, exit status" -- --exit-status missing.txt missing2.txt
check "file 1 empty name" -- "" b.txt
check "file 2 a folder" -- a.txt .
check "file 2 blanks" -- a.txt "  "

# Usage errors.
check "unknown option" -- --frobnicate a.txt b.txt
check "unknown option, exit status" -- --exit-status --frobnicate a.txt b.txt
check "one file" -- a.txt
check "three files" -- a.txt b.txt c1.csv
check "no files" --
check "--field 0" -- --field 0 a.txt b.txt
check "--field word" -- --field two a.txt b.txt
check "--delimiter without --field" -- --delimiter tab a.txt b.txt
check "--delimiter too long" -- --field 1 --delimiter ab a.txt b.txt
check "--key-pattern empty" -- --key-pattern "" a.txt b.txt
check "--key-pattern broken" -- --key-pattern "(" a.txt b.txt
check "--field and --key-pattern" -- --field 1 --key-pattern x a.txt b.txt
check "--lf and -z" -- --lf -z a.txt b.txt
check "--both twice" -- --both x --both y a.txt b.txt
check "--csv twice" -- --csv x --csv x a.txt b.txt
check "--near-misses empty" -- --near-misses "" a.txt b.txt
check "--only-in-2= empty" -- --only-in-2= a.txt b.txt
check "--both without PATH" -- a.txt b.txt --both
check "summary and a list on stdout" -- --summary --only-in-1 - a.txt b.txt
check "summary and CSV on stdout" -- --summary --csv - a.txt b.txt
check "summary and near misses on /dev/stdout" -- --summary --near-misses /dev/stdout a.txt b.txt
check "two lists to one file" -- --both x --only-in-1 x a.txt b.txt
check "CSV and near misses to one file" -- --csv x --near-misses ./x a.txt b.txt
check "a list over file 1" -- --only-in-2 a.txt a.txt b.txt
check "CSV over file 2" -- --csv b.txt a.txt b.txt
check "near misses over file 2" -- --near-misses ./b.txt a.txt b.txt
check "stdout twice is fine" -- --both - --only-in-1 /dev/stdout a.txt b.txt
check "a list asked twice before a clash" -- --both x --only-in-1 x --both y a.txt b.txt
check "an argument not UTF-8" -- $'caf\xe9.txt' b.txt

# Outputs that cannot be written.
check "list into a missing folder" -- --both nowhere/both.out a.txt b.txt
check "CSV into a missing folder" -- --csv nowhere/lists.csv a.txt b.txt
check "near misses under a file" -- --near-misses notdir/near.out a.txt b.txt
check "streamed list into a missing folder" -- --only-in-2 nowhere/o.out --both b.out a.txt b.txt
check "streamed list, exit status" -- --exit-status --only-in-2 nowhere/o.out a.txt b.txt
check "one good, one bad" -- --both good.out --csv nowhere/x.csv a.txt b.txt
check "list to /dev/full" -- --only-in-1 /dev/full a.txt b.txt
check "CSV to /dev/full, exit status" -- --exit-status --csv /dev/full a.txt b.txt
check "stdout to /dev/full" -o /dev/full -- --both - a.txt b.txt
check "near misses on a full stdout" -o /dev/full -- --near-misses - l1.txt l2.txt
check "counts on a full stdout" -o /dev/full -- a.txt b.txt
check "summary on a full stdout" -o /dev/full -- --summary --exit-status a.txt b.txt
check "list to /dev/null" -- --both /dev/null --only-in-1 /dev/null a.txt b.txt

# Help and version.
check "--help" -- --help
check "-h" -- -h
check "--help-all" -- --help-all a.txt
check "--version" -- --version
check "-v and files" -- -v a.txt b.txt
check "--help on a full stdout" -o /dev/full -- --help
check "--version on a full stdout, exit status" -o /dev/full -- --exit-status --version

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
