#!/usr/bin/env bash
# Brings the fuzz targets up to date in build/ and runs each for SECONDS, seeded with the
# committed corpus and the shipped files in img/. New inputs collect in build/fuzz/corpus/NAME
# and are kept between runs; a crash, sanitizer report, hang or runaway allocation leaves its
# input in build/fuzz/ and fails the script. To fold a long run's finds into the committed
# corpus, minimised:
#   build/tests/fuzz/fuzz_NAME -merge=1 tests/fuzz/corpus/NAME build/fuzz/corpus/NAME
set -euo pipefail
seconds=${1:?usage: run-fuzzers.sh SECONDS}
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$root/build/tests/fuzz
work=$root/build/fuzz
names=(ani_cursor wave)

# The build's own rule builds them, and only when a reader or a target changed, in a build
# configured for them (scripts/test.sh configures build/ so).
grep -qx 'VORLANDI_FUZZ:BOOL=ON' "$root/build/CMakeCache.txt" 2>/dev/null ||
    cmake -S "$root" -B "$root/build" -G Ninja -DVORLANDI_FUZZ=ON >/dev/null
cmake --build "$root/build" --target fuzzers >/dev/null
for name in "${names[@]}"; do
    mkdir -p "$work/corpus/$name"
    log=$work/$name.log
    if ! "$bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
        -rss_limit_mb=2048 -malloc_limit_mb=256 -dict="$root/tests/fuzz/$name.dict" \
        -artifact_prefix="$work/$name-" \
        "$work/corpus/$name" "$root/tests/fuzz/corpus/$name" "$root/img" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz_$name failed; the input is in $work/ and the log in $log" >&2
        exit 1
    fi
    echo "fuzz_$name: $(grep -E '^Done [0-9]+ runs' "$log")"
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log"
done
