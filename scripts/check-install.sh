#!/usr/bin/env bash
# Installs a build into a throwaway prefix and checks what a desktop gets
# there: every file in its place, the programs answer --help and --version
# without a display, the window program finds its own files in the prefix,
# and the menu entry, the AppStream file and the manual pages pass their
# checkers (each one that is installed; `make package` installs them all).
# A build configured with QUILLMARK_PACKAGED=ON (the Debian package's) leaves
# the completions and the documents to the packaging, and must not install them.
#   scripts/check-install.sh [BUILD]
set -euo pipefail
build=${1:-build}
prefix=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "check-install: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
app=example.harrowmere.Quillmark
for f in bin/quillmark bin/quillmark-compare \
    share/quillmark/HAND-M.CUR share/quillmark/x/o.cjs \
    share/quillmark/Samples/sample1.txt share/quillmark/Samples/sample2.txt \
    share/quillmark/translations/quillmark_de.qm share/quillmark/translations/quillmark_fr.qm \
    share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
    share/icons/hicolor/scalable/apps/quillmark.svg \
    share/man/man1/quillmark.1.gz share/man/man1/quillmark-compare.1.gz; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
packaged=no
grep -qx 'QUILLMARK_PACKAGED:BOOL=ON' "$build/CMakeCache.txt" && packaged=yes
for f in share/doc/quillmark/copyright share/doc/quillmark/NEWS.md \
    share/bash-completion/completions/quillmark \
    share/bash-completion/completions/quillmark-compare; do
    if [ $packaged = no ]; then
        [ -f "$prefix/$f" ] || fail "$f is not installed"
    else
        [ ! -e "$prefix/$f" ] || fail "$f is installed, though the packaging installs it"
    fi
done
for size in 16 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/quillmark.png
    [ -f "$png" ] || fail "no ${size}px icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
    [ "$w $h" = "$size $size" ] || fail "the ${size}px icon is ${w}x$h"
done

# In English, whatever the user's language.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANGUAGE= LC_ALL=C.UTF-8)
help=$("${nodisplay[@]}" "$prefix/bin/quillmark" --help) || fail "quillmark --help failed"
grep -qF "Usage: quillmark [FILE1 [FILE2]]" <<<"$help" || fail "quillmark --help: $help"
grep -qxF "Program files:    $prefix/share/quillmark" <<<"$help" ||
    fail "the installed program looks for its files elsewhere: $help"
version=$("${nodisplay[@]}" "$prefix/bin/quillmark" --version)
[[ $version =~ ^quillmark\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "quillmark --version: $version"
"${nodisplay[@]}" "$prefix/bin/quillmark-compare" --help >/dev/null || fail "quillmark-compare --help failed"
# The installed programs find their translations. grep reads the help to its
# end: quitting at the first match would leave the program a closed pipe.
env LANGUAGE= LC_ALL= LANG=de_DE.UTF-8 "$prefix/bin/quillmark-compare" --help | grep "Zeile für Zeile" >/dev/null ||
    fail "quillmark-compare --help is not in German with LANG=de_DE.UTF-8"
samples=$prefix/share/quillmark/Samples
LC_ALL=C.UTF-8 "$prefix/bin/quillmark-compare" "$samples/sample1.txt" "$samples/sample2.txt" |
    grep -q "^Lines In Both Text Files: [1-9]" || fail "the samples do not compare"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "the menu entry does not validate"
else
    echo "check-install: desktop-file-validate is not installed; menu entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null ||
        fail "the AppStream file does not validate"
else
    echo "check-install: appstreamcli is not installed; AppStream file not validated"
fi
# Each completion offers its command's options, where bash-completion is there to run it.
if [ $packaged = no ]; then
    "$(dirname "$0")/check-completion.sh" "$prefix/share/bash-completion/completions"
fi
if command -v man >/dev/null; then
    for page in quillmark quillmark-compare; do
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man $page: $warnings"
    done
fi
echo "check-install: the installed tree in $prefix is complete"
