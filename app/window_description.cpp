#include "app/window_description.h"

#include <algorithm>

namespace
{

// A control's name, written once: it names the widget and the slot its handle goes to.
#define CONTROL(member) .name = #member, .slot = &Controls::member

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
    {CONTROL(Picture2), .kind = ControlKind::PictureBox, .caption = "",
     .left = 2640, .top = 4080, .width = 1260, .height = 855, .tabIndex = 18, .border = true,
     .tooltip = "Ciao campione! Sono Fiocco, il tuo cucciolo: conta con me fino a trenta!",
     .picture = ":/puppy.jpg", .accessibleName = "Fiocco, il cucciolo che dorme"},
    {CONTROL(Timer2), .kind = ControlKind::Timer, .caption = "", .interval = 100},
    {CONTROL(StatusBar1), .kind = ControlKind::StatusBar, .caption = "",
     .left = 0, .top = 8100, .width = 10335, .height = 255, .tabIndex = 15, .font = sansBold825},
    {CONTROL(Picture1), .kind = ControlKind::PictureBox, .caption = "",
     .left = 960, .top = 360, .width = 3255, .height = 1215, .tabIndex = 14,
     .foreColour = activeBorder, .backColour = activeBorder, .border = true,
     .accessibleName = "Figura del numero", .accessibleDescription = "Nessuna figura",
     .countedOne = "mappamondo", .countedMany = "mappamondi"},
    {CONTROL(Command3), .kind = ControlKind::CommandButton, .caption = "verifica",
     .left = 3120, .top = -120, .width = 2295, .height = 435, .visible = false, .tabIndex = 6},
    {CONTROL(Text3), .kind = ControlKind::TextBox, .caption = "Text3",
     .left = 960, .top = 5040, .width = 6135, .height = 1215, .tabIndex = 3, .font = arial48Bold,
     .foreColour = 0x00C0C000, .backColour = 0x00C0FFC0,
     .tooltip = "Scrivi il numero e poi premi  il tasto Return (Invio)",
     .accessibleName = "La tua risposta in cifre"},
    {CONTROL(Text2), .kind = ControlKind::TextBox, .caption = "Testo",
     .left = 1560, .top = 1800, .width = 5535, .height = 1335, .tabIndex = 2, .font = arial48Bold,
     .foreColour = 0x00000000, .backColour = pink, .readOnly = true, .accessibleName = "Il numero in lettere",
     .accessibleDescription = "Il numero da scrivere, in lettere"},
    {CONTROL(Text1), .kind = ControlKind::TextBox, .caption = "0",
     .left = 120, .top = 600, .width = 1935, .height = 405, .visible = false, .tabIndex = 1,
     .font = FontSpec{"MS Sans Serif", 12, true}, .backColour = pink},
    // No handler: the form keeps it, stopped (see buildControls).
    {CONTROL(Timer1), .kind = ControlKind::Timer, .caption = "", .interval = 500},
    {CONTROL(cmdNext), .kind = ControlKind::CommandButton, .caption = "&Nuovo calcolo",
     .left = 2520, .top = 6600, .width = 1815, .height = 1095, .enabled = false, .tabIndex = 5,
     .font = sansBold825, .backColour = 0x00FFFF00,
     .tooltip = "Usa il tasto Return(invio) per l'esercizio successivo", .pointer = Pointer::Icon,
     .picture = ":/next.ico"},
    {CONTROL(cmdExit), .kind = ControlKind::CommandButton, .caption = "E&xit",
     .left = 6840, .top = 6720, .width = 1575, .height = 1095, .tabIndex = 0,
     .font = sansBold825, .backColour = 0x00FF00FF,
     .tooltip = "Ti prego resta ancora, forse riuscirai a farmi uscire ", .picture = ":/exit.ico"},
    {CONTROL(Conta), .kind = ControlKind::Frame, .caption = "Conta",
     .left = 720, .top = 0, .width = 3615, .height = 1695, .tabIndex = 17},
    {CONTROL(Image1), .kind = ControlKind::Image, .caption = "",
     .left = 7680, .top = 1560, .width = 1470, .height = 1245, .pointer = Pointer::Inherited,
     .picture = ":/bird.gif", .accessibleName = "Uccellino",
     .accessibleDescription = "Un uccellino disegnato che fa compagnia"},
    {CONTROL(Label2), .kind = ControlKind::Label, .caption = "",
     .left = 240, .top = 2880, .width = 45, .height = 195, .visible = false, .tabIndex = 16,
     .pointer = Pointer::Inherited},
    {CONTROL(Lblesatto), .kind = ControlKind::Label, .caption = "",
     .left = 480, .top = 960, .width = 585, .height = 195, .visible = false, .tabIndex = 13,
     .foreColour = 0x00808080, .backColour = 0x80000005, .pointer = Pointer::Inherited},
    {CONTROL(Label3), .kind = ControlKind::Label, .caption = "Risposte totali",
     .left = 7560, .top = 3600, .width = 2340, .height = 495, .tabIndex = 12, .font = sans18,
     .foreColour = blue, .border = true, .pointer = Pointer::Inherited},
    {CONTROL(Label1), .kind = ControlKind::Label, .caption = "Risposte errate",
     .left = 3840, .top = 3360, .width = 2520, .height = 495, .tabIndex = 11, .font = sans18,
     .foreColour = red, .border = true, .pointer = Pointer::Inherited},
    {CONTROL(lblScore2), .kind = ControlKind::Label, .caption = "0",
     .left = 8310, .top = 4080, .width = 555, .height = 885, .tabIndex = 10, .font = timesScore,
     .foreColour = blue, .border = true, .centred = true, .pointer = Pointer::Inherited,
     .fitArea = QRect(492, 272, 190, 63), .titledBy = "Label3"},
    {CONTROL(lblScore1), .kind = ControlKind::Label, .caption = "0",
     .left = 4830, .top = 4080, .width = 540, .height = 885, .tabIndex = 7, .font = timesScore,
     .foreColour = red, .border = true, .centred = true, .pointer = Pointer::Inherited,
     .fitArea = QRect(264, 259, 160, 76), .titledBy = "Label1"},
    {CONTROL(lblScore), .kind = ControlKind::Label, .caption = "0",
     .left = 1080, .top = 4080, .width = 555, .height = 885, .tabIndex = 8, .font = timesScore,
     .backColour = 0x0000FFFF, .border = true, .centred = true,
     .tooltip = "Questo è il tuo punteggio. Forza con il  record", .pointer = Pointer::Inherited,
     .fitArea = QRect(12, 259, 160, 76), .titledBy = "Label6"},
    {CONTROL(lblMessage), .kind = ControlKind::Label, .caption = "io",
     .left = 6720, .top = 840, .width = 705, .height = 555, .tabIndex = 4,
     .font = FontSpec{"MS Sans Serif", 24, true, true}, .foreColour = red, .backColour = 0x00FFFF00,
     .centred = true, .outlined = true, .pointer = Pointer::Icon,
     .fitArea = QRect(292, 2, 394, 100), .wrap = true, .accessibleDescription = "Il verdetto",
     .announced = true},
    {CONTROL(Label6), .kind = ControlKind::Label, .caption = "Risposte esatte",
     .left = 240, .top = 3360, .width = 2565, .height = 495, .tabIndex = 9, .font = sans18,
     .foreColour = 0x0000C000, .backColour = 0x00E0E0E0, .border = true, .centred = true,
     .pointer = Pointer::Inherited},
}};

