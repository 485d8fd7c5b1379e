#include "app/widgets.h"

#include "app/runtime.h"
#include "logic/numbers.h"
#include "logic/text_fit.h"

#include <QCloseEvent>
#include <QPainter>

void FittingLabel::setCaption(const QString &caption)
{
    setText(caption);
    fit();
}

void FittingLabel::setFitArea(QRect design, QRect area, bool wrap)
{
    designRect = design;
    fitArea = area;
    wrapWords = wrap;
    designFont = font();
    setWordWrap(wrap);
    fit();
}

void FittingLabel::setOutline(QColor colour)
{
    outline = colour;
    update();
}

void FittingLabel::paintEvent(QPaintEvent *event)
{
    if (!outline.isValid()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect();
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.setPen(outline);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                painter.drawText(area.translated(dx, dy), flags, text());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, flags, text());
}

void FittingLabel::fit()
{
    if (fitArea.isNull())
        return;
    const int flags = int(alignment()) | (wrapWords ? Qt::TextWordWrap : 0);
    const CaptionFit fitted =
        fitCaption(text(), designFont, flags, designRect, fitArea, 2 * frameWidth());
    setFont(fitted.font);
    setGeometry(fitted.rect);
}

void GraphicalButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, palette().color(QPalette::Button));
    // Bevel lines: one pixel each, top-left then bottom-right.
    auto bevel = [&](const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(area.topLeft(), area.topRight() - QPoint(1, 0));
        painter.drawLine(area.topLeft(), area.bottomLeft() - QPoint(0, 1));
        painter.setPen(bottomRight);
        painter.drawLine(area.bottomLeft(), area.bottomRight());
        painter.drawLine(area.topRight(), area.bottomRight());
        area.adjust(1, 1, -1, -1);
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
    const QRect content =
        area.adjusted(2, 2, -2, -2).translated(isDown() ? QPoint(1, 1) : QPoint());
    const int textHeight = fontMetrics().height();
    const int gap = 4;
    const int top = content.top() + (content.height() - iconSize().height() - gap - textHeight) / 2;
    const QRect iconRect(content.left() + (content.width() - iconSize().width()) / 2, top,
                         iconSize().width(), iconSize().height());
    icon().paint(&painter, iconRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    const QRect textRect(content.left(), iconRect.bottom() + 1 + gap, content.width(), textHeight);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!enabled) {
        // Engraved, as the platform greys a disabled caption.
        painter.setPen(Qt::white);
        painter.drawText(textRect.translated(1, 1), flags, text());
    }
    painter.setPen(enabled ? palette().color(QPalette::ButtonText) : dark);
    painter.drawText(textRect, flags, text());
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(content.adjusted(0, 0, -1, -1));
    }
}

PanelStatusBar::PanelStatusBar(int panelCount, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    // An opaque bar in the system's face colour, as the platform draws it, so its texts read
    // on every gradient.
    setAutoFillBackground(true);
    for (int i = 0; i < panelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(runtime::twips(1440));
        panel->setContentsMargins(2, 0, 2, 0);
        addWidget(panel);
        panels.append(panel);
    }
}

QLabel *PanelStatusBar::panel(int index) const
{
    if (index < 1 || index > panelCount())
        throw runtime::RuntimeError(35600, QStringLiteral("Indice non compreso nell'intervallo"));
    return panels.at(index - 1);
}

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

void GameWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    emit resized();
}

void GameWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit resized();
}

void GameWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}
