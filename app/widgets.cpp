#include "app/widgets.h"

#include "app/application.h"
#include "logic/numbers.h"
#include "logic/text_fit.h"

#include <QAccessible>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif
#include <QAccessibleWidget>
#include <QAction>
#include <QCloseEvent>
#include <QIconEngine>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QtMath>

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

// The question mark of a message box, drawn at whatever size it is asked for: Fusion's own
// is a 32-pixel image, which a dense screen shows enlarged and blurred.
class QuestionIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const qreal unit = rect.width() / 32.0;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QColor(0, 40, 120), 1.5 * unit));
        painter->setBrush(QColor(40, 100, 210));
        painter->drawEllipse(QRectF(rect).adjusted(unit, unit, -unit, -unit));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(qRound(24 * unit));
        painter->setFont(font);
        painter->setPen(Qt::white);
        painter->drawText(rect, Qt::AlignCenter, QStringLiteral("?"));
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new QuestionIconEngine; }
};

// Fusion with what the game's platform gives: the menu bar reached by keys, its chosen item
// marked, and a message box icon drawn for the screen's density.
class GameStyle : public QProxyStyle
{
public:
    GameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    // Alt alone enters the menu bar, and Enter chooses an item that opens no menu.
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
    // Fusion marks a menu bar item only while its menu is open; entered by keys, the bar marks
    // the chosen item the same way, or the child would not see where the arrows are.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_MenuBarItem && (option->state & State_Selected) && widget &&
            widget->hasFocus()) {
            QStyleOptionMenuItem marked = *qstyleoption_cast<const QStyleOptionMenuItem *>(option);
            marked.state |= State_Sunken;
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (icon == SP_MessageBoxQuestion)
            return QIcon(new QuestionIconEngine);
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

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

// The painter's device coordinates for the logical rectangle, rounded inwards to whole pixels;
// from here on the painter draws in device pixels.
QRect toDevicePixels(QPainter &painter, const QRectF &logical)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF device = toDevice.mapRect(logical);
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    // A hundredth of slack keeps an edge that lands on a whole pixel from moving a pixel.
    const int left = qCeil(device.left() - 0.01);
    const int top = qCeil(device.top() - 0.01);
    const int right = qFloor(device.right() + 0.01);
    const int bottom = qFloor(device.bottom() + 0.01);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

QStyle *gameStyle()
{
    return new GameStyle;
}

int deviceLineWidth(qreal ratio)
{
    return std::max(1, qRound(ratio));
}

QRect paintDeviceFrame(QPainter &painter, const QRect &rect, int deviceWidth, const QColor &colour)
{
    const QRect area = toDevicePixels(painter, rect);
    const int w = deviceWidth;
    painter.fillRect(QRect(area.left(), area.top(), area.width(), w), colour);
    painter.fillRect(QRect(area.left(), area.bottom() - w + 1, area.width(), w), colour);
    painter.fillRect(QRect(area.left(), area.top(), w, area.height()), colour);
    painter.fillRect(QRect(area.right() - w + 1, area.top(), w, area.height()), colour);
    return area.adjusted(w, w, -w, -w);
}

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

void GraphicalButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    // Lines and picture in whole device pixels: at a fractional scale a logical line would
    // cover one device pixel on one side and two on the other, and the picture would be
    // resampled a second time.
    const qreal ratio = devicePixelRatioF();
    const int line = deviceLineWidth(ratio);
    const QTransform toLogical = painter.deviceTransform().inverted();
    painter.save();
    QRect area = toDevicePixels(painter, rect());
    // Bevel lines: top-left then bottom-right.
    auto bevel = [&](const QColor &topLeft, const QColor &bottomRight) {
        painter.fillRect(QRect(area.left(), area.top(), area.width() - line, line), topLeft);
        painter.fillRect(QRect(area.left(), area.top(), line, area.height() - line), topLeft);
        painter.fillRect(QRect(area.left(), area.bottom() - line + 1, area.width(), line),
                         bottomRight);
        painter.fillRect(QRect(area.right() - line + 1, area.top(), line, area.height()),
                         bottomRight);
        area.adjust(line, line, -line, -line);
    };
    const QColor dark(128, 128, 128);
    if (hasFocus()) {
        bevel(Qt::black, Qt::black);
        bevel(Qt::black, Qt::black);
    }
    if (isDown()) {
        bevel(dark, dark);
    } else {
        bevel(Qt::white, Qt::black);
        bevel(palette().color(QPalette::Button), dark);
    }

    const bool enabled = isEnabled();
    const QRect content = area.adjusted(2 * line, 2 * line, -2 * line, -2 * line)
                              .translated(isDown() ? QPoint(line, line) : QPoint());
    const QSize iconPixels = (QSizeF(iconSize()) * ratio).toSize();
    const int textHeight = qRound(fontMetrics().height() * ratio);
    const int gap = qRound(4 * ratio);
    const int top = content.top() + (content.height() - iconPixels.height() - gap - textHeight) / 2;
    const QRect iconRect(QPoint(content.left() + (content.width() - iconPixels.width()) / 2, top),
                         iconPixels);
    QPixmap picture = icon().pixmap(iconSize(), ratio, enabled ? QIcon::Normal : QIcon::Disabled);
    picture.setDevicePixelRatio(1);
    painter.drawPixmap(iconRect, picture);
    if (hasFocus()) {
        // A dotted rectangle of square dots, one line wide.
        for (int x = content.left(); x + line <= content.right() + 1; x += 2 * line) {
            painter.fillRect(QRect(x, content.top(), line, line), Qt::black);
            painter.fillRect(QRect(x, content.bottom() - line + 1, line, line), Qt::black);
        }
        for (int y = content.top(); y + line <= content.bottom() + 1; y += 2 * line) {
            painter.fillRect(QRect(content.left(), y, line, line), Qt::black);
            painter.fillRect(QRect(content.right() - line + 1, y, line, line), Qt::black);
        }
    }
    painter.restore();

    const QRectF textRect = toLogical.mapRect(
        QRectF(content.left(), iconRect.bottom() + 1 + gap, content.width(), textHeight));
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    if (!enabled) {
        // Engraved, as the platform greys a disabled caption.
        painter.setPen(Qt::white);
        painter.drawText(textRect.translated(1, 1), flags, text());
    }
    painter.setPen(enabled ? palette().color(QPalette::ButtonText) : dark);
    painter.drawText(textRect, flags, text());
}

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

