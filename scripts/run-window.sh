#!/usr/bin/env bash
# Starts the window program from a build folder, or says why it cannot.
set -euo pipefail
build=${1:-build}
if [ -x "$build/quillmark" ]; then
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "quillmark: no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it on a desktop, or under xvfb-run." >&2
        exit 1
    fi
    exec "$build/quillmark"
fi
exec "$build/quillmark-compare" --help
