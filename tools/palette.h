#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <vector>

// Colour tables for the palette formats (4- and 8-bit icons, GIF). Pixels whose alpha is below
// 128 count as transparent everywhere here; the others as opaque in their unpremultiplied colour.

// The 16 colours of the standard VGA palette, black first.
const QList<QRgb> &vgaPalette();

// At most maxColours colours that stand for the opaque pixels of all the images: every distinct
// colour when there are few enough, otherwise the means of a median-cut split. Deterministic:
// the result depends only on the pixels.
QList<QRgb> medianCutPalette(const std::vector<QImage> &images, int maxColours);

// The index of the palette entry closest to colour, searching from firstIndex on.
int nearestIndex(const QList<QRgb> &palette, QRgb colour, int firstIndex = 0);

bool isOpaque(QRgb pixel);
