#include "app/game_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace
{

// A menu bar that the keys reach: the game's style gives it Alt alone, and F10 enters it the same
// way, since the bar watches its window for an Alt pressed and released with no other key and is
// shown one.
class KeysMenuBar : public QMenuBar
{
public:
    using QMenuBar::QMenuBar;
    void enterByKeys()
    {
        // The modifiers as they were before the press: QKeyEvent adds the Alt key's own.
        QKeyEvent altPressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
        eventFilter(window(), &altPressed);
        QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        eventFilter(window(), &altReleased);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        QAction *chosen = activeAction();
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && chosen && !chosen->menu()) {
            // The bar is left first, as Escape leaves it, so that the focus is back where it was
            // before the item runs: a message box it opens gives the focus back there too.
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QMenuBar::keyPressEvent(&escape);
            chosen->trigger();
            return;
        }
        QMenuBar::keyPressEvent(event);
    }
};

} // namespace

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

void GameWindow::enableMenuKeys()
{
    setMenuBar(new KeysMenuBar(this));
}

void GameWindow::keyPressEvent(QKeyEvent *event)
{
    auto *bar = dynamic_cast<KeysMenuBar *>(menuBar());
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier && bar) {
        bar->enterByKeys();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void GameWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}
