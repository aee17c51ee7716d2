#include "lisp/BracketCount.h"

#include <algorithm>
#include <cstdio>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

// Progress of a count over lines: one step at every line index that is a
// multiple of count / 100 (1 when that is 0), in either direction.
class TLineSteps {
public:
    TLineSteps(TProgressSink* sink, std::size_t count) : sink_(sink), step_(std::max<std::size_t>(count / 100, 1)) {}
    void At(std::size_t line) {
        if (sink_ && line % step_ == 0) sink_->StepIt();
    }
    ~TLineSteps() {
        if (sink_) sink_->SetPosition(0);
    }

private:
    TProgressSink* sink_;
    std::size_t step_;
};

// Calls bracket(offset, opening) for each "(" and ")" of a line in [from,
// to) that a symbol token covers, in order; the scan stops past `to`.
template <class TBracket>
void ForEachListBracket(const TLineTokens& doc, std::size_t line, std::size_t from, std::size_t to,
                        TBracket&& bracket) {
    const std::string_view text = doc.Line(line);
    to = std::min(to, text.size());
    doc.VisitTokens(line, [&](std::span<const TTokenSpan> tokens) {
        for (const TTokenSpan& t : tokens) {
            if (t.Pos >= to) return false;
            if (t.Kind != tokSymbol) continue;
            const std::size_t end = std::min(t.Pos + t.Length, to);
            for (std::size_t k = std::max(t.Pos, from); k < end; ++k)
                if (text[k] == '(' || text[k] == ')') bracket(k, text[k] == '(');
        }
        return true;
    });
}

// The line break inside a message box text.
constexpr const char* kBreak = "\r";

}  // namespace

std::string FormatBracketCount(int opening, int closing) {
    const char relation = opening == closing ? '=' : (opening > closing ? '>' : '<');
    char text[64];
    std::snprintf(text, sizeof text, "( %d %c %d )", opening, relation, closing);
    return text;
}

TBracketCount CountAllBrackets(const TLineTokens& doc, TProgressSink* progress) {
    TBracketCount count;
    TLineSteps steps(progress, doc.LineCount());
    for (std::size_t i = 0; i < doc.LineCount(); ++i) {
        steps.At(i);
        const std::string_view line = doc.Line(i);
        doc.VisitTokens(i, [&](std::span<const TTokenSpan> tokens) {
            for (const TTokenSpan& t : tokens) {
                if (t.Kind == tokSymbol && t.Length == 1 && t.Pos < line.size()) {
                    if (line[t.Pos] == '(') ++count.Opening;
                    if (line[t.Pos] == ')') ++count.Closing;
                }
                if (count.Opening == count.Closing) count.BalanceLine = static_cast<int>(i);
            }
            return true;
        });
    }
    return count;
}

TBracketCount CountBracketsFromEnd(const TLineTokens& doc, TProgressSink* progress) {
    TBracketCount count;
    TLineSteps steps(progress, doc.LineCount());
    for (std::size_t i = doc.LineCount(); i-- > 0;) {
        steps.At(i);
        const std::size_t length = doc.Line(i).size();
        // One pass forward over the line. Going back, the counts after the
        // byte at k differ by (counts so far) + (the line's own difference)
        // - prefix(k), prefix(k) being opening minus closing before k. The
        // prefix moves by one per bracket, so over the line's bytes it takes
        // every value between its lowest and highest.
        int opening = 0, closing = 0, prefix = 0, low = 0, high = 0;
        ForEachListBracket(doc, i, 0, length, [&](std::size_t k, bool open) {
            ++(open ? opening : closing);
            prefix += open ? 1 : -1;
            if (k + 1 < length) {
                low = std::min(low, prefix);
                high = std::max(high, prefix);
            }
        });
        const int target = count.Opening - count.Closing + opening - closing;
        if (length > 0 && low <= target && target <= high) count.BalanceLine = static_cast<int>(i);
        count.Opening += opening;
        count.Closing += closing;
    }
    return count;
}

