#!/usr/bin/env bash
# The game on Wayland, natively, played by keys alone: weston shows its output in a window of a
# private X server, whose keyboard becomes weston's seat, so keys typed there reach the game
# through the compositor as a child's would. The window must appear with its own title and no
# fallback to X11; F10 and Alt alone must each mark the menu bar's first item, and a new game
# chosen from the menu ("NUOVO GIOCO", then "Sì") must leave the keyboard in the answer box,
# where a wrong answer then changes the score. What the game shows is read from weston's window.
#
#   desktop_weston.sh GAME
set -euo pipefail
game=$1
source "$(dirname -- "$0")/skip.sh"
source "$(dirname -- "$0")/session.sh"
need Xvfb weston weston-debug xdotool xwininfo xwd xwdtopnm pamcut

session_folder
session_x "$dir" || { cat "$dir/xvfb.log" >&2; exit 1; }
export XDG_RUNTIME_DIR=$dir WAYLAND_DISPLAY=vorlandi-test
# --debug lets weston-debug read the scene graph: the windows, their titles and places.
weston --backend=x11-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug \
    --width=1024 --height=768 >"$dir/weston.log" 2>&1 &
session_pids+=($!)
until_true 10 test -S "$dir/$WAYLAND_DISPLAY" || { cat "$dir/weston.log" >&2; exit 1; }
# weston's window on the X server, which xdotool does not find by its name.
output_window() { xwininfo -root -tree | awk '/"Weston Compositor/ { print $1; exit }' | grep .; }
until_true 10 output_window || { cat "$dir/weston.log" >&2; exit 1; }
output=$(output_window)
# The pointer over weston's window: the X server's keys go where the pointer is.
xdotool mousemove --window "$output" 500 400

# Without Qt's own window frame, the window's surface is the game's window: menu bar and client.
QT_QPA_PLATFORM=wayland QT_WAYLAND_DISABLE_WINDOWDECORATION=1 PULSE_SERVER=unix:/nonexistent/native \
    "$game" >"$dir/game.log" 2>&1 &
session_pids+=($!)
# place TITLE: the left, top and bottom of the newest window with that title, from the scene graph.
place() {
    timeout 5 weston-debug scene-graph 2>/dev/null |
        awk -v t="top-level window '$1' of org.vorlandi.Vorlandi" '
        index($0, t) { found = 1; next }
        found && /position:/ { gsub(/[(),>-]/, " "); split($0, v, " "); p = v[2] " " v[3] " " v[5]
                               found = 0 }
        END { if (p == "") exit 1; print p }'
}
window="top-level window 'Quintarel' of org.vorlandi.Vorlandi"
if ! until_true 10 place Quintarel; then
    timeout 5 weston-debug scene-graph 2>&1 | grep -F 'top-level' >&2 || true
    cat "$dir/game.log" >&2
    fail "no window titled exactly Quintarel on the Wayland compositor"
fi
echo "weston shows: $window"
if grep -iE 'platform plugin|xcb' "$dir/game.log"; then
    fail "the game did not run on Wayland"
fi
sleep 0.5

# shot NAME X Y W H: the pixels of a rectangle of weston's output, kept as NAME.
shot() {
    xwd -id "$output" -silent | xwdtopnm 2>/dev/null |
        pamcut -left "$2" -top "$3" -width "$4" -height "$5" >"$dir/$1.pnm"
}
differ() { ! cmp -s "$dir/$1.pnm" "$dir/$2.pnm"; }
read -r left top bottom < <(place Quintarel)
client=$((bottom - 557)) # the client's top; the menu bar above it
# The window as keys find it once the compositor has given it the keyboard.
xdotool key Escape
sleep 0.5
shot menu-before "$left" "$top" 120 $((client - top))
for key in F10 Alt_L; do
    xdotool key "$key"
    sleep 0.5
    shot "menu-$key" "$left" "$top" 120 $((client - top))
    differ menu-before "menu-$key" || fail "$key marks no menu item on Wayland"
    xdotool key Escape
    sleep 0.5
    shot menu-left "$left" "$top" 120 $((client - top))
    ! differ menu-before menu-left || fail "Escape leaves the menu marked after $key"
done

# A new game by keys: F10, twice Right to NUOVO GIOCO, Enter; Tab from "No" to "Sì", Enter.
xdotool key F10 sleep 0.3 key Right sleep 0.3 key Right sleep 0.3 key Return
until_true 5 place 'INIZIARE NUOVA GARA' || fail "Enter on NUOVO GIOCO shows no new-game box"
xdotool key Tab sleep 0.3 key Return
sleep 1
! place 'INIZIARE NUOVA GARA' >/dev/null || fail "Sì left the new-game box open"
read -r left top bottom < <(place Quintarel)
client=$((bottom - 557))
# The wrong-answer score, after a wrong answer typed where the keyboard is.
shot score-before $((left + 324)) $((client + 274)) 32 55
xdotool type 0
xdotool key Return
sleep 0.6
shot score-after $((left + 324)) $((client + 274)) 32 55
differ score-before score-after || fail "after the new game the keyboard is not in the answer box"
echo "by keys on Wayland: F10 and Alt mark the menu; NUOVO GIOCO and Sì start a new game with the keyboard in the answer box"
