#!/usr/bin/env bash
# Plays the game, built with AddressSanitizer, once for every file of img/ deleted, emptied,
# cut in half and replaced by a file of another kind, once without img/ and once with img a
# file. Each run plays until the damaged file's number has come up with a right answer, and must
# end with status 0: a damaged picture leaves the picture box empty, a damaged cursor leaves the
# usual pointer, a damaged sound is silent. Two runs at a time.
#   asset-damage.sh DRIVER IMG_FOLDER
set -uo pipefail
driver=$1
img=$2
source "$(dirname -- "$0")/skip.sh"
[ -x "$driver" ] || skip "$driver is not built; scripts/test.sh builds it in build/asan"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen PULSE_SERVER=unix:/nonexistent/native
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The leak checker cannot run where the process may not be traced (some containers); there the
# runs go on without it.
if "$driver" "$work" soak 1 2>&1 | grep -q "LeakSanitizer has encountered a fatal error"; then
    echo "note: the leak checker cannot run here; checking without it"
    export ASAN_OPTIONS=detect_leaks=0
fi

# play NAME TARGET EXPECTED: runs the driver in $work/NAME until TARGET came up; its summary line
# must match the extended regular expression EXPECTED.
play() {
    local name=$1 target=$2 expected=$3 out
    out=$("$driver" "$work/$name" until "$target" 2>"$work/$name.err")
    local status=$?
    if [ $status -ne 0 ] || ! grep -qE "$expected" <<<"$out"; then
        echo "FAIL $name: status $status, $out" >&2
        tail -n 30 "$work/$name.err" >&2
        touch "$work/failed-$name"
        return 1
    fi
    echo "ok   $name: ${out%%$'\n'*}"
    rm -rf "${work:?}/$name"
}

runs=0
# Waits while LIMIT runs are going.
throttle() {
    while [ "$(jobs -rp | wc -l)" -ge "$1" ]; do
        wait -n
    done
}

for file in "$img"/*; do
    base=$(basename "$file")
    case $base in
    terra*.bmp) target=${base//[^0-9]/} other=$img/1.wav ;;
    brava1.wav) target=25 other=$img/terra1.bmp ;;
    [0-9]*.wav) target=${base%.wav} other=$img/terra1.bmp ;;
    *) target=1 other=$img/terra1.bmp ;;
    esac
    expected="picture empty 0, others 0, cursor animated"
    [[ $base == terra* ]] &&
        expected="came up ([0-9]+) times, picture empty \\1, others 0, cursor animated"
    [[ $base == *.ani ]] && expected="picture empty 0, others 0, cursor usual"
    for damage in deleted emptied halved other; do
        name=$damage-$base
        mkdir -p "$work/$name" && cp -r "$img" "$work/$name/img"
        case $damage in
        deleted) rm "$work/$name/img/$base" ;;
        emptied) : >"$work/$name/img/$base" ;;
        halved) head -c $(($(stat -c %s "$file") / 2)) "$file" >"$work/$name/img/$base" ;;
        other) cp "$other" "$work/$name/img/$base" ;;
        esac
        throttle 2
        play "$name" "$target" "$expected" &
        runs=$((runs + 1))
    done
done
mkdir -p "$work/no-img" "$work/img-a-file" && touch "$work/img-a-file/img"
for name in no-img img-a-file; do
    throttle 2
    play "$name" 1 "came up ([0-9]+) times, picture empty \\1, .*cursor usual" &
    runs=$((runs + 1))
done
wait
failed=$(find "$work" -maxdepth 1 -name 'failed-*' | wc -l)
echo "$runs runs with damaged assets, $failed failed"
[ "$failed" -eq 0 ]
