#!/usr/bin/env bash
# Installs the built package with apt, runs both programs from /usr, checks
# the completions where bash-completion put them, then purges the package
# and checks that nothing of it is left. Needs root (or sudo), and refuses
# to touch a quillmark that was installed before.
#   scripts/check-deb.sh DEB
set -euo pipefail
deb=$(realpath "$1")
fail() {
    echo "check-deb: $*" >&2
    exit 1
}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if dpkg-query -W -f='${Status}' quillmark 2>/dev/null | grep -q installed; then
    fail "quillmark is already installed; remove it first"
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
purged=no
trap '[ $purged = yes ] || "${sudo[@]}" dpkg --purge quillmark >/dev/null' EXIT
files=$(dpkg -L quillmark)
echo "check-deb: installed $(grep -c . <<<"$files") paths"

[ "$(command -v quillmark-compare)" = /usr/bin/quillmark-compare ] || fail "quillmark-compare is not in /usr/bin"
compare_version=$(quillmark-compare --version) || fail "quillmark-compare --version failed"
window_version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen /usr/bin/quillmark --version) ||
    fail "quillmark --version failed"
echo "check-deb: $compare_version; $window_version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen /usr/bin/quillmark --help)
grep -qxF "Program files:    /usr/share/quillmark" <<<"$help" || fail "the program looks for its files elsewhere: $help"
quillmark-compare /usr/share/quillmark/Samples/sample1.txt /usr/share/quillmark/Samples/sample2.txt |
    grep -q "^Lines In Both Text Files: [1-9]" || fail "the samples do not compare"
"$(dirname "$0")/check-completion.sh" /usr/share/bash-completion/completions
zcat /usr/share/doc/quillmark/changelog.gz | grep -q . || fail "no release notes"

"${sudo[@]}" dpkg --purge quillmark >/dev/null
purged=yes
if dpkg-query -W quillmark >/dev/null 2>&1; then fail "dpkg still knows quillmark after the purge"; fi
left=()
while IFS= read -r path; do
    # The folders the package shared with others (/usr, /usr/share ...) stay.
    [ -e "$path" ] && ! [ -d "$path" ] && left+=("$path")
done <<<"$files"
[ -e /usr/share/quillmark ] && left+=(/usr/share/quillmark)
[ -e /usr/share/doc/quillmark ] && left+=(/usr/share/doc/quillmark)
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"
echo "check-deb: installed, ran from /usr and purged clean: $(basename "$deb")"
