#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "editor/BlockOperations.h"
#include "editor/EditorCaret.h"
#include "editor/EditorSelection.h"
#include "support/CaseName.h"

namespace quodle {
namespace {

const TCellLayout kTabs4{4, 0};

struct SelectionTest : ::testing::Test {
    TEditorScreenStrings rows{{2, 16}};
    void Load(const std::string& utf8) { rows.SetAllText(Utf8ToCp932(utf8)); }
    std::string Text() const { return Cp932ToUtf8(rows.AllText()); }
};

TEST_F(SelectionTest, StreamTextCountsBreaksAsTwoBytes) {
    Load("abc\r\nあい\r\nxyz");
    const TStreamRange range = StreamRangeOf(rows, kTabs4, {2, 1}, {0, 1});  // either order
    EXPECT_EQ(range.Start, (TRowOffset{0, 1}));
    EXPECT_EQ(range.End, (TRowOffset{2, 1}));
    EXPECT_EQ(Cp932ToUtf8(StreamText(rows, range)), "bc\r\nあい\r\nx");
    EXPECT_EQ(StreamLength(rows, range), 2 + 2 + 4 + 2 + 1);
}

TEST_F(SelectionTest, StreamEndsClampToTheRowAndTheCharacter) {
    Load("ab\r\nあい");
    // Past the end of row 0, and on the second cell of あ.
    const TStreamRange range = StreamRangeOf(rows, kTabs4, {0, 9}, {1, 1});
    EXPECT_EQ(range.Start, (TRowOffset{0, 2}));
    EXPECT_EQ(range.End, (TRowOffset{1, 0}));
    EXPECT_EQ(StreamText(rows, range), "\r\n");
}

TEST_F(SelectionTest, BoxTakesWholeCharactersStartingInside) {
    Load("a\tbc\r\nあいう\r\nx");
    // Columns 1..5: the tab (1..3) and b on row 0; い (2..3) and う? no: う starts at 4.
    const TBoxRange box = BoxRangeOf({2, 5}, {0, 1});
    EXPECT_EQ(box.Top, 0);
    EXPECT_EQ(box.Bottom, 2);
    EXPECT_EQ(Cp932ToUtf8(BoxText(rows, kTabs4, box)), "\tb\r\nいう\r\n\r\n");
    EXPECT_EQ(BoxLength(rows, kTabs4, box), 2 + 2 + 4 + 2 + 0 + 2);
}

TEST_F(SelectionTest, TextOffsetsRoundTrip) {
    Load("ab\r\n\r\nあ\r\n");
    const std::vector<std::pair<TRowOffset, std::int64_t>> cases{
        {{0, 0}, 0}, {{0, 2}, 2}, {{1, 0}, 4}, {{2, 0}, 6}, {{2, 2}, 8}, {{3, 0}, 10}};
    for (const auto& [pos, offset] : cases) {
        EXPECT_EQ(TextOffsetOf(rows, pos), offset);
        EXPECT_EQ(PositionOfTextOffset(rows, offset), pos);
    }
    // Inside a CR LF and beyond the end.
    EXPECT_EQ(PositionOfTextOffset(rows, 3), (TRowOffset{1, 0}));
    EXPECT_EQ(PositionOfTextOffset(rows, 99), (TRowOffset{3, 0}));
    EXPECT_EQ(TextEnd(rows), (TRowOffset{3, 0}));
    Load("ab");
    EXPECT_EQ(TextEnd(rows), (TRowOffset{0, 2}));
}

// Offsets go a storage block at a time: across blocks of two rows, with
// soft-wrapped rows (no break bytes) and a last row without a break, every
// position and offset maps as a row-by-row walk says.
TEST_F(SelectionTest, OffsetsAcrossBlocksAgreeWithARowByRowWalk) {
    Load("abc\r\n\r\nあいう\r\nxy\r\nz\r\n12345\r\nq");
    rows.SetRowEnding(2, reWrapped);
    rows.SetRowEnding(5, reWrapped);
    std::vector<std::int64_t> starts;  // each row's offset, by walking
    std::int64_t total = 0;
    for (int r = 0; r < rows.Count(); ++r) {
        starts.push_back(total);
        total += static_cast<std::int64_t>(rows.View(r).size()) + (rows.RowEnding(r) == reBreak ? 2 : 0);
    }
    for (int r = 0; r < rows.Count(); ++r)
        for (int o = 0; o <= static_cast<int>(rows.View(r).size()); ++o) {
            EXPECT_EQ(TextOffsetOf(rows, {r, o}), starts[static_cast<std::size_t>(r)] + o) << r << ":" << o;
            const bool wrappedEnd = o == static_cast<int>(rows.View(r).size()) && rows.RowEnding(r) == reWrapped;
            const TRowOffset want = wrappedEnd ? TRowOffset{r + 1, 0} : TRowOffset{r, o};
            EXPECT_EQ(PositionOfTextOffset(rows, starts[static_cast<std::size_t>(r)] + o), want);
        }
    for (int r = 1; r < rows.Count(); ++r)
        if (!rows.View(r).empty()) {
            EXPECT_EQ(PositionOfTextOffset(rows, 1, r), (TRowOffset{r, 1})) << r;
        }
    EXPECT_EQ(PositionOfTextOffset(rows, total + 5), TextEnd(rows));
}

TEST_F(SelectionTest, BlockRowsLeaveOutARowSelectedFromItsStartOnly) {
    Load("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng");
    const TRowSpan s = BlockRowsOf(rows, TStreamRange{{3, 0}, {6, 0}});
    EXPECT_EQ(s.First, 3);
    EXPECT_EQ(s.Last, 5);
    const TRowSpan one = BlockRowsOf(rows, TStreamRange{{3, 0}, {3, 1}});
    EXPECT_EQ(one.First, 3);
    EXPECT_EQ(one.Last, 3);
    EXPECT_GT(BlockRowsOf(rows, TStreamRange{{3, 0}, {3, 0}}).First, BlockRowsOf(rows, TStreamRange{{3, 0}, {3, 0}}).Last);
}

struct TBlockCase {
    const char* name;
    const char* text;
    TStreamRange range;
    TBlockOperation op;
    int wrapByte;
    const char* expected;  // nullptr: no change
    TStreamRange after;
};

class StreamBlockTest : public ::testing::TestWithParam<TBlockCase> {};

TEST_P(StreamBlockTest, RebuildsTheSelectedRowsAsOneEdit) {
    const TBlockCase& c = GetParam();
    TEditorScreenStrings rows{{2, 16}};
    rows.SetAllText(Utf8ToCp932(c.text));
    const auto block = StreamBlockEdit(rows, kTabs4, c.range, c.op, c.wrapByte);
    if (c.expected == nullptr) {
        EXPECT_FALSE(block.has_value());
        return;
    }
    ASSERT_TRUE(block.has_value());
    ApplyEdit(rows, block->Edit);
    EXPECT_EQ(Cp932ToUtf8(rows.AllText()), c.expected);
    EXPECT_EQ(block->Range.Start, c.after.Start);
    EXPECT_EQ(block->Range.End, c.after.End);
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u);
}

const TBlockCase kBlockCases[] = {
    {"comment leaves out the end row at column 0", "a\r\nb\r\nc\r\nd", {{1, 0}, {3, 0}}, boComment, 0,
     "a\r\n;b\r\n;c\r\nd", {{1, 0}, {3, 0}}},
    {"indent keeps the same text selected", "ab\r\ncd", {{0, 1}, {1, 1}}, boIndent, 0, " ab\r\n cd", {{0, 2}, {1, 2}}},
    {"tab indent", "ab\r\ncd", {{0, 0}, {1, 2}}, boTabIndent, 0, "\tab\r\n\tcd", {{0, 0}, {1, 3}}},
    {"unindent takes a tab, a space or a full-width space", "\ta\r\n b\r\n　c\r\nd", {{0, 0}, {3, 1}}, boUnindent, 0,
     "a\r\nb\r\nc\r\nd", {{0, 0}, {3, 1}}},
    {"tab unindent takes only tabs", "\ta\r\n b", {{0, 0}, {1, 2}}, boTabUnindent, 0, "a\r\n b", {{0, 0}, {1, 2}}},
    {"uncomment takes one semicolon", ";;a\r\n;b\r\nc", {{0, 0}, {2, 1}}, boUncomment, 0, ";a\r\nb\r\nc",
     {{0, 0}, {2, 1}}},
    {"nothing to remove is no edit", "a\r\nb", {{0, 0}, {1, 1}}, boTabUnindent, 0, nullptr, {}},
    {"with word wrap a comment must stay below the wrap width", "abcd\r\nab", {{0, 0}, {1, 2}}, boComment, 5,
     "abcd\r\n;ab", {{0, 0}, {1, 3}}},
    {"with word wrap a tab indent needs the tab width free", "abc\r\na", {{0, 0}, {1, 1}}, boTabIndent, 6,
     "abc\r\n\ta", {{0, 0}, {1, 2}}},
};

INSTANTIATE_TEST_SUITE_P(Blocks, StreamBlockTest, ::testing::ValuesIn(kBlockCases), quodle::testing::TCaseName());

TEST_F(SelectionTest, BoxBlockOperationsWorkAtTheLeftColumn) {
    Load("abcd\r\nef\r\nghij");
    const TBoxRange box{0, 2, 2, 3};
    auto edit = BoxBlockEdit(rows, kTabs4, box, boComment, 0);
    ASSERT_TRUE(edit);
    ApplyEdit(rows, *edit);
    EXPECT_EQ(Text(), "ab;cd\r\nef\r\ngh;ij");
    edit = BoxBlockEdit(rows, kTabs4, box, boUncomment, 0);
    ASSERT_TRUE(edit);
    ApplyEdit(rows, *edit);
    EXPECT_EQ(Text(), "abcd\r\nef\r\nghij");
}

struct TCaretCase {
    const char* name;
    const char* row;
    int col;
    TCaretMove move;
    bool freeCaret, keepCaret, inTab, freeRow;
    int remembered;
    int expected;
    int rememberedAfter;
};

class CaretTest : public ::testing::TestWithParam<TCaretCase> {};

TEST_P(CaretTest, FollowsTheAdjustmentRules) {
    const TCaretCase& c = GetParam();
    TEditorCaretProp caret;
    caret.FreeCaret = c.freeCaret;
    caret.KeepCaret = c.keepCaret;
    caret.InTab = c.inTab;
    caret.FreeRow = c.freeRow;
    const TEditorAttributeArray map(Utf8ToCp932(c.row), kTabs4);
    int remembered = c.remembered;
    EXPECT_EQ(AdjustCaretColumn(map, reBreak, c.col, c.move, caret, 0, remembered), c.expected);
    EXPECT_EQ(remembered, c.rememberedAfter);
}

const TCaretCase kCaretCases[] = {
    {"second half of a double-byte character moving right", "aあb", 2, {1, false, false}, true, false, false, false, -1, 3, -1},
    {"second half moving left", "aあb", 2, {-1, false, false}, true, false, false, false, -1, 1, -1},
    {"inside a tab moving right", "\tb", 2, {1, false, false}, true, false, false, false, -1, 4, -1},
    {"inside a tab moving left", "\tb", 2, {-1, false, false}, true, false, false, false, -1, 0, -1},
    {"inside a tab with InTab", "\tb", 2, {1, false, false}, true, false, true, false, -1, 2, -1},
    {"free caret past the end", "ab", 7, {1, false, false}, true, false, false, false, -1, 7, -1},
    {"no free caret clamps", "ab", 7, {1, false, false}, false, false, false, false, -1, 2, -1},
    {"keep caret remembers on a vertical move", "ab", 7, {1, true, false}, false, true, false, false, -1, 2, 7},
    {"keep caret restores on a long row", "abcdefghij", 3, {1, true, false}, false, true, false, false, 7, 7, 7},
    {"free row keeps the column vertically", "ab", 7, {1, true, false}, false, false, false, true, -1, 7, -1},
    {"free row not with the mouse down", "ab", 7, {1, true, true}, false, false, false, true, -1, 2, -1},
    {"a horizontal move forgets", "abcdefghij", 3, {1, false, false}, false, true, false, false, 7, 3, -1},
    {"never above the last cell", "ab", 5000, {1, false, false}, true, false, false, false, -1, 1000, -1},
};

INSTANTIATE_TEST_SUITE_P(Rules, CaretTest, ::testing::ValuesIn(kCaretCases), quodle::testing::TCaseName());

TEST(CaretLimit, ADoubleByteCharacterOnTheLastCellTakesTheCaretOneFurther) {
    std::string row(999, 'a');
    row += "\x82\xa0";  // あ on the last mapped cell
    int remembered = -1;
    EXPECT_EQ(AdjustCaretColumn(TEditorAttributeArray(row, kTabs4), reBreak, 5000, {1, false, false}, TEditorCaretProp{},
                                0, remembered),
              1001);
    EXPECT_EQ(AdjustCaretColumn(TEditorAttributeArray(std::string(1200, 'a'), kTabs4), reBreak, 5000,
                                {1, false, false}, TEditorCaretProp{}, 0, remembered),
              1000);
}

}  // namespace
}  // namespace quodle