PanelStatusBar::PanelStatusBar(int panelCount, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    // An opaque bar in the system's face colour, as the platform draws it, so its texts read
    // on every gradient.
    setAutoFillBackground(true);
    for (int i = 0; i < panelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(numbers::twips(1440));
        panel->setContentsMargins(2, 0, 2, 0);
        addWidget(panel);
        panels.append(panel);
    }
}

bool PanelStatusBar::event(QEvent *event)
{
    // A panel's new text asks the bar to lay its panels out again, and QStatusBar answers every
    // such request by repainting the whole bar and all its panels, although the clock's text,
    // new every second, keeps its panel's size. By now the layout has placed the panels: while
    // none of them moved, the panel with the new text repaints itself alone.
    if (event->type() == QEvent::LayoutRequest) {
        QList<QRect> places = panelPlaces();
        if (places == laidOut)
            return QWidget::event(event);
        laidOut = std::move(places);
    }
    return QStatusBar::event(event);
}

QList<QRect> PanelStatusBar::panelPlaces() const
{
    QList<QRect> places;
    places.reserve(panels.size());
    for (const QLabel *panel : panels)
        places.append(panel->geometry());
    return places;
}

QLabel *PanelStatusBar::panel(int index) const
{
    if (index < 1 || index > panelCount())
        throw application::RuntimeError(35600,
                                        QStringLiteral("Indice non compreso nell'intervallo"));
    return panels.at(index - 1);
}

void BackdropArea::setBackground(QImage background)
{
    image = std::move(background);
    update();
}

void BackdropArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, image);
}

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
