#include "app/window_description.h"

#include "app/runtime.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <vector>

using runtime::twips;

namespace
{

constexpr FontSpec sansBold825{"MS Sans Serif", 8.25, true};
constexpr FontSpec sans18{"MS Sans Serif", 18};
constexpr FontSpec arial48Bold{"Arial", 48, true};
constexpr FontSpec timesScore{"Times New Roman", 36, true};

constexpr ColourValue red = 0x000000FF;
constexpr ColourValue blue = 0x00FF0000;
constexpr ColourValue pink = 0x00FF80FF;
constexpr ColourValue activeBorder = 0x8000000A;

// clang-format off
constexpr std::array<ControlSpec, 22> description{{
    {.name = "Picture2", .kind = ControlKind::PictureBox, .caption = "",
     .left = 2640, .top = 4080, .width = 1260, .height = 855, .tabIndex = 18, .border = true,
     .tooltip = "Ciao campione! Sono Fiocco, il tuo cucciolo: conta con me fino a trenta!",
     .picture = ":/puppy.jpg"},
    {.name = "Timer2", .kind = ControlKind::Timer, .caption = "", .interval = 100},
    {.name = "StatusBar1", .kind = ControlKind::StatusBar, .caption = "",
     .left = 0, .top = 8100, .width = 10335, .height = 255, .tabIndex = 15, .font = sansBold825},
    {.name = "Picture1", .kind = ControlKind::PictureBox, .caption = "",
     .left = 960, .top = 360, .width = 3255, .height = 1215, .tabIndex = 14,
     .foreColour = activeBorder, .backColour = activeBorder, .border = true},
    {.name = "Command3", .kind = ControlKind::CommandButton, .caption = "verifica",
     .left = 3120, .top = -120, .width = 2295, .height = 435, .visible = false, .tabIndex = 6},
    {.name = "Text3", .kind = ControlKind::TextBox, .caption = "Text3",
     .left = 960, .top = 5040, .width = 6135, .height = 1215, .tabIndex = 3, .font = arial48Bold,
     .foreColour = 0x00C0C000, .backColour = 0x00C0FFC0,
     .tooltip = "Scrivi il numero e poi premi  il tasto Return (Invio)"},
    {.name = "Text2", .kind = ControlKind::TextBox, .caption = "Testo",
     .left = 1560, .top = 1800, .width = 5535, .height = 1335, .tabIndex = 2, .font = arial48Bold,
     .foreColour = 0x00000000, .backColour = pink},
    {.name = "Text1", .kind = ControlKind::TextBox, .caption = "0",
     .left = 120, .top = 600, .width = 1935, .height = 405, .visible = false, .tabIndex = 1,
     .font = FontSpec{"MS Sans Serif", 12, true}, .backColour = pink},
    {.name = "Timer1", .kind = ControlKind::Timer, .caption = "", .interval = 500},
    {.name = "cmdNext", .kind = ControlKind::CommandButton, .caption = "&Nuovo calcolo",
     .left = 2520, .top = 6600, .width = 1815, .height = 1095, .enabled = false, .tabIndex = 5,
     .font = sansBold825, .backColour = 0x00FFFF00,
     .tooltip = "Usa il tasto Return(invio) per l'esercizio successivo", .pointer = Pointer::Icon,
     .picture = ":/next.ico"},
    {.name = "cmdExit", .kind = ControlKind::CommandButton, .caption = "E&xit",
     .left = 6840, .top = 6720, .width = 1575, .height = 1095, .tabIndex = 0,
     .font = sansBold825, .backColour = 0x00FF00FF,
     .tooltip = "Ti prego resta ancora, forse riuscirai a farmi uscire ", .picture = ":/exit.ico"},
    {.name = "Conta", .kind = ControlKind::Frame, .caption = "Conta",
     .left = 720, .top = 0, .width = 3615, .height = 1695, .tabIndex = 17},
    {.name = "Image1", .kind = ControlKind::Image, .caption = "",
     .left = 7680, .top = 1560, .width = 1470, .height = 1245, .pointer = Pointer::Inherited,
     .picture = ":/bird.gif"},
    {.name = "Label2", .kind = ControlKind::Label, .caption = "",
     .left = 240, .top = 2880, .width = 45, .height = 195, .visible = false, .tabIndex = 16,
     .pointer = Pointer::Inherited},
    {.name = "Lblesatto", .kind = ControlKind::Label, .caption = "",
     .left = 480, .top = 960, .width = 585, .height = 195, .visible = false, .tabIndex = 13,
     .foreColour = 0x00808080, .backColour = 0x80000005, .pointer = Pointer::Inherited},
    {.name = "Label3", .kind = ControlKind::Label, .caption = "Risposte totali",
     .left = 7560, .top = 3600, .width = 2340, .height = 495, .tabIndex = 12, .font = sans18,
     .foreColour = blue, .border = true, .pointer = Pointer::Inherited},
    {.name = "Label1", .kind = ControlKind::Label, .caption = "Risposte errate",
     .left = 3840, .top = 3360, .width = 2520, .height = 495, .tabIndex = 11, .font = sans18,
     .foreColour = red, .border = true, .pointer = Pointer::Inherited},
    {.name = "lblScore2", .kind = ControlKind::Label, .caption = "0",
     .left = 8310, .top = 4080, .width = 555, .height = 885, .tabIndex = 10, .font = timesScore,
     .foreColour = blue, .border = true, .centred = true, .pointer = Pointer::Inherited},
    {.name = "lblScore1", .kind = ControlKind::Label, .caption = "0",
     .left = 4830, .top = 4080, .width = 540, .height = 885, .tabIndex = 7, .font = timesScore,
     .foreColour = red, .border = true, .centred = true, .pointer = Pointer::Inherited},
    {.name = "lblScore", .kind = ControlKind::Label, .caption = "0",
     .left = 1080, .top = 4080, .width = 555, .height = 885, .tabIndex = 8, .font = timesScore,
     .backColour = 0x0000FFFF, .border = true, .centred = true,
     .tooltip = "Questo è il tuo punteggio. Forza con il  record", .pointer = Pointer::Inherited},
    {.name = "lblMessage", .kind = ControlKind::Label, .caption = "io",
     .left = 6720, .top = 840, .width = 705, .height = 555, .tabIndex = 4,
     .font = FontSpec{"MS Sans Serif", 24, true, true}, .foreColour = red, .backColour = 0x00FFFF00,
     .centred = true, .pointer = Pointer::Icon},
    {.name = "Label6", .kind = ControlKind::Label, .caption = "Risposte esatte",
     .left = 240, .top = 3360, .width = 2565, .height = 495, .tabIndex = 9, .font = sans18,
     .foreColour = 0x0000C000, .backColour = 0x00E0E0E0, .border = true, .centred = true,
     .pointer = Pointer::Inherited},
}};

constexpr std::array<MenuSpec, 6> menus{{
    {"INFOMAZIONI", "INFORMAZIONI", "", true},
    {"Ciao", "Lumetrava - Squadra Vorlandi - Scuola primaria Arcobaleno", "INFOMAZIONI", true},
    {"Tmer", "squadra@vorlandi.example", "Ciao", false},
    {"copy", "COPYRIGHT", "", true},
    {"don", "Scritto dalla squadra Vorlandi - programma freeware", "copy", false},
    {"Next", "NUOVO GIOCO", "", false},
}};
// clang-format on

// Where the labels whose captions change may spread: free space around each, clear of the
// answer box, the pictures and the other labels (pixels).
struct FitArea {
    std::string_view name;
    QRect area;
    bool wrap;
};
const std::array<FitArea, 4> fitAreas{{
    {"lblMessage", QRect(292, 2, 394, 100), true},
    {"lblScore", QRect(12, 259, 160, 76), false},
    {"lblScore1", QRect(264, 259, 160, 76), false},
    {"lblScore2", QRect(492, 272, 190, 63), false},
}};

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

QFrame *pictureBox(const ControlSpec &entry, QWidget *parent)
{
    auto *box = new QLabel(parent);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setLineWidth(2);
    box->setAutoFillBackground(true);
    setColour(box, QPalette::Window, entry.backColour);
    setColour(box, QPalette::WindowText, entry.foreColour);
    if (!entry.picture.empty())
        box->setPixmap(QPixmap(text(entry.picture)));
    return box;
}

QWidget *commandButton(const ControlSpec &entry, QWidget *parent)
{
    auto *button = new QPushButton(text(entry.caption), parent);
    // Enter must click a focused button: outside a dialog a QPushButton takes Return only
    // when autoDefault is set.
    button->setAutoDefault(true);
    if (!entry.picture.empty()) {
        button->setIcon(QIcon(text(entry.picture)));
        button->setIconSize(QSize(32, 32));
    }
    if (entry.backColour) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colourFromValue(*entry.backColour));
        button->setPalette(palette);
    }
    return button;
}

