// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Numbers as German readers write them, for our own windows, files and wexal-sim's text: a
// decimal comma whatever the locale, counts grouped in threes from 10 000 on. The main
// window's boxes keep their "." (number_text.h); JSON and CSV keep the machine form below.
// Every text is UTF-8.
namespace wexal::german {

inline constexpr const char* kNoBreakSpace = "\u00A0";        // between a number and "%"
inline constexpr const char* kNarrowNoBreakSpace = "\u202F";  // between groups of digits
inline constexpr const char* kNotANumber = "–";               // for NaN and infinities

// "0,3056" for (0.30555, 4); never "-0,0000".
std::string fixed(double value, int decimals);

// The shortest text that reads back as the same double, with a comma: "0,1", "1,5e-07".
std::string shortest(double value);

// A share as a percentage: (0.30555, 1) gives "30,6 %" (no-break space before "%").
std::string percent(double share, int decimals);

// The value to the given significant digits: (0.31794, 3) gives "0,318", (12.345, 3) "12,3";
// below 0,0001 in magnitude as "1,23·10⁻⁷".
std::string significant(double value, int digits);

// A count: "1000", "10 000", "1 234 567" (narrow no-break spaces); never in CSV or JSON.
std::string count(std::int64_t value);

}  // namespace wexal::german

namespace wexal {

// The shortest decimal text that reads back as the same double, "." whatever the locale: the
// machine form of CSV and JSON.
std::string shortestDecimal(double value);

}  // namespace wexal
