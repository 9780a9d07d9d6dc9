#pragma once

#include <cstdint>

namespace wexal {

// A 24-bit colour. Counter boxes are classified by exact equality with palette entries.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

namespace palette {
inline constexpr int kYellow = 14;  // a guarded exit, and the failed-escape boxes
inline constexpr int kWhite = 15;   // an unguarded exit
}  // namespace palette

// Entry of the classic 16-colour palette (0 black ... 15 white); out-of-range entries give black.
constexpr Rgb paletteColor(int entry) {
    constexpr Rgb kPalette[16] = {
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    return entry >= 0 && entry < 16 ? kPalette[entry] : Rgb{};
}

}  // namespace wexal