QWidget *textBox(const ControlSpec &entry, QWidget *parent)
{
    auto *box = new QLineEdit(text(entry.caption), parent);
    setColour(box, QPalette::Base, entry.backColour);
    setColour(box, QPalette::Text, entry.foreColour);
    box->setCursorPosition(0);
    return box;
}

Label *label(const ControlSpec &entry, QWidget *parent)
{
    auto *caption = new Label(text(entry.caption), parent);
    caption->setAlignment(Qt::AlignTop | (entry.centred ? Qt::AlignHCenter : Qt::AlignLeft));
    caption->setAutoFillBackground(true);
    if (entry.border)
        caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setColour(caption, QPalette::Window, entry.backColour);
    setColour(caption, QPalette::WindowText, entry.foreColour);
    return caption;
}

} // namespace

const std::array<ControlSpec, 22> &controlDescription()
{
    return description;
}

const std::array<MenuSpec, 6> &menuDescription()
{
    return menus;
}

QColor colourFromValue(ColourValue value)
{
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 5: // window background
            return QApplication::palette().color(QPalette::Base);
        case 10: // active window border
            return QColor(180, 180, 180);
        default:
            return QApplication::palette().color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

double fittingPointSize(const QString &text, QFont font, int width)
{
    double size = font.pointSizeF();
    while (size > 6 && QFontMetrics(font).horizontalAdvance(text) > width) {
        size -= 1;
        font.setPointSizeF(size);
    }
    return size;
}

void Label::setCaption(const QString &caption)
{
    setText(caption);
    fit();
}

void Label::setFitArea(QRect design, QRect area, bool wrap)
{
    designRect = design;
    fitArea = area;
    wrapWords = wrap;
    designFont = font();
    setWordWrap(wrap);
    fit();
}

void Label::fit()
{
    if (fitArea.isNull())
        return;
    QFont font = designFont;
    // A little air left and right keeps the text off the border.
    const int frame = 2 * frameWidth();
    const int air = 4;
    const int flags = int(alignment()) | (wrapWords ? Qt::TextWordWrap : 0);
    QSize size;
    for (;;) {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(0, 0, fitArea.width() - frame - air, 10000), flags, text());
        size = QSize(std::max(designRect.width(), needed.width() + frame + air),
                     std::max(designRect.height(), needed.height() + frame));
        if ((size.width() <= fitArea.width() && size.height() <= fitArea.height()) ||
            font.pointSizeF() <= 6)
            break;
        font.setPointSizeF(font.pointSizeF() - 1);
    }
    setFont(font);
    size = size.boundedTo(fitArea.size());
    QRect rect(QPoint(), size);
    rect.moveCenter(designRect.center());
    rect.moveLeft(std::clamp(rect.left(), fitArea.left(), fitArea.right() - size.width() + 1));
    rect.moveTop(std::clamp(rect.top(), fitArea.top(), fitArea.bottom() - size.height() + 1));
    setGeometry(rect);
}

