#include "logic/numbers.h"

#include <atomic>
#include <chrono>
#include <limits>

namespace numbers
{

QString formatNumber(std::int64_t value, const QString &pattern)
{
    // '0' is a required digit and '#' an optional one; a number wider than the pattern still
    // shows all its digits.
    const auto required = static_cast<int>(pattern.count(QLatin1Char('0')));
    const QString digits = QString::number(value < 0 ? -static_cast<unsigned long long>(value)
                                                     : static_cast<unsigned long long>(value));
    const QString padded = digits.rightJustified(required, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + padded : padded;
}

std::int32_t incremented(std::int32_t counter)
{
    return counter == std::numeric_limits<std::int32_t>::max() ? counter : counter + 1;
}

void Random::reseed()
{
    static std::atomic<std::uint64_t> sequence{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    // The golden-ratio step spreads consecutive sequence numbers over the whole seed space.
    seed(nanoseconds ^ (++sequence * 0x9E3779B97F4A7C15ULL));
}

void Random::seed(std::uint64_t value)
{
    std::seed_seq sequence{static_cast<std::uint32_t>(value),
                           static_cast<std::uint32_t>(value >> 32)};
    engine.seed(sequence);
}

double Random::next()
{
    return std::generate_canonical<double, 53>(engine);
}

} // namespace numbers
