#!/usr/bin/env bash
# Builds the libFuzzer target fuzz_NAME for each NAME given into OUTDIR: tests/fuzz/fuzz_NAME.cpp
# with the reader it drives, logic/NAME.cpp, compiled by clang with coverage, AddressSanitizer and
# UndefinedBehaviorSanitizer. Qt is linked as installed, uninstrumented. Without
# _GLIBCXX_ASSERTIONS an out-of-range std::vector index can land in a neighbouring heap block
# and go unseen.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: build-fuzzers.sh OUTDIR NAME..." >&2; exit 2; }
out=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
read -ra qt <<<"$(pkg-config --cflags --libs Qt6Gui)"
for name in "$@"; do
    clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Wpedantic -I"$root" \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -D_GLIBCXX_ASSERTIONS \
        "$root/tests/fuzz/fuzz_$name.cpp" "$root/logic/$name.cpp" "${qt[@]}" -o "$out/fuzz_$name"
done
