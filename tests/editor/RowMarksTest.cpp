#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/RowMarks.h"
#include "support/FakeEditor.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

using test::TFakeEditor;

// Tiny blocks, so the mark searches cross blocks and skip unmarked ones.
struct MarksFixture : ::testing::Test {
    TEditorScreenStrings rows{{2, 32}};
    TFakeEditor ed;
    TEditorStrings lines{rows, &ed};
    void SetUp() override {
        rows.Attach(&ed);
        std::string text;
        for (int i = 0; i < 30; ++i) text += "row " + std::to_string(i) + "\r\n";
        lines.SetText(text);
    }
    std::vector<int> RowsWith(int mark) const {
        std::vector<int> found;
        for (int r = 0; r < rows.Count(); ++r)
            if (rows.RowMarksOf(r) & MarkBit(mark)) found.push_back(r);
        return found;
    }
};

TEST_F(MarksFixture, NumberedMarksAreUniquePictureMarksAreNot) {
    rows.SetRowMark(10, 3);
    rows.SetRowMark(20, 3);
    EXPECT_EQ(RowsWith(3), std::vector<int>{20});
    rows.SetRowMark(10, 12);
    rows.SetRowMark(20, 12);
    EXPECT_EQ(RowsWith(12), (std::vector<int>{10, 20}));
    EXPECT_EQ(rows.FindRowMark(12), 10);
    EXPECT_EQ(rows.FindRowMark(3), 20);
    EXPECT_EQ(rows.FindRowMark(4), -1);
    EXPECT_EQ(rows.MarksInUse(), MarkBit(3) | MarkBit(12));

    // A picture mark stays in use while some row carries it.
    rows.ClearRowMark(10, 12);
    EXPECT_EQ(rows.MarksInUse(), MarkBit(3) | MarkBit(12));
    rows.ClearRowMark(20, 12);
    rows.ClearRowMark(20, 3);
    EXPECT_EQ(rows.MarksInUse(), 0);
    EXPECT_EQ(rows.RowMarksOf(20), 0);
}

TEST_F(MarksFixture, OutOfRangeRowsAndMarksChangeNothing) {
    rows.SetRowMark(5, 2);
    for (int row : {-1, 30, 31}) {
        rows.SetRowMark(row, 2);
        rows.PutRowMarks(row, 0xFFFF);
        EXPECT_EQ(rows.RowMarksOf(row), 0) << row;
    }
    for (int mark : {-1, 16}) {
        rows.SetRowMark(5, mark);
        rows.ClearRowMark(5, mark);
    }
    EXPECT_EQ(RowsWith(2), std::vector<int>{5});
    EXPECT_EQ(rows.RowMarksOf(5), MarkBit(2));
    EXPECT_EQ(rows.MarksInUse(), MarkBit(2));
}

TEST_F(MarksFixture, PutRowMarksRepaintsTheRowAndIsNoEdit) {
    ed.ClearLog();
    rows.PutRowMarks(7, MarkBit(1) | MarkBit(11));
    EXPECT_EQ(ed.invalidFirst, 7);
    EXPECT_EQ(ed.invalidLast, 7);
    EXPECT_EQ(ed.Log(), "");  // no "changed": the text is the same
    rows.PutRowMarks(7, MarkBit(11));
    EXPECT_EQ(rows.MarksInUse(), MarkBit(11));
}

TEST_F(MarksFixture, ToggleTakesTheLowestFreeNumber) {
    EXPECT_EQ(ToggleNumberedMark(rows, 3), TToggleResult::Set);
    EXPECT_EQ(ToggleNumberedMark(rows, 4), TToggleResult::Set);
    EXPECT_EQ(ToggleNumberedMark(rows, 5), TToggleResult::Set);
    EXPECT_EQ(rows.FindRowMark(0), 3);
    EXPECT_EQ(rows.FindRowMark(1), 4);
    EXPECT_EQ(rows.FindRowMark(2), 5);
    EXPECT_EQ(ToggleNumberedMark(rows, 4), TToggleResult::Removed);
    EXPECT_EQ(ToggleNumberedMark(rows, 9), TToggleResult::Set);
    EXPECT_EQ(rows.FindRowMark(1), 9);

    // A row with only a picture mark counts as marked: toggling removes
    // numbered marks it does not have and leaves the picture mark.
    rows.SetRowMark(12, 12);
    EXPECT_EQ(ToggleNumberedMark(rows, 12), TToggleResult::Removed);
    EXPECT_EQ(rows.RowMarksOf(12), MarkBit(12));
    rows.PutRowMarks(13, MarkBit(4) | MarkBit(13));
    EXPECT_EQ(ToggleNumberedMark(rows, 13), TToggleResult::Removed);
    EXPECT_EQ(rows.RowMarksOf(13), MarkBit(13));

    for (int r = 20; r < 27; ++r) EXPECT_EQ(ToggleNumberedMark(rows, r), TToggleResult::Set) << r;
    EXPECT_EQ(rows.MarksInUse() & kNumberedMarks, kNumberedMarks);
    EXPECT_EQ(ToggleNumberedMark(rows, 27), TToggleResult::AllInUse);
    EXPECT_EQ(rows.RowMarksOf(27), 0);
    // The empty row after the final break is no row of the list.
    EXPECT_EQ(ToggleNumberedMark(rows, 30), TToggleResult::NoRow);
}

