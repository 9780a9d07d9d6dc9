// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

#include "sim/node_places.h"
#include "ui/layout.h"

namespace wexal::layout {
namespace {

using controls::Id;

const Placement& find(const Pass& pass, Id id) {
    for (const Placement& p : pass.controls) {
        if (p.id == id) return p;
    }
    throw std::out_of_range(controls::row(id).name);
}

struct Screen {
    const char* name;
    ScreenSize size;
    // Expected values before rounding, in units and points.
    float picBoxWidth, picBoxHeight;
    float buttonFont;
    float label6Font;
    float node1X, node1Y;
};

void PrintTo(const Screen& row, std::ostream* os) { *os << row.name; }

class LayoutPass : public testing::TestWithParam<Screen> {};

TEST_P(LayoutPass, ScalesTheDesignValues) {
    const Screen& s = GetParam();
    const Pass pass = computePass(s.size);
    const Placement& picBox = find(pass, Id::picBox);
    EXPECT_FLOAT_EQ(*picBox.width, s.picBoxWidth);
    EXPECT_FLOAT_EQ(*picBox.height, s.picBoxHeight);
    for (Id button : {Id::cmd100, Id::cmdEinzel, Id::cmdEnde, Id::cmdGanze, Id::cmdNeustart,
                      Id::cmdCLSpuren, Id::cmdCLZaehler}) {
        EXPECT_FLOAT_EQ(*find(pass, button).fontSize, s.buttonFont) << controls::row(button).name;
    }
    EXPECT_FLOAT_EQ(*find(pass, Id::Label6).fontSize, s.label6Font);
    EXPECT_FLOAT_EQ(pass.nodeX[1], s.node1X);
    EXPECT_FLOAT_EQ(pass.nodeY[1], s.node1Y);
}

// Image1 stands at (0, 200) on every screen with its own size; a design value of 0 stays 0;
// a font size is set exactly where the table gives one.
TEST_P(LayoutPass, SomeThingsStayTheSameOnEveryScreen) {
    const Pass pass = computePass(GetParam().size);
    const Placement& policeman = find(pass, Id::Image1);
    EXPECT_EQ(policeman.left, 0);
    EXPECT_EQ(policeman.top, 200);
    EXPECT_FALSE(policeman.width);
    EXPECT_FALSE(policeman.height);
    for (const Placement& p : pass.controls) {
        const auto& design = std::get<controls::Place>(controls::row(p.id).design);
        const char* name = controls::row(p.id).name;
        EXPECT_EQ(p.left == 0, design.left == 0) << name;
        EXPECT_EQ(p.top == 0, design.top == 0) << name;
        EXPECT_EQ(p.fontSize.has_value(), design.fontSize.has_value()) << name;
    }
    for (std::size_t n = 1; n < places::kNodes.size(); ++n) {
        EXPECT_EQ(pass.nodeX[n] == 0, places::kNodes[n].x == 0) << "node " << n;
        EXPECT_EQ(pass.nodeY[n] == 0, places::kNodes[n].y == 0) << "node " << n;
    }
    EXPECT_EQ(pass.nodeX[0], 0) << "entry 0 is never written";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutPass,
    testing::Values(Screen{"design", {12288, 9216}, 4575, 4095, 10, 36, 1920, 1080},
                    Screen{"xga", {15360, 11520}, 5718.75f, 5118.75f, 12.5f, 45, 2400, 1350},
                    Screen{"small", {9600, 7200}, 3574.21875f, 3199.21875f, 7.8125f, 28.125f, 1500, 843.75f},
                    // 1366 x 768 at 96 dpi: 16:9, the fonts follow the width alone.
                    Screen{"wide", {20490, 11520}, 7628.72314453125f, 5118.75f, 16.6748046875f, 60.029296875f, 3201.5625f, 1350}),
    [](const auto& row) { return std::string(row.param.name); });

// On the design screen both factors are 1: every control gets its row's values exactly, and
// every control the table places but the window itself is placed once.
TEST(LayoutDesignScreen, EveryControlGetsItsRowsValues) {
    const Pass pass = computePass(kDesignScreen);
    std::size_t placed = 0;
    for (const controls::Control& c : controls::kTable) {
        const auto* design = std::get_if<controls::Place>(&c.design);
        if (c.kind == controls::Kind::Window || design == nullptr) continue;
        ++placed;
        const Placement& p = find(pass, c.id);
        EXPECT_EQ(p.left, design->left) << c.name;
        EXPECT_EQ(p.top, design->top) << c.name;
        EXPECT_EQ(p.width, design->width) << c.name;
        EXPECT_EQ(p.height, design->height) << c.name;
        EXPECT_EQ(p.fontSize, design->fontSize) << c.name;
    }
    EXPECT_EQ(pass.controls.size(), placed);
}

TEST(LayoutMarks, EndPointsAsDrawnIncludingTheReversedOnes) {
    const Pass pass = computePass({15360, 11520});
    const MarkPlacement& four = pass.marks[4];
    EXPECT_FLOAT_EQ(four.x1, 1500);  // 1200 x 1.25: runs right to left
    EXPECT_FLOAT_EQ(four.x2, 600);
    EXPECT_FLOAT_EQ(four.y1, 4650);
    const MarkPlacement& five = pass.marks[5];
    EXPECT_FLOAT_EQ(five.y1, 3750);  // 3000 x 1.25: runs bottom to top
    EXPECT_FLOAT_EQ(five.y2, 3000);
    EXPECT_FLOAT_EQ(five.x1, five.x2);
}

TEST(LayoutReach, ControlsReachFrame1sRightEdgeAndFrame5sBottom) {
    const Pass pass = computePass({15360, 11520});
    const Placement& frame1 = find(pass, Id::Frame1);
    const Placement& frame5 = find(pass, Id::Frame5);
    EXPECT_FLOAT_EQ(frame1.left + *frame1.width, 11415 * 1.25f);
    EXPECT_FLOAT_EQ(frame5.top + *frame5.height, 8412 * 1.25f);
}

TEST(LayoutPixels, RoundingHappensAtTheDevice) {
    EXPECT_EQ(toPixels(5718.75, 96), 381);  // 381.25
    EXPECT_EQ(toPixels(1050, 96), 70);
    EXPECT_EQ(toPixels(22.5, 96), 2);      // 1.5 rounds away from zero
}

}  // namespace
}  // namespace wexal::layout
