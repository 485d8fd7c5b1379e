#!/usr/bin/env bash
# Usage: package_flags_arm64.sh <source dir>
# Compiles and links one of the game's files for arm64 with the flags that the package's build
# would use there, as debian/rules itself gives them (dpkg-buildflags' and its own): the
# compiler rejects another architecture's flag, and the object must carry arm64's branch
# protection.
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname -- "$0")/../skip.sh"
flags() {
    DEB_HOST_ARCH=arm64 make -s -C "$source" -f debian/rules \
        --eval "print-flags: ; @dpkg-buildflags --get $1" print-flags
}
cppflags=$(flags CPPFLAGS) cxxflags=$(flags CXXFLAGS) ldflags=$(flags LDFLAGS)
echo "arm64: $cppflags $cxxflags $ldflags"
for flag in -fstack-clash-protection -mbranch-protection=standard; do
    [[ " $cxxflags " = *" $flag "* ]] || fail "arm64's CXXFLAGS lack $flag"
done

cxx=aarch64-linux-gnu-g++
$cxx $cppflags $cxxflags -Werror -I"$source" -c "$source/logic/draw.cpp" -o "$work/draw.o" ||
    fail "arm64's flags do not compile"
readelf -n "$work/draw.o" | grep -q 'AArch64 feature: BTI, PAC' ||
    fail "the object lacks branch protection: $(readelf -n "$work/draw.o")"
echo 'int scaledDraw(double); int main() { return scaledDraw(0.5); }' |
    $cxx $cxxflags -Werror -x c++ - -x none "$work/draw.o" $ldflags -o "$work/draw" ||
    fail "arm64's flags do not link"
echo "ok: compiled and linked for arm64 with the package's flags"
