#pragma once
// The widget classes the form is built from: a label that keeps its caption readable, a status
// bar of numbered panels, the area that shows the background picture behind the controls, and
// the top-level window that reports what happens to it.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

// The game's widget style: Fusion, with the menu bar reached by keys as on the platform the game
// imitates (F10 or Alt alone, its chosen item marked) and message box icons drawn for the
// screen's density. The caller owns it; QApplication::setStyle takes it.
QStyle *gameStyle();

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
    // A score: a screen reader reads it after its title, "Risposte esatte: 3".
    void setTitle(const QString &title);
    // Every caption set is announced to a screen reader, which speaks it without the focus
    // moving: a plain name change on a label is not spoken. Qt 6.8 sends an announcement; before
    // it, the label is a notification shown anew.
    void setAnnounced(bool announce);
    bool announced() const { return announces; }
    // Gives screen readers the labels' and text boxes' own accessible interfaces; called before
    // any of them is made.
    static void exposeToScreenReaders();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fit();
    void updateAccessibleName();
    QString title;
    bool announces = false;
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

// A text box that marks its focus with a frame even when it is read-only, where Qt's style
// shows neither a frame change nor a text cursor.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent *event) override;
    // A read-only box reached by Tab shows its text as it was, from its start and unselected:
    // the focus frame marks it, and a screen reader reads its name and words, not "selected".
    void focusInEvent(QFocusEvent *event) override;
};

// Fills a frame inside rect (logical pixels) with lines of whole device pixels, the same width on
// every side, however the screen's scale places the rectangle. Returns the device rectangle
// inside the frame, in the painter's device coordinates, which the painter is left drawing in.
QRect paintDeviceFrame(QPainter &painter, const QRect &rect, int deviceWidth, const QColor &colour);

// The width of a frame or focus line in device pixels for a screen's scale: whole pixels, one
// at scale 1.
int deviceLineWidth(qreal ratio);

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
