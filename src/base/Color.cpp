#include "base/Color.h"

#include <array>
#include <charconv>

#include "base/Text.h"

namespace quodle {
namespace {

struct NamedColor {
    TColor value;
    const char* name;
};

constexpr std::array kNames{
    NamedColor{clBlack, "clBlack"},       NamedColor{clMaroon, "clMaroon"},
    NamedColor{clGreen, "clGreen"},       NamedColor{clOlive, "clOlive"},
    NamedColor{clNavy, "clNavy"},         NamedColor{clPurple, "clPurple"},
    NamedColor{clTeal, "clTeal"},         NamedColor{clGray, "clGray"},
    NamedColor{clSilver, "clSilver"},     NamedColor{clRed, "clRed"},
    NamedColor{clLime, "clLime"},         NamedColor{clYellow, "clYellow"},
    NamedColor{clBlue, "clBlue"},         NamedColor{clFuchsia, "clFuchsia"},
    NamedColor{clAqua, "clAqua"},         NamedColor{clWhite, "clWhite"},
    NamedColor{clMoneyGreen, "clMoneyGreen"}, NamedColor{clSkyBlue, "clSkyBlue"},
    NamedColor{clCream, "clCream"},       NamedColor{clMedGray, "clMedGray"},
    NamedColor{clScrollBar, "clScrollBar"}, NamedColor{clBackground, "clBackground"},
    NamedColor{clActiveCaption, "clActiveCaption"}, NamedColor{clInactiveCaption, "clInactiveCaption"},
    NamedColor{clMenu, "clMenu"},         NamedColor{clWindow, "clWindow"},
    NamedColor{clWindowFrame, "clWindowFrame"}, NamedColor{clMenuText, "clMenuText"},
    NamedColor{clWindowText, "clWindowText"}, NamedColor{clCaptionText, "clCaptionText"},
    NamedColor{clActiveBorder, "clActiveBorder"}, NamedColor{clInactiveBorder, "clInactiveBorder"},
    NamedColor{clAppWorkSpace, "clAppWorkSpace"}, NamedColor{clHighlight, "clHighlight"},
    NamedColor{clHighlightText, "clHighlightText"}, NamedColor{clBtnFace, "clBtnFace"},
    NamedColor{clBtnShadow, "clBtnShadow"}, NamedColor{clGrayText, "clGrayText"},
    NamedColor{clBtnText, "clBtnText"},   NamedColor{clInactiveCaptionText, "clInactiveCaptionText"},
    NamedColor{clBtnHighlight, "clBtnHighlight"}, NamedColor{cl3DDkShadow, "cl3DDkShadow"},
    NamedColor{cl3DLight, "cl3DLight"},   NamedColor{clInfoText, "clInfoText"},
    NamedColor{clInfoBk, "clInfoBk"},     NamedColor{clNone, "clNone"},
    NamedColor{clDefault, "clDefault"},
};

// A light scheme for the system colours, indexed like SystemColor(i).
constexpr std::array<std::uint32_t, 25> kSystemRgb{
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1,
};

}  // namespace

std::string ColorToString(TColor color) {
    for (const auto& n : kNames)
        if (n.value == color) return n.name;
    static const char* kHex = "0123456789ABCDEF";
    std::string out = "$";
    const auto v = static_cast<std::uint32_t>(color);
    for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kHex[(v >> shift) & 0xF]);
    return out;
}

std::optional<TColor> StringToColor(std::string_view text) {
    for (const auto& n : kNames)
        if (AsciiEqualsIgnoreCase(text, n.name)) return n.value;
    std::string_view digits = text;
    int base = 10;
    bool negative = false;
    if (!digits.empty() && digits[0] == '$') {
        digits.remove_prefix(1);
        base = 16;
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    } else if (!digits.empty() && digits[0] == '-') {
        digits.remove_prefix(1);
        negative = true;
    }
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
    if (ec != std::errc() || end != digits.data() + digits.size() || v > 0xFFFFFFFFull) return std::nullopt;
    if (negative) v = static_cast<std::uint32_t>(-static_cast<std::int64_t>(v));
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

std::optional<std::uint32_t> ColorToRgb(TColor color) {
    if (color == clNone || color == clDefault) return std::nullopt;
    const auto v = static_cast<std::uint32_t>(color);
    if (v & 0x80000000u) {
        const auto index = v & 0xFF;
        if (index >= kSystemRgb.size()) return std::nullopt;
        return kSystemRgb[index];
    }
    const std::uint32_t r = v & 0xFF, g = (v >> 8) & 0xFF, b = (v >> 16) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

bool IsStoredColor(TColor color) {
    if (color == clNone || color == clDefault) return true;
    const auto v = static_cast<std::uint32_t>(color);
    if (v & 0x80000000u) return (v & 0x7FFFFF00u) == 0 && ColorToRgb(color).has_value();
    return v <= 0x00FFFFFFu;
}

}  // namespace quodle
