// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace wexal {

// A 24-bit colour. Counter boxes are classified by exact equality with palette entries.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The light green of the attempts box Text2.
inline constexpr Rgb kStatsGreen{192, 255, 192};

namespace palette {
inline constexpr int kYellow = 14;  // a guarded exit, and the failed-escape boxes
inline constexpr int kWhite = 15;   // an unguarded exit
}  // namespace palette

// Entry of the classic 16-colour palette (0 black ... 15 white); out-of-range entries give black.
constexpr Rgb paletteColor(int entry) {
    constexpr std::array<Rgb, 16> kPalette = {{
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    }};
    return entry >= 0 && static_cast<std::size_t>(entry) < kPalette.size()
               ? kPalette[static_cast<std::size_t>(entry)]
               : Rgb{};
}

}  // namespace wexal
