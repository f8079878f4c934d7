#!/usr/bin/env bash
# Checks that a build's two programs carry the toolchain's hardening, with
# hardening-check (devscripts): stack protector, fortified libc calls, PIE,
# read-only relocations bound at start. With --endbr, also that main starts
# with the x86 control-flow mark, which hardening-check cannot tell on
# Debian 12. Other options go to hardening-check (--nofortify ...), as the
# build's CMake configuration says. Exits 77 (a skip to ctest) when
# hardening-check is not installed.
#   scripts/check-hardening.sh BUILD [--endbr] [HARDENING-CHECK OPTION...]
set -euo pipefail
build=$1
shift
endbr=no
options=()
for arg in "$@"; do
    if [ "$arg" = --endbr ]; then endbr=yes; else options+=("$arg"); fi
done
if ! command -v hardening-check >/dev/null; then
    echo "check-hardening: hardening-check (devscripts) is not installed"
    exit 77
fi
programs=("$build/quillmark" "$build/quillmark-compare")
hardening-check "${options[@]}" "${programs[@]}"
if [ $endbr = yes ]; then
    for program in "${programs[@]}"; do
        first=$(objdump -d --no-show-raw-insn --disassemble=main "$program" | awk '!found && /<main>:$/ { getline; print $2; found = 1 }')
        [ "$first" = endbr64 ] || {
            echo "check-hardening: $program: main does not start with endbr64" >&2
            exit 1
        }
    done
    echo "check-hardening: main starts with endbr64 in both programs"
fi
