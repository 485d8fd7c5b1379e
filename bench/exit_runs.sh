#!/usr/bin/env bash
# Starts the game RUNS times on a private X server with a private sound server (a null sink),
# presses Exit (Alt+X) at a random moment within its first second, and counts the runs that
# ended with status 0 within five seconds. With --no-sound there is no sound server at all.
# With --restart, a second after the window shows, Enter plays a sound, the sound server is
# killed during it, Enter plays while it is gone, the server is started again, and Enter goes on
# for 2.5 to 4.5 s, while the audio layer reconnects, before Exit. With --pipewire the sound
# server is PipeWire with WirePlumber and pipewire-pulse on a private session bus, as Debian's
# desktops run it, and a restart kills and starts all three.
#   bench/exit_runs.sh [RUNS] [--no-sound | --restart] [--pipewire]
# (from the repository, after a build)
set -uo pipefail
runs=${1:-300}
mode=${2:-}
[ "$mode" = --pipewire ] && mode=
pipewire=
for argument; do [ "$argument" = --pipewire ] && pipewire=1; done
source=$(cd "$(dirname "$0")/.." && pwd)
game=$source/build/vorlandi
programs=(Xvfb xdotool pulseaudio)
[ -z "$pipewire" ] || programs=(Xvfb xdotool pipewire wireplumber pipewire-pulse dbus-daemon)
for program in "${programs[@]}"; do
    command -v "$program" >/dev/null || { echo "SKIPPED: $program is not installed" >&2; exit 77; }
done

dir=$(mktemp -d)
pids=()    # the X server and the session bus
servers=() # the running sound server's processes
cleanup() {
    kill "${pids[@]}" "${servers[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
pids+=($!)
export HOME=$dir XDG_RUNTIME_DIR=$dir QT_QPA_PLATFORM=xcb
socket=$dir/native
if [ -n "$pipewire" ]; then
    socket=$dir/pulse/native
    mkdir -p "$dir/config"
    ln -s "$source/tests/pipewire" "$dir/config/pipewire" # the null sink
    export PIPEWIRE_RUNTIME_DIR=$dir XDG_CONFIG_HOME=$dir/config XDG_STATE_HOME=$dir/state
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
    dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >/dev/null 2>&1 &
    pids+=($!)
fi
if [ "$mode" = --no-sound ]; then
    export PULSE_SERVER=unix:$dir/nowhere
else
    export PULSE_SERVER=unix:$socket
fi
# start_server: the sound server with a null sink, its process ids in servers.
start_server() {
    servers=()
    if [ -n "$pipewire" ]; then
        pipewire >/dev/null 2>&1 &
        servers+=($!)
        for _ in $(seq 100); do
            [ -S "$dir/pipewire-0" ] && break
            sleep 0.05
        done
        wireplumber >/dev/null 2>&1 &
        servers+=($!)
        pipewire-pulse >/dev/null 2>&1 &
        servers+=($!)
    else
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-level=error \
            -L "module-null-sink sink_name=silence" \
            -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" 2>/dev/null &
        servers+=($!)
    fi
    for _ in $(seq 100); do
        [ -S "$socket" ] && break
        sleep 0.05
    done
}
# stop_server: kills the sound server at once, as a crash would.
stop_server() {
    kill -9 "${servers[@]}" 2>/dev/null # WirePlumber may have ended with PipeWire already
    wait "${servers[@]}" 2>/dev/null
    rm -f "$socket" "$dir/pipewire-0" "$dir/pipewire-0.lock"
}
[ "$mode" = --no-sound ] || start_server
for _ in $(seq 100); do
    [ -s "$dir/display" ] && { [ "$mode" = --no-sound ] || [ -S "$socket" ]; } && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$dir/display")"

clean=0 failed=0 silent=0
for run in $(seq "$runs"); do
    "$game" 2>"$dir/stderr" &
    pid=$!
    if [ "$mode" = --restart ]; then
        # Enter judges the empty answer (a sound), the server dies during it, Enter again plays
        # while it is gone (the game says it plays on in silence), and the server comes back.
        window=$(xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1)
        sleep 1
        xdotool windowfocus --sync "$window" key Return 2>/dev/null
        sleep 0.3
        stop_server
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
[ "$mode" != --restart ] || echo "$silent runs lost the server while playing"
[ "$failed" -eq 0 ]
