#!/usr/bin/env bash
# Runs a command against a private PulseAudio server with a null sink, then stops the server.
set -euo pipefail
dir=$(mktemp -d)
export HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_SERVER="unix:$dir/native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=silence" \
    -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" >"$dir/server.log" 2>&1 &
server=$!
cleanup() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
for _ in $(seq 50); do
    [ -S "$dir/native" ] && break
    sleep 0.1
done
[ -S "$dir/native" ] || { cat "$dir/server.log" >&2; exit 1; }
"$@"
