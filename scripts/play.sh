#!/usr/bin/env bash
# Checks that there is a display, installs what is missing, builds the game and starts it as
# the person who plays: started as root (by sudo, or in a user's checkout), in that user's session.
set -euo pipefail
source "$(dirname -- "$0")/player.sh"
become_player

# Prints nothing and succeeds when the game has somewhere to show its window; otherwise
# prints the one sentence that says what is missing.
display_problem() {
    case ${QT_QPA_PLATFORM:-} in
    "" | xcb* | wayland*) ;;
    *) return 0 ;; # another Qt platform chosen on purpose (offscreen, vnc, …)
    esac
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        local socket=$WAYLAND_DISPLAY
        [ "${socket#/}" != "$socket" ] || socket=${XDG_RUNTIME_DIR:-/nonexistent}/$socket
        [ -S "$socket" ] && return 0
        [ -n "${DISPLAY:-}" ] ||
            echo "There is no display to show the game on: WAYLAND_DISPLAY is $WAYLAND_DISPLAY, but no Wayland compositor listens at $socket."
    fi
    if [ -n "${DISPLAY:-}" ]; then
        case $DISPLAY in
        :*)
            # A local X server listens on a socket file, or on Linux's abstract socket of
            # the same name when /tmp is private.
            local number=${DISPLAY#:}
            number=${number%%.*}
            if [ -S "/tmp/.X11-unix/X$number" ] ||
                grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix 2>/dev/null; then
                return 0
            fi
            echo "There is no display to show the game on: DISPLAY is $DISPLAY, but no X server listens there."
            ;;
        *) return 0 ;; # a remote or forwarded display, which only connecting can check
        esac
    fi
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] ||
        echo "There is no display to show the game on: start scripts/play.sh from a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set)."
}

problem=$(in_player_env display_problem)
if [ -n "$problem" ]; then
    echo "$problem" >&2
    exit 1
fi

source "$(dirname -- "$0")/common.sh"
trap give_build_back EXIT
install_packages play
build vorlandi

# Qt keeps its per-session files in XDG_RUNTIME_DIR and warns on every start when it is not
# set, as under su: then use the player's own one, or a private one for this game.
runtime=
if ! in_player_env printenv XDG_RUNTIME_DIR >/dev/null; then
    if [ -d "/run/user/$player_uid" ] && [ "$(stat -c %u "/run/user/$player_uid")" = "$player_uid" ]; then
        player_env+=(XDG_RUNTIME_DIR="/run/user/$player_uid")
    else
        runtime=$(mktemp -d --tmpdir vorlandi-runtime.XXXXXX)
        chown "$player_uid" "$runtime"
        player_env+=(XDG_RUNTIME_DIR="$runtime")
    fi
fi
trap 'give_build_back; [ -z "$runtime" ] || rm -rf "$runtime"' EXIT
echo "Starting the game"
run_as_player build/vorlandi
