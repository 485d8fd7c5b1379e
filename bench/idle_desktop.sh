#!/usr/bin/env bash
# Prints what the idle game costs the desktop while the child thinks, on each sound server named
# (all three by default): "pulseaudio", with a null sink and module-suspend-on-idle as a desktop
# runs it; "pipewire", with WirePlumber and pipewire-pulse on a private session bus and the null
# sink of tests/pipewire; "none", no sound server at all. Each starts in a runtime folder of its
# own beside a private Xvfb. For each, over SECONDS (15 by default) after 10 s of settling, longer
# than the servers' 5 s suspend timeout plus the number the game speaks as it starts:
# - the servers' share of one core, summed over their processes, and the null sink's state at the
#   end: with no client, with the game, with a bare Qt window (no sound client), with the floor
#   (the bare window waking as often as the idle game must: caret, ten ticks and six cursor frames
#   a second, each doing the least it can), and the game's cost over no client;
# - the share of one core used by the program and by the X server drawing it, and the program's
#   wake-ups a second (voluntary context switches) in its main thread and in all its threads;
# - the program's resident memory at the end, and the median of several alternating start-ups,
#   from spawn to its window being mapped, with the ratio game/bare of both.
# It fails only where something could not be measured. VORLANDI_GAME names another build of the
# game to measure (an older one, say), with its img folder beside it.
#   bench/idle_desktop.sh [SECONDS] [pulseaudio|pipewire|none]...
# (from the repository, after a build)
set -uo pipefail
seconds=15 settle=10 starts=5 kinds=()
for argument; do
    case $argument in
    pulseaudio | pipewire | none) kinds+=("$argument") ;;
    *[!0-9]* | '' | 0) echo "usage: $0 [SECONDS] [pulseaudio|pipewire|none]..." >&2 && exit 2 ;;
    *) seconds=$argument ;;
    esac
