// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/significance_test.h"

#include <algorithm>
#include <cctype>

#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/result_wording.h"

namespace wexal {
namespace {

namespace nw = network;

constexpr std::size_t kMaxDigits = 30;  // of a typed probability: more is no one's input
constexpr int kPercent = 100;
constexpr int kDecimal = 10;

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "12", "0,05", "0.05", ",5": digits with at most one decimal separator, as an exact fraction.
std::optional<mpq_class> decimalFromText(std::string_view text) {
    std::string digits;
    std::size_t decimals = 0;
    bool separator = false;
    for (const char c : text) {
        if (c == ',' || c == '.') {
            if (separator) return std::nullopt;
            separator = true;
        } else if (isDigit(c)) {
            digits += c;
            if (separator) ++decimals;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
    mpz_class scale;
    mpz_ui_pow_ui(scale.get_mpz_t(), kDecimal, decimals);
    mpq_class value(mpz_class(digits, kDecimal), scale);  // base 10: "008" is no octal number
    value.canonicalize();
    return value;
}

}  // namespace

std::string TestTarget::name() const {
    switch (kind) {
        case Kind::Exit: return wording::exitName(nw::kExitOfBox[static_cast<std::size_t>(box)]);
        case Kind::Caught: return "gefasst";
        case Kind::Succeeded: return "gelungen";
    }
    return {};
}

mpq_class TestTarget::probability(const ExactSolution& exact) const {
    switch (kind) {
        case Kind::Exit: return exact.exitProbability[static_cast<std::size_t>(box)];
        case Kind::Caught: return exact.failed;
        case Kind::Succeeded: return exact.succeeded;
    }
    return 0;
}

std::int64_t TestTarget::count(const std::array<std::int64_t, nw::kBarrierCount>& exitCounts,
                               const Setting& setting) const {
    if (kind == Kind::Exit) return exitCounts[static_cast<std::size_t>(box)];
    std::int64_t total = 0;
    for (std::size_t i = 0; i < exitCounts.size(); ++i) {
        if (setting.barriers[i] == (kind == Kind::Caught)) total += exitCounts[i];
    }
    return total;
}

std::optional<TestTarget> testTargetNamed(std::string_view text) {
    if (text == "gefasst") return TestTarget{TestTarget::Kind::Caught, 0};
    if (text == "gelungen") return TestTarget{TestTarget::Kind::Succeeded, 0};
    for (int box = 0; box < nw::kBarrierCount; ++box) {
        if (text == std::to_string(nw::kExitOfBox[static_cast<std::size_t>(box)])) {
            return TestTarget{TestTarget::Kind::Exit, box};
        }
    }
    return std::nullopt;
}

std::optional<mpq_class> probabilityFromText(std::string_view text) {
    text = trimmed(text);
    std::optional<mpq_class> value;
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto over = decimalFromText(trimmed(text.substr(0, slash)));
        const auto under = decimalFromText(trimmed(text.substr(slash + 1)));
        if (!over || !under || *under == 0) return std::nullopt;
        value = *over / *under;
    } else if (!text.empty() && text.back() == '%') {
        const auto percent = decimalFromText(trimmed(text.substr(0, text.size() - 1)));
        if (!percent) return std::nullopt;
        value = *percent / kPercent;
    } else {
        value = decimalFromText(text);
    }
    if (!value || *value > 1) return std::nullopt;
    value->canonicalize();
    return value;
}

int rejectedSeries(const Setting& walk, const TestTarget& target, std::int64_t n,
                   const AcceptanceRegion& region, std::uint64_t seed, int series) {
    Xoshiro256 stream(seed);
    int rejected = 0;
    for (int s = 0; s < series; ++s) {
        SeededRandom random(stream);
        Escape escape(random, walk);  // an escape stands ready at the bank
        escape.runEscapes(n, random);
        std::array<std::int64_t, nw::kBarrierCount> counts{};
        for (int box = 0; box < nw::kBarrierCount; ++box) {
            counts[static_cast<std::size_t>(box)] = escape.exitCount(box);
        }
        if (!region.accepts(target.count(counts, walk))) ++rejected;
        stream.jump();
    }
    return rejected;
}

}  // namespace wexal
