// Tavola's clock, title and status bar.
#include "app/main_window.h"
#include "logic/clock_text.h"

void Tavola::Timer2_Timer()
{
    const Controls &c = controls();
    c.Label2->setCaption(clockText(QDateTime::currentDateTime(), QLocale::system()));
    c.StatusBar1->panel(4)->setText(c.Label2->caption());
    c.StatusBar1->panel(2)->setText(c.Label6->caption());
    c.StatusBar1->panel(1)->setText(QStringLiteral("Lumetrava"));
    c.StatusBar1->panel(3)->setText(c.lblScore->caption());
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
    form->setWindowTitle(mediumTimeText(QTime::currentTime(), QLocale::system()));
}
