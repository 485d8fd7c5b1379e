#!/usr/bin/env bash
# Usage: package_install.sh <package dir>
# Installs the package that package_build.sh left with apt, starts the game the way its menu
# entry does, purges the package and checks that the machine is as it was: the package itself
# is gone and no file or folder appeared or disappeared. Needs root; skips when the package
# would pull in other packages (scripts/install-packages.sh installs them beforehand), or when
# vorlandi is installed on this machine already, which the test must not replace.
set -euo pipefail

debs=("$1"/vorlandi_*.deb)
source "$(dirname -- "$0")/../skip.sh"
[ -f "${debs[0]}" ] || skip "no package was built"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if dpkg-query -W -f='${Status}' vorlandi 2>/dev/null | grep -q 'ok installed'; then
    skip "vorlandi is installed on this machine; the test leaves it alone"
fi

work=$(mktemp -d)
installed=
cleanup() {
    if [ -n "$installed" ]; then
        apt-get purge -y -q vorlandi >>"$work/apt.log" 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
# apt reads a local package as its unprivileged user, so the package must be readable to it.
chmod 755 "$work"
cp "${debs[0]}" "$work/"
deb=$work/$(basename -- "${debs[0]}")
chmod 644 "$deb"

export DEBIAN_FRONTEND=noninteractive
extra=$(apt-get install --simulate --no-install-recommends "$deb" 2>/dev/null |
    awk '$1 == "Inst" && $2 != "vorlandi" { print $2 }' | tr '\n' ' ')
[ -z "$extra" ] || skip "installing the package would also install $extra(scripts/install-packages.sh installs them)"

# Names only: what the package's triggers rewrite (icon and desktop caches) may change,
# but nothing may be added or left behind.
snapshot() {
    local roots=() root
    for root in /usr /etc /var/lib/dpkg/info /var/games; do
        [ ! -d "$root" ] || roots+=("$root")
    done
    find "${roots[@]}" -xdev | sort
}
snapshot >"$work/before"

installed=yes
apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install did not succeed"; }

[ "$(readlink -f /usr/lib/games/vorlandi/img)" = /usr/share/games/vorlandi/img ] ||
    fail "/usr/lib/games/vorlandi/img does not lead to /usr/share/games/vorlandi/img"
diff -r "$(dirname -- "$0")/../../img" /usr/lib/games/vorlandi/img ||
    fail "the installed assets differ from img/"

# Every protection Debian knows of. The game calls no C library function whose buffer size the
# compiler knows (its text goes through Qt), so _FORTIFY_SOURCE has no call to replace and
# hardening-check, which counts replaced calls, finds none: package_build.sh checks instead that
# every compile had the flag, and that of control-flow protection. The linker marks the game as
# protected only when every object of the link is, so hardening-check looks for the marks only
# where the C library's start files carry them.
unmarked=$(for start in Scrt1.o crti.o crtn.o; do
    readelf -n "$(c++ -print-file-name="$start")" | grep -q 'x86 feature: IBT, SHSTK' || echo "$start"
done)
checks=(--nofortify ${unmarked:+--nocfprotection})
# Debian 13's hardening-check also looks for arm64's branch protection, on every architecture.
usage=$(hardening-check --help 2>&1 || true)
if [ "$(dpkg --print-architecture)" != arm64 ] && [[ $usage == *--nobranchprotection* ]]; then
    checks+=(--nobranchprotection)
fi
hardening-check "${checks[@]}" /usr/lib/games/vorlandi/vorlandi ||
    fail "hardening-check finds a protection missing"

# The menu entry's command, on the PATH a Debian user session has.
desktop=/usr/share/applications/org.vorlandi.Vorlandi.desktop
command=$(sed -n 's/^Exec=//p' "$desktop")
[ "$command" = vorlandi ] || fail "unexpected Exec=$command in $desktop"
PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games \
    "$(dirname -- "$0")/check_launcher.sh" "$command" /usr/lib/games/vorlandi/vorlandi

apt-get purge -y -q vorlandi >>"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get purge did not succeed"; }
installed=
status=$(dpkg-query -W -f='${Status}' vorlandi 2>/dev/null || true)
case $status in
'' | *not-installed) ;;
*) fail "dpkg still has vorlandi as \"$status\"" ;;
esac
snapshot >"$work/after"
diff "$work/before" "$work/after" >"$work/difference" ||
    { cat "$work/difference" >&2; fail "purging the package did not leave the machine as it was"; }
echo "ok: installed with apt, started from the menu entry's command, purged without a trace"
