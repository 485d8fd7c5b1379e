#!/usr/bin/env bash
# Usage: build_package.sh <cpack> <build dir> <source dir> <version> <private dir>
# (<private dir> relative to /usr). Builds the .deb into a temporary folder, checks its control
# fields and its contents, then unpacks it (without installing it) and starts the game through
# the packaged launcher.
set -euo pipefail

cpack=$1 build=$2 source=$3 version=$4 private=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack did not succeed"; }
packages=("$work"/out/*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
    fail "expected one .deb, found: ${packages[*]}"
fi
deb=${packages[0]}

dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vorlandi ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), expected $version"
[ "$(field Section)" = games ] || fail "Section is $(field Section)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# One dependency per line, without its version bound.
field Depends | tr ',' '\n' | sed -e 's/(.*)//' -e 's/|.*//' -e 's/[[:space:]]//g' >"$work/depends"
for dependency in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 fonts-liberation; do
    grep -qx "$dependency" "$work/depends" || fail "Depends lacks $dependency: $(field Depends)"
done

# "mode owner size date time path"; directories end with a slash.
dpkg-deb --contents "$deb" >"$work/contents"
awk '$2 != "root/root" { print "not owned by root: " $6; bad = 1 } END { exit bad }' \
    "$work/contents" || fail "files not owned by root"
awk '{ print $1, $6 }' "$work/contents" | sort >"$work/entries"
has() { grep -qx -- "$1" "$work/entries" || fail "no entry \"$1\" in the package"; }
has "-rwxr-xr-x ./usr/bin/vorlandi"
has "-rwxr-xr-x ./usr/$private/vorlandi"
for asset in "$source"/img/*; do
    has "-rw-r--r-- ./usr/$private/img/$(basename -- "$asset")"
done
has "-rw-r--r-- ./usr/share/applications/org.vorlandi.Vorlandi.desktop"
has "-rw-r--r-- ./usr/share/metainfo/org.vorlandi.Vorlandi.metainfo.xml"
for size in 48 64 128 256; do
    has "-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/org.vorlandi.Vorlandi.png"
done

dpkg-deb --extract "$deb" "$work/root"
"$(dirname -- "$0")/check_launcher.sh" "$work/root/usr/bin/vorlandi" "$work/root/usr/$private/vorlandi"
