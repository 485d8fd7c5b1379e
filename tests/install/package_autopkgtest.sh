#!/usr/bin/env bash
# Usage: package_autopkgtest.sh <source dir> <package dir>
# Runs the package's own Debian test (debian/tests/) with autopkgtest against the package that
# package_build.sh left, on this machine as the test bed, then purges the package again. Needs
# root; skips when vorlandi is installed on this machine already, which it must not replace.
set -euo pipefail
source=$1 package=$2
source "$(dirname -- "$0")/../skip.sh"
debs=("$package"/vorlandi_*.deb)
[ -f "${debs[0]}" ] || skip "no package was built"
[ "$(id -u)" -eq 0 ] || skip "autopkgtest installs the package, which needs root"
if dpkg-query -W -f='${Status}' vorlandi 2>/dev/null | grep -q 'ok installed'; then
    skip "vorlandi is installed on this machine; the test leaves it alone"
fi
trap 'apt-get purge -y -q vorlandi >/dev/null 2>&1 || true' EXIT
autopkgtest "${debs[0]}" "$source" -- null
