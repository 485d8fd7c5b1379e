#include "app/graphical_button.h"

#include "app/frame_lines.h"

#include <QPainter>

void GraphicalButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    // Lines and picture in whole device pixels: at a fractional scale a logical line would
    // cover one device pixel on one side and two on the other, and the picture would be
    // resampled a second time.
    const qreal ratio = devicePixelRatioF();
    const int line = deviceLineWidth(ratio);
    const QTransform toLogical = painter.deviceTransform().inverted();
    painter.save();
    QRect area = toDevicePixels(painter, rect());
    // Bevel lines: top-left then bottom-right.
    auto bevel = [&](const QColor &topLeft, const QColor &bottomRight) {
        painter.fillRect(QRect(area.left(), area.top(), area.width() - line, line), topLeft);
        painter.fillRect(QRect(area.left(), area.top(), line, area.height() - line), topLeft);
        painter.fillRect(QRect(area.left(), area.bottom() - line + 1, area.width(), line),
                         bottomRight);
        painter.fillRect(QRect(area.right() - line + 1, area.top(), line, area.height()),
                         bottomRight);
        area.adjust(line, line, -line, -line);
    };
    const QColor dark(128, 128, 128);
    if (hasFocus()) {
        bevel(Qt::black, Qt::black);
        bevel(Qt::black, Qt::black);
    }
    if (isDown()) {
        bevel(dark, dark);
    } else {
        bevel(Qt::white, Qt::black);
        bevel(palette().color(QPalette::Button), dark);
    }

    const bool enabled = isEnabled();
    const QRect content = area.adjusted(2 * line, 2 * line, -2 * line, -2 * line)
                              .translated(isDown() ? QPoint(line, line) : QPoint());
    const QSize iconPixels = (QSizeF(iconSize()) * ratio).toSize();
    const int textHeight = qRound(fontMetrics().height() * ratio);
    const int gap = qRound(4 * ratio);
    const int top = content.top() + (content.height() - iconPixels.height() - gap - textHeight) / 2;
    const QRect iconRect(QPoint(content.left() + (content.width() - iconPixels.width()) / 2, top),
                         iconPixels);
    QPixmap picture = icon().pixmap(iconSize(), ratio, enabled ? QIcon::Normal : QIcon::Disabled);
    picture.setDevicePixelRatio(1);
    painter.drawPixmap(iconRect, picture);
    if (hasFocus()) {
        // A dotted rectangle of square dots, one line wide.
        for (int x = content.left(); x + line <= content.right() + 1; x += 2 * line) {
            painter.fillRect(QRect(x, content.top(), line, line), Qt::black);
            painter.fillRect(QRect(x, content.bottom() - line + 1, line, line), Qt::black);
        }
        for (int y = content.top(); y + line <= content.bottom() + 1; y += 2 * line) {
            painter.fillRect(QRect(content.left(), y, line, line), Qt::black);
            painter.fillRect(QRect(content.right() - line + 1, y, line, line), Qt::black);
        }
    }
    painter.restore();

    const QRectF textRect = toLogical.mapRect(
        QRectF(content.left(), iconRect.bottom() + 1 + gap, content.width(), textHeight));
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!enabled) {
        // Engraved, as the platform greys a disabled caption.
        painter.setPen(Qt::white);
        painter.drawText(textRect.translated(1, 1), flags, text());
    }
    painter.setPen(enabled ? palette().color(QPalette::ButtonText) : dark);
    painter.drawText(textRect, flags, text());
}
