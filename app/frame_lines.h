#pragma once
// Frame and focus lines in whole device pixels at any screen scale, for the widgets that draw
// their own: the graphical button and the text box.

#include <QRect>

class QColor;
class QPainter;

// Fills a frame inside rect (logical pixels) with lines of whole device pixels, the same width on
// every side, however the screen's scale places the rectangle. Returns the device rectangle
// inside the frame, in the painter's device coordinates, which the painter is left drawing in.
QRect paintDeviceFrame(QPainter &painter, const QRect &rect, int deviceWidth, const QColor &colour);

// The width of a frame or focus line in device pixels for a screen's scale: whole pixels, one
// at scale 1.
int deviceLineWidth(qreal ratio);

// The painter's device coordinates for the logical rectangle, rounded inwards to whole pixels;
// from here on the painter draws in device pixels.
QRect toDevicePixels(QPainter &painter, const QRectF &logical);
