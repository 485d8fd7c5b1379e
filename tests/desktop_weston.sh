#!/usr/bin/env bash
# The game on Wayland, natively: a headless weston, the real game, whose window must appear
# with its own title and no fallback to X11, then the window test's Wayland case, which plays
# an exercise and ends on Exit.
#
#   desktop_weston.sh GAME TST_WINDOW
set -euo pipefail
game=$1
window_test=$2
source "$(dirname -- "$0")/skip.sh"
source "$(dirname -- "$0")/session.sh"
need weston weston-debug

runtime=$(mktemp -d)
chmod 700 "$runtime"
cleanup() {
    session_stop
    rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=vorlandi-test QT_QPA_PLATFORM=wayland
unset DISPLAY
export PULSE_SERVER=unix:/nonexistent/native
# --debug lets weston-debug read the scene graph: the windows and their titles.
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug \
    --width=1024 --height=768 >"$runtime/weston.log" 2>&1 &
session_pids+=($!)
for _ in $(seq 100); do
    [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
    sleep 0.1
done
[ -S "$runtime/$WAYLAND_DISPLAY" ] || { cat "$runtime/weston.log" >&2; exit 1; }

"$game" >"$runtime/game.log" 2>&1 &
session_pids+=($!)
window="top-level window 'Quintarel' of org.vorlandi.Vorlandi"
for _ in $(seq 100); do
    timeout 5 weston-debug scene-graph 2>/dev/null | grep -qF "$window" && break
    sleep 0.1
done
if ! timeout 5 weston-debug scene-graph 2>/dev/null | grep -qF "$window"; then
    timeout 5 weston-debug scene-graph 2>&1 | grep -F 'top-level' >&2 || true
    cat "$runtime/game.log" >&2
    echo "FAIL: no window titled exactly Quintarel on the Wayland compositor" >&2
    exit 1
fi
echo "weston shows: $window"
if grep -iE 'platform plugin|xcb' "$runtime/game.log"; then
    echo "FAIL: the game did not run on Wayland" >&2
    exit 1
fi

# Qt's Wayland input context follows the keyboard of a seat, and this compositor has none:
# it would crash on the first key. The answer box needs no input method.
QT_IM_MODULE=none "$window_test" playsOnWayland
