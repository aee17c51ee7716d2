#include "editor/EditorSelection.h"

#include <algorithm>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

constexpr std::int64_t kBreakBytes = 2;  // CR LF

int RowLength(const TEditorStringList& rows, int row) { return static_cast<int>(RowTextOrEmpty(rows, row).size()); }

bool EndsLine(const TEditorStringList& rows, int row) {
    return row >= 0 && row < rows.Count() && rows.RowEnding(row) == reBreak;
}

// Rows a position may name: 0..Count (the row after the last).
int ClampRow(const TEditorStringList& rows, int row) { return std::clamp(row, 0, rows.Count()); }

// The bytes rows [i0, i1) of a storage block take in the text, their line
// breaks counted: offsets over a large text go a block at a time.
std::int64_t TextBytesOf(const TheStringList::TPackedRows& block, int i0, int i1) {
    if (i1 <= i0) return 0;
    const auto at = [&](int i) { return static_cast<std::size_t>(i); };
    std::int64_t bytes = block.Ends[at(i1) - 1] - (i0 == 0 ? 0 : block.Ends[at(i0) - 1]);
    if (block.Words1.empty()) return bytes + kBreakBytes * (i1 - i0);
    for (int i = i0; i < i1; ++i)
        if ((block.Words1[at(i)] & rowbits::kRowEndingMask) == reBreak) bytes += kBreakBytes;
    return bytes;
}

}  // namespace

std::string_view RowTextOrEmpty(const TEditorStringList& rows, int row) {
    return row >= 0 && row < rows.Count() ? rows.View(row) : std::string_view();
}

int OffsetOfCol(const TEditorStringList& rows, const TCellLayout& layout, int row, int col) {
    const std::string_view text = RowTextOrEmpty(rows, row);
    if (text.empty() || col <= 0) return 0;
    const TEditorAttributeArray map(text, layout);
    return std::min(map.ColumnToOffset(map.CharStart(col)), static_cast<int>(text.size()));
}

TStreamRange StreamRangeOf(const TEditorStringList& rows, const TCellLayout& layout, TCellPos a, TCellPos b) {
    if (b < a) std::swap(a, b);
    a.Row = ClampRow(rows, a.Row);
    b.Row = ClampRow(rows, b.Row);
    return {{a.Row, OffsetOfCol(rows, layout, a.Row, a.Col)}, {b.Row, OffsetOfCol(rows, layout, b.Row, b.Col)}};
}

TBoxRange BoxRangeOf(TCellPos a, TCellPos b) {
    return {std::min(a.Row, b.Row), std::max(a.Row, b.Row), std::min(a.Col, b.Col), std::max(a.Col, b.Col)};
}

TByteSpan BoxPartOfRow(std::string_view row, const TCellLayout& layout, int left, int right) {
    TByteSpan span{-1, -1};
    int column = 0;
    std::size_t i = 0;
    while (i < row.size() && column < right) {
        const std::size_t length = CharLengthAt(row, i);
        const int cells = row[i] == '\t' ? TabWidthAt(column, layout) : static_cast<int>(length);
        if (column >= left && span.Begin < 0) span.Begin = static_cast<int>(i);
        column += cells;
        i += length;
    }
    if (span.Begin < 0) return {static_cast<int>(i), static_cast<int>(i)};
    span.End = static_cast<int>(i);
    return span;
}

std::string StreamText(const TEditorStringList& rows, const TStreamRange& range) {
    std::string text;
    if (range.Empty()) return text;
    for (int r = range.Start.Row; r <= range.End.Row && r < rows.Count(); ++r) {
        const std::string_view row = rows.View(r);
        const std::size_t from = r == range.Start.Row ? static_cast<std::size_t>(range.Start.Offset) : 0;
        const std::size_t to = r == range.End.Row ? static_cast<std::size_t>(range.End.Offset) : row.size();
        if (from < to) text.append(row.substr(from, to - from));
        if (r < range.End.Row && EndsLine(rows, r)) text.append("\r\n");
    }
    return text;
}

