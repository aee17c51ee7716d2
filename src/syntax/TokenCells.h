#pragma once
// The characters of a row with the colour of the token that covers each:
// the one walk the editor's painter and the printer share, so a row is
// coloured the same on screen and on paper.
#include <span>
#include <string_view>

#include "base/ShiftJis.h"
#include "syntax/Fountain.h"
#include "text/CellMap.h"

namespace quodle {

struct TTokenCell {
    std::size_t Pos = 0;     // byte offset of the character
    std::size_t Length = 0;  // its bytes
    int Column = 0;          // first cell
    int Cells = 0;           // cells it takes (a TAB up to its stop)
    // The covering token's colour; null between tokens or for a token the
    // fountain gives no colour (the painter's defaults apply).
    const TFountainColor* Color = nullptr;
};

// Visits each character of `text` that starts before cell `endColumn`, in
// order; a token's colour is looked up once, at its first character, by
// colorOf(token): the tokens up to there are looked up each once, in order.
template <class TColorOf, class TVisit>
void ForEachTokenCell(std::string_view text, std::span<const TTokenSpan> tokens, const TCellLayout& layout,
                      int endColumn, TColorOf&& colorOf, TVisit&& visit) {
    std::size_t t = 0;
    std::size_t colorToken = static_cast<std::size_t>(-1);
    TTokenCell cell;
    for (std::size_t i = 0; i < text.size() && cell.Column < endColumn;) {
        cell.Pos = i;
        cell.Length = CharLengthAt(text, i);
        cell.Cells = text[i] == '\t' ? TabWidthAt(cell.Column, layout) : static_cast<int>(cell.Length);
        while (t < tokens.size() && tokens[t].Pos + tokens[t].Length <= i) ++t;
        if (t >= tokens.size() || tokens[t].Pos > i) {
            cell.Color = nullptr;
            colorToken = static_cast<std::size_t>(-1);
        } else if (colorToken != t) {
            colorToken = t;
            cell.Color = colorOf(tokens[t]);
        }
        visit(static_cast<const TTokenCell&>(cell));
        cell.Column += cell.Cells;
        i += cell.Length;
    }
}

}  // namespace quodle
