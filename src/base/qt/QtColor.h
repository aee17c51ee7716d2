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

}  // namespace quodle
