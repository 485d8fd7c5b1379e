#include "logic/bands.h"

#include <QPainter>
#include <algorithm>

namespace
{

int component(int factor)
{
    return std::clamp(20 * factor, 0, 255);
}

} // namespace

QColor bandColour(int band, int drawnNumber, int colourSeed)
{
    return QColor(component(drawnNumber), component(colourSeed), std::clamp(band, 0, 255));
}

std::pair<int, int> bandRows(int band, int height)
{
    // y = 2k of 512 units is k/256 of the height; integer division keeps the edges shared.
    return {band * height / gradientBandCount, (band + 1) * height / gradientBandCount};
}

QImage renderGradient(QSize size, int drawnNumber, int colourSeed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int band = 0; band < gradientBandCount; ++band) {
        const auto [top, bottom] = bandRows(band, size.height());
        painter.fillRect(0, top, size.width(), bottom - top,
                         bandColour(band, drawnNumber, colourSeed));
    }
    return image;
}
