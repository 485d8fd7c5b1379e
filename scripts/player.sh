# Sourced by play.sh; defines become_player, in_player_env and run_as_player. Started as root, by
# sudo or in a user's checkout, the game must run as the person who plays, in their session: a
# desktop's sound server and its Wayland compositor accept only their own user, so a game run as
# root is silent there.

# The environment of the player's session, one NAME=value a line: that of the nearest ancestor
# process whose real user is the player. sudo runs with the player as its real user and keeps
# the environment it was started with, which its env_reset hides from its children.
session_environment() {
    local uid=$1 pid=$$ real
    while [ "$pid" -gt 1 ]; do
        real=$(awk '/^Uid:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) || return 0
        if [ "$real" = "$uid" ]; then
            tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null
            return 0
        fi
        pid=$(awk '/^PPid:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) || return 0
    done
}

# become_player: when run as root, finds the player (SUDO_USER, else the checkout's owner) and
# sets player_uid to their user id, player_as to the command prefix that runs a program as them,
# and player_env to their home, names and their session's display, authority, runtime folder,
# session bus and sound server, as NAME=value: these go into the game's environment alone, not
# into this script's, which goes on to run apt as root. Root's own runtime folder and bus, of no
# use to the player, are left out of it (player_unset). Alone as root (root's own checkout, no
# sudo), says in one line that the game may be silent.
player_uid=$(id -u)
player_as=()
player_env=()
player_unset=()
become_player() {
    [ "$(id -u)" -eq 0 ] || return 0
    local user=${SUDO_USER:-}
    [ -n "$user" ] && [ "$user" != root ] ||
        user=$(stat -c %U "$(dirname -- "${BASH_SOURCE[0]}")/..")
    if [ "$user" = root ] || ! id -u "$user" >/dev/null 2>&1; then
        echo "Running the game as root: a desktop's sound server answers only its own user, so the game may be silent."
        return 0
    fi
    local uid gid home line
    uid=$(id -u "$user")
    player_uid=$uid
    gid=$(id -g "$user")
    home=$(getent passwd "$user" | cut -d: -f6)
    player_as=(setpriv --reuid="$uid" --regid="$gid" --init-groups --)
    player_env=(HOME="$home" USER="$user" LOGNAME="$user")
    player_unset=(XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS)
    while IFS= read -r line; do
        case ${line%%=*} in
        DISPLAY | WAYLAND_DISPLAY | XAUTHORITY | XDG_RUNTIME_DIR | DBUS_SESSION_BUS_ADDRESS | \
            PULSE_SERVER | XDG_SESSION_TYPE | XDG_CURRENT_DESKTOP | QT_QPA_PLATFORM | \
            QT_SCALE_FACTOR | QT_SCREEN_SCALE_FACTORS | LANG | LANGUAGE | LC_*)
            player_env+=("$line")
            ;;
        esac
    done < <(session_environment "$uid")
    if ! in_player_env printenv XAUTHORITY >/dev/null && [ -f "$home/.Xauthority" ]; then
        player_env+=(XAUTHORITY="$home/.Xauthority")
    fi
    echo "Playing as $user, whose session this is"
}

# in_player_env COMMAND...: runs the command, or a function of the script, in a subshell whose
# environment is the one the game gets.
in_player_env() {
    (
        unset "${player_unset[@]}"
        [ ${#player_env[@]} -eq 0 ] || export "${player_env[@]}"
        "$@"
    )
}

# run_as_player COMMAND...: runs the command as the player, in that environment.
run_as_player() {
    "${player_as[@]}" env "${player_unset[@]/#/-u}" "${player_env[@]}" "$@"
}
