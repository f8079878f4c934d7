#!/usr/bin/env bash
# Entry point for `make bench`; all the work is in bench.py (see bench/README.md).
set -euo pipefail
exec python3 "$(dirname "$0")/bench.py" "$@"
