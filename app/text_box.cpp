#include "app/text_box.h"

#include "app/frame_lines.h"

#include <QFocusEvent>
#include <QPainter>

void TextBox::focusInEvent(QFocusEvent *event)
{
    if (!isReadOnly()) {
        QLineEdit::focusInEvent(event);
        return;
    }
    // Reached by Tab, a line edit selects its whole text; taken as any other focus it does not.
    QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&plain);
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!hasFocus() || !isReadOnly())
        return;
    QPainter painter(this);
    paintDeviceFrame(painter, rect(), 2 * deviceLineWidth(devicePixelRatioF()), Qt::black);
}
