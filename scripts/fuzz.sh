#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on a copy of its seed corpus.
#   scripts/fuzz.sh BUILD_DIR [SECONDS]
# Fails when any target finds an input that crashes it or breaks a check; the
# input is left in BUILD_DIR/fuzz-findings/ and the run's log beside it.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:-60}
findings="$build/fuzz-findings"
mkdir -p "$findings"

failed=()
for name in fuzz_codec fuzz_lines fuzz_engine; do
    corpus="$build/fuzz-corpus/$name"
    rm -rf "$corpus" && mkdir -p "$corpus" && cp fuzz/corpus/$name/* "$corpus/"
    options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/$name-")
    case $name in
        fuzz_engine) options+=(-max_len=2048 -dict=fuzz/fuzz_engine.dict) ;;
        *) options+=(-max_len=4096) ;;
    esac
    log="$findings/$name.log"
    "$build/$name" "${options[@]}" "$corpus" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    inputs=$(ls "$corpus" | wc -l)
    if [ $status -eq 0 ]; then
        echo "$name: ${runs:-?} runs in ${seconds} s, corpus of $inputs inputs, no finding"
    else
        echo "$name: FINDING after ${runs:-?} runs (exit status $status); log: $log"
        grep -E -A12 '^\*\*\*|ERROR:|runtime error' "$log" | head -40
        failed+=("$name")
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "Fuzzing found faults in: ${failed[*]}"; exit 1; }
