#!/usr/bin/env bash
# Usage: play_as_user.sh [--killed-midway] <source dir> <game executable>
# A user's graphical session (an X server and a PulseAudio server with a null sink, run by a
# throw-away user with a runtime folder of their own) starts the game through sudo the way
# scripts/play.sh does. The game must run as that user, not as root, and its first spoken
# number must reach the user's sink; Alt+X ends it with status 0. Needs root. The user, their
# sudo rule, which allows only that start, and their folder are removed at the end, and at the
# start those of an earlier run that was killed before it could remove them.
# --killed-midway: kills a run with SIGKILL while its game runs, runs the test again and checks
# that neither run left anything behind.
set -euo pipefail
source=$1 game=$2
here=$(dirname -- "$0")
source "$here/../skip.sh"
need useradd userdel visudo sudo setpriv Xvfb pulseaudio parec pactl xdotool od
[ "$(id -u)" -eq 0 ] || skip "making a user needs root"

# A name prefix that nothing else uses, for the user, their group, sudo rule and folder.
prefix=vorlandi-playtest-
leftovers() {
    { getent passwd; getent group; } | cut -d: -f1 | grep "^$prefix" || true
    find /etc/sudoers.d "${TMPDIR:-/tmp}" -maxdepth 1 -name "$prefix*"
}
# remove_user NAME: the sudo rule first, then whatever the user still runs, such as a game that
# did not end, then the account and its group.
remove_user() {
    rm -f "/etc/sudoers.d/$1"
    pkill -KILL -u "$1" || true
    ! id "$1" >/dev/null 2>&1 || userdel --force "$1"
}
# What earlier runs that were killed left.
remove_leftovers() {
    local name
    for name in $(getent passwd | cut -d: -f1 | grep "^$prefix"); do remove_user "$name"; done
    for name in $(getent group | cut -d: -f1 | grep "^$prefix"); do groupdel "$name"; done
    rm -f /etc/sudoers.d/"$prefix"*
    find "${TMPDIR:-/tmp}" -maxdepth 1 -user root -name "$prefix*" -exec rm -rf {} +
}

user=$prefix$$
session_run() {
    setpriv --reuid="$user" --regid="$user" --init-groups -- env -i PATH="$PATH" \
        HOME="$work/home" USER="$user" XDG_RUNTIME_DIR="$work/runtime" \
        DBUS_SESSION_BUS_ADDRESS=disabled: ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
}
source "$here/../session.sh"

if [ "$1" = --killed-midway ]; then
    shift
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    "$0" "$@" >"$log" 2>&1 &
    until_true 30 pgrep -f "/$prefix[^/]*/game/vorlandi" || fail "no game started: $(cat "$log")"
    kill -KILL $!
    wait $! || true
    [ -n "$(leftovers)" ] || fail "the killed run left nothing to remove"
    "$0" "$@" >"$log" 2>&1 || fail "the run after the killed one failed: $(cat "$log")"
    [ -z "$(leftovers)" ] || fail "left behind: $(leftovers)"
    echo "ok: the run after a killed one removed what that left, and left nothing itself"
    exit 0
fi

remove_leftovers
work=$(mktemp -d --tmpdir "${prefix}XXXXXX")
trap 'session_stop; remove_user "$user"; rm -rf "$work"' EXIT
useradd --no-create-home --home-dir "$work/home" --shell /bin/bash "$user"
# The one command the user may run as root: play.sh's way to the game, which also checks that
# the player's session stays out of root's shell.
cat >"$work/play" <<EOF
#!/bin/bash
set -euo pipefail
source $(printf %q "$source")/scripts/player.sh
become_player
[ -z "\${XDG_RUNTIME_DIR:-}" ] || { echo "FAIL: root's shell has the player's runtime folder"; exit 1; }
run_as_player $(printf %q "$work/game/vorlandi")
EOF
chmod 755 "$work/play"
# A rule that sudo cannot read would stop sudo for everyone: check it before it is in place.
echo "$user ALL=(root) NOPASSWD: $work/play \"\"" >"$work/sudoers"
visudo -cqf "$work/sudoers" || fail "visudo rejects the rule: $(cat "$work/sudoers")"
install -m 440 "$work/sudoers" "/etc/sudoers.d/$user"
! session_run sudo -n true 2>/dev/null || fail "the rule lets $user run other commands as root"

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
session_run sudo -n "$work/play" >"$work/game.log" 2>&1 &
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
