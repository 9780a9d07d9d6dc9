// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/number_text.h"

// Texts found by fuzzing textToNumber (fuzz/fuzz_text_to_number.cpp) or beside such a find, with
// what the reading must give. Their fuzz inputs are kept in fuzz/corpus/fuzz_text_to_number/.
namespace wexal {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string repeated(char c, std::size_t count) { return std::string(count, c); }

struct Reading {
    const char* name;
    std::string text;
    double value;
};

// Beyond the range of a double the reading gives 0 or +/-infinity by the number's magnitude:
// a negative exponent does not make a number small, nor does its absence make it large.
TEST(NumberTextRegression, OutOfRangeReadsAsZeroOrInfinityByMagnitude) {
    const Reading rows[] = {
        {"fuzz find: 312 digits then e-3 is above the largest double",
         "33" + repeated('4', 310) + "e-3", kInfinity},
        {"the same negative", "-33" + repeated('4', 310) + "e-3x", -kInfinity},
        {"1e400 written with a negative exponent", "1" + repeated('0', 450) + "e-50", kInfinity},
        {"1e-401 written without exponent", "0." + repeated('0', 400) + "1", 0.0},
        {"the same negative", " -0." + repeated('0', 400) + "1", -0.0},
        {"1e-396 written with a positive exponent", "0." + repeated('0', 400) + "1e+5", 0.0},
        {"small exponent below range", "1e-999", 0.0},
        {"large exponent above range", "1e999", kInfinity},
        {"just above the largest double", "1.7976931348623159e308", kInfinity},
        {"below half the smallest subnormal", "2e-324", 0.0},
        // Long texts whose value is in range read as usual.
        {"many digits, negative exponent, in range", "1" + repeated('0', 400) + "e-500", 1e-100},
        {"many zeros, positive exponent, in range", "0." + repeated('0', 300) + "1e+300", 0.1},
        {"rounds down to the largest double", "1.7976931348623158e308",
         std::numeric_limits<double>::max()},
        {"subnormal", "1e-310", 1e-310},
    };
    for (const Reading& row : rows) {
        SCOPED_TRACE(row.name);
        const double value = textToNumber(row.text);
        EXPECT_EQ(value, row.value);
        EXPECT_EQ(std::signbit(value), std::signbit(row.value));
    }
}

}  // namespace
}  // namespace wexal
