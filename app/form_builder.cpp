#include "app/form_builder.h"

#include "app/backdrop_area.h"
#include "app/fitting_label.h"
#include "app/graphical_button.h"
#include "app/panel_status_bar.h"
#include "app/text_box.h"
#include "logic/numbers.h"
#include "logic/text_fit.h"
#include "media/animated_cursor.h"
#include "media/picture.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <vector>

using numbers::twips;

namespace
{

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QRect pixelRect(const ControlSpec &entry)
{
    return QRect(twips(entry.left), twips(entry.top), twips(entry.width), twips(entry.height));
}

QFont fontFrom(const FontSpec &entry)
{
    QFont font(text(entry.face));
    font.setPointSizeF(entry.points);
    font.setBold(entry.bold);
    font.setItalic(entry.italic);
    return font;
}

void setColour(QWidget *widget, QPalette::ColorRole role, std::optional<ColourValue> value)
{
    if (!value)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, colourFromValue(*value));
    widget->setPalette(palette);
}

// A built-in icon with its images at twice the size beside it, from which Qt draws the icon on
// a dense screen rather than blowing up the small ones.
QIcon builtInIcon(const QString &path)
{
    QIcon icon(path);
    icon.addFile(doubleDensityPath(path));
    return icon;
}

// A button's picture drawn once for the screen's scale, from the nearest image at least as
// large, so that Qt never enlarges a small one (a 32-pixel image to 48 pixels at 1.5).
QIcon screenIcon(const QString &path, QSize size, qreal ratio)
{
    return QIcon(builtInIconPixmap(path, size, ratio));
}

