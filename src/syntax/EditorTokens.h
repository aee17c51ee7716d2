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
// no other stored state. A row is read a batch of tokens at a time, so a
// scan takes the same memory however long its rows are. The rows' texts
// must not change while a scanner is used (their states may).
class TRowScanner {
public:
    TRowScanner(TEditorScreenStrings& rows, TFountainParser& parser, int row);
    // The row the next call scans.
    int Row() const { return row_; }
    // Hands the tokens of the current row to visit(span) a batch at a time
    // until it returns false, then moves on to the next row. Call only
    // while Row() < the row count.
    template <class TVisit>
    void Visit(TVisit&& visit) {
        bool whole = true;
        for (std::span<const TTokenSpan> some = Begin(); !some.empty(); some = parser_.NextTokens())
            if (!visit(some)) {
                whole = false;
                break;
            }
        End(whole);
    }

private:
    // The row's first tokens.
    std::span<const TTokenSpan> Begin();
    // A row left early hands on no state: the next row takes its stored one.
    void End(bool whole);

    TEditorScreenStrings& rows_;
    TFountainParser& parser_;
    int row_;
    TRowParseState state_;
    bool stale_ = false;
    TNextRow next_;
    TheStringList::TRowCursor texts_;  // at row_
};

// The tokens of a row that start before byte `bytes` into `out`: what a
// painter needs of a row that shows only its first cells. True when the
// whole row was read, `state` then being the state at the start of the next
// row; a row cut short leaves `state` as it was.
bool LeadingTokens(TFountainParser& parser, std::string_view text, const TNextRow* next, TRowParseState& state,
                   std::size_t bytes, std::vector<TTokenSpan>& out);

// The kind of the token of `row` that covers byte `offset`; tokEnd for none.
TTokenKind TokenKindAt(TEditorScreenStrings& rows, TFountainParser& parser, int row, int offset);

struct TTokenHit {
    std::string Text;
    TTokenKind Kind = tokEnd;
    std::size_t Pos = 0;  // where the token starts
};
// The token that covers byte `offset` of `text` scanned from `state`.
TTokenHit TokenInText(TFountainParser& parser, std::string_view text, const TRowParseState& state, int offset);
// The same by the plain word tokenizer from an empty state: words of letters
// and digits and single signs, with no bracket, comment or string rules.
TTokenHit PlainTokenAt(std::string_view text, int offset);

// The bracket pairs, opening and closing characters paired by position.
const std::vector<std::string_view>& OpeningBrackets();
const std::vector<std::string_view>& ClosingBrackets();
// If the character at (row, offset) is a bracket of the symbol kinds, the
// position of its partner, counting nesting and skipping brackets inside
// strings, comments and bracket regions. Updates row and offset on success.
bool FindMatchingBracket(TEditorScreenStrings& rows, TFountainParser& parser, int& row, int& offset);

// Each tab replaced by spaces up to its stop.
std::string ExpandTabs(std::string_view text, const TCellLayout& layout);
// The same, appended to `out`.
void ExpandTabsInto(std::string& out, std::string_view text, const TCellLayout& layout);

}  // namespace quodle
