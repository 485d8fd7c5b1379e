#!/usr/bin/env bash
# Usage: play_as_user.sh <source dir> <game executable>
# A user's graphical session (an X server and a PulseAudio server with a null sink, run by a
# throw-away user with a runtime folder of their own) starts the game through sudo the way
# scripts/play.sh does. The game must run as that user, not as root, and its first spoken
# number must reach the user's sink; Alt+X ends it with status 0. Needs root; the user and
# their sudo rule are removed at the end.
set -euo pipefail
source=$1 game=$2
here=$(dirname -- "$0")
source "$here/../skip.sh"
need useradd userdel sudo setpriv Xvfb pulseaudio parec pactl xdotool od
[ "$(id -u)" -eq 0 ] || skip "making a user needs root"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

user=vorlandi$$
work=$(mktemp -d)
session_run() {
    setpriv --reuid="$user" --regid="$user" --init-groups -- env -i PATH="$PATH" \
        HOME="$work/home" USER="$user" XDG_RUNTIME_DIR="$work/runtime" \
        DBUS_SESSION_BUS_ADDRESS=disabled: ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
}
source "$here/../session.sh"
cleanup() {
    session_stop
    # Whatever else the throw-away user still runs, such as a game that did not end.
    pkill -KILL -u "$user" 2>/dev/null || true
    rm -f "/etc/sudoers.d/$user"
    userdel "$user" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
useradd --no-create-home --home-dir "$work/home" --shell /bin/bash "$user"
echo "$user ALL=(root) NOPASSWD: ALL" >"/etc/sudoers.d/$user"
chmod 440 "/etc/sudoers.d/$user"

# The game and its assets where the user can read them, and the user's own runtime folder at a
# place that only their session's environment names.
chmod 755 "$work"
mkdir -p "$work/game" "$work/home" "$work/runtime"
cp "$game" "$work/game/"
cp -r "$(dirname -- "$game")/img" "$work/game/"
chmod -R a+rX "$work/game"
chown "$user" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"

session_x "$work" || fail "Xvfb did not start"
session_sound "$work"
session_record "$work/home/recording.raw"

# The user's shell starts the game as play.sh does, under sudo, whose env_reset keeps DISPLAY
# but drops the runtime folder where the user's sound server listens.
session_run sudo -- bash -c 'source "$1/scripts/player.sh" && become_player &&
    run_as_player "$2"' sh "$source" "$work/game/vorlandi" >"$work/game.log" 2>&1 &
sudo_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Quintarel$' | head -n 1) ||
    fail "no game window appeared: $(cat "$work/game.log")"
pid=$(xdotool getwindowpid "$window")
owner=$(awk '/^Uid:/ { print $2 }' "/proc/$pid/status")
[ "$owner" = "$(id -u "$user")" ] || fail "the game runs as user id $owner, not as $user"

# The first number is spoken as the window appears; give it time to reach the sink.
sleep 3
peak=$(session_recorded "$work/home/recording.raw")
[ "$peak" -gt 1000 ] || fail "nothing reached the user's sound server (peak $peak): $(cat "$work/game.log")"

xdotool key --window "$window" alt+x
timeout 10 tail --pid="$sudo_pid" -f /dev/null || fail "the game did not end on Alt+X"
status=0
wait "$sudo_pid" || status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$work/game.log")"
grep -q 'Playing as' "$work/game.log" || fail "play.sh's way did not say whom it plays as"
echo "ok: the game ran as $user and its sound reached their server (peak $peak)"
