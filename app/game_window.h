#pragma once
// The game's top-level window, which reports what happens to it and opens its menu bar by keys.

#include "app/backdrop_area.h"

#include <QMainWindow>

// The top-level window. It reports its resizes, state changes and close requests; what they
// mean is the game's business, so it never closes on its own.
class GameWindow : public QMainWindow
{
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;
    BackdropArea *client() const { return static_cast<BackdropArea *>(centralWidget()); }
    // The menu bar opens by keys as on the platform the game imitates: F10, or Alt pressed and
    // released alone; the arrows move, Enter chooses, Escape leaves and gives the focus back.
    void enableMenuKeys();

signals:
    void resized();
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
