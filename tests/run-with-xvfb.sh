#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb on a free display), then stops the server.
# Without Xvfb it exits with 77, which ctest reports as a skipped test.
set -euo pipefail
if ! command -v Xvfb >/dev/null; then
    echo "SKIPPED: Xvfb is not installed (Debian package xvfb)" >&2
    exit 77
fi
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/server.log" &
server=$!
cleanup() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
done
[ -s "$dir/display" ] || { cat "$dir/server.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$dir/display")"
"$@"
