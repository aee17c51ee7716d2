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
    std::vector<TLineTokens::TToken> tokens;
    for (std::size_t i = 0; i < doc.LineCount(); ++i) {
        steps.At(i);
        tokens.clear();
        doc.Tokens(i, tokens);
        for (const auto& t : tokens) {
            if (t.Kind == tokSymbol && t.Text == "(") ++count.Opening;
            if (t.Kind == tokSymbol && t.Text == ")") ++count.Closing;
            if (count.Opening == count.Closing) count.BalanceLine = static_cast<int>(i);
        }
    }
    return count;
}

TBracketCount CountBracketsFromEnd(const TLineTokens& doc, TProgressSink* progress) {
    TBracketCount count;
    TLineSteps steps(progress, doc.LineCount());
    for (std::size_t i = doc.LineCount(); i-- > 0;) {
        steps.At(i);
        const std::string_view line = doc.Line(i);
        for (std::size_t k = line.size(); k-- > 0;) {
            const char c = line[k];
            if ((c == '(' || c == ')') && doc.KindAt(i, k) == tokSymbol) ++(c == '(' ? count.Opening : count.Closing);
            if (count.Opening == count.Closing) count.BalanceLine = static_cast<int>(i);
        }
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
    if (sel.EndOffset == -1 && sel.EndRow > 0) {
        sel.EndRow -= 1;
        sel.EndOffset = static_cast<int>(doc.Line(static_cast<std::size_t>(std::min(sel.EndRow, lineCount - 1))).size()) - 1;
    }
    // Display width of a line: a Shift-JIS character takes as many cells as
    // it has bytes.
    const int lastWidth = static_cast<int>(doc.Line(static_cast<std::size_t>(lineCount - 1)).size());
    if (sel.StartRow == 0 && sel.StartOffset <= 0 && sel.EndRow >= lineCount - 1 &&
        (sel.EndOffset <= 0 || sel.EndOffset == lastWidth)) {
        const TBracketCount all = CountAllBrackets(doc, progress);
        return FormatBracketCount(all.Opening, all.Closing);
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
        for (std::size_t k = from; k < to; k += CharLengthAt(line, k)) {
            const char c = line[k];
            if ((c == '(' || c == ')') && doc.KindAt(static_cast<std::size_t>(row), k) == tokSymbol)
                ++(c == '(' ? opening : closing);
        }
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
