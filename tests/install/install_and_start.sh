#!/usr/bin/env bash
# Usage: install_and_start.sh <cmake> <build dir> <source dir>
# Installs the built game into a temporary prefix, checks the layout, then moves the prefix
# elsewhere and starts the game from there: through the launcher on PATH, as the menu entry
# does, and through a symbolic link to the launcher.
set -euo pipefail

cmake=$1 build=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$work/staged" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install did not succeed"; }

# A prefix that differs from the one the tree was installed with shows that nothing in it
# points back to where it was installed.
mv "$work/staged" "$work/moved"
prefix=$work/moved
private=$prefix/lib/games/vorlandi

[ -x "$prefix/games/vorlandi" ] || fail "no launcher games/vorlandi"
[ -x "$private/vorlandi" ] || fail "no executable lib/games/vorlandi/vorlandi"
[ -L "$private/img" ] || fail "lib/games/vorlandi/img is not a link"
diff -r "$source/img" "$private/img" || fail "lib/games/vorlandi/img differs from img/"
for file in applications/org.vorlandi.Vorlandi.desktop metainfo/org.vorlandi.Vorlandi.metainfo.xml \
    man/man6/vorlandi.6; do
    [ -f "$prefix/share/$file" ] || fail "no share/$file"
done
for size in 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/org.vorlandi.Vorlandi.png
    cmp -s "$source/app/resources/icons/$size.png" "$prefix/$icon" || fail "no $icon"
done

PATH="$prefix/games:$PATH" "$(dirname -- "$0")/check_launcher.sh" vorlandi "$private/vorlandi"

mkdir "$work/elsewhere"
ln -s "$prefix/games/vorlandi" "$work/elsewhere/vorlandi"
"$(dirname -- "$0")/check_launcher.sh" "$work/elsewhere/vorlandi" "$private/vorlandi"
