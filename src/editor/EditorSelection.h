#pragma once
// Positions and selections over the rows, in the two measures an editor
// needs: display cells (where the caret and the mouse are) and bytes (what
// is copied, deleted and counted). The editor widget keeps an anchor and the
// caret in cells; everything below turns them into byte ranges.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/CellMap.h"
#include "text/EditorPositions.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

enum TSelectionMode { selStream, selBox };

// A display position: row and cell column.
struct TCellPos {
    int Row = 0;
    int Col = 0;
    auto operator<=>(const TCellPos&) const = default;
};

// A stream selection in bytes, End excluded. A selection that ends at
// offset 0 of a row stops before that row.
struct TStreamRange {
    TRowOffset Start;
    TRowOffset End;
    bool Empty() const { return !(Start < End); }
};

// A box selection: rows Top..Bottom, cells [Left, Right) of each.
struct TBoxRange {
    int Top = 0;
    int Bottom = 0;
    int Left = 0;
    int Right = 0;
    bool Empty() const { return Left >= Right; }
};

// The caret row may be the row after the last one (row Count()); it holds
// no text.
std::string_view RowTextOrEmpty(const TEditorStringList& rows, int row);

// Byte offset of the character on `col` of `row`, at most the row's length.
int OffsetOfCol(const TEditorStringList& rows, const TCellLayout& layout, int row, int col);

TStreamRange StreamRangeOf(const TEditorStringList& rows, const TCellLayout& layout, TCellPos a, TCellPos b);
TBoxRange BoxRangeOf(TCellPos a, TCellPos b);

// The bytes [begin, end) of the characters of `row` whose first cell lies in
// [left, right).
struct TByteSpan {
    int Begin = 0;
    int End = 0;
};
TByteSpan BoxPartOfRow(std::string_view row, const TCellLayout& layout, int left, int right);

// Selected text: a stream with CR LF after each row that ends a line inside
// it; a box as each row's part followed by CR LF.
std::string StreamText(const TEditorStringList& rows, const TStreamRange& range);
std::string BoxText(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box);
// Their lengths in bytes, counted the same way, without building the text.
std::int64_t StreamLength(const TEditorStringList& rows, const TStreamRange& range);
std::int64_t BoxLength(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box);

// Offsets into the whole text, CR LF counted as 2 after each row that ends
// a line. Out-of-range values are clamped.
std::int64_t TextOffsetOf(const TEditorStringList& rows, TRowOffset pos);
// The position `offset` bytes after the start of row `fromRow`. The end of
// a soft-wrapped row counts as the start of the next one.
TRowOffset PositionOfTextOffset(const TEditorStringList& rows, std::int64_t offset, int fromRow = 0);
// The end of the text: the last row's end, or the row after a final break.
TRowOffset TextEnd(const TEditorStringList& rows);

// The rows a block operation acts on: a stream selection that ends at
// offset 0 of a later row leaves that row out. first > last: none.
struct TRowSpan {
    int First = 0;
    int Last = -1;
};
TRowSpan BlockRowsOf(const TEditorStringList& rows, const TStreamRange& range);
TRowSpan BlockRowsOf(const TEditorStringList& rows, const TBoxRange& box);

}  // namespace quodle
