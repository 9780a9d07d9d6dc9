// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <cstdio>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): POSIX newlocale, uselocale

// The fuzz targets run the conversions under a German locale, whose decimal separator is ",",
// and read their reference values in the "C" locale.
namespace wexal::fuzz {

inline void useGermanLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) return;
    }
    std::fputs("no German locale installed: fuzzing in the \"C\" locale only\n", stderr);
}

inline locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

}  // namespace wexal::fuzz
