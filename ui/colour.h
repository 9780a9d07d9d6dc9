// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "platform/palette.h"

namespace wexal {

inline QColor toQColor(Rgb c) { return {c.r, c.g, c.b}; }

}  // namespace wexal
