#include "app/panel_status_bar.h"

#include "app/application.h"
#include "logic/numbers.h"

#include <QEvent>

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
        panel->setMinimumWidth(numbers::twips(1440));
        panel->setContentsMargins(2, 0, 2, 0);
        addWidget(panel);
        panels.append(panel);
    }
}

bool PanelStatusBar::event(QEvent *event)
{
    // A panel's new text asks the bar to lay its panels out again, and QStatusBar answers every
    // such request by repainting the whole bar and all its panels, although the clock's text,
    // new every second, keeps its panel's size. By now the layout has placed the panels: while
    // none of them moved, the panel with the new text repaints itself alone.
    if (event->type() == QEvent::LayoutRequest) {
        QList<QRect> places = panelPlaces();
        if (places == laidOut)
            return QWidget::event(event);
        laidOut = std::move(places);
    }
    return QStatusBar::event(event);
}

QList<QRect> PanelStatusBar::panelPlaces() const
{
    QList<QRect> places;
    places.reserve(panels.size());
    for (const QLabel *panel : panels)
        places.append(panel->geometry());
    return places;
}

QLabel *PanelStatusBar::panel(int index) const
{
    if (index < 1 || index > panelCount())
        throw application::RuntimeError(35600,
                                        QStringLiteral("Indice non compreso nell'intervallo"));
    return panels.at(index - 1);
}
