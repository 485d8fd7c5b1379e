#pragma once
// The background of an exercise: 256 horizontal bands from top to bottom, red from the drawn
// number, green from the colour seed, blue rising by one per band.

#include <QColor>
#include <QImage>
#include <QSize>

inline constexpr int gradientBandCount = 256;

// Colour of band k (0..255): (min(20·number, 255), min(20·seed, 255), k).
QColor bandColour(int band, int drawnNumber, int colourSeed);

// Rows [top, bottom) of band k in an area of the given height: each band is 2 of 512
// vertical units, so together the bands cover the area exactly.
std::pair<int, int> bandRows(int band, int height);

// The whole picture, across the full width of an area of the given size.
QImage renderGradient(QSize size, int drawnNumber, int colourSeed);
