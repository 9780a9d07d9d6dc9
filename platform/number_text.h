// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace wexal {

// The text of a counter or statistics box for a number: a blank before non-negative values,
// "-" before negative ones, "." as decimal separator whatever the locale. Whole numbers are
// written with all their digits as long as a double holds them exactly (below 2^53), so a
// count read back from its box is the count written; other values are rounded to 15
// significant digits with trailing zeros dropped (" 33.3333333333333", " 0.5").
std::string numberToText(double x);

// Whether numberToText writes x with every digit, so that textToNumber reads back x itself:
// the whole numbers below 2^53 in magnitude.
bool isWrittenExactly(double x);

// Reads the number at the start of a box text: leading blanks, tabs and line feeds skipped,
// optional sign, digits, optional "." and digits, optional exponent. Reading stops at the
// first character that cannot continue the number; a text without a leading number gives 0.
// Magnitudes beyond double range give +/-infinity, which the callers' checks reject.
double textToNumber(std::string_view text);

}  // namespace wexal
