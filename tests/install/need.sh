#!/usr/bin/env bash
# Usage: need.sh <program>... -- <command> [<argument>...]
# Runs the command when every program is on PATH; otherwise says which are missing and exits
# with 77, which ctest reports as a skipped test.
set -euo pipefail

missing=()
while [ "$1" != -- ]; do
    command -v "$1" >/dev/null || missing+=("$1")
    shift
done
shift
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: ${missing[*]} not installed (scripts/install-packages.sh installs it)"
    exit 77
fi
exec "$@"
