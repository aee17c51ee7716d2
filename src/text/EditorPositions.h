#pragma once
// Positions in two notations: Row/Col (a row of the row list and a display
// column in it) and Lines/Char (a logical line and a byte offset in it; a
// line soft-wrapped over several rows counts once). The status bar shows
// either; jumps and searches give Lines/Char and place the caret by Row/Col.
#include <compare>

#include "text/CellMap.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

// A text position: row and byte offset in the row.
struct TRowOffset {
    int Row = 0;
    int Offset = 0;
    auto operator<=>(const TRowOffset&) const = default;
};

struct TRowCol {
    int Row = 0;
    int Col = 0;
    bool operator==(const TRowCol&) const = default;
};

struct TLinePos {
    int Line = 0;
    int Offset = 0;  // bytes from the start of the line
    bool operator==(const TLinePos&) const = default;
};

// The byte offset within its logical line of the character at (row, col):
// the column is moved off the second cell of a double-byte character and
// off tab cells to the character's start, turned into a byte offset in the
// row (at most the row's length), and the lengths of the line's rows before
// it are added. 0 on the row after the last; -1 for a negative row or
// column or a row beyond that.
int OffsetInLine(const TEditorStringList& rows, int row, int col, const TCellLayout& layout);

// Row/Col to Lines/Char; rows and columns out of range are clamped first
// (the row to 0..Count(), the column to 0 and up).
TLinePos RowColToLinePos(const TEditorStringList& rows, int row, int col, const TCellLayout& layout);

// A byte offset in a row (clamped to the row's length) as a byte offset in
// its logical line, and back; the row and line are clamped as below. These
// keep a place in the text while the rows of its line are cut anew.
TLinePos RowOffsetToLinePos(const TEditorStringList& rows, int row, int offset);
TRowOffset LinePosToRowOffset(const TEditorStringList& rows, int line, int offset);

// Lines/Char to Row/Col. The line is clamped to 0..LineCount() (LineCount()
// is the row after the last), the offset into the line and off the second
// byte of a double-byte character. An offset where one row of a line ends
// and the next begins is on the next row, except at the end of the line.
TRowCol LinePosToRowCol(const TEditorStringList& rows, int line, int offset, const TCellLayout& layout);

}  // namespace quodle
