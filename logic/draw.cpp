#include "logic/draw.h"

#include <cmath>

int scaledDraw(double r)
{
    constexpr float factor = 31.0f;
    return static_cast<int>(std::floor(r * factor));
}
