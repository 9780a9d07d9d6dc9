// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

// Where every control of the window stands on the design screen of 12288 x 9216 units
// (1/1440 inch), relative to its container. Left, width and font size scale with the
// screen's width, top and height with its height.
namespace wexal::layout {

struct ControlRow {
    const char* name;
    double left;
    double top;
    std::optional<double> width;     // unset: the control keeps its own (Image1)
    std::optional<double> height;
    std::optional<double> fontSize;  // points; unset: the design font size stays
    bool scaled = true;              // Image1 stands at the same place on every screen
};

inline constexpr std::optional<double> kKeep{};

inline constexpr std::array<ControlRow, 57> kControls = {{
    {"Command1", 9720, 480, 1572, 612, kKeep},
    {"Frame1", 960, 1200, 10455, 5900, kKeep},
    {"Frame5", 960, 7200, 10455, 1212, kKeep},
    {"Label6", 960, 360, 9572, 972, 36},
    // Frame5: the statistics row
    {"Label1", 240, 600, 1692, 492, 12},
    {"Label2", 3120, 600, 972, 492, 12},
    {"Label3", 6840, 600, 1332, 492, 12},
    {"Label4", 6120, 480, 372, 372, kKeep},
    {"Label5", 9960, 480, 372, 372, kKeep},
    {"Text2", 1920, 480, 852, 444, kKeep},
    {"Text3", 4200, 480, 852, 420, kKeep},
    {"Text4", 5160, 480, 852, 444, kKeep},
    {"Text5", 8040, 480, 852, 444, kKeep},
    {"Text6", 9000, 480, 852, 468, kKeep},
    // Frame1: the map frame
    {"Check1(1)", 3840, 1320, 255, 255, kKeep},
    {"Check1(4)", 1080, 4680, 255, 255, kKeep},
    {"Check1(5)", 3000, 3240, 255, 255, kKeep},
    {"Check1(6)", 4800, 3360, 255, 255, kKeep},
    {"Check1(7)", 3840, 4800, 255, 255, kKeep},
    {"Frame2", 6480, 840, 3612, 3012, kKeep},
    {"Frame4", 6480, 4440, 3612, 1095, kKeep},
    {"Image1", 0, 200, kKeep, kKeep, kKeep, false},
    {"Label8", 120, 240, 10092, 852, 10},
    {"picBox", 840, 1200, 4575, 4095, kKeep},
    {"Text1(0)", 1320, 720, 735, 435, kKeep},
    {"Text1(1)", 4080, 720, 735, 420, kKeep},
    {"Text1(2)", 120, 2280, 735, 435, kKeep},
    {"Text1(3)", 5400, 2280, 735, 435, kKeep},
    {"Text1(4)", 1320, 5280, 735, 435, kKeep},
    {"Text1(5)", 2640, 4200, 735, 435, kKeep},
    {"Text1(6)", 5400, 3720, 735, 435, kKeep},
    {"Text1(7)", 4080, 5280, 735, 435, kKeep},
    // Frame2: the simulation commands
    {"cmd100", 240, 2400, 1572, 495, 10},
    {"cmdEinzel", 240, 1200, 1572, 495, 10},
    {"cmdEnde", 1920, 2400, 1572, 495, 10},
    {"cmdGanze", 1920, 1200, 1572, 495, 10},
    {"cmdNeustart", 240, 1800, 3252, 495, 10},
    {"Label7", 240, 480, 1572, 612, 12},
    {"Option1", 1920, 480, 615, 255, kKeep},
    {"Option2", 1920, 720, 855, 255, kKeep},
    // Frame4: the display commands
    {"cmdCLSpuren", 1920, 360, 1572, 495, 10},
    {"cmdCLZähler", 240, 360, 1572, 495, 10},
    // picBox: the map
    {"Check1(0)", 120, 240, 255, 255, kKeep},
    {"Check1(2)", 120, 600, 255, 255, kKeep},
    {"Check1(3)", 4080, 720, 255, 255, kKeep},
    {"imgBrammler", 1920, 840, 540, 612, kKeep},
    {"Label9", 1800, 480, 852, 372, kKeep},
    {"Shape1", 1200, 0, 2055, 855, kKeep},
    {"Shape3", 1200, 1560, 2055, 855, kKeep},
    {"Shape4", 1200, 3000, 2055, 855, kKeep},
    {"Shape5", 0, 1560, 495, 2295, kKeep},
    {"Shape6", 0, 120, 495, 855, kKeep},
    {"Shape7", 3840, 1560, 495, 855, kKeep},
    {"Shape8", 3840, 120, 495, 855, kKeep},
    {"Shape9", 3840, 3000, 495, 855, kKeep},
    {"Shape10", 3960, 3120, 255, 619, kKeep},
    {"Shape11", 3960, 120, 372, 372, kKeep},
}};

// The light-barrier marks Line1(0..7) in picBox: x scales with the width, y with the height.
// Line1(4) runs right to left and Line1(5) bottom to top, as drawn.
struct LineRow {
    double x1, y1, x2, y2;
};
inline constexpr std::array<LineRow, 8> kBarrierMarks = {{
    {480, 240, 1320, 240},
    {3240, 240, 3840, 240},
    {240, 960, 240, 1560},
    {4080, 960, 4080, 1560},
    {1200, 3720, 480, 3720},
    {2160, 3000, 2160, 2400},
    {4080, 2280, 4080, 3000},
    {3240, 3720, 3840, 3720},
}};

}  // namespace wexal::layout