PanelStatusBar::PanelStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < statusPanelCount; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(twips(1440));
        panel->setContentsMargins(2, 0, 2, 0);
        addWidget(panel);
        panels[static_cast<std::size_t>(i)] = panel;
    }
}

QLabel *PanelStatusBar::panel(int index) const
{
    if (index < 1 || index > panelCount())
        throw runtime::RuntimeError(35600, QStringLiteral("Indice non compreso nell'intervallo"));
    return panels[static_cast<std::size_t>(index - 1)];
}

void ClientArea::setBackground(QImage background)
{
    image = std::move(background);
    update();
}

void ClientArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Window));
    else
        painter.drawImage(0, 0, image);
}

// The built-in pictures live in a static library, where nothing else would pull them in.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

FormWindow::FormWindow(QWidget *parent) : QMainWindow(parent)
{
    initResources();
    setObjectName(QStringLiteral("Tavola"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(text(designCaption));
    setWindowIcon(QIcon(QStringLiteral(":/vorlandi.ico")));
    setFont(fontFrom(sansBold825));
    QFont windowFont = font();
    windowFont.setBold(false);
    setFont(windowFont);

    clientArea = new ClientArea(this);
    clientArea->setObjectName(QStringLiteral("client"));
    clientArea->setFixedSize(twips(clientWidthTwips), twips(clientHeightTwips));
    setCentralWidget(clientArea);
    buildMenus();
    buildControls();
    // Nothing adapts to another size, so the window keeps the one it was designed for; it can
    // still be minimised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void FormWindow::buildControls()
{
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlSpec &entry : description) {
        QObject *object = nullptr;
        QWidget *widget = nullptr;
        switch (entry.kind) {
        case ControlKind::Timer: {
            auto *timer = new QTimer(this);
            timer->setInterval(entry.interval);
            timer->start();
            object = timer;
            break;
        }
        case ControlKind::PictureBox:
            widget = pictureBox(entry, clientArea);
            break;
        case ControlKind::StatusBar:
            widget = new PanelStatusBar(clientArea);
            break;
        case ControlKind::CommandButton:
            widget = commandButton(entry, clientArea);
            break;
        case ControlKind::TextBox:
            widget = textBox(entry, clientArea);
            break;
        case ControlKind::Frame:
            widget = new QGroupBox(text(entry.caption), clientArea);
            break;
        case ControlKind::Image: {
            auto *image = new QLabel(clientArea);
            image->setPixmap(QPixmap(text(entry.picture)));
            widget = image;
            break;
        }
        case ControlKind::Label:
            widget = label(entry, clientArea);
            break;
        }
        if (widget) {
            object = widget;
            widget->setGeometry(pixelRect(entry));
            if (entry.font)
                widget->setFont(fontFrom(*entry.font));
            widget->setVisible(entry.visible);
            widget->setEnabled(entry.enabled);
            if (!entry.tooltip.empty())
                widget->setToolTip(text(entry.tooltip));
            if (entry.pointer == Pointer::Icon)
                widget->setCursor(iconPointer());
            else if (entry.pointer == Pointer::Usual && entry.kind != ControlKind::TextBox)
                widget->setCursor(Qt::ArrowCursor);
            const bool takesFocus =
                entry.kind == ControlKind::CommandButton || entry.kind == ControlKind::TextBox;
            widget->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
            if (takesFocus)
                tabOrder.emplace_back(entry.tabIndex, widget);
        }
        object->setObjectName(text(entry.name));
    }

    auto find = [this]<typename T>(T *&slot, const char *name) {
        slot = findChild<T *>(QLatin1String(name));
    };
    find(c.Picture2, "Picture2");
    find(c.Timer2, "Timer2");
    find(c.StatusBar1, "StatusBar1");
    find(c.Picture1, "Picture1");
    find(c.Command3, "Command3");
    find(c.Text3, "Text3");
    find(c.Text2, "Text2");
    find(c.Text1, "Text1");
    find(c.Timer1, "Timer1");
    find(c.cmdNext, "cmdNext");
    find(c.cmdExit, "cmdExit");
    find(c.Conta, "Conta");
    find(c.Image1, "Image1");
    find(c.Label2, "Label2");
    find(c.Lblesatto, "Lblesatto");
    find(c.Label3, "Label3");
    find(c.Label1, "Label1");
    find(c.lblScore2, "lblScore2");
    find(c.lblScore1, "lblScore1");
    find(c.lblScore, "lblScore");
    find(c.lblMessage, "lblMessage");
    find(c.Label6, "Label6");
    find(c.Next, "Next");

    c.StatusBar1->panel(2)->setText(QStringLiteral("PUNTEGGIO"));
    // The picture shows in front of the frame drawn around it.
    c.Picture1->raise();

    // Every label keeps its caption readable: those whose captions change may spread into
    // the free space around them, the others shrink their font if they must.
    for (const ControlSpec &entry : description) {
        if (entry.kind != ControlKind::Label || !entry.visible)
            continue;
        auto *caption = findChild<Label *>(text(entry.name));
        const auto special = std::find_if(fitAreas.begin(), fitAreas.end(),
                                          [&](const FitArea &a) { return a.name == entry.name; });
        if (special != fitAreas.end())
            caption->setFitArea(pixelRect(entry), special->area, special->wrap);
        else
            caption->setFitArea(pixelRect(entry), pixelRect(entry), false);
    }
    // The words of the number shrink to fit the box rather than scroll out of sight.
    const QFont wordsFont = c.Text2->font();
    connect(c.Text2, &QLineEdit::textChanged, c.Text2,
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
    dockStatusBar();
}

void FormWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    std::vector<std::pair<std::string_view, QMenu *>> built;
    auto parentMenu = [&](std::string_view name) -> QMenu * {
        for (const auto &[menuName, menu] : built)
            if (menuName == name)
                return menu;
        return nullptr;
    };
    for (const MenuSpec &entry : menus) {
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
        }
    }
}

void FormWindow::dockStatusBar()
{
    if (c.StatusBar1) {
        const int height = twips(255);
        c.StatusBar1->setGeometry(0, clientArea->height() - height, clientArea->width(), height);
    }
}

void FormWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    dockStatusBar();
    emit resized();
}

void FormWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit resized();
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    // The game decides what closing means; the widget itself never closes on its own.
    event->ignore();
    emit closeRequested();
}

QCursor iconPointer()
{
    QPixmap shape(32, 32);
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(8, 8, 15, 15);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(8, 8, 15, 15);
    painter.fillRect(13, 13, 6, 6, Qt::white);
    painter.drawRect(13, 13, 5, 5);
    painter.end();
    return QCursor(shape, 16, 16);
}
