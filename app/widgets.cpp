#include "app/widgets.h"

#include "app/numbers.h"
#include "app/runtime.h"
#include "app/text_fit.h"

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
