// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless_runtime.h"

#include <utility>

namespace wexal {

HeadlessRuntime::HeadlessRuntime(std::unique_ptr<RandomSource> random, ScreenSize screen)
    : random_(std::move(random)), screen_(screen) {}

}  // namespace wexal
