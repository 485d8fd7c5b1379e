#include "app/backdrop_area.h"

#include <QPainter>

void BackdropArea::setBackground(QImage background)
{
    image = std::move(background);
    update();
}

void BackdropArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, image);
}
