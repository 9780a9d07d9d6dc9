// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window's frame goes: centred where it fits, and never with its title bar off the
// screen, also on a screen with a panel and on one far smaller than the window.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/qt/window_placement.h"

namespace wexal {
namespace {

struct Placement {
    const char* name;
    QRect frame;  // where it stands now and its size
    QRect available;
    QPoint centred;
    QPoint inside;
};

void PrintTo(const Placement& row, std::ostream* os) {
    *os << row.name;
}

// The main window's frame at its start size on XGA (551 x 471 client, openbox's 1 1 20 5).
const QRect kFrame(100, 50, 553, 496);

const Placement kPlacements[] = {
    {"fitsOnXga", kFrame, {0, 0, 1024, 768}, {235, 136}, {100, 50}},
    {"panelAboveAndLeft", kFrame, {48, 30, 976, 738}, {259, 151}, {100, 50}},
    {"exactlyTheAreasSize", {5, 5, 1024, 768}, {0, 0, 1024, 768}, {0, 0}, {0, 0}},
    {"offTheRightAndBottom", {900, 700, 553, 496}, {0, 0, 1024, 768}, {235, 136}, {471, 272}},
    {"aboveAndLeftOfTheArea", {-300, -40, 553, 496}, {0, 24, 1024, 744}, {235, 148}, {0, 24}},
    // 640 x 480 at three times the scale: the title bar at the area's top-left, not at
    // (-507, -459) where centring would put it.
    {"largerThanTheScreen", {-507, -459, 1655, 1438}, {0, 0, 640, 480}, {0, 0}, {0, 0}},
    {"largerThanAnAreaBelowAPanel", {0, 0, 1655, 1438}, {0, 32, 640, 448}, {0, 32}, {0, 32}},
    {"tooWideOnly", {400, 10, 1100, 496}, {0, 0, 1024, 768}, {0, 136}, {0, 10}},
    {"tooHighOnly", {10, 300, 553, 900}, {0, 0, 1024, 768}, {235, 0}, {10, 0}},
};

class WindowPlacementRule : public testing::TestWithParam<Placement> {};

TEST_P(WindowPlacementRule, KeepsTheTitleBarOnTheScreen) {
    const Placement& row = GetParam();
    EXPECT_EQ(centredFrameTopLeft(row.frame.size(), row.available), row.centred);
    EXPECT_EQ(frameTopLeftInside(row.frame, row.available), row.inside);
    // Whatever the sizes, the frame's top-left corner, where the title bar starts, lies in the
    // area.
    for (const QPoint corner : {centredFrameTopLeft(row.frame.size(), row.available),
                                frameTopLeftInside(row.frame, row.available)}) {
        EXPECT_TRUE(row.available.contains(corner)) << corner.x() << "," << corner.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowPlacementRule, testing::ValuesIn(kPlacements),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal
