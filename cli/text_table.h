// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace wexal::cli {

// Width on the terminal: UTF-8 continuation bytes (10xxxxxx) take no column ("ä", "ß", "≈").
inline std::size_t columns(const std::string& text) {
    constexpr unsigned kTopTwoBits = 0xC0;
    constexpr unsigned kContinuation = 0x80;
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & kTopTwoBits) != kContinuation;
    }));
}

// A table whose first columns are left-aligned words and whose others are right-aligned numbers.
class TextTable {
public:
    TextTable(std::vector<std::string> headings, std::size_t wordColumns)
        : wordColumns_(wordColumns), widths_(headings.size(), 0) {
        add(std::move(headings));
    }
    void add(std::vector<std::string> cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            widths_[c] = std::max(widths_[c], columns(cells[c]));
        rows_.push_back(std::move(cells));
    }
    void addGap() { rows_.emplace_back(); }
    void write(std::ostream& out) const {
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string padding(widths_[c] - columns(row[c]), ' ');
                if (c > 0) line += "  ";
                line += c < wordColumns_ ? row[c] + padding : padding + row[c];
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out << line << '\n';
        }
    }

private:
    std::size_t wordColumns_;
    std::vector<std::size_t> widths_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace wexal::cli
