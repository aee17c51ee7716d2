// Bracket depths kept by the row store: the depth at every row checked
// against a count from the top after each edit, undo and redo, with blocks
// of a few rows so that every split and merge keeps its fold.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "syntax/BracketDepth.h"
#include "syntax/ProgramFountains.h"
#include "text/EditorScreenStrings.h"

namespace quodle {
namespace {

class BracketDepths : public ::testing::Test {
protected:
    BracketDepths() : parser(fountain->CreateParser()) {
        editor.parser = parser.get();
        editor.wantsDepths = true;
        rows.Attach(&editor);
    }
    ~BracketDepths() override { rows.Detach(&editor); }

    // The depths at each row's start counted from the top, row after row,
    // by a parser of its own: '(' opens, ')' closes while one is open.
    std::vector<int> CountedDepths() const {
        const auto counting = fountain->CreateParser();
        std::vector<int> depths;
        TRowParseState state;
        int depth = 0;
        for (int r = 0; r < rows.Count(); ++r) {
            depths.push_back(depth);
            state.RowEnding = rows.RowEnding(r);
            const std::string_view text = rows.View(r);
            // A soft-wrapped row is read with the next, as the painter reads it.
            const bool wrapped = state.RowEnding == reWrapped && r + 1 < rows.Count();
            const TNextRow next{wrapped ? rows.View(r + 1) : std::string_view(), wrapped ? rows.RowEnding(r + 1) : reBreak};
            for (const TTokenSpan& t : counting->ParseRow(text, wrapped ? &next : nullptr, state)) {
                if (t.Kind != tokSymbol) continue;
                if (text[t.Pos] == '(') ++depth;
                if (text[t.Pos] == ')' && depth > 0) --depth;
            }
            state.PrevRowEnding = state.RowEnding;
        }
        return depths;
    }
    std::vector<int> KeptDepths() {
        std::vector<int> depths;
        for (int r = 0; r < rows.Count(); ++r) depths.push_back(rows.BracketDepthAt(r));
        return depths;
    }

