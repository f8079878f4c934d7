#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and
# benchmarking need, but only those that are missing.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-liberation
          xvfb xauth x11-apps imagemagick python3 gawk mawk hyperfine time xdg-utils)
if [ "${1:-}" = "--build-only" ]; then
    packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-liberation xdg-utils)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
