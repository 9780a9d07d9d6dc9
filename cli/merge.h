// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sim/class_pool.h"

namespace wexal::cli {

// --merge: the results files pooled under the first one's setting, or the one German line that
// names the first file that cannot be pooled (damaged, another setting, no counts) and why.
std::variant<ClassPool, std::string> mergeFiles(const std::vector<std::string>& files);

}  // namespace wexal::cli
