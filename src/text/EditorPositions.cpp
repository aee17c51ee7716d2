#include "text/EditorPositions.h"

#include <algorithm>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

int Length(const TEditorStringList& rows, int row) { return static_cast<int>(rows.View(row).size()); }

}  // namespace

int OffsetInLine(const TEditorStringList& rows, int row, int col, const TCellLayout& layout) {
    if (row < 0 || col < 0 || row > rows.Count()) return -1;
    if (row == rows.Count()) return 0;
    const TEditorAttributeArray map(rows.View(row), layout);
    return RowOffsetToLinePos(rows, row, map.ColumnToOffset(map.CharStart(std::min(col, map.Width())))).Offset;
}

TLinePos RowColToLinePos(const TEditorStringList& rows, int row, int col, const TCellLayout& layout) {
    row = std::clamp(row, 0, rows.Count());
    return {rows.RowToLine(row), OffsetInLine(rows, row, std::max(col, 0), layout)};
}

TLinePos RowOffsetToLinePos(const TEditorStringList& rows, int row, int offset) {
    row = std::clamp(row, 0, rows.Count());
    if (row == rows.Count()) return {rows.RowToLine(row), 0};
    offset = std::clamp(offset, 0, Length(rows, row));
    for (int r = rows.LineStartRow(row); r < row; ++r) offset += Length(rows, r);
    return {rows.RowToLine(row), offset};
}

TRowOffset LinePosToRowOffset(const TEditorStringList& rows, int line, int offset) {
    line = std::clamp(line, 0, rows.LineCount());
    int row = rows.LineToRow(line);
    if (row >= rows.Count()) return {rows.Count(), 0};
    offset = std::max(offset, 0);
    const int last = rows.LineEndRow(row);
    while (row < last && offset >= Length(rows, row)) offset -= Length(rows, row++);
    const std::string_view text = rows.View(row);
    offset = std::min(offset, static_cast<int>(text.size()));
    // Off the trail byte of a double-byte character.
    int start = 0;
    while (start < offset) {
        const int next = start + static_cast<int>(CharLengthAt(text, static_cast<std::size_t>(start)));
        if (next > offset) break;
        start = next;
    }
    return {row, start};
}

TRowCol LinePosToRowCol(const TEditorStringList& rows, int line, int offset, const TCellLayout& layout) {
    const TRowOffset pos = LinePosToRowOffset(rows, line, offset);
    if (pos.Row >= rows.Count()) return {pos.Row, 0};
    return {pos.Row, TEditorAttributeArray(rows.View(pos.Row), layout).OffsetToColumn(pos.Offset)};
}

}  // namespace quodle
