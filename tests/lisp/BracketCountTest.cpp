#include <gtest/gtest.h>

#include <random>

#include "base/ShiftJis.h"
#include "lisp/BracketCount.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using quodle::testing::TRecordingSink;

// A small stand-in for the LISP tokenizer: strings (kind 26), ";" comments
// (7) and ";| |;" block comments over lines (6); outside them every bracket
// is a one-byte symbol token (1) and other runs of non-blanks are words (11).
class TFakeTokens : public TLineTokens {
public:
    explicit TFakeTokens(Lines lines) : lines_(std::move(lines)) {
        bool block = false;
        for (const auto& line : lines_) {
            std::vector<std::uint8_t> kinds(line.size(), 0);
            bool string = false;
            for (std::size_t k = 0; k < line.size(); ++k) {
                const char c = line[k];
                if (block) {
                    kinds[k] = 6;
                    if (c == ';' && k > 0 && line[k - 1] == '|') block = false;
                } else if (string) {
                    kinds[k] = 26;
                    if (c == '"') string = false;
                } else if (c == '"') {
                    kinds[k] = 26;
                    string = true;
                } else if (c == ';' && k + 1 < line.size() && line[k + 1] == '|') {
                    kinds[k] = 6;
                    block = true;
                } else if (c == ';') {
                    std::fill(kinds.begin() + static_cast<long>(k), kinds.end(), 7);
                    break;
                } else if (c == '(' || c == ')') {
                    kinds[k] = 1;
                } else if (c != ' ') {
                    kinds[k] = 11;
                }
            }
            kinds_.push_back(std::move(kinds));
        }
    }
    std::size_t LineCount() const override { return lines_.size(); }
    std::string_view Line(std::size_t line) const override { return lines_[line]; }
    // Three tokens at a time, so counts see batch boundaries.
    void VisitTokens(std::size_t line, const TVisit& visit) const override {
        const auto& kinds = kinds_[line];
        std::vector<TTokenSpan> tokens;
        for (std::size_t k = 0; k < kinds.size();) {
            std::size_t e = k + 1;
            if (kinds[k] != 1)
                while (e < kinds.size() && kinds[e] == kinds[k]) ++e;
            if (kinds[k] != 0) tokens.push_back({k, e - k, static_cast<TTokenKind>(kinds[k])});
            k = e;
        }
        for (std::size_t i = 0; i < tokens.size(); i += 3) {
            ++batches;
            if (!visit(std::span(tokens).subspan(i, std::min<std::size_t>(3, tokens.size() - i)))) return;
        }
    }
    std::uint8_t KindAt(std::size_t line, std::size_t offset) const { return kinds_[line][offset]; }
    mutable int batches = 0;

private:
    Lines lines_;
    std::vector<std::vector<std::uint8_t>> kinds_;
};

TEST(BracketCount, CountText) {
    EXPECT_EQ(FormatBracketCount(1, 1), "( 1 = 1 )");
    EXPECT_EQ(FormatBracketCount(12, 3), "( 12 > 3 )");
    EXPECT_EQ(FormatBracketCount(2, 3), "( 2 < 3 )");
}

