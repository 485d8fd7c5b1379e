#pragma once
// The widget classes the form is built from: a label that keeps its caption readable, a status
// bar of numbered panels, the area that shows the background picture behind the controls, and
// the top-level window that reports what happens to it.

#include <QImage>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

// A label that keeps its caption readable: it grows around its design centre inside its fit
// area (wrapping words where allowed) and only shrinks its font when even the whole area is too
// small.
class FittingLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    void setCaption(const QString &caption);
    QString caption() const { return text(); }
    void setFitArea(QRect designRect, QRect area, bool wrap);
    // Draws a one-pixel outline of this colour around the letters, which keeps a caption
    // readable whatever its colour against the background.
    void setOutline(QColor colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fit();
    QRect designRect;
    QRect fitArea;
    bool wrapWords = false;
    QFont designFont;
    QColor outline;
};

// A graphical command button: its face is its palette's Button colour exactly, flat, with the
// picture above the caption. A dark frame and a dotted rectangle mark the focus, which Enter
// presses; a pressed button sinks, a disabled one shows a greyed picture and caption.
class GraphicalButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A status bar of numbered text panels; panel indices start at 1.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    PanelStatusBar(int panelCount, QWidget *parent);
    QLabel *panel(int index) const; // throws runtime::RuntimeError outside 1..count
    int panelCount() const { return static_cast<int>(panels.size()); }

private:
    QList<QLabel *> panels;
};

// Holds every control and shows the persistent background picture behind them.
class BackdropArea : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setBackground(QImage image);
    const QImage &background() const { return image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage image;
};

// The top-level window. It reports its resizes, state changes and close requests; what they
// mean is the game's business, so it never closes on its own.
class GameWindow : public QMainWindow
{
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;
    BackdropArea *client() const { return static_cast<BackdropArea *>(centralWidget()); }

signals:
    void resized();
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
