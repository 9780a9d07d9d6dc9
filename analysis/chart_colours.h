// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The charts' colours: the counts in blue, the exact values in red, as on a worksheet.
namespace wexal::analysis::colours {

inline const QColor kFrequency{70, 120, 200};
inline const QColor kProbability{200, 30, 30};
inline const QColor kBand{200, 30, 30, 40};  // translucent, the share's line stays visible

}  // namespace wexal::analysis::colours
