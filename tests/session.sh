# Sourced by test scripts: a private session for the real game, an X server and a PulseAudio
# server whose only sink, "speakers", is a null sink that can be recorded. Every process started
# here, and every one a script adds to session_pids, is stopped by session_stop, by process id,
# the last started first. To run the servers as another user, define
# session_run before starting them (by default it runs its command as it is).

# What the game reads from its environment is pinned here, whatever the caller's session holds:
# the locale, and (below) the display platform and the sound server.
export LC_ALL=C.UTF-8
unset LANGUAGE

session_pids=()
session_recorder=
if ! declare -F session_run >/dev/null; then
    session_run() { "$@"; }
fi

session_stop() {
    local i
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
        # A server started through session_run may run as the child of the shell whose pid is
        # kept here, and a launcher may have started a server of its own: both are stopped.
        pkill -P "${session_pids[i]}" 2>/dev/null || true
        kill "${session_pids[i]}" 2>/dev/null || true
        wait "${session_pids[i]}" 2>/dev/null || true
    done
    session_pids=()
}

# session_folder: makes the script's private folder, $dir (mode 700), which goes when the script
# ends, after everything the session started has stopped.
session_folder() {
    dir=$(mktemp -d)
    trap 'session_stop; rm -rf "$dir"' EXIT
}

# until_true SECONDS COMMAND...: retries the command every tenth of a second.
until_true() {
    local tries=$(($1 * 10)) t
    shift
    for ((t = 0; t < tries; t++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# session_x DIR [SIZE]: starts Xvfb with a screen of SIZE (1024x768 by default) and exports its
# DISPLAY, for Qt on X11. DIR keeps its log, xvfb.log.
session_x() {
    session_run Xvfb -displayfd 3 -screen 0 "${2:-1024x768}x24" -nolisten tcp 3>"$1/display" \
        2>"$1/xvfb.log" &
    session_pids+=($!)
    until_true 10 test -s "$1/display" || return 1
    export DISPLAY=:$(cat "$1/display") QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}

# session_sound DIR: starts PulseAudio in XDG_RUNTIME_DIR with the null sink as its default.
session_sound() {
    unset PULSE_SERVER
    session_run pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-level=error \
        -L "module-native-protocol-unix" -L "module-null-sink sink_name=speakers" \
        -L "module-always-sink" 2>"$1/pulseaudio.log" &
    session_pids+=($!)
    until_true 10 session_run pactl info || true
    session_run pactl set-default-sink speakers
}

# session_record FILE: records what reaches the sink, 16-bit mono, until session_recorded.
session_record() {
    rm -f "$1"
    session_run parec --device=speakers.monitor --format=s16le --channels=1 --rate=22050 \
        --latency-msec=20 "$1" &
    session_recorder=$!
    session_pids+=($!)
    # The monitor sends silence from the moment the stream runs: wait for it, so that nothing
    # played after this returns is missed.
    until_true 10 test -s "$1" || true
}

# session_recorded FILE: stops the recording and prints its peak (0 to 32767).
session_recorded() {
    pkill -P "$session_recorder" 2>/dev/null || kill "$session_recorder" 2>/dev/null || true
    wait "$session_recorder" 2>/dev/null || true
    od -An -v -td2 -w2 "$1" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > p) p = v } END { print p + 0 }'
}
