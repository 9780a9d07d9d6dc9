// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "platform/palette.h"

// Every control of the window with its kind, container, caption and design settings.
// Positions and sizes come from the layout pass (layout_tables.h).
namespace wexal::controls {

enum class Kind { Label, Button, Frame, TextBox, CheckBox, OptionButton, PictureBox, Image, Shape };

enum class Align { Left, Centre, Right };

struct Font {
    const char* family = nullptr;  // nullptr: the window's default font
    double points = 0;
    bool italic = false;
};

inline constexpr Font kDefaultFont{};
inline constexpr const char* kSans = "MS Sans Serif";
inline constexpr const char* kSerif = "Times New Roman";
inline constexpr Font kWindowFont{kSans, 8.25};  // the window's own, for controls without one

// How a shape is drawn: fill, border colour and width in pixels.
struct ShapeStyle {
    Rgb fill{};
    std::optional<Rgb> border{};  // unset: window text colour
    int borderWidth = 1;
    bool rounded = false;
    bool activeBorder = false;  // border in the system's active-border colour
};

struct Control {
    const char* name;
    Kind kind;
    const char* container;  // "Wexal" for the window itself
    const char* caption = "";
    Font font = kDefaultFont;
    std::optional<Rgb> background{};
    Align align = Align::Left;
    std::optional<ShapeStyle> shape{};
};

inline constexpr Rgb kBlockRed{128, 0, 0};
inline constexpr Rgb kBankRed{255, 0, 0};

inline constexpr std::array<Control, 57> kTree = {{
    {"Label6", Kind::Label, "Wexal", "Wexalversuche", {kSerif, 36, true}},
    {"Command1", Kind::Button, "Wexal", "Information", {kSans, 9.75}},
    {"Frame1", Kind::Frame, "Wexal", ""},
    {"Frame5", Kind::Frame, "Wexal", "Statistik", {kSans, 12}},
    {"Label1", Kind::Label, "Frame5", "Wexalversuche", {kSans, 12}},
    {"Text2", Kind::TextBox, "Frame5", "0", {kSans, 13.5}, kStatsGreen, Align::Right},
    {"Label2", Kind::Label, "Frame5", "gelungen", {kSans, 12}},
    {"Text3", Kind::TextBox, "Frame5", "0", {kSans, 13.5}, {}, Align::Right},
    {"Text4", Kind::TextBox, "Frame5", "0", {kSans, 13.5}, {}, Align::Right},
    {"Label4", Kind::Label, "Frame5", "%", {kSans, 13.5}},
    {"Label3", Kind::Label, "Frame5", "mißglückt", {kSans, 12}},
    {"Text5", Kind::TextBox, "Frame5", "0", {kSans, 13.5}, {}, Align::Right},
    {"Text6", Kind::TextBox, "Frame5", "0", {kSans, 13.5}, {}, Align::Right},
    {"Label5", Kind::Label, "Frame5", "%", {kSans, 13.5}},
    {"Label8", Kind::Label, "Frame1",
     "Durch Anklicken der Auswahlfelder kann man die Lichtschranken ein- und ausschalten",
     {kSans, 9.75}, {}, Align::Centre},
    {"Image1", Kind::Image, "Frame1"},
    {"picBox", Kind::PictureBox, "Frame1", "", kDefaultFont, Rgb{224, 224, 224}},
    {"Text1(0)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(1)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(2)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(3)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(4)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(5)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(6)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Text1(7)", Kind::TextBox, "Frame1", "0", {kSerif, 15.75}, {}, Align::Centre},
    {"Check1(1)", Kind::CheckBox, "Frame1", "", kDefaultFont, kBlockRed},
    {"Check1(4)", Kind::CheckBox, "Frame1", "", kDefaultFont, kBlockRed},
    {"Check1(5)", Kind::CheckBox, "Frame1", "", kDefaultFont, kBlockRed},
    {"Check1(6)", Kind::CheckBox, "Frame1", "", kDefaultFont, kBlockRed},
    {"Check1(7)", Kind::CheckBox, "Frame1", "", kDefaultFont, kBlockRed},
    {"Frame2", Kind::Frame, "Frame1", "Simulation", {kSans, 12}},
    {"Label7", Kind::Label, "Frame2", "Hin-und-her möglich", {kSans, 9.75}},
    {"Option1", Kind::OptionButton, "Frame2", "ja"},
    {"Option2", Kind::OptionButton, "Frame2", "nein"},
    {"cmdEinzel", Kind::Button, "Frame2", "&Einzelschritt", {kSans, 9.75}},
    {"cmdGanze", Kind::Button, "Frame2", "ganze &Wexal", {kSans, 9.75}},
    {"cmdNeustart", Kind::Button, "Frame2", "&Neustart", {kSans, 9.75}},
    {"cmd100", Kind::Button, "Frame2", "&50 Wexalen", {kSans, 9.75}},
    {"cmdEnde", Kind::Button, "Frame2", "&Ende", {kSans, 9.75}},
    {"Frame4", Kind::Frame, "Frame1", "Anzeige", {kSans, 9.75}},
    {"cmdCLZähler", Kind::Button, "Frame4", "&Zähler löschen", {kSans, 9.75}},
    {"cmdCLSpuren", Kind::Button, "Frame4", "&Spuren löschen", {kSans, 9.75}},
    {"Label9", Kind::Label, "picBox", " Bank", {kSans, 13.5}, kBankRed},
    {"imgBrammler", Kind::Image, "picBox"},
    {"Check1(0)", Kind::CheckBox, "picBox", "", kDefaultFont, kBlockRed},
    {"Check1(2)", Kind::CheckBox, "picBox", "", kDefaultFont, kBlockRed},
    {"Check1(3)", Kind::CheckBox, "picBox", "", kDefaultFont, kBlockRed},
    {"Shape1", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left, ShapeStyle{kBlockRed}},
    {"Shape3", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left,
     ShapeStyle{kBlockRed, Rgb{128, 128, 255}, 3, true}},
    {"Shape4", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left, ShapeStyle{kBlockRed}},
    {"Shape5", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left,
     ShapeStyle{kBlockRed, Rgb{0, 0, 192}, 5, true}},
    {"Shape6", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left, ShapeStyle{kBlockRed}},
    {"Shape7", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left,
     ShapeStyle{kBlockRed, Rgb{0, 0, 255}, 5}},
    {"Shape8", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left, ShapeStyle{kBlockRed}},
    {"Shape9", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left, ShapeStyle{kBlockRed}},
    {"Shape10", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left,
     ShapeStyle{Rgb{0, 255, 255}}},
    {"Shape11", Kind::Shape, "picBox", "", kDefaultFont, {}, Align::Left,
     ShapeStyle{Rgb{224, 224, 224}, {}, 1, false, true}},
}};

// Which controls lie above which inside each container, topmost first. Controls with a window
// of their own (everything but labels, images, shapes and lines) always lie above the others.
inline constexpr std::size_t kStackRowRoom = 26;  // picBox, the fullest container, has 23

struct StackRow {
    const char* container;
    std::array<const char*, kStackRowRoom> topFirst;  // unused tail entries are nullptr
};

inline constexpr std::array<StackRow, 6> kStacking = {{
    {"Wexal", {"Command1", "Frame5", "Frame1", "Label6"}},
    {"Frame5", {"Text6", "Text4", "Text5", "Text3", "Text2", "Label5", "Label4", "Label3", "Label2", "Label1"}},
    {"Frame1", {"Check1(7)", "Check1(6)", "Check1(5)", "Check1(4)", "Check1(1)", "Frame4", "Frame2",
                "Text1(7)", "Text1(5)", "picBox", "Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)",
                "Text1(4)", "Text1(6)", "Image1", "Label8"}},
    {"Frame4", {"cmdCLSpuren", "cmdCLZähler"}},
    {"Frame2", {"Option2", "Option1", "cmdEnde", "cmd100", "cmdEinzel", "cmdNeustart", "cmdGanze", "Label7"}},
    {"picBox", {"Check1(3)", "Check1(2)", "Check1(0)", "Label9", "imgBrammler", "Shape11", "Shape10",
                "Shape1", "Shape3", "Shape4", "Shape5", "Shape6", "Shape7", "Shape8", "Shape9",
                "Line1(0)", "Line1(1)", "Line1(2)", "Line1(3)", "Line1(4)", "Line1(5)", "Line1(6)",
                "Line1(7)"}},
}};

// The keyboard's way through the window. The option group is one stop: its selected button.
inline constexpr std::array<const char*, 32> kTabOrder = {
    "cmdEinzel", "Text1(6)", "Text1(4)", "Text1(3)", "Text1(2)", "Text1(1)", "Text1(0)",
    "picBox", "Text1(5)", "Text1(7)", "cmdGanze", "cmdNeustart", "cmd100", "cmdEnde",
    "cmdCLZähler", "cmdCLSpuren", "Check1(0)", "Check1(1)", "Check1(2)", "Check1(3)",
    "Check1(4)", "Check1(5)", "Check1(6)", "Check1(7)", "Text2", "Text3", "Text5", "Text4",
    "Text6", "Option1", "Option2", "Command1",
};

}  // namespace wexal::controls
