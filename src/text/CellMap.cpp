#include "text/CellMap.h"

#include <algorithm>
#include <limits>

#include "base/ShiftJis.h"

namespace quodle {

bool IsDelimiterByte(unsigned char b) {
    return b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x5E) || b == 0x60 ||
           (b >= 0x7B && b <= 0x80) || (b >= 0xA0 && b <= 0xA5) || b >= 0xFD;
}

int TabWidthAt(int column, const TCellLayout& layout) {
    const int stop = std::max(1, layout.tabSpaceCount);
    int width = stop - column % stop;
    if (layout.wrapByte > 0) width = std::min(width, layout.wrapByte - column % layout.wrapByte);
    return width;
}

TEditorAttributeArray::TEditorAttributeArray(std::string_view row, const TCellLayout& layout, int maxCells) {
    std::size_t i = 0;
    while (i < row.size() && static_cast<int>(codes_.size()) < maxCells) {
        const auto b = static_cast<unsigned char>(row[i]);
        if (b == '\t') {
            const int width = TabWidthAt(static_cast<int>(codes_.size()), layout);
            codes_.push_back(kCellDelimiter);
            codes_.append(static_cast<std::size_t>(width - 1), kCellTabFill);
            i += 1;
        } else if (CharLengthAt(row, i) == 2) {
            codes_.push_back(kCellDoubleFirst);
            codes_.push_back(kCellDoubleSecond);
            i += 2;
        } else {
            codes_.push_back(IsDelimiterByte(b) ? kCellDelimiter : kCellSingle);
            i += 1;
        }
    }
    bytes_ = static_cast<int>(i);
}

char TEditorAttributeArray::At(int column) const {
    return column >= 0 && column < Width() ? codes_[static_cast<std::size_t>(column)] : kCellEnd;
}

int TEditorAttributeArray::ColumnToOffset(int column) const {
    if (column <= 0) return 0;
    if (column >= Width()) return bytes_ + (column - Width());
    const auto end = codes_.begin() + column;
    return column - static_cast<int>(std::count(codes_.begin(), end, kCellTabFill));
}

int TEditorAttributeArray::OffsetToColumn(int offset) const {
    int bytes = 0;
    for (int column = 0; column < Width(); ++column) {
        if (codes_[static_cast<std::size_t>(column)] == kCellTabFill) continue;
        if (bytes >= offset) return column;
        ++bytes;
    }
    return Width() + std::max(0, offset - bytes_);
}

int TEditorAttributeArray::CharStart(int column) const {
    if (column >= Width()) return column;
    while (column > 0 && (At(column) == kCellDoubleSecond || At(column) == kCellTabFill)) --column;
    return column;
}

TEditorAttributeArray WholeRowMap(std::string_view row, const TCellLayout& layout) {
    return TEditorAttributeArray(row, layout, std::numeric_limits<int>::max());
}

TEditorAttributeArray RowMapThrough(std::string_view row, const TCellLayout& layout, int column) {
    return TEditorAttributeArray(row, layout, std::max(column, 0) + 1);
}

int ExpandedWidth(std::string_view text, const TCellLayout& layout) { return WholeRowMap(text, layout).Width(); }

bool WiderThan(std::string_view text, const TCellLayout& layout, int cells) {
    return TEditorAttributeArray(text, layout, cells + 1).Width() > cells;
}

}  // namespace quodle
