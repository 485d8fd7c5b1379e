#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
source "$(dirname -- "$0")/common.sh"
# The package test installs with apt, so the tests run as whoever started this script; what
# they write into build/ is handed back to the checkout's owner at the end.
trap give_build_back EXIT
install_packages
build
echo "Running the tests"
ctest --test-dir build --output-on-failure
echo "Fuzzing the cursor and wave readers for a minute each"
tests/fuzz/run-fuzzers.sh 60
