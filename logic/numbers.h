#pragma once
// The whole-number functions the handlers share: twips to pixels, number formatting, a counter
// that never wraps and the random generator. No widgets here.

#include <QString>
#include <cstdint>
#include <random>

namespace numbers
{

constexpr int twipsPerPixel = 15;

// Twips (1/1440 inch) to device-independent pixels at 96 dpi.
constexpr int twips(int value)
{
    return value / twipsPerPixel;
}

// Formats a whole number with a digit pattern such as "#0", "###0" or "####0": the plain
// decimal digits, a minus sign where negative, no separators and no leading zeros.
QString formatNumber(std::int64_t value, const QString &pattern);

// Adds one to a counter without wrapping: the score of a child holding Enter down must never
// turn negative or end the program.
std::int32_t incremented(std::int32_t counter);

// Uniform values 0 <= r < 1 from a generator that is reseeded from the clock.
class Random
{
public:
    // Seeds from a nanosecond clock mixed with a per-process sequence number, so two reseeds
    // within the same clock tick still give independent streams.
    void reseed();
    void seed(std::uint64_t value);
    double next();

private:
    std::mt19937_64 engine{0};
};

} // namespace numbers
