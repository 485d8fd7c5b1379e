#pragma once
// The game's text box, which marks its focus with a frame even when it is read-only.

#include <QLineEdit>

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
