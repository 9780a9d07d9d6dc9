// SPDX-License-Identifier: GPL-3.0-or-later
// The number forms people read, under every locale the program may meet: a decimal comma,
// grouped counts from 10 000 on, and the machine form beside them for CSV and JSON.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "platform/german_number.h"
#include "sim/result_wording.h"

namespace wexal {
namespace {

const std::string kGroup = german::kNarrowNoBreakSpace;
const std::string kBeforePercent = german::kNoBreakSpace;

struct Form {
    const char* name;
    std::string (*write)();
    std::string text;
};

void PrintTo(const Form& row, std::ostream* os) { *os << row.name; }

// Each form under the C locale and under a German one that would write "12,5" itself: the
// result must not depend on the locale in either direction.
class GermanNumber : public testing::TestWithParam<std::tuple<Form, const char*>> {
protected:
    void SetUp() override {
        const char* old = std::setlocale(LC_ALL, nullptr);
        saved_ = old != nullptr ? old : "C";
        if (std::setlocale(LC_ALL, std::get<1>(GetParam())) == nullptr) GTEST_SKIP() << "locale missing";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_P(GermanNumber, WritesTheGermanForm) {
    const Form& form = std::get<0>(GetParam());
    EXPECT_EQ(form.write(), form.text);
}

const Form kForms[] = {
    {"fixedRounds", [] { return german::fixed(11.0 / 36, 4); }, "0,3056"},
    {"fixedWhole", [] { return german::fixed(7.0 / 3, 0); }, "2"},
    {"fixedNoNegativeZero", [] { return german::fixed(-0.00001, 3); }, "0,000"},
    {"fixedNegative", [] { return german::fixed(-1.25, 2); }, "-1,25"},
    {"fixedNaN", [] { return german::fixed(std::nan(""), 2); }, "–"},
    {"fixedInfinity", [] { return german::fixed(std::numeric_limits<double>::infinity(), 2); }, "–"},
    {"percent", [] { return german::percent(11.0 / 36, 1); }, "30,6" + kBeforePercent + "%"},
    {"percentWhole", [] { return german::percent(1, 0); }, "100" + kBeforePercent + "%"},
    {"significantPValue", [] { return german::significant(0.31794, 3); }, "0,318"},
    {"significantRoundsUpAPlace", [] { return german::significant(0.99996, 3); }, "1,00"},
    {"significantLarge", [] { return german::significant(12.345, 3); }, "12,3"},
    {"significantTiny", [] { return german::significant(1.234e-7, 3); }, "1,23·10⁻⁷"},
    {"significantZero", [] { return german::significant(0, 3); }, "0"},
    {"shortest", [] { return german::shortest(0.1); }, "0,1"},
    {"shortestWhole", [] { return german::shortest(42); }, "42"},
    {"countSmall", [] { return german::count(7); }, "7"},
    {"countFourDigitsUngrouped", [] { return german::count(9999); }, "9999"},
    {"countFromTenThousand", [] { return german::count(10000); }, "10" + kGroup + "000"},
    {"countMillions", [] { return german::count(1234567); }, "1" + kGroup + "234" + kGroup + "567"},
    {"countNegative", [] { return german::count(-123456); }, "-123" + kGroup + "456"},
    {"countLargest", [] { return german::count(std::numeric_limits<std::int64_t>::min()); },
     "-9" + kGroup + "223" + kGroup + "372" + kGroup + "036" + kGroup + "854" + kGroup + "775" +
         kGroup + "808"},
    {"machineKeepsThePoint", [] { return shortestDecimal(0.1); }, "0.1"},
    {"settingLine", [] { return wording::settingLine(kStartSetting, 20000); },
     "Lichtschranken 10110101 · Hin-und-her möglich: nein · 20" + kGroup + "000 Wexalen"},
    {"settingLineOneEscape", [] { return wording::settingLine(kStartSetting, 1); },
     "Lichtschranken 10110101 · Hin-und-her möglich: nein · 1 Wexal"},
    {"settingLinePlainForCsv",
     [] { return wording::settingLine(kStartSetting, 20000, wording::Digits::Plain); },
     "Lichtschranken 10110101 · Hin-und-her möglich: nein · 20000 Wexalen"},
    {"chiSquare", [] { return wording::chiSquareText({3.4567, 7, 0.31794}); },
     "Chi² = 3,46, Freiheitsgrade 7, p-Wert 0,318"},
    {"chiSquareTinyP", [] { return wording::chiSquareText({80, 7, 1.2e-14}); },
     "Chi² = 80,00, Freiheitsgrade 7, p-Wert 1,20·10⁻¹⁴"},
};

INSTANTIATE_TEST_SUITE_P(Forms, GermanNumber,
                         testing::Combine(testing::ValuesIn(kForms), testing::Values("C", "de_DE.UTF-8")),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param).name) +
                                    (std::string(std::get<1>(row.param)) == "C" ? "_C" : "_de");
                         });

// The shortest form reads back as the very same double once its comma is a point again.
TEST(GermanShortest, ReadsBackExactly) {
    for (const double value : {0.1, 11.0 / 36, 1.0 / 3, 1e-7, 2.5e300, 123456.789, -0.0625}) {
        std::string text = german::shortest(value);
        EXPECT_EQ(text.find('.'), std::string::npos) << text;
        std::replace(text.begin(), text.end(), ',', '.');
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
    }
}

}  // namespace
}  // namespace wexal