std::string BoxText(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box) {
    std::string text;
    if (box.Empty()) return text;
    for (int r = std::max(0, box.Top); r <= box.Bottom && r < rows.Count(); ++r) {
        const std::string_view row = rows.View(r);
        const TByteSpan part = BoxPartOfRow(row, layout, box.Left, box.Right);
        text.append(row.substr(static_cast<std::size_t>(part.Begin), static_cast<std::size_t>(part.End - part.Begin)));
        text.append("\r\n");
    }
    return text;
}

std::int64_t StreamLength(const TEditorStringList& rows, const TStreamRange& range) {
    if (range.Empty()) return 0;
    std::int64_t length = 0;
    for (int r = range.Start.Row; r <= range.End.Row && r < rows.Count(); ++r) {
        const int from = r == range.Start.Row ? range.Start.Offset : 0;
        const int to = r == range.End.Row ? range.End.Offset : RowLength(rows, r);
        length += std::max(0, to - from);
        if (r < range.End.Row && EndsLine(rows, r)) length += kBreakBytes;
    }
    return length;
}

std::int64_t BoxLength(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box) {
    if (box.Empty()) return 0;
    std::int64_t length = 0;
    for (int r = std::max(0, box.Top); r <= box.Bottom && r < rows.Count(); ++r) {
        const TByteSpan part = BoxPartOfRow(rows.View(r), layout, box.Left, box.Right);
        length += part.End - part.Begin + kBreakBytes;
    }
    return length;
}

std::int64_t TextOffsetOf(const TEditorStringList& rows, TRowOffset pos) {
    const int row = ClampRow(rows, pos.Row);
    std::int64_t offset = 0;
    for (int r = 0; r < row;) {
        const auto block = rows.PackedRowsAt(r);
        const int end = std::min(block.Count(), row - block.FirstRow);
        offset += TextBytesOf(block, r - block.FirstRow, end);
        r = block.FirstRow + end;
    }
    return offset + std::clamp(pos.Offset, 0, RowLength(rows, row));
}

TRowOffset PositionOfTextOffset(const TEditorStringList& rows, std::int64_t offset, int fromRow) {
    offset = std::max<std::int64_t>(0, offset);
    const int n = rows.Count();
    int checked = 0;  // rows before this are in a block the offset ends in
    for (int r = std::max(0, fromRow); r < n; ++r) {
        // Whole blocks the offset goes past are skipped at once.
        while (r >= checked) {
            const auto block = rows.PackedRowsAt(r);
            const std::int64_t bytes = TextBytesOf(block, r - block.FirstRow, block.Count());
            checked = block.FirstRow + block.Count();
            if (offset <= bytes) break;
            offset -= bytes;
            r = checked;
            if (r >= n) return TextEnd(rows);
        }
        const int length = RowLength(rows, r);
        if (offset <= length) {
            // The end of a soft-wrapped row is the start of the next one.
            if (offset == length && rows.RowEnding(r) == reWrapped && r + 1 < n) return {r + 1, 0};
            return {r, static_cast<int>(offset)};
        }
        offset -= length;
        if (EndsLine(rows, r)) {
            // Inside a CR LF: the position after it.
            if (offset <= kBreakBytes) return {r + 1, 0};
            offset -= kBreakBytes;
        }
    }
    return TextEnd(rows);
}

TRowOffset TextEnd(const TEditorStringList& rows) {
    const int n = rows.Count();
    if (n == 0) return {0, 0};
    if (rows.RowEnding(n - 1) == reBreak) return {n, 0};
    return {n - 1, RowLength(rows, n - 1)};
}

TRowSpan BlockRowsOf(const TEditorStringList& rows, const TStreamRange& range) {
    if (range.Empty()) return {};
    int last = range.End.Row;
    if (range.End.Offset == 0 && last > range.Start.Row) --last;
    return {range.Start.Row, std::min(last, rows.Count() - 1)};
}

TRowSpan BlockRowsOf(const TEditorStringList& rows, const TBoxRange& box) {
    if (box.Empty()) return {};
    return {std::max(0, box.Top), std::min(box.Bottom, rows.Count() - 1)};
}

}  // namespace quodle