TEST(BracketCount, WholeDocumentReport) {
    struct Case {
        const char* what;
        Lines in;
        std::string panel;
        std::string message;
        TBracketReport::TCaretMove move;
        int caretLine;
    } cases[] = {
        {"brackets in strings and comments", {"(setq a \"(\") ; )"}, "( 1 = 1 )",
         "括弧数 ： ( 1 = 1 )\r括弧数は一致しています．", TBracketReport::cmNone, 0},
        {"block comment over lines", {"(a ;| (", "((", ") |; b)"}, "( 1 = 1 )",
         "括弧数 ： ( 1 = 1 )\r括弧数は一致しています．", TBracketReport::cmNone, 0},
        {"more opening", {"(a)", "(b"}, "( 2 > 1 )",
         "括弧数 ： ( 2 > 1 )\r最終一致行 ： 1\rこれより後ろの行で括弧数が合っていません．",
         TBracketReport::cmBalanceAtTop, 0},
        // Equal counts before any token of a line make no balance line.
        {"never balanced", {"", "(b"}, "( 1 > 0 )",
         "括弧数 ： ( 1 > 0 )\r最終一致行 ： 0\rこれより後ろの行で括弧数が合っていません．",
         TBracketReport::cmBalanceAtTop, -1},
        {"a token at equal counts sets the balance line", {"x", "(b"}, "( 1 > 0 )",
         "括弧数 ： ( 1 > 0 )\r最終一致行 ： 1\rこれより後ろの行で括弧数が合っていません．",
         TBracketReport::cmBalanceAtTop, 0},
        {"more closing recounts from the end", {"(a))", "(b)"}, "( 2 < 3 )",
         "括弧数 ： ( 2 < 3 )\r最終一致行 ： 2\rこれより前の行で括弧数が合っていません．",
         TBracketReport::cmBalanceAtBottom, 1},
        {"recount keeps the last balanced line going back", {"a)", "(b)", "c"}, "( 1 < 2 )",
         "括弧数 ： ( 1 < 2 )\r最終一致行 ： 2\rこれより前の行で括弧数が合っていません．",
         TBracketReport::cmBalanceAtBottom, 1},
        {"empty document", {}, "( 0 = 0 )", "括弧はありません．", TBracketReport::cmNone, 0},
        {"only comments", {"; (", "\"(\""}, "( 0 = 0 )", "括弧はありません．", TBracketReport::cmNone, 0},
    };
    for (const auto& c : cases) {
        const TFakeTokens doc(c.in);
        const TBracketReport r = CountAllBracketsCommand(doc, nullptr);
        EXPECT_EQ(r.Panel, c.panel) << c.what;
        EXPECT_EQ(Cp932ToUtf8(r.Message), c.message) << c.what;
        EXPECT_EQ(r.Move, c.move) << c.what;
        if (c.move != TBracketReport::cmNone) {
            EXPECT_EQ(r.CaretLine, c.caretLine) << c.what;
        }
    }
    EXPECT_EQ(BottomAlignedTopRow(30, 20), 11);
    EXPECT_EQ(BottomAlignedTopRow(5, 20), 0);
}

TEST(BracketCount, ProgressOverLines) {
    TRecordingSink sink;
    const TFakeTokens doc(Lines(250, "(a)"));
    // 250 div 100 = 2: a step at every even line (125 of them, the bar
    // stops at 100), then back to 0.
    CountAllBrackets(doc, &sink);
    ASSERT_EQ(sink.seen.size(), 101u);
    EXPECT_EQ(sink.seen[0], 1);
    EXPECT_EQ(sink.seen[99], 100);
    EXPECT_EQ(sink.seen.back(), 0);
}

TEST(BracketCount, Selection) {
    const TFakeTokens doc({"(setq a \"(\"", "  (b (c)) ; )", "x)"});
    struct Case {
        const char* what;
        TSelectionRange sel;
        std::string panel;
    } cases[] = {
        // Select-all: the inclusive end on the last byte, or before the row
        // after a final line break.
        {"whole document from select-all", {0, 0, 2, 1}, "( 3 = 3 )"},
        {"whole document into the row after a final break", {0, 0, 3, -1}, "( 3 = 3 )"},
        {"all but the last byte", {0, 0, 2, 0}, "( 3 > 2 )"},
        {"all but the last row", {0, 0, 2, -1}, "( 3 > 2 )"},
        {"part of one row, end inclusive", {1, 2, 1, 7}, "( 2 > 1 )"},
        {"over rows", {0, 1, 1, 12}, "( 2 = 2 )"},
        {"end before the end row", {1, 0, 2, -1}, "( 2 = 2 )"},
        {"strings and comments only", {0, 8, 0, 10}, "( 0 = 0 )"},
    };
    for (const auto& c : cases) EXPECT_EQ(CountSelectedBrackets(doc, c.sel, nullptr), c.panel) << c.what;

    // Fewer than 100 rows: the bar's maximum becomes the row count for the
    // count and returns to 100 after it.
    TRecordingSink sink;
    CountSelectedBrackets(doc, {1, 0, 2, 0}, &sink);
    EXPECT_EQ(sink.maxima, (std::vector<int>{2, 100}));
    EXPECT_EQ(sink.seen, (std::vector<int>{1, 2, 0}));
}

