#include "logic/text_fit.h"

#include <QFontMetrics>
#include <algorithm>

double fittingPointSize(const QString &text, QFont font, int width)
{
    double size = font.pointSizeF();
    while (size > 6 && QFontMetrics(font).horizontalAdvance(text) > width) {
        size -= 1;
        font.setPointSizeF(size);
    }
    return size;
}

CaptionFit fitCaption(const QString &text, QFont font, int flags, QRect design, QRect area,
                      int frame)
{
    // A little air left and right keeps the text off the border.
    const int air = 4;
    QSize size;
    for (;;) {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(0, 0, area.width() - frame - air, 10000), flags, text);
        size = QSize(std::max(design.width(), needed.width() + frame + air),
                     std::max(design.height(), needed.height() + frame));
        if ((size.width() <= area.width() && size.height() <= area.height()) ||
            font.pointSizeF() <= 6)
            break;
        font.setPointSizeF(font.pointSizeF() - 1);
    }
    size = size.boundedTo(area.size());
    QRect rect(QPoint(), size);
    rect.moveCenter(design.center());
    rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() - size.width() + 1));
    rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() - size.height() + 1));
    return {font, rect};
}
