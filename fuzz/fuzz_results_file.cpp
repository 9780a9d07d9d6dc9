// SPDX-License-Identifier: GPL-3.0-or-later
// The results file's reader on arbitrary bytes: it must never crash, a damage must name a line
// of the input, and whatever it accepts must write out and read back to the same results.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "fuzz/fuzz_locale.h"
#include "sim/results_file.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s; input of %zu bytes\n", what, text.size());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    wexal::fuzz::useGermanLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const wexal::ResultsRead read = wexal::parseResultsFile(text);
    if (!read.results) {
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (read.damage.reason.empty()) fail("a damage without a reason", text);
        if (read.damage.line < 0 || static_cast<std::size_t>(read.damage.line) > lines) {
            fail("a damage names a line the input does not have", text);
        }
        return 0;
    }
    std::ostringstream out;
    wexal::writeResultsFile(out, *read.results, wexal::solveExactly(read.results->setting));
    const wexal::ResultsRead again = wexal::parseResultsFile(out.str());
    if (!again.results) fail("what was read does not read back once written", text);
    if (!(*again.results == *read.results)) fail("what was read reads back changed", text);
    return 0;
}
