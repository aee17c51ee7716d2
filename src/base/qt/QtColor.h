#pragma once
// TColor values as Qt colours.
#include <QColor>

#include "base/Color.h"

namespace quodle {

// The colour a TColor shows as; clNone and clDefault give `fallback`.
inline QColor ToQColor(TColor color, const QColor& fallback = QColor()) {
    const auto rgb = ColorToRgb(color);
    return rgb ? QColor::fromRgb(static_cast<QRgb>(0xFF000000u | *rgb)) : fallback;
}

// The 0x00BBGGRR value of a Qt colour (its alpha dropped).
inline TColor FromQColor(const QColor& color) {
    return static_cast<TColor>(static_cast<unsigned>(color.red()) | static_cast<unsigned>(color.green()) << 8 |
                               static_cast<unsigned>(color.blue()) << 16);
}

}  // namespace quodle
