#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
source "$(dirname -- "$0")/common.sh"
# The package test installs with apt, so the tests run as whoever started this script, in a
# build/ that is root's meanwhile when that is root; it goes back to the checkout's owner at the
# end.
trap give_build_back EXIT
install_packages test
# With the fuzz targets, which the last step runs, also in a build/ that play.sh configured.
configure "Configuring the build in build/" build -DVORLANDI_FUZZ=ON
build
# The damaged-asset test plays a copy of the game built with the address and undefined-behaviour
# sanitizers, in a build folder of its own.
configure "Configuring the sanitizer build in build/asan" build/asan \
    "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer"
build_tree build/asan "Building the game with the sanitizers" vorlandi_drive
echo "Running the tests"
take_build
# The listening tests time sounds to the millisecond: they start once the machine has written
# out what the installation and the builds left, rather than beside that writing.
sync
# Two tests at a time on two cores, more on more; the listening tests run alone.
ctest --test-dir build --output-on-failure -j "$(nproc)"
echo "Fuzzing the cursor and wave readers for a minute each"
tests/fuzz/run-fuzzers.sh 60
# The game and its tests again, cross-built for 64-bit Windows from the same sources and run
# under Wine, but where VORLANDI_WINDOWS=no (CI's root of the other release).
[ "${VORLANDI_WINDOWS:-yes}" != no ] || exit 0
install_packages windows
step "Building Qt for Windows, kept in a cache (about twenty minutes the first time)" \
    scripts/build-qt-windows.sh
qt=$(scripts/build-qt-windows.sh 2>/dev/null)
configure "Configuring the Windows build in build/windows" build/windows \
    "-DCMAKE_TOOLCHAIN_FILE=$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=$PWD/tests/wine_test.sh"
build_tree build/windows "Building the game and its tests for Windows"
take_build
echo "Running the tests for Windows under Wine"
ctest --test-dir build/windows --output-on-failure -j "$(nproc)"
