#!/bin/bash
# Makes every sound, picture, icon and cursor of the game from scratch and writes them into
# img/ and app/resources/. Same inputs, same bytes: run it twice and the files do not change.
#
#   tools/make-assets.sh
#
# Installs the Debian packages it needs when they are missing (the game's own build needs none
# of them, since the generated files are kept in the repository).
set -euo pipefail
# awk and sox read and write numbers with a decimal point, whatever the desktop's language.
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
img="$root/img"
resources="$root/app/resources"

packages=(festival festvox-italp16k sox cmake ninja-build g++ pkg-config
          qt6-base-dev libgif-dev)

installPackages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
}

installPackages

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$img" "$resources/icons"

rate=22050
# Every file that leaves here: 16-bit PCM, mono, 22050 Hz; -R seeds sox's generators
# and -D leaves out dither, so the bytes repeat from run to run.
soxOut=(-b 16 -e signed-integer -c 1 -r "$rate")

# ---------------------------------------------------------------- speech

# The words as the voice should say them. "tré" (closed e) is how "tre" is said, and the
# voice's lexicon would otherwise give it an open e.
words=(uno due tré quattro cinque sei sette otto nove dieci
       undici dodici tredici quattordici quindici sedici diciassette diciotto diciannove venti
       ventuno ventidue ventitré ventiquattro venticinque ventisei ventisette ventotto ventinove
       trenta)
# A slower pace than the voice's own suits a child who is learning the words.
stretch=1.4

{
    cat "$here/speak.scm"
    for i in "${!words[@]}"; do
        printf '(vorlandi_speak "%s" %s "%s/raw%d.wav")\n' "${words[$i]}" "$stretch" "$work" $((i + 1))
    done
    printf '(vorlandi_speak "Esatto!" 1.3 "%s/esatto.wav")\n' "$work"
    printf '(vorlandi_speak "Benissimo!" 1.3 "%s/benissimo.wav")\n' "$work"
} | iconv -f UTF-8 -t LATIN1 >"$work/speak.scm"
festival -b "$work/speak.scm"

# Removes rumble, trims the silence at both ends and resamples; the trimmed clip keeps 20 ms
# of quiet either side so that the first consonant is not cut.
cleanSpeech() {
    sox -R -D "$1" "${soxOut[@]}" "$2" highpass 70 gain -n -3 \
        silence 1 0.005 -42d reverse silence 1 0.005 -42d fade t 0.012 reverse fade t 0.004 \
        pad 0.02 0.02
}

rmsOf() { sox "$1" -n stat 2>&1 | awk '/^RMS +amplitude/ {print $3}'; }

# gainTo FILE RMS: the gain in dB that brings the file to that RMS amplitude.
gainTo() {
    awk -v r="$(rmsOf "$1")" -v t="$2" 'BEGIN {printf "%.3f", 20 * log(t / r) / log(10)}'
}

# Numbers share one RMS loudness, so no number sounds louder than another. A few diphone
# joins of the voice leave a short spike; a fast limiter (1 ms look-ahead) flattens it
# before the final level is set.
targetRms=0.16
for n in $(seq 1 30); do
    cleanSpeech "$work/raw$n.wav" "$work/clean$n.wav"
    sox -R -D "$work/clean$n.wav" "${soxOut[@]}" "$work/limited$n.wav" \
        gain "$(gainTo "$work/clean$n.wav" 0.1)" compand 0.001,0.05 3:-12,-12,0,-9 0 -90 0.001
    sox -R -D "$work/limited$n.wav" "${soxOut[@]}" "$img/$n.wav" \
        gain "$(gainTo "$work/limited$n.wav" $targetRms)"
done

# ---------------------------------------------------------------- cheers and the gentle "no"

# note TYPE FREQUENCY START LENGTH VOLUME FILE: one synthesised note placed START seconds in.
note() {
    sox -R -D -n "${soxOut[@]}" "$6" synth "$4" "$1" "$2" vol "$5" \
        fade h 0.004 "$4" "$(awk -v l="$4" 'BEGIN {print l * 0.8}')" pad "$3"
}

