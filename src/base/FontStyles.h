#pragma once
// Font style set (bold, italic, underline, strike-out) as colour settings,
// fonts and property sets keep it.
#include <cstdint>

namespace quodle {

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(TFontStyle style) : bits_(style) {}
    static constexpr TFontStyles FromBits(std::uint8_t bits) {
        TFontStyles s;
        s.bits_ = bits & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
        return s;
    }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool Contains(TFontStyle style) const { return (bits_ & style) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr TFontStyles operator|(TFontStyles a, TFontStyles b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr bool operator==(TFontStyles a, TFontStyles b) = default;

private:
    std::uint8_t bits_ = 0;
};

constexpr TFontStyles operator|(TFontStyle a, TFontStyle b) { return TFontStyles(a) | TFontStyles(b); }

}  // namespace quodle
