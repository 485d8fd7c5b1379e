#!/usr/bin/env bash
# Usage: check_launcher.sh <command> <expected executable>
# Starts the game through <command> (a launcher path, or a name looked up on PATH, as a menu
# entry does) on the offscreen platform. The launcher must replace itself with <expected
# executable>, the one beside the installed img/, and the game must still be running after
# two seconds, with its window open.
set -euo pipefail

command=$1
expected=$(readlink -f -- "$2")
log=$(mktemp)
game=
cleanup() {
    if [ -n "$game" ] && kill -0 "$game" 2>/dev/null; then
        kill "$game"
        wait "$game" 2>/dev/null || true
    fi
    rm -f "$log"
}
trap cleanup EXIT

QT_QPA_PLATFORM=offscreen "$command" >"$log" 2>&1 &
game=$!
sleep 2

if ! kill -0 "$game" 2>/dev/null; then
    wait "$game" && status=0 || status=$?
    game=
    echo "FAIL: $command ended within two seconds (exit status $status); its output:" >&2
    cat "$log" >&2
    exit 1
fi
# The launcher execs, so the process started above is now the game itself.
running=$(readlink -f -- "/proc/$game/exe")
if [ "$running" != "$expected" ]; then
    echo "FAIL: $command runs $running, expected $expected" >&2
    exit 1
fi
echo "ok: $command runs $running and is still running after two seconds"
