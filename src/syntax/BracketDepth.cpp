#include "syntax/BracketDepth.h"

#include <array>

namespace quodle {

namespace {

constexpr TColor Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return static_cast<TColor>(b << 16 | g << 8 | r); }

// Dark, saturated hues for white paper and light screens; light ones for
// dark screens. Neighbours differ in hue by far, and none is the red of
// strings or the grey of comments.
const std::array<TFountainColor, kDepthColorCount> kLightCycle{{
    {Rgb(0x00, 0x4E, 0xC2), clNone, {}},  // blue
    {Rgb(0xB3, 0x5A, 0x00), clNone, {}},  // amber
    {Rgb(0x00, 0x80, 0x3C), clNone, {}},  // green
    {Rgb(0xA0, 0x1E, 0xC8), clNone, {}},  // violet
    {Rgb(0x00, 0x7A, 0x8A), clNone, {}},  // teal
    {Rgb(0xC2, 0x18, 0x6E), clNone, {}},  // magenta
}};

const std::array<TFountainColor, kDepthColorCount> kDarkCycle{{
    {Rgb(0x5C, 0xB8, 0xFF), clNone, {}},  // sky blue
    {Rgb(0xFF, 0xC8, 0x3D), clNone, {}},  // gold
    {Rgb(0x6E, 0xE0, 0x7A), clNone, {}},  // green
    {Rgb(0xD8, 0x8C, 0xFF), clNone, {}},  // lilac
    {Rgb(0x4D, 0xE3, 0xD9), clNone, {}},  // turquoise
    {Rgb(0xFF, 0x85, 0xB8), clNone, {}},  // pink
}};

}  // namespace

std::span<const TFountainColor, kDepthColorCount> DepthColors(bool darkBackground) {
    return darkBackground ? kDarkCycle : kLightCycle;
}

bool IsDarkBackground(TColor background) {
    const std::optional<std::uint32_t> rgb = ColorToRgb(background);
    if (!rgb) return false;
    const std::uint32_t r = *rgb >> 16 & 0xFF, g = *rgb >> 8 & 0xFF, b = *rgb & 0xFF;
    // Perceived lightness (Rec. 601 weights) below the middle.
    return r * 299 + g * 587 + b * 114 < 128 * 1000;
}

const TFountainColor* TDepthColoring::TokenColor(const TFountainParser& parser, const TTokenSpan& token,
                                                 std::string_view text) {
    const int step = BracketStep(token, text);
    if (step > 0) return &colors_[static_cast<std::size_t>(depth_++ % kDepthColorCount)];
    if (step < 0 && depth_ > 0) return &colors_[static_cast<std::size_t>(--depth_ % kDepthColorCount)];
    return parser.TokenColor(token, text);
}

}  // namespace quodle
