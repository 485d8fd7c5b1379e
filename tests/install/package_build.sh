#!/usr/bin/env bash
# Usage: package_build.sh <source dir> <output dir> <version>
# Builds the Debian source and binary packages from a clean copy of the source tree with
# dpkg-buildpackage, leaves them in <output dir> for the lintian and install tests, and checks
# the binary package's control fields and contents.
set -euo pipefail

source=$1 out=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname -- "$0")/../skip.sh"

rm -rf "$out"
mkdir -p "$out" "$work/vorlandi"

# Only what belongs to the source: no build folders, nothing dpkg-buildpackage left behind.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$source" ls-files -z --cached --others --exclude-standard |
        tar -C "$source" --null -T - -cf - | tar -C "$work/vorlandi" -xf -
else
    tar -C "$source" --exclude-vcs --exclude='./build*' --exclude='./obj-*' \
        --exclude=./debian/build --exclude=./debian/vorlandi --exclude=./debian/.debhelper \
        -cf - . | tar -C "$work/vorlandi" -xf -
fi
cd "$work/vorlandi"

[ "$(dpkg-parsechangelog -S Version)" = "$version" ] ||
    fail "debian/changelog is at $(dpkg-parsechangelog -S Version), the project at $version"
if ! unmet=$(dpkg-checkbuilddeps -P nocheck 2>&1); then
    skip "$unmet (scripts/install-packages.sh installs them)"
fi

# The other tests have run already: build the game alone, on both cores, without debug symbols.
echo "dpkg-buildpackage -us -uc (log: $out/build.log)"
DEB_BUILD_OPTIONS="nocheck noddebs parallel=2" DEB_BUILD_PROFILES=nocheck \
    dpkg-buildpackage -us -uc >"$out/build.log" 2>&1 ||
    { tail -n 40 "$out/build.log" >&2; fail "dpkg-buildpackage did not succeed"; }
cp "$work"/vorlandi_* "$out/"

# Every compile had the hardening flags: Debian's, stack clash, and control-flow protection on
# amd64 (from dpkg-buildflags where it knows them, else from debian/rules).
flags=(-D_FORTIFY_SOURCE=2 -fstack-protector-strong -fstack-clash-protection)
[ "$(dpkg --print-architecture)" != amd64 ] || flags+=(-fcf-protection)
grep -E '^\[[0-9]+/[0-9]+\] /usr/bin/c\+\+ .* -c ' "$out/build.log" >"$work/compiles" ||
    fail "no compile commands in the build log"
for flag in "${flags[@]}"; do
    ! grep -v -e " $flag " "$work/compiles" >/dev/null ||
        fail "a compile without $flag: $(grep -v -e " $flag " "$work/compiles" | head -n 1)"
done

deb=$out/vorlandi_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Section)" = games ] || fail "Section is $(field Section)"
# One dependency per line, without its version bound, nor the suffix of Debian 13's 64-bit time
# libraries (libqt6core6t64).
field Depends | tr ',' '\n' | sed -e 's/(.*)//' -e 's/|.*//' -e 's/[[:space:]]//g' -e 's/t64$//' \
    >"$work/depends"
for dependency in libqt6core6 libqt6gui6 libqt6widgets6 libpulse0 libpulse-mainloop-glib0 \
    fonts-liberation; do
    grep -qx "$dependency" "$work/depends" || fail "Depends lacks $dependency: $(field Depends)"
done
# The game runs on X11 without Qt's Wayland platform.
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is $(field Recommends), not qt6-wayland"

# "mode path" per entry, a link as "mode path -> target"; directories end with a slash.
dpkg-deb --contents "$deb" | awk '{ $2 = $3 = $4 = $5 = ""; print }' |
    sed -e 's/  */ /g' >"$work/entries"
has() { grep -qxF -- "$1" "$work/entries" || fail "no entry \"$1\" in the package"; }
has "-rwxr-xr-x ./usr/games/vorlandi"
has "-rwxr-xr-x ./usr/lib/games/vorlandi/vorlandi"
has "lrwxrwxrwx ./usr/lib/games/vorlandi/img -> ../../../share/games/vorlandi/img"
for asset in "$source"/img/*; do
    has "-rw-r--r-- ./usr/share/games/vorlandi/img/$(basename -- "$asset")"
done
has "-rw-r--r-- ./usr/share/man/man6/vorlandi.6.gz"
has "-rw-r--r-- ./usr/share/doc/vorlandi/copyright"
has "-rw-r--r-- ./usr/share/doc/vorlandi/changelog.gz"
has "-rw-r--r-- ./usr/share/applications/org.vorlandi.Vorlandi.desktop"
has "-rw-r--r-- ./usr/share/metainfo/org.vorlandi.Vorlandi.metainfo.xml"
for size in 48 64 128 256; do
    has "-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/org.vorlandi.Vorlandi.png"
done
echo "ok: $(basename -- "$deb") built"
