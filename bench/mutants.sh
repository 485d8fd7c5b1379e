#!/usr/bin/env bash
# Plants one-line faults, one at a time, in the code that decides what the child sees and hears,
# and says for each which test caught it: the verdict, the score counters and their formatting,
# the number words, the bands and draws, the exercise cycle, the answer check, and the sound
# output's cut-off, corking and reconnection. It builds the committed tree (HEAD) in a folder of
# its own, so the checkout is never touched. A fault that builds and fails no test is listed as
# "NOT CAUGHT"; one that does not build counts as caught by the compiler. Ends with a count.
#   bench/mutants.sh [NUMBER...]    (only those faults, numbered as the full run numbers them)
# Faults are tried against the window, unit and desktop tests, which take seconds; those in the
# sound output against the listening test of the server they concern, which takes a minute or
# two. Running the whole list takes about 45 minutes on two cores.
set -uo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap "exit 1" HUP INT PIPE TERM

# The tests a fault is tried against: every quick test; those and the soak, for a fault that
# shows only now and then; or one server's listening test.
quick_tests='include_wall|tst_number_words|tst_logic|tst_assets|tst_window|hostile_answers|'\
'desktop_openbox|desktop_weston|accessibility'
declare -A tests=(
    [quick]="^($quick_tests)\$"
    [soak]="^($quick_tests|soak_10000_exercises)\$"
    [pulseaudio]='^tst_sound_pulseaudio$'
    [pipewire]='^tst_sound_pipewire$'
)
# What those tests run: a fault is built into these alone.
quick_targets='vorlandi tst_number_words tst_logic tst_assets tst_window vorlandi_drive picture_match'
declare -A targets=([quick]=$quick_targets [soak]=$quick_targets [pulseaudio]=tst_sound
    [pipewire]=tst_sound)
# How long one of those tests may take before it counts as failed: a fault may leave the window
# waiting on a message box.
declare -A timeouts=([quick]=120 [soak]=120 [pulseaudio]=600 [pipewire]=600)
files=() kinds=() befores=() afters=()
# mutant FILE TESTS BEFORE AFTER: in FILE, the only occurrence of the text BEFORE (which may span
# lines) becomes AFTER.
mutant() {
    files+=("$1") kinds+=("$2") befores+=("$3") afters+=("$4")
}

