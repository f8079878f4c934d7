#!/usr/bin/env bash
# Runs the package's autopkgtests (debian/tests/) with autopkgtest on this
# machine itself (the null testbed): from the source package and the .deb
# built in OUT, it installs the package and the tests' dependencies with apt
# and runs each test; then the package is purged again. Needs root (or
# sudo), and refuses to touch a quillmark that was installed before. Leaves
# the results in OUT/autopkgtest/ and autopkgtest's own output in
# OUT/autopkgtest.log.
#   scripts/check-autopkgtest.sh [OUT]
set -euo pipefail
out=$(realpath "${1:-build-package}")
version=$(cd "$(dirname "$0")/.." && dpkg-parsechangelog -S Version)
fail() {
    echo "check-autopkgtest: $*" >&2
    exit 1
}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if dpkg-query -W -f='${Status}' quillmark 2>/dev/null | grep -q installed; then
    fail "quillmark is already installed; remove it first"
fi

trap '"${sudo[@]}" dpkg --purge quillmark >/dev/null 2>&1 || true' EXIT
rm -rf "$out/autopkgtest"
status=0
"${sudo[@]}" autopkgtest --output-dir "$out/autopkgtest" \
    "$out/quillmark_${version}_$(dpkg --print-architecture).deb" "$out/quillmark_$version.dsc" \
    -- null >"$out/autopkgtest.log" 2>&1 || status=$?
if [ $status -ne 0 ]; then
    tail -n 40 "$out/autopkgtest.log" >&2
    fail "autopkgtest failed (status $status); all its output is in $out/autopkgtest.log"
fi
sed 's/^/check-autopkgtest: /' "$out/autopkgtest/summary"
