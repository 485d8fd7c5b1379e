# Shared by the scripts beside it; sourced, not run. Each step prints one short line and keeps
# the tools' full output in build/setup.log, which a failure names.
#
# Run as root in a checkout that another user owns, the build runs as that user and anything
# else root writes into build/ is handed back to them, so the checkout stays theirs. Root never
# opens the log itself: the owner could make build/setup.log a link to any file, so what goes
# into the log is appended by a process that runs as the owner, who can write only where they
# could anyway. Every script that sources this sets pipefail, so a command that fails fails its
# pipe into the log.

cd "$(dirname -- "${BASH_SOURCE[0]}")/.."
checkout=$PWD
log=$checkout/build/setup.log
owner_uid=$(stat -c %u .)
owner_gid=$(stat -c %g .)

if [ "$(id -u)" -eq 0 ] && [ "$owner_uid" -ne 0 ]; then
    # In a session of their own, without root's terminal as theirs: a program of the owner's
    # could otherwise push keys into root's shell (TIOCSTI).
    as_owner() {
        setsid --wait setpriv --reuid="$owner_uid" --regid="$owner_gid" --clear-groups -- "$@"
    }
    give_build_back() { chown -R "$owner_uid:$owner_gid" "$checkout/build" 2>/dev/null || true; }
    # take_build: makes build/ root's while root writes in it itself, as the tests do, so that
    # no link the owner leaves there leads root's writes elsewhere; give_build_back hands it back.
    take_build() { chown -R 0:0 "$checkout/build"; }
    # An earlier run as root may have left build/ to root: give it back before building in it.
    give_build_back
else
    as_owner() { "$@"; }
    give_build_back() { :; }
    take_build() { :; }
fi

as_owner mkdir -p build
as_owner sh -c ': >"$1"' sh "$log"

# to_log: appends what it reads to the log, as the checkout's owner.
to_log() { as_owner sh -c 'exec cat >>"$1"' sh "$log"; }

# fail WHAT: says which step failed, shows the end of its output and names the whole log. With
# nothing in the log, the failed command has said why itself.
fail() {
    local last
    last=$(as_owner tail -n 30 "$log") || true
    if [ -n "$last" ]; then
        echo "Failed while ${1,}. The last lines of the log:" >&2
        echo "$last" | sed 's/^/    /' >&2
        echo "The full output is in $log." >&2
    fi
    exit 1
}

# step WHAT COMMAND...: prints WHAT, runs COMMAND with its output going to the log.
step() {
    local what=$1
    shift
    echo "$what"
    "$@" 2>&1 | to_log || fail "$what"
}

# install_packages play|test: what playing needs, or that and what the tests need. What it
# installs goes to standard output (descriptor 4 here), apt's output to the log.
install_packages() {
    { VORLANDI_LOG_FD=3 scripts/install-packages.sh "$1" 3>&1 >&4 | to_log; } 4>&1 ||
        fail "installing Debian packages"
}

# build_tree DIR WHAT [TARGET...]: builds the targets (everything when none is given) in the
# configured folder DIR as the checkout's owner, and says WHAT only when there is something to
# build. The copy of img/ beside the executable runs every time and takes no time, so it does
# not count.
build_tree() {
    local dir=$1 what=$2
    shift 2
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    local pending
    # A failing dry run fails again in the build below, which logs why.
    pending=$(as_owner cmake --build "$dir" "${targets[@]}" -- -n 2>/dev/null |
        grep '^\[' | grep -v 'Copying img/' || true)
    [ -z "$pending" ] || echo "$what (a few minutes the first time)"
    as_owner cmake --build "$dir" -j2 "${targets[@]}" 2>&1 | to_log || fail "$what"
}

# configure WHAT DIR [-DNAME=VALUE...]: configures the build folder DIR, saying WHAT, when it has
# not been configured yet or its cache lacks one of the settings given.
configure() {
    local what=$1 dir=$2 setting
    shift 2
    local again=
    [ -f "$dir/build.ninja" ] || again=yes
    for setting; do
        setting=${setting#-D}
        as_owner grep -qx -e "${setting%%=*}:[A-Z]*=${setting#*=}" "$dir/CMakeCache.txt" \
            2>/dev/null || again=yes
    done
    [ -z "$again" ] || step "$what" as_owner cmake -S . -B "$dir" -G Ninja "$@"
}

# build [TARGET...]: configures build/ once, then builds the targets there.
build() {
    configure "Configuring the build in build/" build
    if [ $# -gt 0 ]; then
        build_tree build "Building the game" "$@"
    else
        build_tree build "Building the game and its tests"
    fi
}
