#include <gtest/gtest.h>

#include <cmath>

#include "platform/number_text.h"
#include "sim/headless_window.h"

namespace wexal {
namespace {

// A headless box may keep its number, but must read and show exactly what a box that holds
// only the text would.
class HeadlessBox : public testing::TestWithParam<double> {};

TEST_P(HeadlessBox, NumberAndTextAgreeWithTheTextRoundTrip) {
    HeadlessWindow window;
    const double value = GetParam();
    window.setBoxNumber(Box::Text4, value);
    EXPECT_EQ(window.boxText(Box::Text4), numberToText(value));
    const double throughText = textToNumber(numberToText(value));
    EXPECT_EQ(window.boxNumber(Box::Text4), throughText);
    window.setBoxNumber(Box::Text3, value);  // read the number before the text
    EXPECT_EQ(window.boxNumber(Box::Text3), throughText);
}

INSTANTIATE_TEST_SUITE_P(Values, HeadlessBox,
                         testing::Values(0.0, 12.0, 100.0 / 3, 200.0 / 3, -0.5, 9007199254740991.0,
                                         9007199254740992.0, 1e20, 1.0 / 7));

TEST(HeadlessBoxText, ATextWrittenIsReadAsText) {
    HeadlessWindow window;
    EXPECT_EQ(window.boxText(counterBox(3)), "0");
    window.setBoxText(counterBox(3), "17 Wexalen");
    EXPECT_EQ(window.boxNumber(counterBox(3)), 17);
    window.setBoxNumber(counterBox(3), 18);
    window.setBoxText(counterBox(3), "abc");
    EXPECT_EQ(window.boxNumber(counterBox(3)), 0);
}

}  // namespace
}  // namespace wexal
