#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The word table, slots 0 to 28: slots 0 and 1 are empty, slot n + 1 spells n for n up to 20 and
// slot t + 19 the tens word for t from 2 to 9 ("venti" in slot 21 serves both).
QStringList numberWordTable();

// The Italian words of the whole part of a fixed-point value (value × 10,000), as one unbroken
// lower-case string without accents: 28 -> "ventotto", 1,001,000 -> "unmilionemille".
// "" for values below 1; nullopt from 10^12 on, where the billions group would need four digits.
std::optional<QString> italianWords(std::int64_t fixedPoint);

// Plain decimal text in the C locale ("7", "-3", "5.5", surrounding blanks allowed) as value ×
// 10,000, rounded half away from zero past the fourth decimal. nullopt for anything else (no
// group separators, no exponents) and for values outside the signed 64-bit range.
std::optional<std::int64_t> parseFixedPoint(const QString &text);

// What the conversion leaves of its argument once every spelled group is subtracted: the
// fractional part (5.5 -> 0.5, 7 -> 0). Unchanged when zero or negative, and from 10^12 on,
// where italianWords refuses the value.
std::int64_t remainderAfterWords(std::int64_t fixedPoint);
