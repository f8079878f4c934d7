#!/usr/bin/env bash
# Installs the Debian packages that a task needs, but only those missing.
#   scripts/install-deps.sh          what building, running and testing need
#   scripts/install-deps.sh bench    that, plus the peers of the benchmark
#   scripts/install-deps.sh screen   that, plus a virtual X display and window manager for screenshots
#   scripts/install-deps.sh a11y     that, plus a virtual display and an accessibility bus for atspi-probe.sh
#   scripts/install-deps.sh package  that, plus what builds and checks the Debian package and runs its autopkgtests
#   scripts/install-deps.sh wayland  that, plus a headless Wayland compositor for wayland-check.sh
#   scripts/install-deps.sh fuzz     that, plus clang and its fuzzer and sanitizer runtimes
set -euo pipefail

# devscripts brings hardening-check, which the hardening test runs on the programs.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
    fonts-liberation xdg-utils python3 devscripts)
case "${1:-}" in
    bench) packages+=(python3 gawk mawk grep coreutils time hyperfine)
        # DuckDB and Polars come from the npm registry; Node.js from Debian when none is there.
        command -v npm >/dev/null || packages+=(nodejs npm) ;;
    screen) packages+=(xvfb xauth x11-utils openbox xdotool imagemagick) ;;
    a11y) packages+=(xvfb x11-utils openbox dbus-x11 at-spi2-core python3-pyatspi xdotool) ;;
    package) packages+=(build-essential dpkg-dev debhelper fakeroot file lintian desktop-file-utils appstream
        man-db bash-completion autopkgtest xvfb xauth x11-utils) ;;
    fuzz) packages+=(clang libclang-rt-14-dev llvm-14) ;;
    wayland) packages+=(weston qt6-wayland) ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    # Another install on the same machine holds dpkg's lock for a while: wait for it.
    apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600)
    "${apt[@]}" update -qq
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" = bench ]; then
    peers="$(dirname "$0")/../bench/peers/node"
    [ -d "$peers/node_modules" ] || npm install --prefix "$peers" --no-audit --no-fund --silent --engine-strict=false
fi