# mix OUT IN...: adds the inputs (padded to the longest) and sets the peak to -1 dBFS.
mix() {
    local out=$1
    shift
    local args=()
    for f in "$@"; do args+=(-v 1 "$f"); done
    sox -R -D -m "${args[@]}" "${soxOut[@]}" "$out" gain -n -1
}

cleanSpeech "$work/esatto.wav" "$work/esatto-clean.wav"
cleanSpeech "$work/benissimo.wav" "$work/benissimo-clean.wav"
sox -R -D "$work/esatto-clean.wav" "${soxOut[@]}" "$work/esatto-late.wav" vol 0.9 pad 0.52
sox -R -D "$work/benissimo-clean.wav" "${soxOut[@]}" "$work/benissimo-late.wav" vol 0.9 pad 0.62

# brava1: a quick rising arpeggio C5 E5 G5 C6 with a sparkle on top, then "Esatto!".
note pluck 523.25 0.00 0.45 0.35 "$work/b1a.wav"
note pluck 659.26 0.08 0.45 0.35 "$work/b1b.wav"
note pluck 783.99 0.16 0.45 0.35 "$work/b1c.wav"
note pluck 1046.50 0.24 0.55 0.40 "$work/b1d.wav"
note sine 2093.00 0.30 0.12 0.10 "$work/b1e.wav"
note sine 2637.02 0.38 0.16 0.08 "$work/b1f.wav"
mix "$img/brava1.wav" "$work"/b1{a,b,c,d,e,f}.wav "$work/esatto-late.wav"

# brava: a little fanfare G4 C5 E5 G5, a held C major chord, then "Benissimo!".
note pluck 392.00 0.00 0.30 0.30 "$work/b0a.wav"
note pluck 523.25 0.10 0.30 0.30 "$work/b0b.wav"
note pluck 659.26 0.20 0.30 0.30 "$work/b0c.wav"
note pluck 783.99 0.30 0.50 0.35 "$work/b0d.wav"
note sine 523.25 0.30 0.85 0.07 "$work/b0e.wav"
note sine 659.26 0.30 0.85 0.06 "$work/b0f.wav"
note sine 1046.50 0.30 0.85 0.05 "$work/b0g.wav"
note sine 3135.96 0.42 0.10 0.05 "$work/b0h.wav"
mix "$img/brava.wav" "$work"/b0{a,b,c,d,e,f,g,h}.wav "$work/benissimo-late.wav"

# no: two soft, rounded notes falling a minor third (G4, E4), with slow attacks so that it
# never startles; quieter than the cheers. No words: after a wrong answer the game shows the
# right digits and moves on, so a spoken "riprova" would promise a second try that never comes.
for part in "392.00 0.00 a" "329.63 0.26 b"; do
    read -r f start tag <<<"$part"
    sox -R -D -n "${soxOut[@]}" "$work/no-$tag-1.wav" synth 0.42 sine "$f" vol 0.5 \
        fade q 0.04 0.42 0.3 pad "$start"
    sox -R -D -n "${soxOut[@]}" "$work/no-$tag-2.wav" synth 0.42 sine \
        "$(awk -v f="$f" 'BEGIN {print 2 * f}')" vol 0.08 fade q 0.04 0.42 0.3 pad "$start"
done
sox -R -D -m -v 1 "$work/no-a-1.wav" -v 1 "$work/no-a-2.wav" -v 1 "$work/no-b-1.wav" \
    -v 1 "$work/no-b-2.wav" "${soxOut[@]}" "$img/no.wav" gain -n -9

# ---------------------------------------------------------------- pictures, icons, cursor

cmake -S "$here" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" >/dev/null
QT_QPA_PLATFORM=offscreen "$work/build/make_assets" "$img" "$resources"

echo "Assets written to $img and $resources"
