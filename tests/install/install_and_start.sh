#!/usr/bin/env bash
# Usage: install_and_start.sh <cmake> <build dir> <source dir> <bin dir> <private dir> <data dir>
# (the last three relative to the prefix). Installs the built game into a temporary prefix,
# checks the layout, then moves the prefix elsewhere and starts the game from there: through
# the launcher on PATH, as the menu entry does, and through a symbolic link to the launcher.
set -euo pipefail

cmake=$1 build=$2 source=$3 bindir=$4 private=$5 datadir=$6
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

[ -x "$prefix/$bindir/vorlandi" ] || fail "no launcher $bindir/vorlandi"
[ -x "$prefix/$private/vorlandi" ] || fail "no executable $private/vorlandi"
diff -r "$source/img" "$prefix/$private/img" || fail "$private/img differs from img/"
for file in applications/org.vorlandi.Vorlandi.desktop metainfo/org.vorlandi.Vorlandi.metainfo.xml; do
    [ -f "$prefix/$datadir/$file" ] || fail "no $datadir/$file"
done
for size in 48 64 128 256; do
    icon=$datadir/icons/hicolor/${size}x${size}/apps/org.vorlandi.Vorlandi.png
    cmp -s "$source/app/resources/icons/$size.png" "$prefix/$icon" || fail "no $icon"
done

exec_line=$(grep '^Exec=' "$prefix/$datadir/applications/org.vorlandi.Vorlandi.desktop")
[ "$exec_line" = "Exec=vorlandi" ] || fail "unexpected $exec_line"
PATH="$prefix/$bindir:$PATH" "$(dirname -- "$0")/check_launcher.sh" vorlandi "$prefix/$private/vorlandi"

mkdir "$work/elsewhere"
ln -s "$prefix/$bindir/vorlandi" "$work/elsewhere/vorlandi"
"$(dirname -- "$0")/check_launcher.sh" "$work/elsewhere/vorlandi" "$prefix/$private/vorlandi"