done
[ ${#kinds[@]} -gt 0 ] || kinds=(pulseaudio pipewire none)
source=$(cd "$(dirname "$0")/.." && pwd)
declare -A program=([game]=${VORLANDI_GAME:-$source/build/vorlandi}
    [bare]=$source/build/bench_bare_window [floor]=$source/build/bench_bare_window)
declare -A arguments=([floor]=--same-wake-ups)
needed=(Xvfb xev xprop stdbuf pactl)
[[ " ${kinds[*]} " != *" pulseaudio "* ]] || needed+=(pulseaudio)
[[ " ${kinds[*]} " != *" pipewire "* ]] || needed+=(pipewire wireplumber pipewire-pulse dbus-daemon)
for needs in "${needed[@]}"; do
    command -v "$needs" >/dev/null || { echo "SKIPPED: $needs is not installed" >&2; exit 77; }
done
for name in game bare; do
    [ -x "${program[$name]}" ] || { echo "${program[$name]} is not built" >&2; exit 1; }
done

dir=$(mktemp -d)
# The processes this script started and has not stopped yet: the X server and xev watching it,
# the session bus and the sound servers, and the program being measured.
xserver='' bus='' sound=() client=''
# stop PID...: ends those processes, the last named first, each after the processes it started.
stop() {
    local i pids=("$@")
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        [ -n "${pids[i]}" ] || continue
        # shellcheck disable=SC2046 # one process id a word
        stop $(pgrep -P "${pids[i]}")
        kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null
    done
    return 0
}
cleanup() {
    stop "$xserver" "${XEV_PID:-}" "$bus" "${sound[@]}" "$client"
    rm -rf "$dir"
}
trap cleanup EXIT
trap "exit 1" HUP INT PIPE TERM
fail() {
    echo "$*" >&2
    [ ! -s "$dir/log" ] || { echo "what the programs said:" >&2 && cat "$dir/log" >&2; }
    exit 1
}
# The test harness pins the locale and gives until_true.
source "$source/tests/session.sh"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
ticks_per_second=$(getconf CLK_TCK)

# threads PID...: a line for each thread of those processes: its id, the processor time it has
# used so far in nanoseconds, from the scheduler's own count (where the kernel keeps none, from
# the clock ticks of its user and system time; the command name in field 2 may hold spaces, so
# fields count after its bracket), and its voluntary context switches. Fails if a process ended.
threads() {
    local pid task ns stat fields key value
    for pid; do
        [ -d "/proc/$pid" ] || return 1
        for task in /proc/"$pid"/task/*; do
            read -r ns _ 2>/dev/null <"$task/schedstat" || continue
            if [ "$ns" -eq 0 ]; then
                stat=$(cat "$task/stat" 2>/dev/null) || continue
                read -r -a fields <<<"${stat##*) }"
                ns=$(((fields[11] + fields[12]) * 1000000000 / ticks_per_second))
            fi
            value=''
            while read -r key value && [ "$key" != voluntary_ctxt_switches: ]; do :; done \
                2>/dev/null <"$task/status"
            [ -z "$value" ] || echo "${task##*/} $ns $value"
        done
    done
}

# used NAME [PID]: from the threads NAME listed before and after the measured seconds, the share
# of one core they used, and the voluntary context switches a second of thread PID and of all.
# A thread that started meanwhile counts from nothing; one that ended is missing from both sums.
used() {
    awk -v pid="${2:-}" -v s="$seconds" '
        FNR == NR { ns[$1] = $2; n[$1] = $3; next }
        { time += $2 - ns[$1]; all += $3 - n[$1]; if ($1 == pid) main = $3 - n[$1] }
        END { printf "%.3f%% %.1f %.1f\n", 100 * time / 1e9 / s, main / s, all / s }' \
        "$dir/$1.before" "$dir/$1.after"
}

# sink_state: the null sink's state (RUNNING, IDLE or SUSPENDED), or "-" without a server.
sink_state() {
    [ ${#sound[@]} -gt 0 ] || { echo - && return; }
    pactl list sinks short 2>/dev/null | awk '$2 == "silence" { print $NF }'
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>>"$dir/log" &
xserver=$!
until_true 10 test -s "$dir/display" || fail "Xvfb did not start"
DISPLAY=:$(head -n1 "$dir/display") && export DISPLAY
# xev reports each top-level window mapped on the display, so that a start-up is timed by the
# event itself; a root property set until it is reported shows that xev is listening.
# Its output is read through a copy of the pipe, which stays open should xev end.
coproc XEV { exec stdbuf -oL xev -root -event substructure -event property 2>>"$dir/log"; }
exec {events}<&"${XEV[0]}"
for _ in $(seq 50); do
    xprop -root -f _LISTENING 8s -set _LISTENING yes
    while read -r -t 0.2 -u "$events" line && [[ $line != PropertyNotify* ]]; do :; done
    [[ ${line:-} = PropertyNotify* ]] && break
done
[[ ${line:-} = PropertyNotify* ]] || fail "xev did not report the display's events"

# start_sound KIND: starts that sound server in a runtime folder of its own, its processes (but
# the session bus) in sound, and returns once it serves players.
start_sound() {
    local run=$dir/$1
    mkdir -p "$run/config"
    export HOME=$run XDG_RUNTIME_DIR=$run XDG_CONFIG_HOME=$run/config XDG_STATE_HOME=$run/state \
        PIPEWIRE_RUNTIME_DIR=$run PULSE_SERVER=unix:$run/nowhere
    unset DBUS_SESSION_BUS_ADDRESS
    case $1 in
    pulseaudio)
        PULSE_SERVER=unix:$run/native
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-level=error \
            -L "module-null-sink sink_name=silence" -L module-suspend-on-idle \
            -L "module-native-protocol-unix auth-anonymous=1 socket=$run/native" 2>>"$dir/log" &
        sound=($!)
        ;;
    pipewire)
        export PULSE_SERVER=unix:$run/pulse/native DBUS_SESSION_BUS_ADDRESS=unix:path=$run/bus
        ln -s "$source/tests/pipewire" "$run/config/pipewire" # the null sink
        dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>>"$dir/log" &
        bus=$!
        pipewire 2>>"$dir/log" &
        sound=($!)
        until_true 10 test -S "$run/pipewire-0" || return 1
        wireplumber 2>>"$dir/log" &
        sound+=($!)
        pipewire-pulse 2>>"$dir/log" &
        sound+=($!)
        ;;
    none) return 0 ;;
    esac
    until_true 10 pactl info
}

# launch NAME: starts that program and returns once its window is mapped, the milliseconds this
# took in started, its process id in client.
launch() {
    local line begin
    while read -r -t 0.01 -u "$events" line; do :; done
    begin=${EPOCHREALTIME/./}
    # shellcheck disable=SC2086 # no argument, or one word
    "${program[$1]}" ${arguments[$1]:-} 2>>"$dir/log" &
    client=$!
    while kill -0 "$client" 2>/dev/null && ((${EPOCHREALTIME/./} - begin < 30000000)); do
        read -r -t 1 -u "$events" line && [[ $line = MapNotify* ]] || continue
        started=$(((${EPOCHREALTIME/./} - begin) / 1000))
        return 0
    done
    fail "the $1 window did not show"
}

# window NAME: waits out the settling and the measured seconds, and prints the row of what the
# servers, the X server and the client, if one runs, did meanwhile. The servers' share, in
# percent, is kept in busy[NAME], the client's resident memory in kibibytes in rss[NAME].
window() {
    local when x servers client_cpu=- main=- all=- state
    sleep "$settle"
    for when in before after; do
        [ "$when" = before ] || sleep "$seconds"
        threads "${sound[@]}" >"$dir/servers.$when" && threads "$xserver" >"$dir/x.$when" ||
            fail "a server ended"
        [ -z "$client" ] || threads "$client" >"$dir/client.$when" || fail "the $1 ended"
    done
    state=$(sink_state)
    [ -n "$state" ] || fail "the sink's state could not be read"
    read -r servers _ < <(used servers)
    read -r x _ < <(used x)
    busy[$1]=${servers%\%}
    [ ${#sound[@]} -gt 0 ] || servers=-
    if [ -n "$client" ]; then
        read -r client_cpu main all < <(used client "$client")
        rss[$1]=$(awk '/^VmRSS:/ { print $2 }' "/proc/$client/status")
        stop "$client"
        client=''
    fi
    printf '%-16s %9s  %-10s %9s %9s %9s %9s\n' "$1" "$servers" "$state" "$client_cpu" "$x" \
        "$main" "$all"
}

# median NUMBER...: the middle one of an odd count.
median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# quotient A B: A / B to two places.
quotient() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

for kind in "${kinds[@]}"; do
    start_sound "$kind" || fail "$kind did not start"
    declare -A busy=() rss=() took=([game]="" [bare]="" [floor]="")
    echo "== $kind: share of one core over $seconds s after $settle s of settling;" \
        "wake-ups a second (wk/s) of the main thread and of all threads"
    printf '%-16s %9s  %-10s %9s %9s %9s %9s\n' "" servers sink program "X server" "main wk/s" \
        "all wk/s"
    window "no client"
    launch game
    window game
    launch bare
    window bare
    launch floor
    window floor
    [ ${#sound[@]} -eq 0 ] ||
        printf '%-16s %9s\n' "game - no client" \
            "$(awk -v a="${busy[game]}" -v b="${busy["no client"]}" 'BEGIN { printf "%.3f%%", a - b }')"
    for ((i = 0; i < starts; i++)); do
        for name in game bare floor; do
            launch "$name"
            took[$name]+=" $started"
            stop "$client"
            client=
        done
    done
    # shellcheck disable=SC2086 # one start-up time a word
    game_ms=$(median ${took[game]}) bare_ms=$(median ${took[bare]})
    floor_ms=$(median ${took[floor]})
    echo "start-up, median of $starts: game $game_ms ms, bare $bare_ms ms, floor $floor_ms ms," \
        "game/bare $(quotient "$game_ms" "$bare_ms"), floor/bare $(quotient "$floor_ms" "$bare_ms")"
    echo "resident memory at the end: game $(quotient "${rss[game]}" 1024) MiB, bare" \
        "$(quotient "${rss[bare]}" 1024) MiB, floor $(quotient "${rss[floor]}" 1024) MiB," \
        "game/bare $(quotient "${rss[game]}" "${rss[bare]}")," \
        "floor/bare $(quotient "${rss[floor]}" "${rss[bare]}")"
    stop "$bus" "${sound[@]}"
    bus='' sound=()
done
