#!/usr/bin/env bash
# The real game on a private X server with a real window manager (openbox), at scales 1, 1.5
# and 2, each with its clock stopped at an instant of Rome's time, seen as a child sees it: the
# titles the window manager gets, minimised too, the gradient's bands, the status bar that must
# not change with the gradient, the readable captions and verdict, the
# graphical buttons' faces and their focus and pressed looks, the colours kept on a dark desktop
# (at scale 1), and at 1.5 the pictures drawn from their larger images (PICTURE_MATCH names the
# program that tells, and VORLANDI_RESOURCES the folder of the built-in images).
#
#   desktop_openbox.sh GAME
set -euo pipefail
game=$1
source "$(dirname -- "$0")/skip.sh"
source "$(dirname -- "$0")/session.sh"
need Xvfb openbox xprop xdotool xwininfo xwd xwdtopnm pnmdepth pamcut pnmtoplainpnm pnmtopng faketime
[ -x "${PICTURE_MATCH:-}" ] && [ -d "${VORLANDI_RESOURCES:-}" ] ||
    skip "PICTURE_MATCH and VORLANDI_RESOURCES are not set (ctest sets them)"

session_folder
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

session_x "$dir" 1600x1300 || { cat "$dir/xvfb.log" >&2; exit 1; }
openbox --sm-disable >"$dir/openbox.log" 2>&1 &
session_pids+=($!)
until_true 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || { echo "openbox did not start" >&2; cat "$dir/openbox.log" >&2; exit 1; }

# A dark desktop, as Qt reads a KDE desktop's colour scheme, for the first scale.
mkdir "$dir/dark"
cat >"$dir/dark/kdeglobals" <<EOF
[General]
ColorScheme=BreezeDark
[Colors:Window]
BackgroundNormal=35,38,41
ForegroundNormal=252,252,252
[Colors:View]
BackgroundNormal=27,30,32
ForegroundNormal=252,252,252
[Colors:Button]
BackgroundNormal=49,54,59
ForegroundNormal=252,252,252
EOF

title() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
# grab NAME: a screenshot. xwd fails when a window goes away while it reads, so it tries again.
grab() {
    until_true 3 sh -c "xwd -root -silent >'$dir/$1.xwd'"
    xwdtopnm "$dir/$1.xwd" 2>/dev/null | pnmdepth 255 >"$dir/$1.ppm"
}
# region SHOT X Y W H: the pixels of a rectangle, one "R G B" line each.
region() {
    pamcut -left "$2" -top "$3" -width "$4" -height "$5" "$dir/$1.ppm" | pnmtoplainpnm |
        awk 'NR > 3 { for (i = 1; i <= NF; i++) v[n++] = $i }
             END { for (i = 0; i + 2 < n; i += 3) print v[i], v[i + 1], v[i + 2] }'
}
# contrast: the WCAG contrast ratio between the lightest and the darkest pixel read.
contrast() {
    awk 'function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
         { l = 0.2126 * lin($1) + 0.7152 * lin($2) + 0.0722 * lin($3)
           if (NR == 1 || l > hi) hi = l; if (NR == 1 || l < lo) lo = l }
         END { printf "%.1f\n", (hi + 0.05) / (lo + 0.05) }'
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# blacks SHOT X Y W H: along a one-pixel strip across a button, the lengths of the first and the
# last run of black pixels and of the run after the first: the frame's lines at each end.
blacks() {
    region "$@" | awk '$0 != v[n] { v[++n] = $0 } { l[n]++ }
        END { for (i = 1; i <= n && v[i] != "0 0 0"; i++);
              for (j = n; j > 0 && v[j] != "0 0 0"; j--);
              printf "%d %d %d\n", l[i], l[i + 1], l[j] }'
}

# play SCALE INSTANT TITLE: one run of the game at that scale factor, its clock stopped at the
# instant (the timers keep running), and the title it must show minimised.
play() {
    local s=$1 minimised=$3
    local desktop=(XDG_CURRENT_DESKTOP= XDG_CONFIG_HOME="$dir")
    [ "$s" != 1 ] || desktop=(XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME="$dir/dark")
    env "${desktop[@]}" DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$s \
        PULSE_SERVER=unix:/nonexistent/native TZ=Europe/Rome FAKETIME_DONT_FAKE_MONOTONIC=1 \
        faketime -f "$2" "$game" >"$dir/game.log" 2>&1 &
    local game_pid=$!
    session_pids+=("$game_pid")
    local w= wx wy wh top
    until_true 15 sh -c 'xdotool search --classname "^vorlandi$" >/dev/null' ||
        { fail "no window at scale $s"; cat "$dir/game.log" >&2; return; }
    w=$(xdotool search --classname '^vorlandi$' | head -n1)
    until_true 5 sh -c "xprop -id $w _NET_WM_NAME | grep -q Quintarel"
    [ "$(title "$w")" = Quintarel ] || fail "title at start: '$(title "$w")'"
    # Logical client coordinates to the screen's pixels.
    px() { awk -v v="$1" -v s="$s" -v o="$2" 'BEGIN { printf "%d", o + int(v * s + 0.5) }'; }
    # Where the window and its client area are.
    eval "$(xwininfo -id "$w" | awk -F: '/Absolute upper-left X/ {print "wx=" $2 + 0}
        /Absolute upper-left Y/ {print "wy=" $2 + 0} /Height/ {print "wh=" $2 + 0}')"
    top=$((wy + wh - $(px 557 0)))
    X() { px "$1" "$wx"; }
    Y() { px "$1" "$top"; }
    # The game's frame and focus lines: whole device pixels, the scale rounded.
    local line
    line=$(awk -v s="$s" 'BEGIN { printf "%d", int(s + 0.5) }')
    # edges SHOT: the screen's left and top pixel of cmdNext's black focus frame, found from the
    # gradient beside it, since a fractional scale may round the client's origin either way.
    edges() {
        local x y
        x=$(region "$1" "$(X 160)" "$(Y 475)" "$(px 20 0)" 1 | awk '$0 == "0 0 0" { print NR - 1; exit }')
        y=$(region "$1" "$(X 230)" "$(Y 432)" 1 "$(px 20 0)" | awk '$0 == "0 0 0" { print NR - 1; exit }')
        echo "$(($(X 160) + x)) $(($(Y 432) + y))"
    }
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
    sleep 0.5

    xdotool windowminimize --sync "$w"
    until_true 5 sh -c "xprop -id $w _NET_WM_NAME | grep -q '\"$minimised\"$'" ||
        fail "minimised title at $2: '$(title "$w")', not '$minimised'"
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
    until_true 5 sh -c "xprop -id $w _NET_WM_NAME | grep -q '\"Quintarel\"$'" ||
        fail "restored title: '$(title "$w")'"
    sleep 0.5
    if [ "$s" = 1 ]; then
        # The new-game question, from the menu bar's third item.
        xdotool mousemove "$(X 223)" "$((top - 9))" click 1
        if until_true 5 sh -c "xdotool search --name '^INIZIARE NUOVA GARA' >/dev/null"; then
            local box
            box=$(xdotool search --name '^INIZIARE NUOVA GARA' | head -n1)
            [ "$(title "$box")" = "INIZIARE NUOVA GARA" ] || fail "box title: '$(title "$box")'"
            echo "new-game box title: $(title "$box")"
            sleep 1
            xdotool key Escape
        else
            fail "no new-game box"
        fi
        sleep 0.5
    fi

    # A wrong answer (empty), then Enter on the focused cmdNext: two exercises.
    grab first
    # On the dark desktop the menu bar stays light, as the window's fixed colours need.
    local bar
    bar=$(region first "$(X 600)" "$(((wy + top) / 2))" 1 1)
    [ "$s" != 1 ] || awk -v c="$bar" 'BEGIN { split(c, v, " "); exit !(v[1] > 200 && v[2] > 200 &&
        v[3] > 200) }' || fail "the menu bar is $bar on a dark desktop"
    # Down the right edge no control covers the gradient: red and green from the draws (steps of
    # 20, or 255) the same in every row, blue rising by one a band over 256 bands of the client.
    # The client's first and last pixel rows may round either way at a fractional scale.
    region first "$(X 680)" "$(Y 1)" 1 "$(px 538 0)" |
        awk -v h="$(px 557 0)" -v o="$(($(Y 1) - top))" '
        NR == 1 { r = $1; g = $2 }
        $1 != r || $2 != g || r == 0 || (r % 20 && r != 255) || (g % 20 && g != 255) ||
        ($3 - int((NR - 1 + o) * 256 / h)) ^ 2 > 1 { print "row " NR - 1 + o ": " $0; bad = 1; exit }
        END { exit bad }' >"$dir/bands" || fail "gradient at scale $s, $(cat "$dir/bands")"
    xdotool key Return
    sleep 0.6
    grab verdict
    xdotool key Return
    sleep 0.6
    grab second
    # Another answer and exercise until the gradient differs from the first.
    for _ in 1 2 3; do
        [ "$(region first "$(X 680)" "$(Y 2)" 1 1)" = "$(region second "$(X 680)" "$(Y 2)" 1 1)" ] ||
            break
        xdotool key Return sleep 0.6 key Return sleep 0.6
        grab second
    done
    # The whole bar, one pixel in from its edges, which a fractional scale may round either way:
    # with the clock stopped, nothing on it changes.
    local rows=$(($(Y 556) - $(Y 541)))
    cmp -s <(region first "$(X 1)" "$(Y 541)" "$(px 687 0)" "$rows") \
        <(region second "$(X 1)" "$(Y 541)" "$(px 687 0)" "$rows") ||
        fail "status bar changed between two exercises (scale $s)"

    # Texts on the bar, the frame's caption and the verdict: darkest against lightest pixel.
    local c
    for what in "status bar|3 542 70 14|second" "Conta|50 0 30 11|second" \
        "verdict|411 60 120 30|verdict"; do
        IFS='|' read -r name rect shot <<<"$what"
        read -r x y ww hh <<<"$rect"
        c=$(region "$shot" "$(X "$x")" "$(Y "$y")" "$(px "$ww" 0)" "$(px "$hh" 0)" | contrast)
        echo "contrast of $name at scale $s: $c:1"
        at_least "$c" 4.5 || fail "$name reads at $c:1"
    done

    # The graphical buttons' faces, the focus frame that the verdict's Enter moved to cmdNext.
    local face
    face=$(region second "$(X 175)" "$(Y 476)" 1 1)
    [ "$face" = "0 255 255" ] || fail "cmdNext face $face at scale $s"
    face=$(region second "$(X 462)" "$(Y 484)" 1 1)
    [ "$face" = "255 0 255" ] || fail "cmdExit face $face at scale $s"
    # Its focus frame: two lines black on every side, then the bevel: a white line at the top
    # and left, a black one at the bottom and right, each line of whole device pixels.
    local across down
    across=$(blacks verdict "$(X 155)" "$(Y 475)" "$(px 145 0)" 1)
    down=$(blacks verdict "$(X 175)" "$(Y 428)" 1 "$(px 100 0)")
    echo "cmdNext's frame at scale $s (line $line px): left, white, right: $across; top, white, bottom: $down"
    local want="$((2 * line)) $line $((3 * line))"
    [ "$across" = "$want" ] && [ "$down" = "$want" ] ||
        fail "focused cmdNext's frame is $across across and $down down, not $want (scale $s)"
    # Each picture from the nearest image at least as large: at 1.5 the @2x image scaled down.
    if [ "$s" = 1.5 ]; then
        pnmtopng "$dir/second.ppm" >"$dir/second.png"
        local r=$VORLANDI_RESOURCES
        for what in "cmdExit|458 450 101 55|32 32|exit.ico" "cmdNext|170 442 117 55|32 32|next.ico" \
            "Picture2|176 272 84 57|80 53|puppy.jpg"; do
            IFS='|' read -r name rect size file <<<"$what"
            read -r x y ww hh <<<"$rect"
            "$PICTURE_MATCH" "$dir/second.png" "$(X "$x")" "$(Y "$y")" "$(px "$ww" 0)" \
                "$(px "$hh" 0)" $size "$s" "$r/${file%.*}@2x.${file##*.}" "$r/$file" ||
                fail "$name's picture at scale $s is not its @2x image scaled down"
        done
    fi

    # Held down, cmdNext sinks: inside its two focus lines, its top-left corner turns from white
    # to grey.
    xdotool mousemove "$(X 200)" "$(Y 460)" mousedown 1
    sleep 0.3
    grab pressed
    xdotool mouseup 1
    read -r bx by < <(edges pressed)
    face=$(region pressed "$((bx + 2 * line))" "$((by + 2 * line))" 1 1)
    [ "$face" = "128 128 128" ] || fail "pressed cmdNext shows $face at its corner (scale $s)"

    # Exit ends the program.
    xdotool mousemove "$(X 480)" "$(Y 470)" click 1
    until_true 5 sh -c "! kill -0 $game_pid" || fail "Exit did not end the game (scale $s)"
    wait "$game_pid" 2>/dev/null || true
}

# The widest English date at midnight, the same day at noon, the year's last second.
play 1 "2026-09-30 00:00:00" "12:00 AM"
play 1.5 "2026-09-30 12:00:00" "12:00 PM"
play 2 "2026-12-31 23:59:59" "11:59 PM"
[ "$failures" -eq 0 ] || exit 1
echo "all desktop checks passed"
