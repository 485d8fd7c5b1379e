#include "app/fitting_label.h"

#include "app/text_box.h"
#include "logic/text_fit.h"

#include <QAccessible>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif
#include <QAccessibleWidget>
#include <QPainter>

namespace
{

// What a screen reader finds in a game label: its caption, or a score with its title, and for
// the verdict a notification, which a screen reader speaks when it is shown wherever the focus
// is. Qt's own label interface has no way to change its role.
class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(FittingLabel *label) : QAccessibleWidget(label) {}
    QAccessible::Role role() const override
    {
        return label()->announced() ? QAccessible::Notification : QAccessible::StaticText;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }

private:
    FittingLabel *label() const { return static_cast<FittingLabel *>(widget()); }
};

// What a screen reader finds in a text box. Qt's own line edit interface gives every character
// a text attribute run of its own that ends where it starts, from which Orca reads a line one
// character short ("ventinov" for "ventinove"); here the whole text is one run.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit TextBoxAccessible(TextBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !box()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = box()->isReadOnly();
        state.editable = !box()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *start = box()->selectionStart();
            *end = *start + int(box()->selectedText().size());
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return box()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int offset) const override
    {
        // From the cursor's place, by the widths of the characters between.
        const QString words = box()->text();
        if (offset < 0 || offset >= words.size())
            return QRect();
        const QFontMetrics metrics(box()->font());
        const QRect cursor = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int cursorX =
            cursor.center().x() - metrics.horizontalAdvance(words.left(box()->cursorPosition()));
        const QRect local(cursorX + metrics.horizontalAdvance(words.left(offset)), cursor.top(),
                          metrics.horizontalAdvance(words.at(offset)), cursor.height());
        return QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }

    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        QString words = box()->text();
        box()->setText(words.replace(start, end - start, text));
    }

private:
    TextBox *box() const { return static_cast<TextBox *>(widget()); }
};

QAccessibleInterface *gameAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(FittingLabel::staticMetaObject.className()))
        return new LabelAccessible(static_cast<FittingLabel *>(object));
    if (className == QLatin1String(TextBox::staticMetaObject.className()))
        return new TextBoxAccessible(static_cast<TextBox *>(object));
    return nullptr;
}

} // namespace

void FittingLabel::setCaption(const QString &caption)
{
    setText(caption);
    fit();
    updateAccessibleName();
    if (announces && !caption.isEmpty() && isVisible()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // The way screen readers ask applications to pass on a message: spoken wherever the
        // focus is, and as it stands, without a role before it.
        QAccessibleAnnouncementEvent announcement(this, caption);
        QAccessible::updateAccessibility(&announcement);
#else
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
#endif
    }
}

void FittingLabel::setTitle(const QString &caption)
{
    title = caption;
    updateAccessibleName();
}

void FittingLabel::setAnnounced(bool announce)
{
    announces = announce;
}

void FittingLabel::updateAccessibleName()
{
    if (!title.isEmpty())
        setAccessibleName(title + QStringLiteral(": ") + text());
}

void FittingLabel::exposeToScreenReaders()
{
    static const bool installed = [] {
        QAccessible::installFactory(gameAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void FittingLabel::setFitArea(QRect design, QRect area, bool wrap)
{
    designRect = design;
    fitArea = area;
    wrapWords = wrap;
    designFont = font();
    setWordWrap(wrap);
    fit();
}

void FittingLabel::setOutline(QColor colour)
{
    outline = colour;
    update();
}

void FittingLabel::paintEvent(QPaintEvent *event)
{
    if (!outline.isValid()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect();
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.setPen(outline);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                painter.drawText(area.translated(dx, dy), flags, text());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, flags, text());
}

void FittingLabel::fit()
{
    if (fitArea.isNull())
        return;
    const int flags = int(alignment()) | (wrapWords ? Qt::TextWordWrap : 0);
    const CaptionFit fitted =
        fitCaption(text(), designFont, flags, designRect, fitArea, 2 * frameWidth());
    setFont(fitted.font);
    setGeometry(fitted.rect);
}
