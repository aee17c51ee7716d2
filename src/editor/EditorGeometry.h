#pragma once
// The arithmetic of the editor window's layout, free of any toolkit: the
// settings' clamping, the widths of the image bar and left bar, the ruler's
// height and the visible columns. The widget supplies pixel metrics.
#include <algorithm>

namespace quodle {

// Margins and bar margins: 0..100 pixels.
constexpr int ClampMargin(int pixels) { return std::clamp(pixels, 0, 100); }

// Leftbar.Column: 1..8 digits.
constexpr int ClampLeftbarColumn(int digits) { return std::clamp(digits, 1, 8); }

// Ruler.GaugeRange: 8..10, rounded down to an even number.
constexpr int ClampGaugeRange(int columns) { return std::clamp(columns, 8, 10) & ~1; }

// Digits of the left bar: those of the largest number shown, at least
// Column and at most 8.
constexpr int LeftbarDigits(int largestNumber, int column) {
    int digits = 1;
    for (int n = std::max(largestNumber, 0); n >= 10; n /= 10) ++digits;
    return std::clamp(std::max(digits, ClampLeftbarColumn(column)), 1, 8);
}

// The largest number the left bar shows: the number of the last row (the
// empty row after a final line break counted), or with line numbers that of
// the last line; one less with ZeroBase.
constexpr int LeftbarLargestNumber(int rows, int lines, bool endsWithBreak, bool lineNumbers, bool zeroBase) {
    const int shown = (lineNumbers ? lines : rows) + (endsWithBreak ? 1 : 0);
    return zeroBase ? shown - 1 : shown;
}

constexpr int LeftbarWidth(bool visible, int leftMargin, int digits, int cellWidth, int rightMargin) {
    return visible ? leftMargin + digits * cellWidth + rightMargin + 2 : 0;
}

constexpr int ImagebarWidth(bool visible, int leftMargin, int digitWidth, int markWidth, int rightMargin) {
    return visible ? leftMargin + digitWidth + markWidth + rightMargin : 0;
}

constexpr int RulerHeight(bool visible, bool edge) { return visible ? (edge ? 11 : 10) : 0; }

// Whole columns between the text's left edge and the window's right edge,
// less half a cell and the vertical scroll bar; at least 1.
constexpr int VisibleColumns(int windowWidth, int textLeft, int cellWidth, int scrollBarWidth) {
    if (cellWidth <= 0) return 1;
    return std::max(1, (windowWidth - textLeft - cellWidth / 2 - scrollBarWidth) / cellWidth);
}

}  // namespace quodle
