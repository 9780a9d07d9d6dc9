// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ui/layout.h"

namespace wexal::layout {
namespace {

const Placement& find(const Pass& pass, const std::string& name) {
    for (const Placement& p : pass.controls) {
        if (p.name == name) return p;
    }
    throw std::out_of_range(name);
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
    const Placement& picBox = find(pass, "picBox");
    EXPECT_FLOAT_EQ(*picBox.width, s.picBoxWidth);
    EXPECT_FLOAT_EQ(*picBox.height, s.picBoxHeight);
    for (const char* button : {"cmd100", "cmdEinzel", "cmdEnde", "cmdGanze", "cmdNeustart",
                               "cmdCLSpuren", "cmdCLZähler"}) {
        EXPECT_FLOAT_EQ(*find(pass, button).fontSize, s.buttonFont) << button;
    }
    EXPECT_FLOAT_EQ(*find(pass, "Label6").fontSize, s.label6Font);
    EXPECT_FLOAT_EQ(pass.nodeX[1], s.node1X);
    EXPECT_FLOAT_EQ(pass.nodeY[1], s.node1Y);
}

TEST_P(LayoutPass, SomeThingsStayTheSameOnEveryScreen) {
    const Pass pass = computePass(GetParam().size);
    const Placement& policeman = find(pass, "Image1");
    EXPECT_EQ(policeman.left, 0);
    EXPECT_EQ(policeman.top, 200);
    EXPECT_FALSE(policeman.width);
    EXPECT_FALSE(policeman.height);
    // Zero design values stay zero.
    EXPECT_EQ(pass.nodeX[11], 0);
    EXPECT_EQ(pass.nodeY[9], 0);
    EXPECT_EQ(pass.nodeY[10], 0);
    EXPECT_EQ(find(pass, "Shape5").left, 0);
    EXPECT_EQ(find(pass, "Shape6").left, 0);
    EXPECT_EQ(find(pass, "Shape1").top, 0);
    EXPECT_EQ(pass.nodeX[0], 0) << "entry 0 is never written";
    // Font sizes only where the table gives one.
    for (const char* keeps : {"Text2", "Text1(0)", "Frame2", "Command1", "Label4", "Label5", "Label9"}) {
        EXPECT_FALSE(find(pass, keeps).fontSize) << keeps;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutPass,
    testing::Values(Screen{"design", {12288, 9216}, 4575, 4095, 10, 36, 1920, 1080},
                    Screen{"xga", {15360, 11520}, 5718.75f, 5118.75f, 12.5f, 45, 2400, 1350},
                    Screen{"small", {9600, 7200}, 3574.21875f, 3199.21875f, 7.8125f, 28.125f, 1500, 843.75f},
                    // 1366 x 768 at 96 dpi: 16:9, the fonts follow the width alone.
                    Screen{"wide", {20490, 11520}, 7628.72314453125f, 5118.75f, 16.6748046875f, 60.029296875f, 3201.5625f, 1350}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LayoutDesignScreen, EveryControlGetsItsTableValue) {
    const Pass pass = computePass({12288, 9216});
    ASSERT_EQ(pass.controls.size(), 57u);
    const Placement& frame1 = find(pass, "Frame1");
    EXPECT_EQ(frame1.left, 960);
    EXPECT_EQ(frame1.top, 1200);
    EXPECT_EQ(*frame1.width, 10455);
    EXPECT_EQ(*frame1.height, 5900);
    const Placement& text6 = find(pass, "Text6");
    EXPECT_EQ(*text6.height, 468);
    EXPECT_EQ(*find(pass, "Text1(1)").height, 420);
    EXPECT_EQ(*find(pass, "Text3").height, 420);
    EXPECT_EQ(find(pass, "Check1(3)").left, 4080);
    EXPECT_EQ(*find(pass, "Label8").fontSize, 10);
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
    const Placement& frame1 = find(pass, "Frame1");
    const Placement& frame5 = find(pass, "Frame5");
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
