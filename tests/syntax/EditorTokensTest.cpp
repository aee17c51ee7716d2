#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "support/FakeEditor.h"
#include "syntax/EditorTokens.h"
#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

struct TokensTest : ::testing::Test {
    std::unique_ptr<THyphenFountain> fountain = CreateHyphenFountain1();
    std::unique_ptr<TFountainParser> parser = fountain->CreateParser();
    std::unique_ptr<TFountainParser> stateParser = fountain->CreateParser();
    TEditorScreenStrings rows{{2, 16}};
    test::TFakeEditor ed;
    void SetUp() override {
        ed.parser = stateParser.get();
        rows.Attach(&ed);
    }
    void Load(const std::string& utf8) { rows.SetAllText(Utf8ToCp932(utf8)); }
    // The bracket partner of (row, offset) as "row:offset", or "-".
    std::string Match(int row, int offset) {
        if (!FindMatchingBracket(rows, *parser, row, offset)) return "-";
        return std::to_string(row) + ":" + std::to_string(offset);
    }
};

TEST_F(TokensTest, WordStopsSkipSymbolsUnlessTokenEndsStop) {
    const std::string row = "(setq ab 12)";
    const std::vector<TTokenSpan> tokens = JumpTokens(*parser, row);
    std::vector<int> next, nextEnds, prev;
    for (std::optional<int> o = 0; (o = NextWordStop(tokens, *o, false));) next.push_back(*o);
    for (std::optional<int> o = 0; (o = NextWordStop(tokens, *o, true));) nextEnds.push_back(*o);
    for (std::optional<int> o = 12; (o = PrevWordStop(tokens, *o, false));) prev.push_back(*o);
    EXPECT_EQ(next, (std::vector<int>{1, 6, 9}));
    EXPECT_EQ(nextEnds, (std::vector<int>{1, 5, 6, 8, 9, 11, 12}));
    EXPECT_EQ(prev, (std::vector<int>{9, 6, 1}));
}

TEST_F(TokensTest, WordJumpsNeverOpenABracketRegion) {
    // From a state not computed, ";|" is a line comment, not a block comment.
    const std::vector<TTokenSpan> tokens = JumpTokens(*parser, "a ;| b");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[1].Kind, tokComment);
}

TEST_F(TokensTest, KindAtUsesTheStoredRowState) {
    Load("(a \"x y\" b) ;c\r\n;|\r\nin |; z");
    EXPECT_EQ(TokenKindAt(rows, *parser, 0, 1), tokWord);
    EXPECT_EQ(TokenKindAt(rows, *parser, 0, 2), tokEnd);  // a blank
    EXPECT_EQ(TokenKindAt(rows, *parser, 0, 5), tokQuoted);
    EXPECT_EQ(TokenKindAt(rows, *parser, 0, 10), tokSymbol);
    EXPECT_EQ(TokenKindAt(rows, *parser, 0, 13), tokComment);
    // Row 2 starts inside the block comment opened on row 1.
    EXPECT_EQ(TokenKindAt(rows, *parser, 2, 0), tokBracket);
    EXPECT_EQ(TokenKindAt(rows, *parser, 2, 6), tokWord);
}

TEST_F(TokensTest, MatchingBracketsNestAndSkipStringsAndComments) {
    Load("(a (b \")\") ; )\r\n c)\r\n（「x」）");
    EXPECT_EQ(Match(0, 0), "1:2");
    EXPECT_EQ(Match(1, 2), "0:0");
    EXPECT_EQ(Match(0, 3), "0:9");
    EXPECT_EQ(Match(0, 7), "-");   // inside a string
    EXPECT_EQ(Match(0, 13), "-");  // inside a comment
    EXPECT_EQ(Match(0, 1), "-");   // not a bracket
    EXPECT_EQ(Match(2, 0), "2:7");  // full-width pair, compared whole
    EXPECT_EQ(Match(2, 7), "2:0");
    EXPECT_EQ(Match(2, 2), "2:5");
    EXPECT_EQ(Match(2, 1), "-");  // the second byte of （
}

TEST_F(TokensTest, AnUnbalancedBracketHasNoPartner) {
    Load("((a)\r\n");
    EXPECT_EQ(Match(0, 0), "-");
    EXPECT_EQ(Match(0, 1), "0:3");
}

TEST_F(TokensTest, TokenInTextFindsTheCoveringToken) {
    const std::string line = "(vl-load-com) \"str\"";
    TRowParseState state;
    EXPECT_EQ(TokenInText(*parser, line, state, 5).Text, "vl-load-com");
    EXPECT_EQ(TokenInText(*parser, line, state, 5).Kind, tokWord);
    EXPECT_EQ(TokenInText(*parser, line, state, 15).Kind, tokQuoted);
    EXPECT_EQ(TokenInText(*parser, line, state, 13).Kind, tokEnd);
}

TEST(ExpandTabs, FillsToTheStops) {
    EXPECT_EQ(ExpandTabs("a\tb\t\tc", TCellLayout{4, 0}), "a   b       c");
    EXPECT_EQ(Cp932ToUtf8(ExpandTabs(Utf8ToCp932("あ\tx"), TCellLayout{4, 0})), "あ  x");
    EXPECT_EQ(ExpandTabs("ab\tc", TCellLayout{8, 3}), "ab c");
}

}  // namespace
}  // namespace quodle
