// Tavola's clock, title and status bar.
#include "app/fitting_label.h"
#include "app/main_window.h"
#include "app/panel_status_bar.h"
#include "logic/clock_text.h"

namespace
{

// The clock ticks ten times a second and its text changes once a second. A caption written again
// unchanged would still be fitted and laid out ten times a second while the child thinks; so
// only a changed text is written.
void showText(FittingLabel *label, const QString &text)
{
    if (label->caption() != text)
        label->setCaption(text);
}

void showText(QLabel *panel, const QString &text)
{
    if (panel->text() != text)
        panel->setText(text);
}

} // namespace

void Tavola::Timer2_Timer()
{
    const Controls &c = controls();
    // The clock's text is made anew once a second: reading the time zone and the locale's names
    // ten times a second would cost more than the rest of the tick.
    const qint64 now = clockNow();
    if (const qint64 second = now / 1000; second != clockSecond) {
        clockSecond = second;
        clockCaption = clockText(QDateTime::fromMSecsSinceEpoch(now), QLocale());
    }
    showText(c.Label2, clockCaption);
    showText(c.StatusBar1->panel(4), c.Label2->caption());
    showText(c.StatusBar1->panel(2), c.Label6->caption());
    showText(c.StatusBar1->panel(1), QStringLiteral("Lumetrava"));
    showText(c.StatusBar1->panel(3), c.lblScore->caption());
}

void Tavola::Form_Resize()
{
    if (form->windowState() & Qt::WindowMinimized)
        showClockCaption();
    else
        form->setWindowTitle(QStringLiteral("Quintarel"));
}

void Tavola::showClockCaption()
{
    form->setWindowTitle(
        mediumTimeText(QDateTime::fromMSecsSinceEpoch(clockNow()).time(), QLocale()));
}
