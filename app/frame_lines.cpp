#include "app/frame_lines.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>

QRect toDevicePixels(QPainter &painter, const QRectF &logical)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF device = toDevice.mapRect(logical);
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    // A hundredth of slack keeps an edge that lands on a whole pixel from moving a pixel.
    const int left = qCeil(device.left() - 0.01);
    const int top = qCeil(device.top() - 0.01);
    const int right = qFloor(device.right() + 0.01);
    const int bottom = qFloor(device.bottom() + 0.01);
    return QRect(left, top, right - left, bottom - top);
}

int deviceLineWidth(qreal ratio)
{
    return std::max(1, qRound(ratio));
}

QRect paintDeviceFrame(QPainter &painter, const QRect &rect, int deviceWidth, const QColor &colour)
{
    const QRect area = toDevicePixels(painter, rect);
    const int w = deviceWidth;
    painter.fillRect(QRect(area.left(), area.top(), area.width(), w), colour);
    painter.fillRect(QRect(area.left(), area.bottom() - w + 1, area.width(), w), colour);
    painter.fillRect(QRect(area.left(), area.top(), w, area.height()), colour);
    painter.fillRect(QRect(area.right() - w + 1, area.top(), w, area.height()), colour);
    return area.adjusted(w, w, -w, -w);
}
