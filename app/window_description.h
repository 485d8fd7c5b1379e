#pragma once
// The window's constant description (positions in twips, fonts, colours, tab order, tooltips,
// pointers, menus) and the form built from it. The form is made anew at every load.

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

class QAction;
class QLineEdit;
class QPushButton;
class QTimer;

enum class ControlKind {
    PictureBox,
    Timer,
    StatusBar,
    CommandButton,
    TextBox,
    Frame,
    Image,
    Label
};
enum class Pointer { Usual, Inherited, Icon };

struct FontSpec {
    std::string_view face;
    double points;
    bool bold = false;
    bool italic = false;
};

// Colours are 0x00BBGGRR; 0x800000nn names the system colour nn.
using ColourValue = std::uint32_t;

struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    int left = 0, top = 0, width = 0, height = 0; // twips
    bool visible = true;
    bool enabled = true;
    int tabIndex = -1; // -1: the control takes no part in the tab order
    std::optional<FontSpec> font = {};
    std::optional<ColourValue> foreColour = {};
    std::optional<ColourValue> backColour = {};
    bool border = false;
    bool centred = false;
    std::string_view tooltip = {};
    Pointer pointer = Pointer::Usual;
    int interval = 0;              // timers, milliseconds
    std::string_view picture = {}; // a built-in picture (Qt resource path)
};

// The controls in the order the window creates them.
const std::array<ControlSpec, 22> &controlDescription();

struct MenuSpec {
    std::string_view name;
    std::string_view caption;
    std::string_view parent; // empty: on the menu bar
    bool isMenu;             // holds further items
};
const std::array<MenuSpec, 6> &menuDescription();

inline constexpr int clientWidthTwips = 10335;
inline constexpr int clientHeightTwips = 8355;
inline constexpr int statusPanelCount = 5;
inline constexpr std::string_view designCaption = "Brimaseo";
inline constexpr std::string_view applicationTitle = "Vorlandi";

QColor colourFromValue(ColourValue value);

// The largest point size, not above the font's own, at which text fits in width pixels.
double fittingPointSize(const QString &text, QFont font, int width);

// A label that keeps its caption readable: with a fit area it grows around its stored centre
// inside that area (wrapping words where allowed) and only shrinks its font when even the
// whole area is too small.
class Label : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    void setCaption(const QString &caption);
    QString caption() const { return text(); }
    void setFitArea(QRect designRect, QRect area, bool wrap);

private:
    void fit();
    QRect designRect;
    QRect fitArea;
    bool wrapWords = false;
    QFont designFont;
};

// A status bar of numbered text panels; panel indices start at 1.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget *parent = nullptr);
    QLabel *panel(int index) const; // throws runtime::RuntimeError outside 1..count
    int panelCount() const { return static_cast<int>(panels.size()); }

private:
    std::array<QLabel *, statusPanelCount> panels{};
};

// The client area: holds every control and shows the persistent background image behind them.
class ClientArea : public QWidget
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

struct Controls {
    QLabel *Picture2 = nullptr;
    QTimer *Timer2 = nullptr;
    PanelStatusBar *StatusBar1 = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *Command3 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QTimer *Timer1 = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdExit = nullptr;
    QWidget *Conta = nullptr;
    QLabel *Image1 = nullptr;
    Label *Label2 = nullptr;
    Label *Lblesatto = nullptr;
    Label *Label3 = nullptr;
    Label *Label1 = nullptr;
    Label *lblScore2 = nullptr;
    Label *lblScore1 = nullptr;
    Label *lblScore = nullptr;
    Label *lblMessage = nullptr;
    Label *Label6 = nullptr;
    QAction *Next = nullptr;
};

// The top-level window. It reports its resizes, state changes and close requests; what they
// mean is the game's business.
class FormWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormWindow(QWidget *parent = nullptr);
    ClientArea *client() const { return clientArea; }
    const Controls &controls() const { return c; }

signals:
    void resized();
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void dockStatusBar();

    ClientArea *clientArea = nullptr;
    Controls c;
};

// The pointer shape of an icon: a small square inside a square.
QCursor iconPointer();
