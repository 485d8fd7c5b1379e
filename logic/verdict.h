#pragma once
// The verdict rules: how an answer is judged, what the verdict says and in which colour (the
// sound that follows it is the asset catalogue's). No widgets here.

#include <QColor>
#include <QString>
#include <cstdint>

enum class Verdict { Right, Wrong };

// Exact comparison, character by character: "07" is not "7", spaces count, empty is wrong.
Verdict judge(const QString &answer, const QString &expected);

QString verdictText(Verdict verdict, const QString &expected);

// Yellow for a right answer, red for a wrong one.
QColor verdictColour(Verdict verdict);

// The total of two counters, which never overflows.
std::int64_t totalAnswers(std::int32_t correct, std::int32_t wrong);
