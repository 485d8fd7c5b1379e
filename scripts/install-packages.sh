#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need; does nothing when
# they are all there already. Run as root.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev
    # the faces the window's fonts resolve to
    fonts-liberation
    # tests: a real X server, its window tools, a sound server, the desktop-file checkers
    xvfb x11-utils pulseaudio desktop-file-utils appstream
    # fuzzing the file readers: clang, its libFuzzer and sanitizer runtimes, Qt's compile flags
    clang libclang-rt-14-dev pkg-config
    # the Debian package, with its library dependencies worked out by dpkg-shlibdeps
    dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}. Run this as root to install them." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
