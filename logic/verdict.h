#pragma once
// The verdict rules: how an answer is judged, what the verdict says, in which colour, and
// which sound follows it. No widgets here.

#include <QColor>
#include <QString>
#include <cstdint>

enum class Verdict { Right, Wrong };

// Exact comparison, character by character: "07" is not "7", spaces count, empty is wrong.
Verdict judge(const QString &answer, const QString &expected);

QString verdictText(Verdict verdict, const QString &expected);

// Yellow for a right answer, red for a wrong one.
QColor verdictColour(Verdict verdict);

// The relative path of the sound after a verdict: the no-sound for a wrong answer, and for a
// right one the bigger cheer from 25 up, the other cheer below.
QString verdictSound(Verdict verdict, double expectedValue);

// The total of two counters, which never overflows.
std::int64_t totalAnswers(std::int32_t correct, std::int32_t wrong);