TEST(BracketCount, PairSelectionAndPanel) {
    const TFakeTokens doc({"(a (b)", "  c)"});
    // From the "(" at 0,0 to the ")" at 1,3: 0 .. (6 + 2) + 3.
    const TTextSpan all = BracketPairSelection(doc, 0, 0, 1, 3);
    EXPECT_EQ(all.Start, 0);
    EXPECT_EQ(all.Length, 12);
    const TTextSpan inner = BracketPairSelection(doc, 0, 3, 0, 5);
    EXPECT_EQ(inner.Start, 3);
    EXPECT_EQ(inner.Length, 3);
    EXPECT_EQ(MatchingBracketPanel('(', doc, 1, 3), " ) = 2行 : 4桁");
    EXPECT_EQ(MatchingBracketPanel(')', doc, 0, 0), " ( = 1行 : 1桁");
}

// The recount from the end and the selection count against their rules
// walked byte by byte, backward and forward, over random lines of brackets,
// strings, comments and words.
TEST(BracketCount, CountsMatchAByteWalkOnRandomLines) {
    std::mt19937 random(12);
    const std::string alphabet = "(((())))  ab\";|";
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 2000; ++round) {
        Lines lines(1 + below(5));
        for (auto& line : lines)
            for (std::size_t n = below(14); n > 0; --n) line += alphabet[below(alphabet.size())];
        const TFakeTokens doc(lines);
        const auto listBracket = [&](std::size_t i, std::size_t k) {
            const char c = lines[i][k];
            return (c == '(' || c == ')') && doc.KindAt(i, k) == tokSymbol ? c : '\0';
        };

        TBracketCount expected;
        for (std::size_t i = lines.size(); i-- > 0;)
            for (std::size_t k = lines[i].size(); k-- > 0;) {
                if (const char c = listBracket(i, k)) ++(c == '(' ? expected.Opening : expected.Closing);
                if (expected.Opening == expected.Closing) expected.BalanceLine = static_cast<int>(i);
            }
        const TBracketCount back = CountBracketsFromEnd(doc, nullptr);
        ASSERT_EQ(back.Opening, expected.Opening) << ::testing::PrintToString(lines);
        ASSERT_EQ(back.Closing, expected.Closing) << ::testing::PrintToString(lines);
        ASSERT_EQ(back.BalanceLine, expected.BalanceLine) << ::testing::PrintToString(lines);

        // A selection that ends before the last line, end byte included.
        if (lines.size() < 2) continue;
        TSelectionRange sel;
        sel.StartRow = static_cast<int>(below(lines.size() - 1));
        sel.EndRow = sel.StartRow + static_cast<int>(below(lines.size() - 1 - static_cast<std::size_t>(sel.StartRow)));
        sel.StartOffset = static_cast<int>(below(lines[static_cast<std::size_t>(sel.StartRow)].size() + 1));
        sel.EndOffset = static_cast<int>(below(lines[static_cast<std::size_t>(sel.EndRow)].size() + 1));
        int opening = 0, closing = 0;
        for (int i = sel.StartRow; i <= sel.EndRow; ++i) {
            const auto& line = lines[static_cast<std::size_t>(i)];
            const int from = i == sel.StartRow ? sel.StartOffset : 0;
            const int to = i == sel.EndRow ? std::min(sel.EndOffset + 1, static_cast<int>(line.size()))
                                           : static_cast<int>(line.size());
            for (int k = from; k < to; ++k)
                if (const char c = listBracket(static_cast<std::size_t>(i), static_cast<std::size_t>(k)))
                    ++(c == '(' ? opening : closing);
        }
        ASSERT_EQ(CountSelectedBrackets(doc, sel, nullptr), FormatBracketCount(opening, closing))
            << ::testing::PrintToString(lines) << " " << sel.StartRow << ":" << sel.StartOffset << "-" << sel.EndRow
            << ":" << sel.EndOffset;
    }
}

// A selection at the start of a long line reads only the tokens it needs.
TEST(BracketCount, SelectionStopsReadingPastItsEnd) {
    const TFakeTokens doc({std::string(3000, '('), ")"});
    EXPECT_EQ(CountSelectedBrackets(doc, {0, 0, 0, 4}, nullptr), "( 5 > 0 )");
    EXPECT_LE(doc.batches, 2);
}

}  // namespace
}  // namespace quodle
