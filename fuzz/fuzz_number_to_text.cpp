// SPDX-License-Identifier: GPL-3.0-or-later
// numberToText on arbitrary doubles, under a German locale. It must never crash; its text starts
// with a blank or "-" and never holds ","; a whole number below 2^53 is written without exponent
// and reads back exactly; any other finite value written without exponent reads back as the
// value rounded to 15 significant digits.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): POSIX uselocale
#include <string>

#include "fuzz/fuzz_locale.h"
#include "platform/number_text.h"

namespace {

constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr int kDigits = 15;                                // significant digits of a box text
constexpr double kTieTolerance = 1e-14;                    // how far a tie may round, relative

// printf in the "C" locale, whatever locale the process has.
template <std::size_t N>
std::array<char, N> formatInC(const char* format, double x) {
    std::array<char, N> out{};
    const locale_t previous = uselocale(wexal::fuzz::cLocale());
    std::snprintf(out.data(), out.size(), format, x);
    uselocale(previous);
    return out;
}

// True when x lies exactly halfway between two 15-digit decimals, where either neighbour is a
// fair rounding. Fifty digits tell such a tie from any near miss of a double in box range.
bool isTieAt15Digits(double x) {
    const auto exact = formatInC<80>("%.50e", std::fabs(x));  // d.ddd...e+XX
    const char* afterLast = exact.data() + 1 + kDigits;      // the 16th digit
    if (*afterLast != '5') return false;
    for (const char* p = afterLast + 1; *p != 'e'; ++p) {
        if (*p != '0') return false;
    }
    return true;
}

bool sameTo15Digits(double back, double x) {
    if (std::signbit(back) != std::signbit(x)) return false;
    const auto a = formatInC<40>("%.14e", back);
    const auto b = formatInC<40>("%.14e", x);
    if (std::strcmp(a.data(), b.data()) == 0) return true;
    return isTieAt15Digits(x) && std::fabs(back - x) <= std::fabs(x) * kTieTolerance;
}

[[noreturn]] void fail(const char* what, double x, const std::string& text) {
    uselocale(wexal::fuzz::cLocale());  // numbers in the report with "."
    std::fprintf(stderr, "numberToText: %s\n  value %a (%.17g)\n  text  \"%s\"\n", what, x, x,
                 text.c_str());
    std::abort();
}

void check(double x) {
    const std::string text = wexal::numberToText(x);
    if (text.empty() || (text[0] != ' ' && text[0] != '-')) {
        fail("text does not start with a blank or '-'", x, text);
    }
    if ((text[0] == '-') != (x < 0)) fail("sign of the text differs from the value's", x, text);
    if (text.find(',') != std::string::npos) fail("text holds a ','", x, text);
    if (!std::isfinite(x)) return;

    const bool hasExponent = text.find_first_of("eE") != std::string::npos;
    const double back = wexal::textToNumber(text);
    if (x == std::trunc(x) && std::fabs(x) < kExactIntegerLimit) {
        if (hasExponent) fail("whole number below 2^53 written with an exponent", x, text);
        if (back != x) fail("whole number below 2^53 does not read back exactly", x, text);
        return;
    }
    if (!hasExponent && !sameTo15Digits(back, x)) {
        fail("text does not read back as the value to 15 significant digits", x, text);
    }
}

// Each 8 bytes give three values: the bits as they are (every class of double), a whole number
// up to 2^54 (counts on both sides of 2^53), and the same mantissa with its binary exponent
// folded into [-17, 52], where texts have no exponent.
void checkChunk(std::uint64_t bits) {
    double raw = 0;
    std::memcpy(&raw, &bits, sizeof raw);
    check(raw);

    const auto count = static_cast<double>(bits >> 10);
    check((bits & 1U) != 0 ? -count : count);

    constexpr std::uint64_t kExponentMask = 0x7ffULL << 52;
    constexpr int kBias = 1023;
    const std::uint64_t exponent = static_cast<std::uint64_t>(kBias - 17) + ((bits >> 52) & 0x7ff) % 70;
    const std::uint64_t folded = (bits & ~kExponentMask) | (exponent << 52);
    double inRange = 0;
    std::memcpy(&inRange, &folded, sizeof inRange);
    check(inRange);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    wexal::fuzz::useGermanLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + sizeof(std::uint64_t) <= size; at += sizeof(std::uint64_t)) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + at, sizeof bits);
        checkChunk(bits);
    }
    return 0;
}
