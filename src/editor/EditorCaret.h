#pragma once
// Where the caret may stand: the caret-adjustment rules applied after every
// change of the caret's row or column.
#include "editor/EditorOptions.h"
#include "text/CellMap.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

// The highest column: a row is mapped up to this many cells, and the caret
// goes one further only after a double-byte character that starts on the
// last of them.
inline constexpr int kMaxCaretCol = kMaxMappedCells;

// The last row the caret may stand on: the row after the last one when the
// text ends with a break (or is empty), else the last row.
int LastCaretRow(const TEditorStringList& rows);

// How the caret got to a column.
struct TCaretMove {
    int Direction = 0;       // -1 left/up, 1 right/down, 0 set directly
    bool Vertical = false;   // Up, Down, page keys
    bool MouseDown = false;  // a mouse button is held
};

// The column the caret takes on a row with cell map `map` and ending
// `ending` when it is asked to go to `col`. `rememberedCol` is KeepCaret's
// memory of the column across shorter rows (-1: none); it is updated.
// wrapByte > 0 when word wrap is on.
int AdjustCaretColumn(const TEditorAttributeArray& map, TRowEnding ending, int col, const TCaretMove& move,
                      const TEditorCaretProp& caret, int wrapByte, int& rememberedCol);

}  // namespace quodle
