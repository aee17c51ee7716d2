// The LISP fountain keeping the row store's states: a block comment over
// 10 000 rows, edits inside it, and fountain changes.
#include <gtest/gtest.h>

#include <string>

#include "support/FakeEditor.h"
#include "syntax/ProgramFountains.h"
#include "text/EditorScreenStrings.h"

namespace quodle {
namespace {

// The fountain's state parser, counting the rows it is asked to scan.
class TCountingParser : public TRowStateParser {
public:
    explicit TCountingParser(TFountain& fountain) : fountain_(fountain) {}
    int scans = 0;
    TRowParseState ScanRow(std::string_view row, const TRowParseState& start) override {
        ++scans;
        return fountain_.StateParser().ScanRow(row, start);
    }

private:
    TFountain& fountain_;
};

constexpr int kCommentRows = 10000;
constexpr int kFirstInside = 2;                       // row 1 opens the comment
constexpr int kCloseRow = kFirstInside + kCommentRows;  // "|; end"

class FountainRowStates : public ::testing::Test {
protected:
    FountainRowStates() : counting(*fountain) {
        editor.parser = &counting;
        editor.initBracketsFull = true;  // every state computed after loading
        rows.Attach(&editor);
        std::string text = "(setq a 1)\r\n;| start\r\n";
        for (int i = 0; i < kCommentRows; ++i) text += "  (comment text ; not code)\r\n";
        text += "|; end\r\n(setq b 2)\r\n";
        rows.SetAllText(text);
        fountain->Subscribe(&editor, [this](TNotifyPersistent&) { rows.UpdateAllStates(); });
    }
    ~FountainRowStates() override {
        fountain->Unsubscribe(&editor);
        rows.Detach(&editor);
    }
    int RowsPerScreen() const { return editor.screenHeight / editor.rowHeight; }

    std::unique_ptr<THyphenFountain> fountain = CreateHyphenFountain1();
    TCountingParser counting;
    test::TFakeEditor editor;
    TEditorScreenStrings rows;
};

TEST_F(FountainRowStates, BlockCommentStatesAfterLoading) {
    EXPECT_EQ(rows.Count(), kCloseRow + 2);
    EXPECT_EQ(rows.BracketIndex(1), -1);
    EXPECT_EQ(rows.BracketIndex(kFirstInside), 0);
    EXPECT_EQ(rows.BracketIndex(kCloseRow), 0);
    EXPECT_EQ(rows.BracketIndex(kCloseRow + 1), -1);
}

TEST_F(FountainRowStates, TypingInsideTheCommentRecomputesAtMostTwoScreens) {
    const int row = kFirstInside + kCommentRows / 2;
    counting.scans = 0;
    rows.ReplaceRows(row, 1, "  x(comment text ; not code)\r\n");
    // No state changes, so the scan stops right after the rebuilt rows (the
    // edited line and the one after it): the row above, and those two.
    EXPECT_LE(counting.scans, 3);
    EXPECT_EQ(rows.LastChange().StatesChanged, 2);
    EXPECT_EQ(rows.BracketIndex(row), 0);
    EXPECT_EQ(rows.BracketIndex(row + 1), 0);
    EXPECT_EQ(rows.BracketIndex(kCloseRow + 1), -1);
}

TEST_F(FountainRowStates, ClosingTheCommentEarlyStopsAtTwoScreensAndTheRestFollowsOnDemand) {
    const int row = 100;
    counting.scans = 0;
    rows.ReplaceRows(row, 1, "  |; (setq c 3)\r\n");
    // Every later state changed: the edited row and two screens below it
    // are recomputed (scanning starts at the row above).
    EXPECT_EQ(rows.LastChange().StatesChanged, 2 * RowsPerScreen() + 1);
    EXPECT_LE(counting.scans, 2 * RowsPerScreen() + 2);
    EXPECT_EQ(rows.BracketIndex(row), 0);
    EXPECT_EQ(rows.BracketIndex(row + 1), -1);
    EXPECT_EQ(rows.BracketIndex(row + 2 * RowsPerScreen()), -1);
    // Past the look-ahead nothing is computed until a row is about to be drawn.
    EXPECT_FALSE(rows.StateComputed(row + 2 * RowsPerScreen() + 1));
    EXPECT_FALSE(rows.StateComputed(kCloseRow));
    const TRowParseState atClose = rows.EnsureRowState(kCloseRow);
    EXPECT_EQ(atClose.BracketIndex, -1);
    // Outside the comment the old "|;" is a bar and a line comment.
    const auto parser = fountain->CreateParser();
    TRowParseState state = atClose;
    const auto tokens = parser->ParseRow(rows.View(kCloseRow), nullptr, state);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].Kind, tokSymbol);
    EXPECT_EQ(tokens[1].Kind, tokComment);
}

TEST_F(FountainRowStates, AFountainChangeRecomputesWithTheNewSettings) {
    fountain->Brackets()[0].SetLeftBracket("#|");
    EXPECT_EQ(rows.BracketIndex(kFirstInside + 10), -1);
    fountain->Brackets()[0].SetLeftBracket(";|");
    EXPECT_EQ(rows.BracketIndex(kFirstInside + 10), 0);
}

}  // namespace
}  // namespace quodle
