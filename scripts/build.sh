#!/usr/bin/env bash
# Configures (once) and builds the game and its tests into build/, quietly unless it fails.
set -euo pipefail
cd "$(dirname "$0")/.."

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
fi
cmake --build build -- --quiet >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
