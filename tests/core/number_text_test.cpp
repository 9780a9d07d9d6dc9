// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "platform/number_text.h"

namespace wexal {
namespace {

struct ToText {
    const char* name;
    double value;
    const char* text;
};

void PrintTo(const ToText& row, std::ostream* os) { *os << row.name; }


class NumberToText : public testing::TestWithParam<ToText> {};

TEST_P(NumberToText, WritesTheBoxText) { EXPECT_EQ(numberToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Examples, NumberToText,
    testing::Values(ToText{"twelve", 12, " 12"}, ToText{"zero", 0, " 0"},
                    ToText{"negativeZero", -0.0, " 0"},
                    ToText{"oneHundred", 100, " 100"},
                    ToText{"oneThird", 100.0 / 3, " 33.3333333333333"},
                    ToText{"twoThirds", 200.0 / 3, " 66.6666666666667"},
                    ToText{"twelveAndAHalf", 12.5, " 12.5"},
                    ToText{"halfHasALeadingZero", 0.5, " 0.5"},
                    ToText{"negativeHalf", -0.5, "-0.5"}, ToText{"negative", -7, "-7"},
                    ToText{"trailingZerosDropped", 2.25, " 2.25"},
                    ToText{"roundsTo15Digits", 1.0 / 7, " 0.142857142857143"},
                    ToText{"bigCountKeepsEveryDigit", 1e15 + 1, " 1000000000000001"},
                    ToText{"largestExactCount", 9007199254740991.0, " 9007199254740991"},
                    ToText{"beyondExactUsesExponent", 1e20, " 1E+20"},
                    ToText{"tinyUsesExponent", 0.00001, " 1E-05"},
                    ToText{"infinity", std::numeric_limits<double>::infinity(), " Inf"},
                    ToText{"nan", std::numeric_limits<double>::quiet_NaN(), " NaN"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FromText {
    const char* name;
    const char* text;
    double value;
};

void PrintTo(const FromText& row, std::ostream* os) { *os << row.name; }


class TextToNumber : public testing::TestWithParam<FromText> {};

TEST_P(TextToNumber, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(textToNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TextToNumber,
    testing::Values(FromText{"blankAndDigits", " 12", 12}, FromText{"designText", "0", 0},
                    FromText{"empty", "", 0}, FromText{"digitsThenLetters", "42abc", 42},
                    FromText{"letters", "abc", 0}, FromText{"tabsAndLineFeeds", "\t\n 7", 7},
                    FromText{"decimal", " 33.3333333333333", 33.3333333333333},
                    FromText{"negative", "-2.5", -2.5}, FromText{"plus", "+3", 3},
                    FromText{"leadingPoint", ".5", 0.5}, FromText{"trailingPoint", "5.", 5},
                    FromText{"commaStopsReading", "1,5", 1},
                    FromText{"secondPointStops", "1.2.3", 1.2},
                    FromText{"exponent", "1E+20", 1e20}, FromText{"smallExponent", "2e-3", 0.002},
                    FromText{"bareExponentLetterStops", "3e", 3},
                    FromText{"exponentSignWithoutDigitsStops", "3e+x", 3},
                    FromText{"signAlone", "-", 0}, FromText{"pointAlone", ".", 0},
                    FromText{"blankInsideStops", "1 2", 1},
                    FromText{"underflowGivesZero", "1e-999", 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TextToNumberRange, OverflowGivesInfinityForTheCallersToReject) {
    EXPECT_TRUE(std::isinf(textToNumber("1e999")));
    EXPECT_LT(textToNumber("-1e999"), 0);
}

TEST(NumberTextRoundTrip, CountsReadBackExactly) {
    for (double count : {0.0, 1.0, 49.0, 123456789.0, 4294967297.0, 9007199254740991.0}) {
        EXPECT_EQ(textToNumber(numberToText(count)), count) << count;
    }
}

// A German locale writes and reads "," as the decimal separator; the boxes must not.
class GermanLocale : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::setlocale(LC_ALL, nullptr);
        saved_ = old != nullptr ? old : "C";
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            GTEST_SKIP() << "no German locale installed";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(GermanLocale, ConversionsStillUseThePoint) {
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 12.5);
    ASSERT_STREQ(probe, "12,5") << "the locale is not in effect";
    EXPECT_EQ(numberToText(12.5), " 12.5");
    EXPECT_EQ(numberToText(200.0 / 3), " 66.6666666666667");
    EXPECT_DOUBLE_EQ(textToNumber(" 12.5"), 12.5);
    EXPECT_DOUBLE_EQ(textToNumber("12,5"), 12);
}

}  // namespace
}  // namespace wexal
