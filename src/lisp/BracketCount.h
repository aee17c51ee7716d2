#pragma once
// Bracket counts: the whole-document count (F4) with its report, the running
// count of a selection, and the selection of a bracket pair. Only list
// brackets count: a "(" or ")" the tokenizer classes as a symbol, never one
// inside a string, comment or block comment.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/Progress.h"
#include "syntax/Fountain.h"

namespace quodle {

// What the counts need of the document and its tokenizer. Lines are the
// editor's rows, one per logical line. Every count reads each line's tokens
// once, in order, so a count stays linear however long a line is.
class TLineTokens {
public:
    // Takes the next tokens of a line; false stops the line's scan.
    using TVisit = std::function<bool(std::span<const TTokenSpan>)>;

    virtual ~TLineTokens() = default;
    virtual std::size_t LineCount() const = 0;
    virtual std::string_view Line(std::size_t line) const = 0;
    // Hands the tokens of a line, scanned from the state recorded at its
    // start, to `visit` in order, some at a time.
    virtual void VisitTokens(std::size_t line, const TVisit& visit) const = 0;
};

struct TBracketCount {
    int Opening = 0;
    int Closing = 0;
    int BalanceLine = -1;  // 0-based; -1 when the counts were never equal
};

// "( %d = %d )", "( %d > %d )" or "( %d < %d )", opening count first.
std::string FormatBracketCount(int opening, int closing);

// Counts from the first line; the balance line is the last line on which
// the counts were equal after one of its tokens. Steps the progress in about
// 100 steps and sets it back to 0.
TBracketCount CountAllBrackets(const TLineTokens& doc, TProgressSink* progress);

// Counts from the last line back, character by character; the balance line
// is the last one (going back) on which the counts were equal after one of
// its characters. A bracket counts when the token that covers it is a symbol.
TBracketCount CountBracketsFromEnd(const TLineTokens& doc, TProgressSink* progress);

// What F4 shows and does with the counts.
struct TBracketReport {
    enum TCaretMove : std::uint8_t {
        cmNone,
        cmBalanceAtTop,     // caret row and first visible row = CaretLine
        cmBalanceAtBottom,  // caret row = CaretLine, scrolled to the last visible row
    };
    // The counts the command ends with: from the first line, or from the
    // last line back when closing brackets outnumber opening ones.
    TBracketCount Count;
    std::string Panel;    // status panel 4
    std::string Message;  // Shift-JIS like every engine text; a line break is a CR
    TCaretMove Move = cmNone;
    int CaretLine = 0;
};
TBracketReport CountAllBracketsCommand(const TLineTokens& doc, TProgressSink* progress);

// First visible row that shows `caretRow` as the last of `visibleRows`.
int BottomAlignedTopRow(int caretRow, int visibleRows);

// A stream selection as the editor keeps it: the end offset is inclusive, -1
// when the selection stops before the end row.
struct TSelectionRange {
    int StartRow = 0;
    int StartOffset = 0;
    int EndRow = 0;
    int EndOffset = 0;
};

// The panel-4 text for a non-empty selection: a selection of the whole
// document (from its start through its last byte, or into the row after a
// final line break) gets the whole-document count.
std::string CountSelectedBrackets(const TLineTokens& doc, TSelectionRange sel, TProgressSink* progress);

// SelStart and SelLength that select a bracket pair, both brackets
// included; every line before counts its length plus 2 for the line break.
struct TTextSpan {
    int Start = 0;
    int Length = 0;
};
TTextSpan BracketPairSelection(const TLineTokens& doc, int openLine, int openOffset, int closeLine, int closeOffset);

// Panel 5 after a pair was selected: " ) = %d行 : %d桁" when the caret stood
// on "(", " ( = %d行 : %d桁" on ")"; the partner's 1-based line and the
// display width of its line up to and including it.
std::string MatchingBracketPanel(char caretBracket, const TLineTokens& doc, int partnerLine, int partnerOffset);
// The same from the partner's 0-based line and its 1-based display column,
// for a caller that measures tabs on its own cell grid. Both texts are UTF-8.
std::string MatchingBracketPanel(char caretBracket, int partnerLine, int partnerColumn);

}  // namespace quodle
