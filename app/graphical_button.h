#pragma once
// The game's command button, with a picture above its caption, drawn as the platform the game
// imitates draws it.

#include <QPushButton>

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
