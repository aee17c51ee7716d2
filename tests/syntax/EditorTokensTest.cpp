#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

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

// Every bracket's partner against a plain stack over all list brackets of
// the text in order, on random texts of several rows with strings and
// comments (the search back reads each row forward once).
TEST_F(TokensTest, PartnersMatchAStackOverTheWholeText) {
    std::mt19937 random(7);
    const char* pieces[] = {"(", ")", "(", ")", " ", "a", "\"", ";", ";|", "|;", "\r\n", "\r\n"};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (int n = 0; n < 30; ++n) text += pieces[random() % std::size(pieces)];
        Load(text);
        using TPos = std::pair<int, int>;
        std::vector<TPos> brackets;
        for (int r = 0; r < rows.Count(); ++r)
            for (int k = 0; k < static_cast<int>(rows.View(r).size()); ++k)
                if ((rows.View(r)[static_cast<std::size_t>(k)] == '(' || rows.View(r)[static_cast<std::size_t>(k)] == ')') &&
                    TokenKindAt(rows, *parser, r, k) == tokSymbol)
                    brackets.push_back({r, k});
        std::map<TPos, TPos> partner;
        std::vector<TPos> open;
        for (const TPos& b : brackets) {
            if (rows.View(b.first)[static_cast<std::size_t>(b.second)] == '(') {
                open.push_back(b);
            } else if (!open.empty()) {
                partner[b] = open.back();
                partner[open.back()] = b;
                open.pop_back();
            }
        }
        for (const TPos& b : brackets) {
            const auto it = partner.find(b);
            const std::string expected =
                it == partner.end() ? "-" : std::to_string(it->second.first) + ":" + std::to_string(it->second.second);
            ASSERT_EQ(Match(b.first, b.second), expected) << text << " at " << b.first << ":" << b.second;
        }
    }
}

// A painter reads only the tokens of the cells it shows: a long row is
// read no further, and hands on no state; a short one hands on its own.
TEST_F(TokensTest, ARowScanGivesEveryRowTheTokensAndStateOfAScanOfItAlone) {
    // Mail addresses on a few rows only (the scan looks for their '@' a
    // block at a time); one swallows a ";|" that would open a block comment.
    Load("(a \"x@y\" b) ;c\r\n(setq m \"q\")\r\nmail a@b.jp;| z\r\nx\r\n;|\r\nin x@y.z |; q\r\n\r\n"
         "  (w www.a.jp)\r\n\t(f)\r\nlast@one.jp");
    const auto alone = fountain->CreateParser();
    TRowScanner scanner(rows, *parser, 0);
    TRowParseState state = InitialRowState(rows.RowEnding(0));
    int mails = 0;
    for (int r = 0; r < rows.Count(); ++r) {
        std::vector<TTokenSpan> scanned;
        scanner.Visit([&](std::span<const TTokenSpan> some) {
            scanned.insert(scanned.end(), some.begin(), some.end());
            return true;
        });
        EXPECT_TRUE(rows.RowState(r).SameStateAs(state)) << r;
        state.RowEnding = rows.RowEnding(r);
        const std::span<const TTokenSpan> tokens = alone->ParseRow(rows.View(r), nullptr, state);
        EXPECT_EQ(scanned, std::vector<TTokenSpan>(tokens.begin(), tokens.end())) << r;
        mails += static_cast<int>(
            std::count_if(tokens.begin(), tokens.end(), [](const TTokenSpan& t) { return t.Kind == tokMail; }));
        state.PrevRowEnding = state.RowEnding;
    }
    EXPECT_EQ(mails, 2);  // the third is inside the block comment
    EXPECT_EQ(rows.RowState(3).BracketIndex, -1);  // the ";|" inside the address opened nothing
    EXPECT_EQ(rows.RowState(5).BracketIndex, 0);
}

TEST_F(TokensTest, LeadingTokensStopAtTheBound) {
    std::string longRow;
    while (longRow.size() < 20000) longRow += "(setq a \"s\") ";
    std::vector<TTokenSpan> tokens;
    TRowParseState state;
    state.BracketIndex = -1;
    EXPECT_FALSE(LeadingTokens(*parser, longRow + ";| open", nullptr, state, 100, tokens));
    EXPECT_EQ(state.BracketIndex, -1);
    ASSERT_FALSE(tokens.empty());
    EXPECT_LT(tokens.back().Pos, 100u);
    EXPECT_GE(tokens.back().Pos + tokens.back().Length + 2, 100u);
    EXPECT_TRUE(LeadingTokens(*parser, "(a) ;| open", nullptr, state, 100, tokens));
    EXPECT_EQ(tokens.size(), 4u);
    EXPECT_EQ(state.BracketIndex, 0);
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
