#!/usr/bin/env bash
# Usage: install-packages.sh [play|test|windows]
# Installs the Debian packages that building and playing the game need (play), or those and
# everything the tests use (test, the default), or what cross-building for Windows and testing
# that under Wine need (windows), saying which; does nothing and says nothing
# when they are all there. Needs root when something is missing. The tools' output goes to the
# descriptor $VORLANDI_LOG_FD when set, whose reader keeps it and reports a failure, else to a
# log named when apt fails.
set -euo pipefail
purpose=${1:-test}

packages=(
    # build
    cmake ninja-build g++ pkgconf qt6-base-dev libpulse-dev
    # play: the faces the window's fonts resolve to, and Qt's Wayland platform
    fonts-liberation qt6-wayland
)
if [ "$purpose" = test ]; then
    packages+=(
        # a real X server, its window tools, the desktop-file checkers, a stopped clock and the
        # time zone the tests pin
        xvfb x11-utils desktop-file-utils appstream faketime tzdata
        # both sound servers of Debian's desktops, each with its own session bus
        pulseaudio pipewire pipewire-bin pipewire-pulse wireplumber dbus
        # a real desktop: a window manager, a Wayland compositor, input, screenshots
        openbox weston xdotool x11-apps netpbm
        # a screen reader on its accessibility bus, and the bindings that read its tree
        at-spi2-core python3-pyatspi orca
        # fuzzing the file readers: clang, its libFuzzer and sanitizer runtimes, Qt's flags
        clang libclang-rt-dev
        # the Debian package: its build, its checkers, Debian's own test runner
        build-essential dpkg-dev debhelper lintian devscripts autopkgtest
        # the arm64 cross compiler that checks the package's flags for that architecture
        g++-aarch64-linux-gnu
        # playing as the user who started a set-up script with sudo
        sudo
    )
elif [ "$purpose" = windows ]; then
    # MinGW-w64 and Debian's Qt source with the host tools to build Qt with, and Wine
    packages+=(g++-mingw-w64-x86-64-posix dpkg-dev xz-utils wine wine64
        # the installer, the msi and the zip, and playing them on a private X server and sink
        nsis wixl unzip xvfb xdotool pulseaudio python3)
elif [ "$purpose" != play ]; then
    echo "usage: $0 [play|test|windows]" >&2
    exit 2
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}; run $0 $purpose as root to install them." >&2
    exit 1
fi

log=$(mktemp --tmpdir vorlandi-packages.XXXXXX.log)
if [ -n "${VORLANDI_LOG_FD:-}" ]; then
    # The output goes there at the end, not through the descriptor: a service that apt starts
    # could hold it open for as long as it runs.
    trap 'cat "$log" >&"$VORLANDI_LOG_FD"; rm -f "$log"' EXIT
    run() { "$@" >>"$log" 2>&1 {VORLANDI_LOG_FD}>&-; }
else
    run() {
        "$@" >>"$log" 2>&1 || {
            tail -n 30 "$log" | sed 's/^/    /' >&2
            echo "Failed while installing Debian packages; the full output is in $log." >&2
            exit 1
        }
    }
fi
export DEBIAN_FRONTEND=noninteractive
echo "Updating the list of Debian packages"
run apt-get update
echo "Installing Debian packages (a few minutes the first time): ${missing[*]}"
run apt-get install -y --no-install-recommends "${missing[@]}"
[ -n "${VORLANDI_LOG_FD:-}" ] || rm -f "$log"