constexpr std::array<MenuSpec, 6> menus{{
    {.name = "INFOMAZIONI", .caption = "INFORMAZIONI", .isMenu = true},
    {.name = "Ciao", .caption = "Lumetrava - Squadra Vorlandi - Scuola primaria Arcobaleno",
     .parent = "INFOMAZIONI", .isMenu = true},
    {.name = "Tmer", .caption = "squadra@vorlandi.example", .parent = "Ciao"},
    {.name = "copy", .caption = "COPYRIGHT", .isMenu = true},
    {.name = "don", .caption = "Scritto dalla squadra Vorlandi - programma freeware",
     .parent = "copy"},
    {CONTROL(Next), .caption = "NUOVO GIOCO"},
}};
// clang-format on

#undef CONTROL

// The builder makes each kind of control as one widget class; its slot must hold that class.
constexpr bool slotMatchesKind(const ControlSpec &entry)
{
    switch (entry.kind) {
    case ControlKind::PictureBox:
    case ControlKind::Image:
        return std::holds_alternative<Slot<QLabel>>(entry.slot);
    case ControlKind::Timer:
        return std::holds_alternative<Slot<QTimer>>(entry.slot);
    case ControlKind::StatusBar:
        return std::holds_alternative<Slot<PanelStatusBar>>(entry.slot);
    case ControlKind::CommandButton:
        return std::holds_alternative<Slot<QPushButton>>(entry.slot);
    case ControlKind::TextBox:
        return std::holds_alternative<Slot<QLineEdit>>(entry.slot);
    case ControlKind::Frame:
        return std::holds_alternative<Slot<QWidget>>(entry.slot);
    case ControlKind::Label:
        return std::holds_alternative<Slot<FittingLabel>>(entry.slot);
    }
    return false;
}
static_assert(std::ranges::all_of(description, slotMatchesKind));

// Every handle in Controls is filled: no two entries share a slot, and there are as many slots
// as Controls has members.
constexpr bool slotsDistinct()
{
    for (std::size_t i = 0; i < description.size(); ++i)
        for (std::size_t j = i + 1; j < description.size(); ++j)
            if (description[i].slot == description[j].slot)
                return false;
    return true;
}
static_assert(slotsDistinct());
static_assert(sizeof(Controls) ==
              (description.size() +
               std::ranges::count_if(menus, [](const MenuSpec &m) { return m.slot != nullptr; })) *
                  sizeof(void *));

} // namespace

const std::array<ControlSpec, 22> &controlDescription()
{
    return description;
}

const ControlSpec *controlEntry(std::string_view name)
{
    const auto found = std::ranges::find(description, name, &ControlSpec::name);
    return found == description.end() ? nullptr : &*found;
}

const std::array<MenuSpec, 6> &menuDescription()
{
    return menus;
}
