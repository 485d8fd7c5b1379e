#!/usr/bin/env bash
# Usage: build-qt-windows.sh
# Builds a static Qt for 64-bit Windows (x86_64-w64-mingw32) from Debian's own qt6-base source
# of this machine's release, with the machine's Qt host tools of the same version, and prints
# the folder it is installed in. Only the modules and features the game and its tests need are
# built. The result is kept outside the checkout, in $VORLANDI_CACHE (by default
# /var/cache/vorlandi for root, ~/.cache/vorlandi for anyone else), in a folder named for the
# Qt version and the options, so that a second run takes no time. A build goes into place only
# once it is whole, by a rename: a killed build leaves nothing that a later run would trust, and
# the next run removes what it left. Installs what it needs (install-packages.sh windows); what
# it fetches goes to a work folder of its own, and the machine's apt settings stay as they are.
set -euo pipefail
trap 'echo "$0: failed at line $LINENO" >&2' ERR

"$(dirname -- "$0")/install-packages.sh" windows

# The source of the host tools' own version, and its upstream version (6.4.2+dfsg-10 -> 6.4.2).
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
upstream=${version%%[+-]*}
options=(
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    # What a widgets game does not use. Tablet events and sql off also spare the parts that
    # Debian's tarball leaves out (wintab, sqlite); OpenGL stays off only with its input off too.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_freetype=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no
    # The image and text libraries that Qt bundles, built in.
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" | sha256sum | cut -c1-12)
if [ "$(id -u)" -eq 0 ]; then
    cache=${VORLANDI_CACHE:-/var/cache/vorlandi}
else
    cache=${VORLANDI_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vorlandi}
fi
prefix=$cache/qt-$upstream-mingw64-static-$key
if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
chmod 755 "$cache"
# What a killed build left: a work folder that no running build holds.
for old in "$cache"/.work-*; do
    [ -d "$old" ] || continue
    flock -n "$old/lock" rm -rf -- "$old" 2>/dev/null || true
done
work=$(mktemp -d "$cache/.work-XXXXXX")
exec 9>"$work/lock"
flock 9
trap 'rm -rf -- "$work"' EXIT

# The machine's own Debian archives as source archives, in a list of this run's own.
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
{ cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } | awk '
    /^Types:/ { deb = $0 ~ /(^|[ \t])deb([ \t]|$)/ }
    /^URIs:/ { uri = $2 } /^Suites:/ { $1 = ""; suites = $0 } /^Components:/ { $1 = ""; parts = $0 }
    /^Signed-By:/ { key = $2 }
    /^$/ { flush() } END { flush() }
    function flush(  n, s, i) {
        if (deb && uri != "") {
            n = split(suites, s, " ")
            for (i = 1; i <= n; i++)
                printf "deb-src %s%s %s%s\n", key == "" ? "" : "[signed-by=" key "] ", uri, s[i], parts
        }
        deb = 0; uri = ""; key = ""
    }' >"$work/sources.list"
sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    2>/dev/null >>"$work/sources.list" || true
apt=(apt-get -q -o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o Debug::NoLocking=1)
log=$work/build.log
echo "Fetching Debian's qt6-base $version source" >&2
{ "${apt[@]}" update && (cd "$work" && "${apt[@]}" source --only-source "qt6-base=$version"); } \
    >"$log" 2>&1 || { tail -n 20 "$log" >&2; exit 1; }
source_dir=$(find "$work" -maxdepth 1 -type d -name "qt6-base-*" | head -n 1)

cat >"$work/mingw.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
echo "Building Qt $upstream for Windows (about twenty minutes on two cores)" >&2
start=$SECONDS
{
    cmake -S "$source_dir" -B "$work/build" -G Ninja "${options[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
        cmake --build "$work/build" -j "$(nproc)" &&
        DESTDIR="$work/staged" cmake --install "$work/build"
} >>"$log" 2>&1 || { tail -n 30 "$log" >&2; exit 1; }
# Installed under its final name inside the staging folder, then moved into place whole. Qt's
# toolchain file, which programs for Windows build with, names the compilers' file that Qt was
# configured with: that goes along, beside it.
staged=$work/staged$prefix/lib/cmake/Qt6
cp "$work/mingw.cmake" "$staged/mingw-w64-x86_64.cmake"
sed -i "s|$work/mingw.cmake|$prefix/lib/cmake/Qt6/mingw-w64-x86_64.cmake|" "$staged/qt.toolchain.cmake"
mv -T "$work/staged$prefix" "$prefix"
echo "Qt $upstream for Windows built in $((SECONDS - start)) s" >&2
echo "$prefix"
