#pragma once
// What the editor asks of the tokenizer: word-jump stops, the token at a
// position, the kind at an offset, and the matching bracket.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/Fountain.h"
#include "text/CellMap.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

// A row's tokens as word jumps see them: scanned from the not-computed
// state, so no bracket region opens and the row above does not matter.
std::vector<TTokenSpan> JumpTokens(TFountainParser& parser, std::string_view row);
// The next stop after `offset`: the start of the next token that is not a
// tokSymbol, or with tokenEndStop the next token start or end. Nothing past
// the last token.
std::optional<int> NextWordStop(std::span<const TTokenSpan> tokens, int offset, bool tokenEndStop);
// The mirror image: the last stop before `offset`.
std::optional<int> PrevWordStop(std::span<const TTokenSpan> tokens, int offset, bool tokenEndStop);

// Scans rows forward from the stored state of `row` (computed first when
// missing), carrying the state from row to row: a pass down the rows needs
// no other stored state.
class TRowScanner {
public:
    TRowScanner(TEditorScreenStrings& rows, TFountainParser& parser, int row);
    // The row the next call scans.
    int Row() const { return row_; }
    // The tokens of the current row, valid until the parser scans again;
    // then moves on to the next row. Call only while Row() < the row count.
    std::span<const TTokenSpan> Next();

private:
    TEditorScreenStrings& rows_;
    TFountainParser& parser_;
    int row_;
    TRowParseState state_;
};

// A row's tokens from its stored state (computed first when missing).
std::vector<TTokenSpan> RowTokens(TEditorScreenStrings& rows, TFountainParser& parser, int row);
// The kind of the token of `row` that covers byte `offset`; tokEnd for none.
TTokenKind TokenKindAt(TEditorScreenStrings& rows, TFountainParser& parser, int row, int offset);

struct TTokenHit {
    std::string Text;
    TTokenKind Kind = tokEnd;
};
// The token that covers byte `offset` of `text` scanned from `state`.
TTokenHit TokenInText(TFountainParser& parser, std::string_view text, const TRowParseState& state, int offset);

// The bracket pairs, opening and closing characters paired by position.
const std::vector<std::string_view>& OpeningBrackets();
const std::vector<std::string_view>& ClosingBrackets();
// If the character at (row, offset) is a bracket of the symbol kinds, the
// position of its partner, counting nesting and skipping brackets inside
// strings, comments and bracket regions. Updates row and offset on success.
bool FindMatchingBracket(TEditorScreenStrings& rows, TFountainParser& parser, int& row, int& offset);

// Each tab replaced by spaces up to its stop.
std::string ExpandTabs(std::string_view text, const TCellLayout& layout);

}  // namespace quodle