mutant logic/verdict.cpp quick 'answer == expected ?' 'answer != expected ?'
mutant logic/verdict.cpp quick '"Esatto, è incredibile!!!"' '"Esatto, è incredibile!!"'
mutant logic/verdict.cpp quick 'QStringLiteral("Sbagliato!! ") + expected' 'QStringLiteral("Sbagliato!! ")'
mutant logic/verdict.cpp quick 'QColor(255, 255, 0)' 'QColor(255, 255, 64)'
mutant logic/verdict.cpp quick 'std::int64_t{correct} + wrong' 'correct + wrong'
mutant logic/numbers.cpp quick "pattern.count(QLatin1Char('0'))" "pattern.count(QLatin1Char('#'))"
mutant logic/numbers.cpp quick "value < 0 ? QLatin1Char('-') + padded : padded" 'padded'
mutant logic/numbers.cpp quick 'max() ? counter : counter + 1' 'max() - 1 ? counter : counter + 1'
mutant logic/numbers.cpp quick '(++sequence * ' '(sequence * '
mutant logic/draw.cpp quick 'factor = 31.0f' 'factor = 30.0f'
mutant logic/draw.cpp quick 'std::floor(r * factor)' 'std::round(r * factor)'
mutant logic/bands.cpp quick 'std::clamp(20 * factor' 'std::clamp(21 * factor'
mutant logic/bands.cpp quick 'component(drawnNumber), component(colourSeed)' 'component(colourSeed), component(drawnNumber)'
mutant logic/bands.cpp quick '(band + 1) * height' '(band + 2) * height'
mutant logic/bands.cpp quick 'band < gradientBandCount;' 'band < gradientBandCount - 1;'
mutant logic/number_words.cpp quick 'if (n > 99) {' 'if (n > 100) {'
mutant logic/number_words.cpp quick 'if (hundreds != 1) {' 'if (hundreds != 0) {'
mutant logic/number_words.cpp quick 'if (n <= 20) {' 'if (n < 20) {'
mutant logic/number_words.cpp quick 'lookUp(table, tens + 19)' 'lookUp(table, tens + 18)'
mutant logic/number_words.cpp quick 'if (n == 1 || n == 8)' 'if (n == 1)'
mutant logic/number_words.cpp quick 'QStringLiteral("diciotto"),' 'QStringLiteral("diciotti"),'
mutant logic/number_words.cpp quick 'single ? QStringLiteral("mille") : QStringLiteral("mila")' 'QStringLiteral("mila")'
mutant logic/number_words.cpp quick 'fixedPoint % fixedPointScale' 'fixedPoint'
mutant logic/number_words.cpp quick 'fraction[4].digitValue() >= 5' 'fraction[4].digitValue() > 5'
mutant app/answer_check.cpp quick 'if (keyAscii != 13)' 'if (keyAscii != 10)'
mutant app/answer_check.cpp quick 'wrongCount = numbers::incremented(wrongCount);' 'wrongCount = numbers::incremented(correctCount);'
mutant app/answer_check.cpp quick 'correctCount = numbers::incremented(correctCount);' ';'
mutant app/answer_check.cpp quick $'if (verdict == Verdict::Wrong)\n        showScore(true);' $'if (verdict == Verdict::Right)\n        showScore(true);'
mutant app/answer_check.cpp quick 'QStringLiteral("###0")' 'QStringLiteral("##00")'
mutant app/answer_check.cpp quick 'formatNumber(correctCount, ' 'formatNumber(wrongCount, '
mutant app/answer_check.cpp quick 'c.Text1->text()) == Verdict::Wrong);' 'c.Text1->text()) == Verdict::Right);'
mutant app/answer_check.cpp quick 'c.cmdNext->setEnabled(true);' 'c.cmdNext->setEnabled(false);'
mutant app/answer_check.cpp quick '    playWave(assets.verdictSound(verdict, expectedText.toDouble()));' ''
mutant app/new_exercise.cpp soak 'while (drawnNumber == 0)' 'if (drawnNumber == 0)'
mutant app/new_exercise.cpp quick '    c.Text2->setText(numlett(value));' ''
mutant app/new_exercise.cpp quick '    c.Text3->setText(QString());' ''
mutant app/new_exercise.cpp quick 'paintGradient(drawnNumber, colourSeed);' 'paintGradient(colourSeed, drawnNumber);'
mutant app/new_exercise.cpp quick 'countPicture(drawnNumber)' 'countPicture(drawnNumber + 1)'
mutant app/new_exercise.cpp quick '    playWave(assets.numberSound(drawnNumber));' ''
mutant app/new_exercise.cpp quick 'if (value == 0)' 'if (value != 0)'
mutant app/main_window.cpp quick $'    roundCount = 0;\n    wrongCount = 0;' '    roundCount = 0;'
mutant app/main_window.cpp quick ' || key->key() == Qt::Key_Enter;' ';'
mutant app/clock_display.cpp quick 'panel(3), c.lblScore->caption()' 'panel(3), c.lblScore2->caption()'
mutant media/sound.cpp pulseaudio $'    {\n        flush();\n        if (!context)' $'    {\n        if (!context)'
mutant media/sound.cpp pulseaudio $'        if (corked)\n            cork(false);' ''
mutant media/sound.cpp pulseaudio 'connection->cork(true);' ';'
mutant media/sound.cpp pulseaudio 'PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED' 'PA_STREAM_ADJUST_LATENCY'
mutant media/sound.cpp pipewire 'if (retriesLeft > 0 && socketThere())' 'if (retriesLeft < 0 && socketThere())'
mutant media/sound.cpp pulseaudio 'waitingSince.elapsed() <= stalePlayMs' 'waitingSince.elapsed() >= stalePlayMs'
mutant media/sound.cpp pulseaudio '        return stop(); // a missing' '        return; // a missing'
mutant media/sound.cpp pulseaudio $'            connect(); // a server the socket watch' $'            (void)0; // a server the socket watch'
mutant media/sound.cpp pipewire $'        pa_stream_write(stream, tail.constData(), size_t(tail.size()), nullptr, 0,\n                        PA_SEEK_RELATIVE);' ''
mutant media/sound.cpp pipewire 'retryUsec = 200 * PA_USEC_PER_MSEC' 'retryUsec = 2000 * PA_USEC_PER_MSEC'

selected=("$@")
[ ${#selected[@]} -gt 0 ] || mapfile -t selected < <(seq ${#files[@]})

echo "Building HEAD in $work"
git -C "$source" archive HEAD | tar -x -C "$work" --one-top-level=src || exit 1
# shellcheck disable=SC2086,SC2048 # target names, a word each
if ! cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null ||
    ! cmake --build "$work/build" --target ${targets[*]} >"$work/build.log" 2>&1; then
    tail -20 "$work/build.log" >&2
    exit 1
fi

caught=0 missed=()
for n in "${selected[@]}"; do
    i=$((n - 1))
    file=$work/src/${files[i]:?no fault $n}
    cp "$file" "$work/original"
    # The text must be found exactly once, or the list is out of step with the code.
    if ! python3 - "$file" "${befores[i]}" "${afters[i]}" <<'EOF'; then
import sys
path, before, after = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
if text.count(before) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(before, after))
EOF
        echo "$n ${files[i]}: the text to change is not there once: ${befores[i]}" >&2
        exit 1
    fi
    summary="${files[i]}: ${befores[i]//$'\n'/ ⏎ } → ${afters[i]//$'\n'/ ⏎ }"
    # shellcheck disable=SC2086 # target names, a word each
    if ! cmake --build "$work/build" --target ${targets[${kinds[i]}]} >"$work/build.log" 2>&1; then
        result="caught by the compiler"
    else
        rm -f "$work/build/Testing/Temporary/LastTestsFailed.log"
        ctest --test-dir "$work/build" -R "${tests[${kinds[i]}]}" --stop-on-failure \
            --timeout "${timeouts[${kinds[i]}]}" \
            >"$work/test.log" 2>&1
        failed=$(sed -n 's/^[0-9]*:\(.*\)/\1/p' \
            "$work/build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | head -n1)
        result=${failed:+caught by $failed}
    fi
    if [ -n "$result" ]; then
        caught=$((caught + 1))
        echo "$n $result   $summary"
    else
        missed+=("$n")
        echo "$n NOT CAUGHT   $summary"
    fi
    cp "$work/original" "$file" # newer than the fault's build, so the next build takes it
done
echo "caught $caught of ${#selected[@]}; not caught: ${missed[*]:-none}"
