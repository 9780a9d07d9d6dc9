// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/number_text.h"
#include "platform/palette.h"
#include "platform/random_source.h"

namespace wexal {

inline constexpr double kUnitsPerInch = 1440;  // the design unit is 1/1440 inch

// The whole screen in 1/1440 inch.
struct ScreenSize {
    double width = 0;
    double height = 0;
};

// The design screen, on which every layout factor is 1.
inline constexpr ScreenSize kDesignScreen{12288, 9216};

// What the program needs of its surroundings beyond its own window: the random generator,
// the message box, ending the program and the screen's size. The number conversions and the
// palette are pure functions (number_text.h, palette.h) and need no instance.
class Runtime {
public:
    virtual ~Runtime() = default;
    virtual RandomSource& random() = 0;
    // Modal, OK button only, no icon, titled with the application's title.
    virtual void messageBox(std::string_view text) = 0;
    // Closes the window at once; no further handler runs.
    virtual void endProgram() = 0;
    virtual ScreenSize screenSize() const = 0;
};

}  // namespace wexal
