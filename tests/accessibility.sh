#!/usr/bin/env bash
# The real game read by a screen reader: on a private X server, session bus and accessibility
# bus, with the screen reader Orca running against it (its speech goes to a private sound
# server's null sink). accessibility.py reads the tree over AT-SPI and plays a right and a wrong
# answer by keys; then Orca's debug log must hold, in its "SPEECH OUTPUT" lines, the controls'
# names, the words whole, the menu and both verdicts. Everything Orca said is printed; given a
# file (second argument, or
# VORLANDI_ORCA_LOG), Orca's whole debug log is kept there.
#
#   accessibility.sh GAME [ORCA_LOG]
set -euo pipefail
game=$1
keep_log=${2:-${VORLANDI_ORCA_LOG:-}}
here=$(dirname -- "$0")
source "$here/skip.sh"
source "$here/session.sh"
need Xvfb dbus-daemon pulseaudio orca speech-dispatcher xdotool
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || skip "at-spi-bus-launcher not installed (package at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi not installed"

session_folder

# A home and runtime folder of the test's own: Orca's settings, speech-dispatcher's and the
# sound server's sockets.
export HOME=$dir/home XDG_RUNTIME_DIR=$dir/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

session_x "$dir" 1280x1024 || { cat "$dir/xvfb.log" >&2; exit 1; }

dbus-daemon --session --nofork --print-address=3 3>"$dir/bus" 2>"$dir/bus.log" &
session_pids+=($!)
until_true 10 test -s "$dir/bus" || { cat "$dir/bus.log" >&2; exit 1; }
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$dir/bus")
export DBUS_SESSION_BUS_ADDRESS

session_sound "$dir"

"$launcher" --launch-immediately --a11y=1 --screen-reader=1 >"$dir/launcher.log" 2>&1 &
session_pids+=($!)
until_true 10 sh -c 'dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress' || { cat "$dir/launcher.log" >&2; exit 1; }

orca --replace --debug-file="$dir/orca.log" >"$dir/orca.out" 2>&1 &
orca_pid=$!
session_pids+=("$orca_pid")
until_true 15 grep -q "SPEECH OUTPUT" "$dir/orca.log" || { cat "$dir/orca.out" >&2; exit 1; }

QT_QPA_PLATFORM=xcb "$game" >"$dir/game.log" 2>&1 &
game_pid=$!
session_pids+=("$game_pid")

failures=0
/usr/bin/python3 "$here/accessibility.py" "$dir/heard" || failures=$((failures + 1))
sleep 2
kill "$game_pid" "$orca_pid" 2>/dev/null || true
wait "$game_pid" "$orca_pid" 2>/dev/null || true

[ -z "$keep_log" ] || cp "$dir/orca.log" "$keep_log"
echo "Orca said:"
grep -a "SPEECH OUTPUT" "$dir/orca.log" | sed "s/^[0-9:.]* - SPEECH OUTPUT: //; s/{'established.*//; s/[[:space:]]*$//" |
    tee "$dir/speech"
expected=("La tua risposta in cifre" "Nuovo calcolo" "Exit" "Il numero in lettere" "NUOVO GIOCO")
heard=()
[ -s "$dir/heard" ] && mapfile -t heard <"$dir/heard"
# The verdicts, as the game announced them.
expected+=("${heard[@]:1}")
for said in "${expected[@]}"; do
    grep -qF -- "$said" "$dir/speech" || {
        echo "FAIL: Orca never said '$said'" >&2
        failures=$((failures + 1))
    }
done
# The words box's words, whole, on a line of their own.
[ ${#heard[@]} -gt 0 ] && grep -qxF -- "'${heard[0]}.'" "$dir/speech" || {
    echo "FAIL: Orca never said the words '${heard[0]:-}' whole" >&2
    failures=$((failures + 1))
}
[ "$failures" -eq 0 ] || { cat "$dir/game.log" >&2; exit 1; }
echo "every name and both verdicts were heard"