    std::unique_ptr<THyphenFountain> fountain = CreateHyphenFountain1();
    std::unique_ptr<TFountainParser> parser;
    test::TFakeEditor editor;  // a screen of ten rows: states below it wait
    TEditorScreenStrings rows{TRowBlockSize{3, 48}};
};

TEST_F(BracketDepths, OnlyBracketsOfCodeCount) {
    rows.SetAllText(
        "(defun c:foo (/ a)\r\n"       // 0
        "  (setq a \"((\\\"(\")\r\n"   // 1: brackets and an escaped quote in a string
        "  ; ((( a comment\r\n"        // 2
        "  ;| a block (( comment\r\n"  // 3
        "  (( still |; (princ\r\n"     // 4: the block comment closes mid-row
        "  a))\r\n"                    // 5
        "))) (\r\n"                    // 6: two closers too many, then one opens
        "x\r\n");                      // 7
    const std::vector<int> expected{0, 1, 1, 1, 1, 2, 0, 1};
    EXPECT_EQ(KeptDepths(), expected);
    EXPECT_EQ(CountedDepths(), expected);
}

TEST_F(BracketDepths, EditsChangeTheDepthOfEveryRowBelow) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += i % 5 == 0 ? "(defun f (a)\r\n" : i % 5 == 4 ? "  )\r\n" : "  (g a \"(\")\r\n";
    rows.SetAllText(text);
    ASSERT_EQ(KeptDepths(), CountedDepths());
    struct TEdit {
        const char* what;
        int row, count;
        const char* text;
    } const edits[] = {
        {"an opening bracket on the first row", 0, 1, "((defun f (a)\r\n"},
        {"a bracket typed inside a string", 7, 1, "  (g a \"((\")\r\n"},
        {"a comment hiding a closing bracket", 9, 1, "  ;)\r\n"},
        {"a block comment opened over many rows", 12, 1, ";| (\r\n"},
        {"and closed again", 30, 1, "|; )\r\n"},
        {"rows inserted", 20, 0, "(\r\n(\r\n(\r\n"},
        {"rows deleted", 3, 6, ""},
        {"a row joined to the next", 15, 2, "(a b"},
    };
    for (const TEdit& e : edits) {
        ASSERT_TRUE(rows.ReplaceRows(e.row, e.count, e.text)) << e.what;
        EXPECT_EQ(KeptDepths(), CountedDepths()) << e.what;
    }
    const std::vector<int> edited = KeptDepths();
    while (rows.Undo()) EXPECT_EQ(KeptDepths(), CountedDepths());
    rows.SetAllText(text);
    const std::vector<int> original = KeptDepths();
    for (const TEdit& e : edits) rows.ReplaceRows(e.row, e.count, e.text);
    while (rows.Undo()) {
    }
    EXPECT_EQ(KeptDepths(), original);
    while (rows.Redo()) {
    }
    EXPECT_EQ(KeptDepths(), edited);
}

// Random edits anywhere, each checked before the next: the rows' own
// balances kept with their states and joined per block must always agree
// with a count from the top.
TEST_F(BracketDepths, RandomEditsKeepEveryDepth) {
    std::mt19937 random(34);
    const char* pieces[] = {"(", ")", "\"(\"", ";(", ";|", "|;", "a", "\r\n", "(x\r\n)", "\r\n\r\n"};
    std::string text;
    for (int i = 0; i < 60; ++i) text += i % 3 == 0 ? "(a (b)\r\n" : "  c)\r\n";
    rows.SetAllText(text);
    for (int step = 0; step < 300; ++step) {
        const int row = static_cast<int>(random() % static_cast<unsigned>(rows.Count()));
        const int count = static_cast<int>(random() % 3);
        std::string with = std::string(pieces[random() % std::size(pieces)]) + pieces[random() % std::size(pieces)];
        if (row + count > rows.Count()) continue;
        if (count > 0) with += "\r\n";  // whole rows replaced by whole rows
        rows.ReplaceRows(row, count, with);
        if (random() % 4 == 0) rows.Undo();
        ASSERT_EQ(KeptDepths(), CountedDepths()) << "step " << step;
    }
}

TEST_F(BracketDepths, SoftWrappedRowsCountTheirOwnBrackets) {
    rows.WrapOption().SetWrapByte(20);
    rows.SetWordWrap(true);
    // Strings and comments cut by the wrap keep their brackets out.
    rows.SetAllText(
        "(defun f (a) (g (h \"((((((((((((\" a) ; ((((((((((((((((\r\n"
        "  (k (l (m (n (o (p (q (r (s (t (u (v (w\r\n"
        "  ))))))))))))))\r\n");
    ASSERT_GT(rows.Count(), 6);
    EXPECT_EQ(KeptDepths(), CountedDepths());
    EXPECT_EQ(rows.BracketDepthAt(rows.LineToRow(1)), 2);
    EXPECT_EQ(rows.BracketDepthAt(rows.LineToRow(2)), 15);
    rows.ReplaceRows(0, 0, "(");
    EXPECT_EQ(KeptDepths(), CountedDepths());
    EXPECT_EQ(rows.BracketDepthAt(rows.LineToRow(2)), 16);
}

TEST_F(BracketDepths, KeptOnlyWhileAnEditorWantsThem) {
    editor.wantsDepths = false;
    rows.RefreshBracketDepths();
    rows.SetAllText("((\r\n(\r\n)\r\nx\r\n");
    EXPECT_EQ(KeptDepths(), (std::vector<int>{0, 0, 0, 0}));
    // States computed meanwhile carry no balances: keeping starts afresh.
    rows.ReplaceRows(0, 1, "(((\r\n");
    editor.wantsDepths = true;
    rows.RefreshBracketDepths();
    EXPECT_EQ(KeptDepths(), (std::vector<int>{0, 3, 4, 3}));
}

TEST(DepthColoring, BracketsTakeTheColourOfTheirDepth) {
    const auto fountain = CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    const std::string text = "(a (b \"(\") c)) ;(";
    TRowParseState state;
    const std::vector<TTokenSpan> tokens = [&] {
        const auto span = parser->ParseRow(text, nullptr, state);
        return std::vector<TTokenSpan>(span.begin(), span.end());
    }();
    ASSERT_EQ(tokens.size(), 10u);
    for (const bool dark : {false, true}) {
        const auto cycle = DepthColors(dark);
        std::optional<TDepthColoring> depths(std::in_place, dark, 5);
        std::vector<const TFountainColor*> colors;
        for (const TTokenSpan& t : tokens) colors.push_back(TokenColorBy(depths, *parser, t, text));
        // From depth 5: the cycle wraps at 6, and each closing bracket takes
        // its opening one's colour; the string's and the comment's brackets
        // keep the fountain's colours.
        const std::vector<const TFountainColor*> expected{
            &cycle[5], parser->TokenColor(tokens[1], text), &cycle[0], parser->TokenColor(tokens[3], text),
            parser->TokenColor(tokens[4], text), &cycle[0], parser->TokenColor(tokens[6], text), &cycle[5],
            &cycle[4], parser->TokenColor(tokens[9], text)};
        EXPECT_EQ(colors, expected);
        EXPECT_EQ(depths->Depth(), 4);
        std::optional<TDepthColoring> none;
        EXPECT_EQ(TokenColorBy(none, *parser, tokens[0], text), parser->TokenColor(tokens[0], text));
    }
    // A closing bracket with none open keeps the fountain's colour.
    std::optional<TDepthColoring> top(std::in_place, false, 0);
    EXPECT_EQ(TokenColorBy(top, *parser, tokens[5], text), parser->TokenColor(tokens[5], text));
    EXPECT_EQ(top->Depth(), 0);
}

TEST(DepthColoring, TheCycleFollowsTheBackground) {
    EXPECT_FALSE(IsDarkBackground(clWindow));
    EXPECT_FALSE(IsDarkBackground(clWhite));
    EXPECT_FALSE(IsDarkBackground(clCream));
    EXPECT_TRUE(IsDarkBackground(clBlack));
    EXPECT_TRUE(IsDarkBackground(clNavy));
    EXPECT_TRUE(IsDarkBackground(0x1E1E1E));
    EXPECT_NE(DepthColors(false).data(), DepthColors(true).data());
}

}  // namespace
}  // namespace quodle
