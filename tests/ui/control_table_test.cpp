// SPDX-License-Identifier: GPL-3.0-or-later
// What must hold for every row of the control table. The build already refuses rows out of
// order, a name twice, a tab stop missing or twice and a stacking with gaps; these are the
// properties a compile-time check cannot state as plainly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>
#include <regex>
#include <string>
#include <variant>

#include "platform/runtime.h"
#include "ui/control_table.h"

namespace wexal::controls {

// Found by GoogleTest beside Control: a failing row is shown by its name.
void PrintTo(const Control& c, std::ostream* os) { *os << c.name; }

namespace {

class EveryControl : public testing::TestWithParam<Control> {};

// A kind prefix and a word (cmdEinzel, picBox, imgBrammler) or the kind and a number (Label1,
// Text2); an element of a control array adds its index, which is its place in the array.
TEST_P(EveryControl, IsNamedByTheRuleForItsKind) {
    static const std::map<Kind, std::string> kRule = {
        {Kind::Window, "Wexal"},
        {Kind::Label, "Label[1-9][0-9]*"},
        {Kind::Button, "cmd[A-Z0-9][A-Za-z0-9äöüÄÖÜ]*|Command[1-9][0-9]*"},
        {Kind::Frame, "Frame[1-9][0-9]*"},
        {Kind::TextBox, "Text[1-9][0-9]*(\\([0-7]\\))?"},
        {Kind::CheckBox, "Check[1-9][0-9]*\\([0-7]\\)"},
        {Kind::OptionButton, "Option[1-9][0-9]*"},
        {Kind::PictureBox, "pic[A-Z][a-z]*"},
        {Kind::Image, "img[A-Z][a-z]*|Image[1-9][0-9]*"},
        {Kind::Shape, "Shape[1-9][0-9]*"},
        {Kind::Line, "Line[1-9][0-9]*\\([0-7]\\)"},
    };
    const Control& c = GetParam();
    const std::string name = c.name;
    EXPECT_TRUE(std::regex_match(name, std::regex(kRule.at(c.kind)))) << name;
    const std::size_t open = name.find('(');
    if (open != std::string::npos) {
        EXPECT_EQ(name.substr(open + 1, 1), std::to_string(arrayIndex(c.id))) << "the index in " << name;
    }
}

// Inside its container's inside at the design size; the window's controls, and its own start
// size, inside the design screen. Image1 takes its picture's size: 105 x 207 pixels, 15 units
// a pixel at 96 dpi.
TEST_P(EveryControl, LiesInsideItsContainer) {
    const Control& c = GetParam();
    constexpr double kUnitsPerPixel = 15;
    double right = 0;
    double bottom = 0;
    double left = 0;
    double top = 0;
    if (const auto* p = std::get_if<Place>(&c.design)) {
        left = p->left;
        top = p->top;
        right = p->left + p->width.value_or(105 * kUnitsPerPixel);
        bottom = p->top + p->height.value_or(207 * kUnitsPerPixel);
    } else {
        const auto& e = std::get<Ends>(c.design);
        left = std::min(e.x1, e.x2);
        top = std::min(e.y1, e.y2);
        right = std::max(e.x1, e.x2);
        bottom = std::max(e.y1, e.y2);
    }
    double width = kDesignScreen.width;
    double height = kDesignScreen.height;
    if (c.parent != Id::Wexal) {
        const auto& inside = std::get<Place>(row(c.parent).design);
        width = *inside.width;
        height = *inside.height;
    }
    EXPECT_GE(left, 0) << c.name;
    EXPECT_GE(top, 0) << c.name;
    EXPECT_LE(right, width) << c.name << " in " << row(c.parent).name;
    EXPECT_LE(bottom, height) << c.name << " in " << row(c.parent).name;
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryControl, testing::ValuesIn(kTable), [](const auto& row) {
    std::string name = row.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
});

}  // namespace
}  // namespace wexal::controls
