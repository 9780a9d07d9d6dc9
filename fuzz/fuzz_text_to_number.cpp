// SPDX-License-Identifier: GPL-3.0-or-later
// textToNumber on arbitrary bytes, under a German locale: it must never crash, and it must give
// what strtod in the "C" locale gives on the leading number that a scan of its own finds.
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): POSIX strtod_l
#include <string>
#include <string_view>

#include "fuzz/fuzz_locale.h"
#include "platform/number_text.h"

namespace {

constexpr unsigned char kFirstPrintable = 0x20;  // blank
constexpr unsigned char kDelete = 0x7f;          // the first byte past printable ASCII

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSign(char c) { return c == '+' || c == '-'; }

// The leading number of a box text, written out for strtod: blanks, tabs and line feeds
// skipped; a sign; digits with at most one point, at least one digit in all; an exponent only
// when its letter (and sign) is followed by a digit. Empty when the text has no leading number.
std::string leadingNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n");
    if (i == std::string_view::npos) return {};
    std::string number;
    const auto take = [&](std::size_t count) {
        number.append(text.substr(i, count));
        i += count;
    };
    const auto digitsAt = [&](std::size_t from) {
        std::size_t end = from;
        while (end < text.size() && isDigit(text[end])) ++end;
        return end - from;
    };

    if (isSign(text[i])) take(1);
    std::size_t mantissaDigits = digitsAt(i);
    take(mantissaDigits);
    if (i < text.size() && text[i] == '.') {
        take(1);
        const std::size_t fraction = digitsAt(i);
        take(fraction);
        mantissaDigits += fraction;
    }
    if (mantissaDigits == 0) return {};

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t sign = i + 1 < text.size() && isSign(text[i + 1]) ? 1 : 0;
        const std::size_t exponentDigits = digitsAt(i + 1 + sign);
        if (exponentDigits > 0) take(1 + sign + exponentDigits);
    }
    return number;
}

[[noreturn]] void fail(const char* what, std::string_view text, double got, double want) {
    uselocale(wexal::fuzz::cLocale());  // numbers in the report with "."
    std::fprintf(stderr, "textToNumber: %s\n  input (%zu bytes): \"", what, text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= kFirstPrintable && byte < kDelete && c != '"' && c != '\\') {
            std::fputc(c, stderr);
        } else {
            std::fprintf(stderr, "\\x%02x", byte);
        }
    }
    std::fprintf(stderr, "\"\n  got  %.17g\n  want %.17g\n", got, want);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    wexal::fuzz::useGermanLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double got = wexal::textToNumber(text);

    const std::string number = leadingNumber(text);
    double want = 0;
    if (!number.empty()) {
        char* end = nullptr;
        want = strtod_l(number.c_str(), &end, wexal::fuzz::cLocale());
        if (end != number.c_str() + number.size()) {
            fail("strtod did not read the whole leading number (fuzz harness fault)", text, got,
                 want);
        }
    }
    if (got != want || std::signbit(got) != std::signbit(want)) {
        fail("differs from strtod on the leading number", text, got, want);
    }
    return 0;
}
