#!/usr/bin/env bash
# Usage: need.sh <program>... -- <command> [<argument>...]
# Runs the command when every program is on PATH; otherwise says which are missing and skips
# (fails under CI).
set -euo pipefail
source "$(dirname -- "$0")/../skip.sh"

programs=()
while [ "$1" != -- ]; do
    programs+=("$1")
    shift
done
shift
need "${programs[@]}"
exec "$@"
