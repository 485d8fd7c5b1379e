#!/usr/bin/env bash
# Prints the share of one core that the game, and the X server drawing it, use while the child
# thinks: the game starts on a private Xvfb, settles for a few seconds, and then the processor
# time of both is read over SECONDS (30 by default). The same is measured for a bare Qt window
# beside it. A private sound server with a null sink plays the game's sounds, as on a desktop;
# with --no-sound there is none. VORLANDI_GAME names another build of the game to measure (an
# older one, say), with its img folder beside it.
#   bench/idle_desktop.sh [SECONDS] [--no-sound]   (from the repository, after a build)
set -uo pipefail
seconds=${1:-30}
settle=5
build=$(cd "$(dirname "$0")/.." && pwd)/build
game=${VORLANDI_GAME:-$build/vorlandi}
needed=(Xvfb)
[ "${2:-}" = --no-sound ] || needed+=(pulseaudio)
for program in "${needed[@]}"; do
    command -v "$program" >/dev/null || { echo "SKIPPED: $program is not installed" >&2; exit 77; }
done
for program in "$game" "$build/bench_bare_window"; do
    [ -x "$program" ] || { echo "$program is not built" >&2; exit 1; }
done

dir=$(mktemp -d)
# The processes this script started and has not stopped yet: the sound server, and the X server
# and program being measured.
sound= server= client=
stop() {
    for pid; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    return 0
}
cleanup() {
    stop "$client" "$server" "$sound"
    rm -rf "$dir"
}
trap cleanup EXIT
export HOME=$dir XDG_RUNTIME_DIR=$dir QT_QPA_PLATFORM=xcb PULSE_SERVER=unix:$dir/native
ticks_per_second=$(getconf CLK_TCK)

# cpu_time PID: the processor time the process's threads have used so far, in nanoseconds, from
# the scheduler's own count; where the kernel keeps none, from the clock ticks of its user and
# system time (the command name in field 2 may hold spaces, so fields count after its bracket).
cpu_time() {
    local task total=0 stat
    for task in /proc/"$1"/task/*/schedstat; do
        [ -r "$task" ] || continue
        read -r stat _ <"$task" && total=$((total + stat))
    done
    if [ "$total" -eq 0 ]; then
        stat=$(<"/proc/$1/stat") || return 1
        stat=${stat##*) }
        read -r -a fields <<<"$stat"
        total=$(((fields[11] + fields[12]) * 1000000000 / ticks_per_second))
    fi
    echo "$total"
}

# percent NANOSECONDS: that processor time over the measured seconds, as a share of one core.
percent() {
    awk -v ns="$1" -v s="$seconds" 'BEGIN { printf "%.3f%%", 100 * ns / 1e9 / s }'
}

if [ "${2:-}" != --no-sound ]; then
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-level=error \
        -L "module-null-sink sink_name=silence" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" 2>/dev/null &
    sound=$!
    for _ in $(seq 100); do
        [ -S "$dir/native" ] && break
        sleep 0.05
    done
fi

# measure NAME PROGRAM: the program alone on a new X server; prints both figures.
measure() {
    local name=$1 program=$2
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
    server=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    DISPLAY=":$(head -n1 "$dir/display")" "$program" 2>"$dir/$name.log" &
    client=$!
    sleep "$settle"
    local client0 server0 client1 server1
    client0=$(cpu_time "$client") && server0=$(cpu_time "$server") || {
        echo "$name did not stay up:" >&2
        cat "$dir/$name.log" >&2
        return 1
    }
    sleep "$seconds"
    client1=$(cpu_time "$client") && server1=$(cpu_time "$server") || {
        echo "$name did not stay up:" >&2
        cat "$dir/$name.log" >&2
        return 1
    }
    printf '%-12s %10s %14s\n' "$name" "$(percent $((client1 - client0)))" \
        "$(percent $((server1 - server0)))"
    stop "$client" "$server"
    client= server=
    rm -f "$dir/display"
}

echo "share of one core over ${seconds} s, after ${settle} s of start-up" \
    "($([ "${2:-}" = --no-sound ] && echo "no sound server" || echo "null-sink sound server"))"
printf '%-12s %10s %14s\n' "" "program" "X server"
measure game "$game" || exit 1
measure bare "$build/bench_bare_window" || exit 1
