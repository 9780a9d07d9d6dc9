// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/palette.h"

// The window and every control on it, each described once: kind, container, object name,
// caption, font, colours, design place, stacking, tab stop, accessible name and handler. Code
// reaches a control through its Id; the checks at the end of this file hold the rows to what
// the window needs of them, so a slip fails the build.
namespace wexal::controls {

enum class Kind { Window, Label, Button, Frame, TextBox, CheckBox, OptionButton, PictureBox, Image, Shape, Line };

// One per row, in the rows' order: a container comes before what it holds. The elements of a
// control array follow each other by index.
enum class Id {
    Wexal,
    Label6, Command1, Frame1, Frame5,
    Label1, Text2, Label2, Text3, Text4, Label4, Label3, Text5, Text6, Label5,
    Label8, Image1, picBox,
    Text1_0, Text1_1, Text1_2, Text1_3, Text1_4, Text1_5, Text1_6, Text1_7,
    Check1_0, Check1_1, Check1_2, Check1_3, Check1_4, Check1_5, Check1_6, Check1_7,
    Frame2, Label7, Option1, Option2, cmdEinzel, cmdGanze, cmdNeustart, cmd100, cmdEnde,
    Frame4, cmdCLZaehler, cmdCLSpuren,
    Label9, imgBrammler,
    Shape1, Shape3, Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10, Shape11,
    Line1_0, Line1_1, Line1_2, Line1_3, Line1_4, Line1_5, Line1_6, Line1_7,
};
inline constexpr std::size_t kCount = static_cast<std::size_t>(Id::Line1_7) + 1;

// The window's handlers of the controls' clicks. Check1_Click takes the element's index.
enum class Handler {
    None,
    cmdEinzel_Click, cmdGanze_Click, cmd100_Click, cmdNeustart_Click, cmdCLSpuren_Click,
    cmdCLZaehler_Click, Command1_Click, cmdEnde_Click, Check1_Click, Option_Click,
};

enum class Align { Left, Centre, Right };

struct Font {
    const char* family = nullptr;  // nullptr: the window's own font
    double points = 0;
    bool italic = false;
};

inline constexpr const char* kSans = "MS Sans Serif";
inline constexpr const char* kSerif = "Times New Roman";

// How a shape is drawn: fill, border colour and width in pixels.
struct ShapeStyle {
    Rgb fill{};
    std::optional<Rgb> border{};  // unset: window text colour
    int borderWidth = 1;
    bool rounded = false;
    bool activeBorder = false;  // border in the system's active-border colour
};

// A line figure: colour and width in pixels.
struct LineStyle {
    Rgb colour{};
    int width = 1;
};

// Where a control stands on the design screen of 12288 x 9216 units (1/1440 inch), relative
// to its container. Left, width and font size scale with the screen's width, top and height
// with its height. The window's own row gives its inside at start, which nothing scales.
struct Place {
    double left = 0;
    double top = 0;
    std::optional<double> width{};     // unset: the control keeps its own (Image1)
    std::optional<double> height{};
    std::optional<double> fontSize{};  // points; unset: the design font's size stays
    bool scaled = true;                // Image1 stands at the same place on every screen
};
// A line's ends in its container: x scales with the width, y with the height, each end set
// exactly as given (so a line may run right to left or bottom to top).
struct Ends {
    double x1, y1, x2, y2;
};

inline constexpr int kNoTab = -1;

struct Control {
    Id id;
    const char* name;  // the object name
    Kind kind;
    Id parent;  // the window's own row names the window
    const char* caption = "";
    Font font{};
    std::optional<Rgb> background{};
    Align align = Align::Left;
    std::optional<ShapeStyle> shape{};
    std::optional<LineStyle> line{};
    const char* picture = nullptr;  // a resource; stretched to the control's size if it has one
    std::variant<Place, Ends> design{};
    int stack = 0;      // in its container, 0 the topmost
    int tab = kNoTab;   // its stop on the keyboard's way, 0 the first
    const char* accessibleName = nullptr;  // unset: the caption, or the narrator names it
    Handler handler = Handler::None;
};

inline constexpr Rgb kBlockRed{128, 0, 0};
inline constexpr Rgb kBankRed{255, 0, 0};
inline constexpr Rgb kMapGrey{224, 224, 224};
inline constexpr Font kCounterFont{kSerif, 15.75};
inline constexpr Font kStatisticsFont{kSans, 13.5};
inline constexpr Font kButtonFont{kSans, 9.75};
inline constexpr ShapeStyle kBlock{kBlockRed};
inline constexpr LineStyle kMark{paletteColor(palette::kYellow), 8};

// Where each trace line starts and ends relative to its nodes' places, in map units: the
// same for all four coordinates and not scaled.
inline constexpr float kTraceOffset = 187;

// clang-format off
inline constexpr std::array<Control, kCount> kTable = {{
    // The title has no "B": the design gives it exactly so.
    {.id = Id::Wexal, .name = "Wexal", .kind = Kind::Window, .parent = Id::Wexal, .caption = "ankraub in Tremmelin",
     .font = {kSans, 8.25}, .picture = ":/icon.ico", .design = Place{0, 0, 8265, 7065, {}, false}},
    {.id = Id::Label6, .name = "Label6", .kind = Kind::Label, .parent = Id::Wexal, .caption = "Wexalversuche",
     .font = {kSerif, 36, true}, .design = Place{960, 360, 9572, 972, 36}, .stack = 3},
    {.id = Id::Command1, .name = "Command1", .kind = Kind::Button, .parent = Id::Wexal, .caption = "Information",
     .font = kButtonFont, .design = Place{9720, 480, 1572, 612}, .stack = 0, .tab = 31,
     .handler = Handler::Command1_Click},
    {.id = Id::Frame1, .name = "Frame1", .kind = Kind::Frame, .parent = Id::Wexal,
     .design = Place{960, 1200, 10455, 5900}, .stack = 2},
    {.id = Id::Frame5, .name = "Frame5", .kind = Kind::Frame, .parent = Id::Wexal, .caption = "Statistik",
     .font = {kSans, 12}, .design = Place{960, 7200, 10455, 1212}, .stack = 1},

    // Frame5: the statistics row
    {.id = Id::Label1, .name = "Label1", .kind = Kind::Label, .parent = Id::Frame5, .caption = "Wexalversuche",
     .font = {kSans, 12}, .design = Place{240, 600, 1692, 492, 12}, .stack = 9},
    {.id = Id::Text2, .name = "Text2", .kind = Kind::TextBox, .parent = Id::Frame5, .caption = "0",
     .font = kStatisticsFont, .background = kStatsGreen, .align = Align::Right,
     .design = Place{1920, 480, 852, 444}, .stack = 4, .tab = 24, .accessibleName = "Wexalversuche"},
    {.id = Id::Label2, .name = "Label2", .kind = Kind::Label, .parent = Id::Frame5, .caption = "gelungen",
     .font = {kSans, 12}, .design = Place{3120, 600, 972, 492, 12}, .stack = 8},
    {.id = Id::Text3, .name = "Text3", .kind = Kind::TextBox, .parent = Id::Frame5, .caption = "0",
     .font = kStatisticsFont, .align = Align::Right,
     .design = Place{4200, 480, 852, 420}, .stack = 3, .tab = 25, .accessibleName = "gelungen"},
    {.id = Id::Text4, .name = "Text4", .kind = Kind::TextBox, .parent = Id::Frame5, .caption = "0",
     .font = kStatisticsFont, .align = Align::Right,
     .design = Place{5160, 480, 852, 444}, .stack = 1, .tab = 27, .accessibleName = "gelungen in Prozent"},
    {.id = Id::Label4, .name = "Label4", .kind = Kind::Label, .parent = Id::Frame5, .caption = "%",
     .font = kStatisticsFont, .design = Place{6120, 480, 372, 372}, .stack = 6},
    {.id = Id::Label3, .name = "Label3", .kind = Kind::Label, .parent = Id::Frame5, .caption = "mißglückt",
     .font = {kSans, 12}, .design = Place{6840, 600, 1332, 492, 12}, .stack = 7},
    {.id = Id::Text5, .name = "Text5", .kind = Kind::TextBox, .parent = Id::Frame5, .caption = "0",
     .font = kStatisticsFont, .background = paletteColor(palette::kYellow), .align = Align::Right,
     .design = Place{8040, 480, 852, 444}, .stack = 2, .tab = 26, .accessibleName = "mißglückt"},
    {.id = Id::Text6, .name = "Text6", .kind = Kind::TextBox, .parent = Id::Frame5, .caption = "0",
     .font = kStatisticsFont, .background = paletteColor(palette::kYellow), .align = Align::Right,
     .design = Place{9000, 480, 852, 468}, .stack = 0, .tab = 28, .accessibleName = "mißglückt in Prozent"},
    {.id = Id::Label5, .name = "Label5", .kind = Kind::Label, .parent = Id::Frame5, .caption = "%",
     .font = kStatisticsFont, .design = Place{9960, 480, 372, 372}, .stack = 5},

    // Frame1: the map frame
    {.id = Id::Label8, .name = "Label8", .kind = Kind::Label, .parent = Id::Frame1,
     .caption = "Durch Anklicken der Auswahlfelder kann man die Lichtschranken ein- und ausschalten",
     .font = {kSans, 9.75}, .align = Align::Centre, .design = Place{120, 240, 10092, 852, 10}, .stack = 17},
    {.id = Id::Image1, .name = "Image1", .kind = Kind::Image, .parent = Id::Frame1, .picture = ":/policeman.bmp",
     .design = Place{0, 200, {}, {}, {}, false}, .stack = 16},
    {.id = Id::picBox, .name = "picBox", .kind = Kind::PictureBox, .parent = Id::Frame1, .background = kMapGrey,
     .design = Place{840, 1200, 4575, 4095}, .stack = 9, .tab = 7, .accessibleName = "Karte"},
    {.id = Id::Text1_0, .name = "Text1(0)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{1320, 720, 735, 435}, .stack = 10, .tab = 6},
    {.id = Id::Text1_1, .name = "Text1(1)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{4080, 720, 735, 420}, .stack = 11, .tab = 5},
    {.id = Id::Text1_2, .name = "Text1(2)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{120, 2280, 735, 435}, .stack = 12, .tab = 4},
    {.id = Id::Text1_3, .name = "Text1(3)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{5400, 2280, 735, 435}, .stack = 13, .tab = 3},
    {.id = Id::Text1_4, .name = "Text1(4)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{1320, 5280, 735, 435}, .stack = 14, .tab = 2},
    {.id = Id::Text1_5, .name = "Text1(5)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{2640, 4200, 735, 435}, .stack = 8, .tab = 8},
    {.id = Id::Text1_6, .name = "Text1(6)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{5400, 3720, 735, 435}, .stack = 15, .tab = 1},
    {.id = Id::Text1_7, .name = "Text1(7)", .kind = Kind::TextBox, .parent = Id::Frame1, .caption = "0",
     .font = kCounterFont, .align = Align::Centre, .design = Place{4080, 5280, 735, 435}, .stack = 7, .tab = 9},
    // The light-barrier switches: 0, 2 and 3 lie on the map, the others on the map frame.
    {.id = Id::Check1_0, .name = "Check1(0)", .kind = Kind::CheckBox, .parent = Id::picBox, .background = kBlockRed,
     .design = Place{120, 240, 255, 255}, .stack = 2, .tab = 16, .handler = Handler::Check1_Click},
    {.id = Id::Check1_1, .name = "Check1(1)", .kind = Kind::CheckBox, .parent = Id::Frame1, .background = kBlockRed,
     .design = Place{3840, 1320, 255, 255}, .stack = 4, .tab = 17, .handler = Handler::Check1_Click},
    {.id = Id::Check1_2, .name = "Check1(2)", .kind = Kind::CheckBox, .parent = Id::picBox, .background = kBlockRed,
     .design = Place{120, 600, 255, 255}, .stack = 1, .tab = 18, .handler = Handler::Check1_Click},
    {.id = Id::Check1_3, .name = "Check1(3)", .kind = Kind::CheckBox, .parent = Id::picBox, .background = kBlockRed,
     .design = Place{4080, 720, 255, 255}, .stack = 0, .tab = 19, .handler = Handler::Check1_Click},
    {.id = Id::Check1_4, .name = "Check1(4)", .kind = Kind::CheckBox, .parent = Id::Frame1, .background = kBlockRed,
     .design = Place{1080, 4680, 255, 255}, .stack = 3, .tab = 20, .handler = Handler::Check1_Click},
    {.id = Id::Check1_5, .name = "Check1(5)", .kind = Kind::CheckBox, .parent = Id::Frame1, .background = kBlockRed,
     .design = Place{3000, 3240, 255, 255}, .stack = 2, .tab = 21, .handler = Handler::Check1_Click},
    {.id = Id::Check1_6, .name = "Check1(6)", .kind = Kind::CheckBox, .parent = Id::Frame1, .background = kBlockRed,
     .design = Place{4800, 3360, 255, 255}, .stack = 1, .tab = 22, .handler = Handler::Check1_Click},
    {.id = Id::Check1_7, .name = "Check1(7)", .kind = Kind::CheckBox, .parent = Id::Frame1, .background = kBlockRed,
     .design = Place{3840, 4800, 255, 255}, .stack = 0, .tab = 23, .handler = Handler::Check1_Click},

    // Frame2: the simulation commands
    {.id = Id::Frame2, .name = "Frame2", .kind = Kind::Frame, .parent = Id::Frame1, .caption = "Simulation",
     .font = {kSans, 12}, .design = Place{6480, 840, 3612, 3012}, .stack = 6},
    {.id = Id::Label7, .name = "Label7", .kind = Kind::Label, .parent = Id::Frame2, .caption = "Hin-und-her möglich",
     .font = {kSans, 9.75}, .design = Place{240, 480, 1572, 612, 12}, .stack = 7},
    {.id = Id::Option1, .name = "Option1", .kind = Kind::OptionButton, .parent = Id::Frame2, .caption = "ja",
     .design = Place{1920, 480, 615, 255}, .stack = 1, .tab = 29, .accessibleName = "Hin-und-her möglich: ja",
     .handler = Handler::Option_Click},
    {.id = Id::Option2, .name = "Option2", .kind = Kind::OptionButton, .parent = Id::Frame2, .caption = "nein",
     .design = Place{1920, 720, 855, 255}, .stack = 0, .tab = 30, .accessibleName = "Hin-und-her möglich: nein",
     .handler = Handler::Option_Click},
    {.id = Id::cmdEinzel, .name = "cmdEinzel", .kind = Kind::Button, .parent = Id::Frame2, .caption = "&Einzelschritt",
     .font = kButtonFont, .design = Place{240, 1200, 1572, 495, 10}, .stack = 4, .tab = 0,
     .handler = Handler::cmdEinzel_Click},
    {.id = Id::cmdGanze, .name = "cmdGanze", .kind = Kind::Button, .parent = Id::Frame2, .caption = "ganze &Wexal",
     .font = kButtonFont, .design = Place{1920, 1200, 1572, 495, 10}, .stack = 6, .tab = 10,
     .handler = Handler::cmdGanze_Click},
    {.id = Id::cmdNeustart, .name = "cmdNeustart", .kind = Kind::Button, .parent = Id::Frame2, .caption = "&Neustart",
     .font = kButtonFont, .design = Place{240, 1800, 3252, 495, 10}, .stack = 5, .tab = 11,
     .handler = Handler::cmdNeustart_Click},
    {.id = Id::cmd100, .name = "cmd100", .kind = Kind::Button, .parent = Id::Frame2, .caption = "&50 Wexalen",
     .font = kButtonFont, .design = Place{240, 2400, 1572, 495, 10}, .stack = 3, .tab = 12,
     .handler = Handler::cmd100_Click},
    {.id = Id::cmdEnde, .name = "cmdEnde", .kind = Kind::Button, .parent = Id::Frame2, .caption = "&Ende",
     .font = kButtonFont, .design = Place{1920, 2400, 1572, 495, 10}, .stack = 2, .tab = 13,
     .handler = Handler::cmdEnde_Click},

    // Frame4: the display commands
    {.id = Id::Frame4, .name = "Frame4", .kind = Kind::Frame, .parent = Id::Frame1, .caption = "Anzeige",
     .font = {kSans, 9.75}, .design = Place{6480, 4440, 3612, 1095}, .stack = 5},
    {.id = Id::cmdCLZaehler, .name = "cmdCLZähler", .kind = Kind::Button, .parent = Id::Frame4,
     .caption = "&Zähler löschen", .font = kButtonFont, .design = Place{240, 360, 1572, 495, 10}, .stack = 1,
     .tab = 14, .handler = Handler::cmdCLZaehler_Click},
    {.id = Id::cmdCLSpuren, .name = "cmdCLSpuren", .kind = Kind::Button, .parent = Id::Frame4,
     .caption = "&Spuren löschen", .font = kButtonFont, .design = Place{1920, 360, 1572, 495, 10}, .stack = 0,
     .tab = 15, .handler = Handler::cmdCLSpuren_Click},

    // picBox: the map, its blocks and the barrier marks
    {.id = Id::Label9, .name = "Label9", .kind = Kind::Label, .parent = Id::picBox, .caption = " Bank",
     .font = kStatisticsFont, .background = kBankRed, .design = Place{1800, 480, 852, 372}, .stack = 3},
    {.id = Id::imgBrammler, .name = "imgBrammler", .kind = Kind::Image, .parent = Id::picBox,
     .picture = ":/robber.jpg", .design = Place{1920, 840, 540, 612}, .stack = 4},
    {.id = Id::Shape1, .name = "Shape1", .kind = Kind::Shape, .parent = Id::picBox, .shape = kBlock,
     .design = Place{1200, 0, 2055, 855}, .stack = 7},
    {.id = Id::Shape3, .name = "Shape3", .kind = Kind::Shape, .parent = Id::picBox,
     .shape = ShapeStyle{kBlockRed, Rgb{128, 128, 255}, 3, true}, .design = Place{1200, 1560, 2055, 855}, .stack = 8},
    {.id = Id::Shape4, .name = "Shape4", .kind = Kind::Shape, .parent = Id::picBox, .shape = kBlock,
     .design = Place{1200, 3000, 2055, 855}, .stack = 9},
    {.id = Id::Shape5, .name = "Shape5", .kind = Kind::Shape, .parent = Id::picBox,
     .shape = ShapeStyle{kBlockRed, Rgb{0, 0, 192}, 5, true}, .design = Place{0, 1560, 495, 2295}, .stack = 10},
    {.id = Id::Shape6, .name = "Shape6", .kind = Kind::Shape, .parent = Id::picBox, .shape = kBlock,
     .design = Place{0, 120, 495, 855}, .stack = 11},
    {.id = Id::Shape7, .name = "Shape7", .kind = Kind::Shape, .parent = Id::picBox,
     .shape = ShapeStyle{kBlockRed, Rgb{0, 0, 255}, 5}, .design = Place{3840, 1560, 495, 855}, .stack = 12},
    {.id = Id::Shape8, .name = "Shape8", .kind = Kind::Shape, .parent = Id::picBox, .shape = kBlock,
     .design = Place{3840, 120, 495, 855}, .stack = 13},
    {.id = Id::Shape9, .name = "Shape9", .kind = Kind::Shape, .parent = Id::picBox, .shape = kBlock,
     .design = Place{3840, 3000, 495, 855}, .stack = 14},
    {.id = Id::Shape10, .name = "Shape10", .kind = Kind::Shape, .parent = Id::picBox,
     .shape = ShapeStyle{Rgb{0, 255, 255}}, .design = Place{3960, 3120, 255, 619}, .stack = 6},
    {.id = Id::Shape11, .name = "Shape11", .kind = Kind::Shape, .parent = Id::picBox,
     .shape = ShapeStyle{kMapGrey, {}, 1, false, true}, .design = Place{3960, 120, 372, 372}, .stack = 5},
    {.id = Id::Line1_0, .name = "Line1(0)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{480, 240, 1320, 240}, .stack = 15},
    {.id = Id::Line1_1, .name = "Line1(1)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{3240, 240, 3840, 240}, .stack = 16},
    {.id = Id::Line1_2, .name = "Line1(2)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{240, 960, 240, 1560}, .stack = 17},
    {.id = Id::Line1_3, .name = "Line1(3)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{4080, 960, 4080, 1560}, .stack = 18},
    {.id = Id::Line1_4, .name = "Line1(4)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{1200, 3720, 480, 3720}, .stack = 19},
    {.id = Id::Line1_5, .name = "Line1(5)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{2160, 3000, 2160, 2400}, .stack = 20},
    {.id = Id::Line1_6, .name = "Line1(6)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{4080, 2280, 4080, 3000}, .stack = 21},
    {.id = Id::Line1_7, .name = "Line1(7)", .kind = Kind::Line, .parent = Id::picBox, .line = kMark,
     .design = Ends{3240, 3720, 3840, 3720}, .stack = 22},
}};
// clang-format on

constexpr std::size_t indexOf(Id id) { return static_cast<std::size_t>(id); }
constexpr const Control& row(Id id) { return kTable[indexOf(id)]; }

// The elements of the arrays Text1 (counter boxes), Check1 (switches) and Line1 (marks): index
// i names light barrier i in all three.
constexpr Id text1(int i) { return static_cast<Id>(static_cast<int>(Id::Text1_0) + i); }
constexpr Id check1(int i) { return static_cast<Id>(static_cast<int>(Id::Check1_0) + i); }
constexpr Id line1(int i) { return static_cast<Id>(static_cast<int>(Id::Line1_0) + i); }
inline constexpr int kArrayLength = 8;

// The element's index in its array; 0 for a control of its own.
constexpr int arrayIndex(Id id) {
    for (Id first : {Id::Text1_0, Id::Check1_0, Id::Line1_0}) {
        const int i = static_cast<int>(id) - static_cast<int>(first);
        if (i >= 0 && i < kArrayLength) return i;
    }
    return 0;
}

constexpr bool isContainer(Kind kind) {
    return kind == Kind::Window || kind == Kind::Frame || kind == Kind::PictureBox;
}
// What the keyboard can reach: every control with a window of its own but the frames.
constexpr bool takesFocus(Kind kind) {
    return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::CheckBox ||
           kind == Kind::OptionButton || kind == Kind::PictureBox;
}
// Controls with a window of their own lie above labels, images, shapes and lines.
constexpr bool hasOwnWindow(Kind kind) {
    return kind != Kind::Label && kind != Kind::Image && kind != Kind::Shape && kind != Kind::Line;
}
// What a click reaches a handler through.
constexpr bool isClickable(Kind kind) {
    return kind == Kind::Button || kind == Kind::CheckBox || kind == Kind::OptionButton;
}

// The keyboard's way through the window, from the rows' tab stops.
inline constexpr int kTabStops = [] {
    int stops = 0;
    for (const Control& c : kTable) stops += c.tab != kNoTab ? 1 : 0;
    return stops;
}();
inline constexpr std::array<Id, kTabStops> kTabOrder = [] {
    std::array<Id, kTabStops> order{};
    for (const Control& c : kTable) {
        if (c.tab >= 0 && c.tab < kTabStops) order[static_cast<std::size_t>(c.tab)] = c.id;
    }
    return order;
}();

// The checks that make a slip in a row a compile error.
static_assert([] {
    for (std::size_t i = 0; i < kCount; ++i) {
        const Control& c = kTable[i];
        if (indexOf(c.id) != i) return false;  // a row out of the Ids' order
        const Control& parent = row(c.parent);
        if (i > 0 && (indexOf(c.parent) >= i || !isContainer(parent.kind))) return false;
        if ((c.kind == Kind::Line) != std::holds_alternative<Ends>(c.design)) return false;
        if ((c.handler != Handler::None) != isClickable(c.kind)) return false;
        if ((c.kind == Kind::CheckBox) != (c.handler == Handler::Check1_Click)) return false;
    }
    return row(Id::Wexal).kind == Kind::Window;
}(), "every row in its Id's place, inside a container that comes before it, with a handler if clickable");

static_assert([] {
    for (std::size_t i = 0; i < kCount; ++i) {
        for (std::size_t j = i + 1; j < kCount; ++j) {
            if (std::string_view(kTable[i].name) == kTable[j].name) return false;
        }
    }
    return true;
}(), "every object name once");

static_assert([] {
    std::array<int, kCount> seen{};
    for (const Control& c : kTable) {
        if ((c.tab != kNoTab) != takesFocus(c.kind)) return false;
        if (c.tab != kNoTab && seen[static_cast<std::size_t>(c.tab)]++ != 0) return false;
    }
    return true;
}(), "every control the keyboard reaches has one tab stop of its own, and no other control has one");

static_assert([] {
    for (const Control& container : kTable) {
        if (!isContainer(container.kind)) continue;
        std::array<int, kCount> seen{};
        int held = 0;
        for (const Control& c : kTable) {
            if (c.parent != container.id || c.id == Id::Wexal) continue;
            ++held;
            if (c.stack < 0 || static_cast<std::size_t>(c.stack) >= kCount || seen[static_cast<std::size_t>(c.stack)]++ != 0) return false;
        }
        for (int s = 0; s < held; ++s) {
            if (seen[static_cast<std::size_t>(s)] != 1) return false;
        }
    }
    return true;
}(), "in each container the stacking numbers its controls 0, 1, 2, ... from the top");

}  // namespace wexal::controls
