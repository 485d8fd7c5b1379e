#pragma once
// The window's status bar of numbered text panels.

#include <QLabel>
#include <QList>
#include <QStatusBar>

// A status bar of numbered text panels; panel indices start at 1.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    PanelStatusBar(int panelCount, QWidget *parent);
    QLabel *panel(int index) const; // throws application::RuntimeError outside 1..count
    int panelCount() const { return static_cast<int>(panels.size()); }

protected:
    bool event(QEvent *event) override;

private:
    QList<QRect> panelPlaces() const;
    QList<QLabel *> panels;
    QList<QRect> laidOut; // the panels' places when the bar was last repainted whole
};
