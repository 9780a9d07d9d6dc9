// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "sim/escape.h"

namespace wexal {

// Sets a count directly, as only a test needs to: near the limit of exact counting.
struct EscapeTestAccess {
    static void setCount(Escape& escape, int box, std::int64_t count) {
        escape.exitCounts_.at(static_cast<std::size_t>(box)) = count;
    }
};

}  // namespace wexal
