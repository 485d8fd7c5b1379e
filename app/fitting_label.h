#pragma once
// The game's label, which keeps its caption readable, and the screen reader interfaces it gives
// the labels and the text boxes.

#include <QLabel>

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
