#include "editor/EditorCaret.h"

#include <algorithm>

namespace quodle {

int LastCaretRow(const TEditorStringList& rows) {
    const int n = rows.Count();
    if (n == 0) return 0;
    return rows.RowEnding(n - 1) == reBreak ? n : n - 1;
}

namespace {
bool InsideCharacter(const TEditorAttributeArray& map, int col, bool inTab) {
    const char code = map.At(col);
    return code == kCellDoubleSecond || (code == kCellTabFill && !inTab);
}
}  // namespace

int AdjustCaretColumn(const TEditorAttributeArray& map, TRowEnding ending, int col, const TCaretMove& move,
                      const TEditorCaretProp& caret, int wrapByte, int& rememberedCol) {
    col = std::clamp(col, 0, kMaxCaretCol + 1);
    const int width = map.Width();
    // 1. A vertical move with KeepCaret goes back to the remembered column.
    if (!move.Vertical) rememberedCol = -1;
    else if (caret.KeepCaret && rememberedCol >= 0) col = rememberedCol;
    // 2. Without a free caret the column stays within the text.
    if (!caret.FreeCaret && col > width) {
        if (caret.KeepCaret && move.Vertical) rememberedCol = col;
        if (!(caret.FreeRow && move.Vertical && !move.MouseDown)) col = width;
    }
    // 3. Never on the second cell of a double-byte character or, unless
    // InTab, inside a tab: on in the direction of the move.
    const int step = move.Direction < 0 ? -1 : 1;
    if (map.At(col) == kCellDoubleSecond) col += move.Direction == 0 ? -1 : step;
    while (InsideCharacter(map, col, caret.InTab)) col += move.Direction == 0 ? -1 : step;
    // 4. Word wrap: the end of a wrapped row is the start of the next one.
    if (wrapByte > 0 && col >= width) {
        if (ending == reWrapped) col = std::max(0, width - 1);
        else if (col >= wrapByte) col = std::max(width, wrapByte - 1);
        while (col > 0 && InsideCharacter(map, col, caret.InTab)) --col;
    }
    // 5. The last mapped cell, or the cell after a double-byte character
    // that starts on it.
    if (col > kMaxCaretCol) col = map.At(kMaxCaretCol - 1) == kCellDoubleFirst ? kMaxCaretCol + 1 : kMaxCaretCol;
    return col;
}

}  // namespace quodle
