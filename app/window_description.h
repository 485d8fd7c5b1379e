#pragma once
// The window's constant description: every control with its position in twips, font, colours,
// tab order, tooltip and pointer, the menus, and the handles of the controls the handlers use.

#include <QRect>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

class FittingLabel;
class PanelStatusBar;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

// The form's controls by name. The builder fills each slot as it creates the control its
// description entry names, so the controls live only as long as the form.
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
    FittingLabel *Label2 = nullptr;
    FittingLabel *Lblesatto = nullptr;
    FittingLabel *Label3 = nullptr;
    FittingLabel *Label1 = nullptr;
    FittingLabel *lblScore2 = nullptr;
    FittingLabel *lblScore1 = nullptr;
    FittingLabel *lblScore = nullptr;
    FittingLabel *lblMessage = nullptr;
    FittingLabel *Label6 = nullptr;
    QAction *Next = nullptr;
};

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

// Where the builder puts a control's handle; the member's type goes with the control's kind.
template <typename Widget> using Slot = Widget *Controls::*;
using ControlSlot =
    std::variant<Slot<QLabel>, Slot<QTimer>, Slot<PanelStatusBar>, Slot<QPushButton>,
                 Slot<QLineEdit>, Slot<QWidget>, Slot<FittingLabel>>;

struct ControlSpec {
    std::string_view name;
    ControlSlot slot;
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
    // Text boxes: shows the game's text, which the keys can reach and read but not change.
    bool readOnly = false;
    // Labels: a dark outline around the letters, for a caption whose colour alone would not
    // read on the background.
    bool outlined = false;
    std::string_view tooltip = {};
    Pointer pointer = Pointer::Usual;
    int interval = 0;              // timers, milliseconds
    std::string_view picture = {}; // a built-in picture (Qt resource path)
    // Labels whose captions change: the free space (pixels) the caption may spread into, clear
    // of the other controls, and whether it wraps there. Empty: the label's own rectangle.
    QRect fitArea = {};
    bool wrap = false;
    // What a screen reader says of the control, in Italian: its name (empty: the caption, without
    // the access key's "&") and its description (empty: the tooltip). A score names the label
    // whose caption titles it, and is read as "title: score". A picture box that shows a count
    // names what it counts, singular and plural.
    std::string_view accessibleName = {};
    std::string_view accessibleDescription = {};
    std::string_view titledBy = {};
    std::string_view countedOne = {};
    std::string_view countedMany = {};
    // Labels: each caption set is announced to a screen reader as a notification, which it
    // speaks wherever the focus is.
    bool announced = false;
};

// The controls in the order the window creates them.
const std::array<ControlSpec, 22> &controlDescription();
// The entry of the control with that name; nullptr if there is none.
const ControlSpec *controlEntry(std::string_view name);

struct MenuSpec {
    std::string_view name;
    Slot<QAction> slot = nullptr; // the items the handlers use
    std::string_view caption = {};
    std::string_view parent = {}; // empty: on the menu bar
    bool isMenu = false;          // holds further items
};
const std::array<MenuSpec, 6> &menuDescription();

inline constexpr int clientWidthTwips = 10335;
inline constexpr int clientHeightTwips = 8355;
inline constexpr int statusPanelCount = 5;
inline constexpr std::string_view designCaption = "Brimaseo";
inline constexpr std::string_view windowIcon = ":/vorlandi.ico";
inline constexpr FontSpec windowFont{"MS Sans Serif", 8.25};
