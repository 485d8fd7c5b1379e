#include "logic/number_words.h"

#include <QRegularExpression>
#include <limits>

namespace
{

constexpr std::int64_t fixedPointScale = 10'000;
constexpr std::int64_t firstUnspellable = 1'000'000'000'000 * fixedPointScale;

// Group counts are exact integer divisions of the fixed-point value, not divisions in double
// precision. Both agree for every whole value below 10^12 and for every fraction below 2^39
// (about 5.5 × 10^11). Above that a double no longer holds four decimals: the remainder would lose
// its last decimal, and from about 9 × 10^11 a value like x.9999 would round up and be spelled as
// x + 1. The exact result is the intended one.
constexpr std::int64_t groupSize[] = {1, 1'000, 1'000'000, 1'000'000'000};

// A lookup that ends the conversion instead of reading past the table. Below 10^12 no group
// count exceeds 999, so every index stays in range; the guard keeps that true by construction.
std::optional<QString> lookUp(const QStringList &table, std::int64_t index)
{
    if (index < 0 || index >= table.size())
        return std::nullopt;
    return table.at(static_cast<qsizetype>(index));
}

// Spells a group count of at least 1 onto words.
bool appendGroup(QString &words, std::int64_t count, const QStringList &table)
{
    std::int64_t n = count;
    if (n > 99) {
        const std::int64_t hundreds = n / 100;
        n -= 100 * hundreds;
        if (hundreds != 1) {
            const auto multiplier = lookUp(table, hundreds + 1);
            if (!multiplier)
                return false;
            words += *multiplier;
        }
        words += QStringLiteral("cento");
    }
    if (n <= 20) {
        const auto word = lookUp(table, n + 1);
        if (!word)
            return false;
        words += *word;
        return true;
    }
    const std::int64_t tens = n / 10;
    const auto tensWord = lookUp(table, tens + 19);
    if (!tensWord)
        return false;
    words += *tensWord;
    n -= 10 * tens;
    // Only a tens word gives up its final vowel before uno and otto (ventuno, novantotto);
    // "cento" keeps it (centouno, centootto), which is why this sits here and not above.
    if (n == 1 || n == 8)
        words.chop(1);
    const auto unitWord = lookUp(table, n + 1);
    if (!unitWord)
        return false;
    words += *unitWord;
    return true;
}

void appendGroupWord(QString &words, int groupIndex, std::int64_t count)
{
    // A group of exactly one is a word of its own; the "uno" just written goes away for it.
    const bool single = count == 1;
    switch (groupIndex) {
    case 1:
        if (single)
            words.chop(3);
        words += single ? QStringLiteral("mille") : QStringLiteral("mila");
        break;
    case 2:
        if (single)
            words.chop(3);
        words += single ? QStringLiteral("unmilione") : QStringLiteral("milioni");
        break;
    case 3:
        // The billions come first, so a single billion is the whole text so far.
        if (single)
            words = QStringLiteral("unmiliardo");
        else
            words += QStringLiteral("miliardi");
        break;
    default:
        break;
    }
}

} // namespace

QStringList numberWordTable()
{
    static const QStringList table = {
        QString(),
        QString(),
        QStringLiteral("uno"),
        QStringLiteral("due"),
        QStringLiteral("tre"),
        QStringLiteral("quattro"),
        QStringLiteral("cinque"),
        QStringLiteral("sei"),
        QStringLiteral("sette"),
        QStringLiteral("otto"),
        QStringLiteral("nove"),
        QStringLiteral("dieci"),
        QStringLiteral("undici"),
        QStringLiteral("dodici"),
        QStringLiteral("tredici"),
        QStringLiteral("quattordici"),
        QStringLiteral("quindici"),
        QStringLiteral("sedici"),
        QStringLiteral("diciassette"),
        QStringLiteral("diciotto"),
        QStringLiteral("diciannove"),
        QStringLiteral("venti"),
        QStringLiteral("trenta"),
        QStringLiteral("quaranta"),
        QStringLiteral("cinquanta"),
        QStringLiteral("sessanta"),
        QStringLiteral("settanta"),
        QStringLiteral("ottanta"),
        QStringLiteral("novanta"),
    };
    return table;
}

std::optional<QString> italianWords(std::int64_t fixedPoint)
{
    if (fixedPoint >= firstUnspellable)
        return std::nullopt;
    const QStringList table = numberWordTable();
    QString words;
    std::int64_t rest = fixedPoint;
    for (int groupIndex = 3; groupIndex >= 0; --groupIndex) {
        const std::int64_t unit = groupSize[groupIndex] * fixedPointScale;
        // Truncation instead of rounding down only differs for negative values, where both
        // give a count that is not positive and the group is skipped either way.
        const std::int64_t count = rest / unit;
        if (count <= 0)
            continue;
        if (!appendGroup(words, count, table))
            return std::nullopt;
        appendGroupWord(words, groupIndex, count);
        rest -= count * unit;
    }
    return words;
}

std::optional<std::int64_t> parseFixedPoint(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = shape.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QStringView whole = match.capturedView(2);
    const QStringView fraction = match.capturedView(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    const bool negative = match.capturedView(1) == u"-";

    // The negative side reaches one step further than the positive side can hold.
    constexpr auto maxPositive =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const std::uint64_t limit = negative ? maxPositive + 1 : maxPositive;
    std::uint64_t magnitude = 0;
    const auto pushDigit = [&](std::uint64_t digit) {
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
        return true;
    };
    for (const QChar c : whole) {
        if (!pushDigit(static_cast<std::uint64_t>(c.digitValue())))
            return std::nullopt;
    }
    for (qsizetype i = 0; i < 4; ++i) {
        const int digit = i < fraction.size() ? fraction[i].digitValue() : 0;
        if (!pushDigit(static_cast<std::uint64_t>(digit)))
            return std::nullopt;
    }
    // A fifth decimal of 5 or more means at least half a step remains: round away from zero.
    if (fraction.size() > 4 && fraction[4].digitValue() >= 5) {
        if (magnitude == limit)
            return std::nullopt;
        ++magnitude;
    }
    if (!negative)
        return static_cast<std::int64_t>(magnitude);
    if (magnitude == maxPositive + 1)
        return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
}

std::int64_t remainderAfterWords(std::int64_t fixedPoint)
{
    // Every spelled group is subtracted, which for a value below 10^12 is exactly its whole part;
    // between 0 and 1 nothing is spelled, and the value already is its own fractional part.
    if (fixedPoint <= 0 || fixedPoint >= firstUnspellable)
        return fixedPoint;
    return fixedPoint % fixedPointScale;
}