TEST_F(MarksFixture, NextAndPreviousGoRoundTheText) {
    struct Case {
        std::vector<std::pair<int, int>> marks;  // row, mark
        int caret;
        TMarkedRow next, previous;
    } cases[] = {
        {{}, 5, {false, -1}, {false, -1}},
        // Only the caret row: nothing to do, and no message.
        {{{5, 0}}, 5, {true, -1}, {true, -1}},
        {{{5, 14}}, 5, {true, -1}, {true, -1}},
        {{{2, 0}, {8, 1}, {20, 11}}, 8, {true, 20}, {true, 2}},
        {{{2, 0}, {8, 1}, {20, 11}}, 20, {true, 2}, {true, 8}},
        {{{2, 0}, {8, 1}, {20, 11}}, 2, {true, 8}, {true, 20}},
        {{{2, 0}, {8, 1}, {20, 11}}, 10, {true, 20}, {true, 8}},
        // From the first row the second search has nothing before it.
        {{{0, 3}}, 0, {true, -1}, {true, -1}},
        {{{29, 3}}, 0, {true, 29}, {true, 29}},
        {{{0, 3}}, 29, {true, 0}, {true, 0}},
        // The empty row after the last one.
        {{{4, 3}, {29, 12}}, 30, {true, 4}, {true, 29}},
    };
    for (const auto& c : cases) {
        lines.SetText(lines.Text());  // clears every mark
        for (const auto& [row, mark] : c.marks) rows.SetRowMark(row, mark);
        const TMarkedRow next = NextMarkedRow(rows, c.caret);
        const TMarkedRow previous = PreviousMarkedRow(rows, c.caret);
        EXPECT_EQ(next.Any, c.next.Any) << c.caret;
        EXPECT_EQ(next.Row, c.next.Row) << c.caret;
        EXPECT_EQ(previous.Any, c.previous.Any) << c.caret;
        EXPECT_EQ(previous.Row, c.previous.Row) << c.caret;
    }
}

TEST_F(MarksFixture, ClearRemovesNumberedMarksOnly) {
    EXPECT_FALSE(ClearNumberedMarks(rows));
    rows.SetRowMark(3, 12);
    EXPECT_FALSE(ClearNumberedMarks(rows));
    rows.PutRowMarks(3, MarkBit(0) | MarkBit(12));
    rows.SetRowMark(17, 9);
    rows.SetRowMark(28, 5);
    EXPECT_TRUE(ClearNumberedMarks(rows));
    EXPECT_EQ(rows.RowMarksOf(3), MarkBit(12));
    EXPECT_EQ(rows.RowMarksOf(17), 0);
    EXPECT_EQ(rows.RowMarksOf(28), 0);
    EXPECT_EQ(rows.MarksInUse(), MarkBit(12));
}

TEST_F(MarksFixture, ExtraMarksToggleOnTheirRow) {
    ToggleRowMark(rows, 6, 10);
    ToggleRowMark(rows, 7, 10);
    EXPECT_EQ(RowsWith(10), (std::vector<int>{6, 7}));
    ToggleRowMark(rows, 6, 10);
    EXPECT_EQ(RowsWith(10), std::vector<int>{7});
}

TEST_F(MarksFixture, MarksFollowTheirRowsThroughLineEdits) {
    rows.SetRowMark(10, 3);
    rows.SetRowMark(12, 12);
    lines.Delete(10);  // the row that takes its place takes the mark
    EXPECT_EQ(rows.FindRowMark(3), 10);
    EXPECT_EQ(lines.Get(10), "row 11");
    ed.caretCol = 0;
    lines.Insert(0, "new");
    EXPECT_EQ(rows.FindRowMark(3), 11);
    EXPECT_EQ(rows.FindRowMark(12), 12);
    EXPECT_EQ(lines.Get(12), "row 12");
    // A break typed at column 0 of a marked row pushes the mark down with it.
    rows.ReplaceRows(12, 1, "\r\nrow 12\r\n");
    EXPECT_EQ(rows.FindRowMark(12), 13);
    EXPECT_EQ(lines.Get(13), "row 12");
    // Undo puts the mark back with the text.
    ASSERT_TRUE(rows.Undo());
    EXPECT_EQ(rows.FindRowMark(12), 12);
}

}  // namespace
}  // namespace quodle
