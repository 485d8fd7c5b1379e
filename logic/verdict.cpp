#include "logic/verdict.h"

Verdict judge(const QString &answer, const QString &expected)
{
    return answer == expected ? Verdict::Right : Verdict::Wrong;
}

QString verdictText(Verdict verdict, const QString &expected)
{
    return verdict == Verdict::Right ? QStringLiteral("Esatto, è incredibile!!!")
                                     : QStringLiteral("Sbagliato!! ") + expected;
}

QColor verdictColour(Verdict verdict)
{
    return verdict == Verdict::Right ? QColor(255, 255, 0) : QColor(255, 0, 0);
}

std::int64_t totalAnswers(std::int32_t correct, std::int32_t wrong)
{
    return std::int64_t{correct} + wrong;
}