TBracketReport CountAllBracketsCommand(const TLineTokens& doc, TProgressSink* progress) {
    TBracketReport r;
    r.Count = CountAllBrackets(doc, progress);
    r.Panel = FormatBracketCount(r.Count.Opening, r.Count.Closing);
    const std::string heading = std::string("括弧数 ： ");
    if (r.Count.Opening > r.Count.Closing) {
        r.Move = TBracketReport::cmBalanceAtTop;
        r.CaretLine = r.Count.BalanceLine;
        r.Message = heading + r.Panel + kBreak + "最終一致行 ： " + std::to_string(r.Count.BalanceLine + 1) + kBreak +
                    "これより後ろの行で括弧数が合っていません．";
    } else if (r.Count.Opening == 0 && r.Count.Closing == 0) {
        r.Message = "括弧はありません．";
    } else if (r.Count.Opening == r.Count.Closing) {
        r.Message = heading + r.Panel + kBreak + "括弧数は一致しています．";
    } else {
        const TBracketCount back = CountBracketsFromEnd(doc, progress);
        r.Move = TBracketReport::cmBalanceAtBottom;
        r.CaretLine = back.BalanceLine;
        r.Count = back;
        r.Message = heading + FormatBracketCount(back.Opening, back.Closing) + kBreak + "最終一致行 ： " +
                    std::to_string(back.BalanceLine + 1) + kBreak + "これより前の行で括弧数が合っていません．";
    }
    r.Message = Utf8ToCp932(r.Message);
    return r;
}

int BottomAlignedTopRow(int caretRow, int visibleRows) { return std::max(caretRow - visibleRows + 1, 0); }

std::string CountSelectedBrackets(const TLineTokens& doc, TSelectionRange sel, TProgressSink* progress) {
    const int lineCount = static_cast<int>(doc.LineCount());
    if (lineCount == 0) return FormatBracketCount(0, 0);
    // The whole document: the inclusive end on the last byte of the last
    // row, or in the row after a final line break.
    const int lastLength = static_cast<int>(doc.Line(static_cast<std::size_t>(lineCount - 1)).size());
    if (sel.StartRow == 0 && sel.StartOffset <= 0 &&
        (sel.EndRow > lineCount - 1 || (sel.EndRow == lineCount - 1 && sel.EndOffset + 1 >= lastLength))) {
        const TBracketCount all = CountAllBrackets(doc, progress);
        return FormatBracketCount(all.Opening, all.Closing);
    }
    if (sel.EndOffset == -1 && sel.EndRow > 0) {
        sel.EndRow -= 1;
        sel.EndOffset = static_cast<int>(doc.Line(static_cast<std::size_t>(std::min(sel.EndRow, lineCount - 1))).size()) - 1;
    }
    const int first = std::max(sel.StartRow, 0);
    const int last = std::min(sel.EndRow, lineCount - 1);
    const int rows = std::max(last - first + 1, 0);
    int step = rows / 100;
    if (progress) progress->SetMaximum(step == 0 ? std::max(rows, 1) : TProgressSink::kMax);
    if (step == 0) step = 1;
    int opening = 0;
    int closing = 0;
    for (int row = first; row <= last; ++row) {
        if (progress && (row - first) % step == 0) progress->StepIt();
        const std::string_view line = doc.Line(static_cast<std::size_t>(row));
        const std::size_t from = row == sel.StartRow ? static_cast<std::size_t>(std::max(sel.StartOffset, 0)) : 0;
        const std::size_t to =
            row == sel.EndRow ? std::min(static_cast<std::size_t>(std::max(sel.EndOffset + 1, 0)), line.size()) : line.size();
        // Stepping by characters from `from` reaches every bracket in the
        // range: a bracket byte is never the second byte of a character.
        ForEachListBracket(doc, static_cast<std::size_t>(row), from, to,
                           [&](std::size_t, bool open) { ++(open ? opening : closing); });
    }
    if (progress) {
        progress->SetPosition(0);
        progress->SetMaximum(TProgressSink::kMax);
    }
    return FormatBracketCount(opening, closing);
}

TTextSpan BracketPairSelection(const TLineTokens& doc, int openLine, int openOffset, int closeLine, int closeOffset) {
    const auto offsetOf = [&doc](int line, int offset) {
        long long at = offset;
        for (int i = 0; i < line; ++i) at += static_cast<long long>(doc.Line(static_cast<std::size_t>(i)).size()) + 2;
        return at;
    };
    const long long start = offsetOf(openLine, openOffset);
    return {static_cast<int>(start), static_cast<int>(offsetOf(closeLine, closeOffset) - start + 1)};
}

std::string MatchingBracketPanel(char caretBracket, const TLineTokens& doc, int partnerLine, int partnerOffset) {
    const std::string_view line = doc.Line(static_cast<std::size_t>(partnerLine));
    const int column = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(partnerOffset) + 1, line.size()));
    return MatchingBracketPanel(caretBracket, partnerLine, column);
}

std::string MatchingBracketPanel(char caretBracket, int partnerLine, int partnerColumn) {
    char text[96];
    std::snprintf(text, sizeof text, caretBracket == '(' ? " ) = %d行 : %d桁" : " ( = %d行 : %d桁", partnerLine + 1,
                  partnerColumn);
    return text;
}

}  // namespace quodle
