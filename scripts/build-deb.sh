#!/usr/bin/env bash
# Builds the Debian packages with dpkg-buildpackage from a copy of the
# checkout (the files git tracks or would add, as they are on disk), so the
# working tree stays clean. Puts the .debs, the .changes and the .buildinfo in
# OUT (build-package/ by default), with the source package (.dsc and .tar.xz)
# for lintian to check as well.
#   scripts/build-deb.sh [OUT]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "${1:-build-package}" && cd "${1:-build-package}" && pwd -P)
version=$(dpkg-parsechangelog -S Version)
src=$out/src
rm -rf "$src" "$out"/quillmark*_"$version"[._]*
mkdir -p "$src/quillmark-$version"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src/quillmark-$version"
(cd "$src/quillmark-$version" && dpkg-source --build .)
(cd "$src/quillmark-$version" && nice -n 19 dpkg-buildpackage -b -us -uc -j"${JOBS:-2}")
cp "$src"/quillmark*_"$version"[._]* "$out"/
ls "$out"/*.deb
