// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gmpxx.h>

// The cells of the CSV files both programs write, as a spreadsheet under a German locale reads
// them: UTF-8 after a byte order mark, ";" between fields, a decimal comma.
namespace wexal::csv {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// "1⁄6" with the fraction slash: with "/" a spreadsheet takes 1/6 for the first of June.
inline constexpr std::string_view kFractionSlash = "\xE2\x81\x84";

inline std::string fraction(const mpq_class& value) {
    std::string text = value.get_str();
    if (const std::size_t slash = text.find('/'); slash != std::string::npos) {
        text.replace(slash, 1, kFractionSlash);
    }
    return text;
}

// A field as written: quoted when it holds the separator, a quote or a comma, so that a
// spreadsheet told to split at commas as well keeps a decimal whole.
inline std::string field(const std::string& text) {
    if (text.find_first_of(";\",") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

inline void writeRow(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) out << (c > 0 ? ";" : "") << field(cells[c]);
    out << '\n';
}

}  // namespace wexal::csv
