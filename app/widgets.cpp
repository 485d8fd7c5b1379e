#include "app/widgets.h"

#include "app/numbers.h"
#include "app/runtime.h"

#include <QCloseEvent>
#include <QPainter>
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

void FittingLabel::fit()
{
    if (fitArea.isNull())
        return;
    QFont font = designFont;
    // A little air left and right keeps the text off the border.
    const int frame = 2 * frameWidth();
    const int air = 4;
    const int flags = int(alignment()) | (wrapWords ? Qt::TextWordWrap : 0);
    QSize size;
    for (;;) {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(0, 0, fitArea.width() - frame - air, 10000), flags, text());
        size = QSize(std::max(designRect.width(), needed.width() + frame + air),
                     std::max(designRect.height(), needed.height() + frame));
        if ((size.width() <= fitArea.width() && size.height() <= fitArea.height()) ||
            font.pointSizeF() <= 6)
            break;
        font.setPointSizeF(font.pointSizeF() - 1);
    }
    setFont(font);
    size = size.boundedTo(fitArea.size());
    QRect rect(QPoint(), size);
    rect.moveCenter(designRect.center());
    rect.moveLeft(std::clamp(rect.left(), fitArea.left(), fitArea.right() - size.width() + 1));
    rect.moveTop(std::clamp(rect.top(), fitArea.top(), fitArea.bottom() - size.height() + 1));
    setGeometry(rect);
}

PanelStatusBar::PanelStatusBar(int panelCount, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
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
