#!/usr/bin/env bash
# Starts the game RUNS times on a private X server with a private sound server (a null sink),
# presses Exit (Alt+X) at a random moment within its first second, and counts the runs that
# ended with status 0 within five seconds. With --no-sound there is no sound server at all.
# With --restart, a second after the window shows, Enter plays a sound, the sound server is
# killed during it, Enter plays while it is gone, the server is started again, and Enter goes on
# for 2.5 to 4.5 s, while the audio layer reconnects, before Exit.
#   bench/exit_runs.sh [RUNS] [--no-sound | --restart]     (from the repository, after a build)
set -uo pipefail
runs=${1:-300}
game=$(cd "$(dirname "$0")/.." && pwd)/build/vorlandi
for program in Xvfb pulseaudio xdotool; do
    command -v "$program" >/dev/null || { echo "SKIPPED: $program is not installed" >&2; exit 77; }
done

dir=$(mktemp -d)
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
pids+=($!)
export HOME=$dir XDG_RUNTIME_DIR=$dir QT_QPA_PLATFORM=xcb
if [ "${2:-}" = --no-sound ]; then
    export PULSE_SERVER=unix:$dir/nowhere
else
    export PULSE_SERVER=unix:$dir/native
fi
# start_server: the sound server with a null sink, its process id in $server.
start_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-level=error \
        -L "module-null-sink sink_name=silence" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" 2>/dev/null &
    server=$!
    pids+=("$server")
    for _ in $(seq 100); do
        [ -S "$dir/native" ] && break
        sleep 0.05
    done
}
[ "${2:-}" = --no-sound ] || start_server
for _ in $(seq 100); do
    [ -s "$dir/display" ] && { [ "${2:-}" = --no-sound ] || [ -S "$dir/native" ]; } && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$dir/display")"

clean=0 failed=0 silent=0
for run in $(seq "$runs"); do
    "$game" 2>"$dir/stderr" &
    pid=$!
    if [ "${2:-}" = --restart ]; then
        # Enter judges the empty answer (a sound), the server dies during it, Enter again plays
        # while it is gone (the game says it plays on in silence), and the server comes back.
        window=$(xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1)
        sleep 1
        xdotool windowfocus --sync "$window" key Return 2>/dev/null
        sleep 0.3
        kill -9 "$server"
        wait "$server" 2>/dev/null
        rm -f "$dir/native"
        xdotool key Return 2>/dev/null
        sleep 0.5
        start_server
        for _ in $(seq $((5 + RANDOM % 5))); do
            xdotool key Return 2>/dev/null
            sleep 0.5
        done
        grep -q "in silence" "$dir/stderr" && silent=$((silent + 1))
    else
        sleep "0.$((RANDOM % 9 + 1))"
    fi
    window=$(xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1)
    [ -n "$window" ] && xdotool key --window "$window" alt+x 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null
        echo "run $run: still running 5 s after Exit" >&2
    fi
    wait "$pid"
    status=$?
    if [ "$status" -eq 0 ]; then
        clean=$((clean + 1))
    else
        failed=$((failed + 1))
        echo "run $run: status $status: $(tail -n 3 "$dir/stderr")" >&2
    fi
done
echo "$clean passed, $failed failed"
[ "${2:-}" != --restart ] || echo "$silent runs lost the server while playing"
[ "$failed" -eq 0 ]
