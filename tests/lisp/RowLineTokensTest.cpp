// The bracket tools on a real row store tokenized by the documents' LISP
// fountain: brackets in strings, comments and block comments over rows do
// not count.
#include <gtest/gtest.h>

#include "editor/StandaloneDocument.h"
#include "lisp/RowLineTokens.h"
#include "syntax/HyphenFountain.h"
#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

// A window-less document coloured by the documents' fountain.
struct TDocument {
    explicit TDocument(std::string_view text) { document.SetText(text); }
    TStandaloneDocument document{CreateHyphenFountain1()};
    TEditorScreenStrings& rows = document.Rows();
    TFountain& fountain = *document.Fountain();
};

struct TCountCase {
    const char* text;
    const char* panel;
    int balanceLine;
};

TEST(RowLineTokensTest, CountsOnlyListBrackets) {
    const TCountCase cases[] = {
        {"(setq a \"(\") ; )", "( 1 = 1 )", 0},
        {"(a\r\n;| ( ) )\r\n ( \r\n |;\r\n)", "( 1 = 1 )", 4},
        {"(princ \"a\\\"(\")", "( 1 = 1 )", 0},
        {"(a)\r\n(b", "( 2 > 1 )", 0},
        {"", "( 0 = 0 )", -1},
    };
    for (const TCountCase& c : cases) {
        TDocument doc(c.text);
        const TRowLineTokens tokens(doc.rows, doc.fountain);
        const TBracketCount count = CountAllBrackets(tokens, nullptr);
        EXPECT_EQ(FormatBracketCount(count.Opening, count.Closing), c.panel) << c.text;
        EXPECT_EQ(count.BalanceLine, c.balanceLine) << c.text;
    }
}

TEST(RowLineTokensTest, RecountAndSelectionFollowTheRowState) {
    TDocument doc("(a ;| x\r\n) |; ) ; (");
    const TRowLineTokens tokens(doc.rows, doc.fountain);
    // Row 1 starts inside the block comment carried over: its first ")" and
    // the one after ";" do not count.
    const TBracketCount back = CountBracketsFromEnd(tokens, nullptr);
    EXPECT_EQ(back.Opening, 1);
    EXPECT_EQ(back.Closing, 1);
    EXPECT_EQ(CountSelectedBrackets(tokens, {1, 0, 1, 7}, nullptr), "( 0 < 1 )");
    EXPECT_EQ(CountSelectedBrackets(tokens, {0, 0, 1, 3}, nullptr), "( 1 > 0 )");
}

// Rows read in order carry the state from row to row; read in any other
// order each starts from its stored state. Both must cut the same tokens,
// with and without word wrap (a word cut by a wrap continues on the next row).
TEST(RowLineTokensTest, RowsInOrderAndOutOfOrderTokenizeAlike) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "(defun f" + std::to_string(i) + " (a / b) ;| (\r\n  \"x\" |; (setq b \"(\\\"\r\n)\")\r\n";
        text += "  (princ \"\x93\xFA\x96\x7B\x8C\xEA\") ; )\r\n  (if a (progn (command \"_.LINE\") b)))\r\n";
    }
    for (const bool wrap : {false, true}) {
        TDocument doc(text);
        if (wrap) {
            doc.rows.WrapOption().SetWrapByte(20);
            doc.rows.SetWordWrap(true);
        }
        const auto collect = [&](bool reverse) {
            const TRowLineTokens tokens(doc.rows, doc.fountain);
            const std::size_t n = tokens.LineCount();
            std::vector<std::vector<std::pair<int, std::string>>> all(n);
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t row = reverse ? n - 1 - k : k;
                tokens.VisitTokens(row, [&](std::span<const TTokenSpan> out) {
                    for (const auto& t : out)
                        all[row].emplace_back(t.Kind, std::string(tokens.Line(row).substr(t.Pos, t.Length)));
                    return true;
                });
            }
            return all;
        };
        const auto forward = collect(false);
        doc.rows.UpdateAllStates();  // forget what the forward pass stored
        EXPECT_EQ(forward, collect(true)) << (wrap ? "wrapped" : "unwrapped");
        EXPECT_GT(forward.size(), 160u);
    }
}

}  // namespace
}  // namespace quodle