// The pointer shape of an icon: a small square inside a square, drawn at the screen's density.
QCursor iconPointer(qreal ratio)
{
    QImage shape(qRound(32 * ratio), qRound(32 * ratio), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    painter.scale(ratio, ratio);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(8, 8, 15, 15);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(8, 8, 15, 15);
    painter.fillRect(13, 13, 6, 6, Qt::white);
    painter.drawRect(13, 13, 5, 5);
    painter.end();
    return cursorFromImage(shape, QPoint(shape.width() / 2, shape.height() / 2), ratio);
}

QWidget *pictureBox(const ControlSpec &entry, QWidget *parent)
{
    auto *box = new QLabel(parent);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setLineWidth(2);
    box->setAutoFillBackground(true);
    setColour(box, QPalette::Window, entry.backColour);
    setColour(box, QPalette::WindowText, entry.foreColour);
    if (!entry.picture.empty())
        box->setPixmap(builtInPicture(text(entry.picture), box->devicePixelRatioF()));
    return box;
}

QWidget *commandButton(const ControlSpec &entry, QWidget *parent)
{
    // A button with a picture is a graphical one: its face is its background colour, flat.
    auto *button = entry.picture.empty() ? new QPushButton(text(entry.caption), parent)
                                         : new GraphicalButton(text(entry.caption), parent);
    // Enter must click a focused button: outside a dialog a QPushButton takes Return only
    // when autoDefault is set.
    button->setAutoDefault(true);
    if (!entry.picture.empty()) {
        const QSize iconSize(32, 32);
        button->setIcon(screenIcon(text(entry.picture), iconSize, button->devicePixelRatioF()));
        button->setIconSize(iconSize);
    }
    setColour(button, QPalette::Button, entry.backColour);
    return button;
}

QWidget *textBox(const ControlSpec &entry, QWidget *parent)
{
    auto *box = new TextBox(text(entry.caption), parent);
    setColour(box, QPalette::Base, entry.backColour);
    setColour(box, QPalette::Text, entry.foreColour);
    box->setReadOnly(entry.readOnly);
    box->setCursorPosition(0);
    return box;
}

QWidget *label(const ControlSpec &entry, QWidget *parent)
{
    auto *caption = new FittingLabel(text(entry.caption), parent);
    caption->setAlignment(Qt::AlignTop | (entry.centred ? Qt::AlignHCenter : Qt::AlignLeft));
    caption->setAutoFillBackground(true);
    if (entry.border)
        caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Yellow, or red, on cyan reads at barely 1.2:1 or 3.5:1; black letter edges read at 16:1.
    if (entry.outlined)
        caption->setOutline(Qt::black);
    setColour(caption, QPalette::Window, entry.backColour);
    setColour(caption, QPalette::WindowText, entry.foreColour);
    return caption;
}

QWidget *image(const ControlSpec &entry, QWidget *parent)
{
    auto *image = new QLabel(parent);
    image->setPixmap(builtInPicture(text(entry.picture), image->devicePixelRatioF()));
    return image;
}

// The widget of a control, with what every kind shares: place, font, state, tooltip,
// pointer and whether it takes the focus.
QWidget *controlWidget(const ControlSpec &entry, QWidget *parent)
{
    QWidget *widget = nullptr;
    switch (entry.kind) {
    case ControlKind::PictureBox:
        widget = pictureBox(entry, parent);
        break;
    case ControlKind::StatusBar:
        widget = new PanelStatusBar(statusPanelCount, parent);
        break;
    case ControlKind::CommandButton:
        widget = commandButton(entry, parent);
        break;
    case ControlKind::TextBox:
        widget = textBox(entry, parent);
        break;
    case ControlKind::Frame:
        widget = new QGroupBox(text(entry.caption), parent);
        // Like the platform's frame, an opaque control in the system's face colour: its
        // caption must read on every gradient.
        widget->setAutoFillBackground(true);
        break;
    case ControlKind::Image:
        widget = image(entry, parent);
        break;
    case ControlKind::Label:
        widget = label(entry, parent);
        break;
    case ControlKind::Timer: // not a widget: buildControls makes it
        return nullptr;
    }
    widget->setGeometry(pixelRect(entry));
    if (entry.font)
        widget->setFont(fontFrom(*entry.font));
    widget->setVisible(entry.visible);
    widget->setEnabled(entry.enabled);
    if (!entry.tooltip.empty())
        widget->setToolTip(text(entry.tooltip));
    if (entry.pointer == Pointer::Icon)
        widget->setCursor(iconPointer(widget->devicePixelRatioF()));
    else if (entry.pointer == Pointer::Usual && entry.kind != ControlKind::TextBox)
        widget->setCursor(Qt::ArrowCursor);
    const bool takesFocus =
        entry.kind == ControlKind::CommandButton || entry.kind == ControlKind::TextBox;
    widget->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    if (!entry.accessibleName.empty())
        widget->setAccessibleName(text(entry.accessibleName));
    if (!entry.accessibleDescription.empty())
        widget->setAccessibleDescription(text(entry.accessibleDescription));
    return widget;
}

// What a screen reader hears of the labels: scores with their titles, the verdict announced.
void describeLabel(const ControlSpec &entry, FittingLabel *label)
{
    if (!entry.titledBy.empty())
        label->setTitle(text(controlEntry(entry.titledBy)->caption));
    label->setAnnounced(entry.announced);
}

// A picture box that shows a count describes it for a screen reader: the picture of a number
// from 1 to 10 shows that many things, and the digits box holds the number drawn.
void describeCount(const ControlSpec &entry, QLabel *box, QLineEdit *digits)
{
    const QString none = text(entry.accessibleDescription);
    const QString one = text(entry.countedOne);
    const QString many = text(entry.countedMany);
    QObject::connect(digits, &QLineEdit::textChanged, box, [=](const QString &number) {
        const int count = number.toInt();
        if (box->pixmap().isNull() || count < 1)
            box->setAccessibleDescription(none);
        else
            box->setAccessibleDescription(QString::number(count) + u' ' +
                                          (count == 1 ? one : many));
    });
}

void buildControls(GameWindow *window, Controls &c)
{
    BackdropArea *client = window->client();
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlSpec &entry : controlDescription()) {
        QObject *object = controlWidget(entry, client);
        if (!object) {
            // A timer is made with its interval but stopped: Tavola starts the ones it gives a
            // handler. A timer that no handler listens to still wakes the program at every
            // tick, for nothing (Timer1, twice a second, while the child thinks).
            auto *timer = new QTimer(window);
            timer->setInterval(entry.interval);
            object = timer;
        } else if (auto *widget = static_cast<QWidget *>(object);
                   widget->focusPolicy() != Qt::NoFocus) {
            tabOrder.emplace_back(entry.tabIndex, widget);
        }
        object->setObjectName(text(entry.name));
        // The description checks at compile time that the slot's type is the kind's class.
        std::visit(
            [&](auto member) {
                c.*member = static_cast<std::remove_reference_t<decltype(c.*member)>>(object);
            },
            entry.slot);
        // Every label keeps its caption readable: those whose captions change may spread into
        // the free space around them, the others shrink their font if they must.
        if (entry.kind == ControlKind::Label && entry.visible) {
            const QRect area = entry.fitArea.isNull() ? pixelRect(entry) : entry.fitArea;
            static_cast<FittingLabel *>(object)->setFitArea(pixelRect(entry), area, entry.wrap);
        }
        if (entry.kind == ControlKind::Label)
            describeLabel(entry, static_cast<FittingLabel *>(object));
    }
    for (const ControlSpec &entry : controlDescription())
        if (!entry.countedMany.empty())
            describeCount(entry, client->findChild<QLabel *>(text(entry.name)), c.Text1);

    c.StatusBar1->panel(2)->setText(QStringLiteral("PUNTEGGIO"));
    // The picture shows in front of the frame drawn around it.
    c.Picture1->raise();
    // The words of the number shrink to fit the box rather than scroll out of sight.
    const QFont wordsFont = c.Text2->font();
    QObject::connect(c.Text2, &QLineEdit::textChanged, c.Text2,
                     [box = c.Text2, wordsFont](const QString &t) {
                         QFont font = wordsFont;
                         font.setPointSizeF(fittingPointSize(t, wordsFont, box->width() - 14));
                         box->setFont(font);
                         box->setCursorPosition(0);
                     });

    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
}

void buildMenus(GameWindow *window, Controls &c)
{
    QMenuBar *bar = window->menuBar();
    std::vector<std::pair<std::string_view, QMenu *>> built;
    auto parentMenu = [&](std::string_view name) -> QMenu * {
        for (const auto &[menuName, menu] : built)
            if (menuName == name)
                return menu;
        return nullptr;
    };
    for (const MenuSpec &entry : menuDescription()) {
        QMenu *parent = entry.parent.empty() ? nullptr : parentMenu(entry.parent);
        if (entry.isMenu) {
            QMenu *menu =
                parent ? parent->addMenu(text(entry.caption)) : bar->addMenu(text(entry.caption));
            menu->setObjectName(text(entry.name));
            menu->menuAction()->setObjectName(text(entry.name) + QStringLiteral("Action"));
            built.emplace_back(entry.name, menu);
        } else {
            QAction *action = parent ? parent->addAction(text(entry.caption))
                                     : bar->addAction(text(entry.caption));
            action->setObjectName(text(entry.name));
            if (entry.slot)
                c.*entry.slot = action;
        }
    }
}

} // namespace

// The built-in pictures live in a static library, where nothing else would pull them in.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

std::unique_ptr<GameWindow> buildForm(Controls &controls)
{
    initResources();
    auto window = std::make_unique<GameWindow>();
    window->setObjectName(QStringLiteral("Tavola"));
    window->setWindowTitle(text(designCaption));
    window->setWindowIcon(builtInIcon(text(windowIcon)));
    window->setFont(fontFrom(windowFont));

    FittingLabel::exposeToScreenReaders();
    auto *client = new BackdropArea(window.get());
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips(clientWidthTwips), twips(clientHeightTwips));
    window->setCentralWidget(client);
    controls = Controls();
    window->enableMenuKeys();
    buildMenus(window.get(), controls);
    buildControls(window.get(), controls);
    // Nothing adapts to another size, so the window keeps the one it was designed for; it can
    // still be minimised.
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    window->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    return window;
}

QColor colourFromValue(ColourValue value)
{
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 5: // window background
            return QGuiApplication::palette().color(QPalette::Base);
        case 10: // active window border
            return QColor(180, 180, 180);
        default:
            return QGuiApplication::palette().color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
