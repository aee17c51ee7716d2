#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "text/EditorPositions.h"
#include "text/EditorWrapOption.h"
#include "text/WrapLayout.h"

namespace quodle {
namespace {

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8); }

// The rows of a line joined by "|", in UTF-8.
std::string Rows(const std::string& lineUtf8, const TEditorWrapOption& option, int tab = 8) {
    const std::string line = Sjis(lineUtf8);
    std::vector<std::size_t> ends;
    TLineWrapper(option, tab).Split(line, ends);
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        if (i) out += '|';
        out += Cp932ToUtf8(std::string_view(line).substr(start, ends[i] - start));
        start = ends[i];
    }
    return out;
}

std::string A(int n) { return std::string(static_cast<std::size_t>(n), 'a'); }

enum Rule : unsigned { kWordBreak = 1, kPunctuation = 2, kLeading = 4, kRetMark = 8 };

TEST(WrapLayout, SplitsALineIntoRows) {
    struct Case {
        std::string line;
        unsigned rules;
        std::string rows;
        int wrap = 20;
    } cases[] = {
        {"", 0, ""},
        {A(19), 0, A(19)},
        {A(25), 0, A(20) + "|" + A(5)},
        {A(45), 0, A(20) + "|" + A(20) + "|" + A(5)},
        // Breaking after delimiters: none found, the row ends at a third.
        {A(25), kWordBreak, A(6) + "|" + A(19)},
        {A(15) + " " + A(10), kWordBreak, A(15) + " |" + A(10)},
        {A(17) + "あ" + A(7), kWordBreak, A(17) + "あ|" + A(7)},
        {"ああああああああああああ", kWordBreak, "ああああああああああ|ああ"},
        // Exactly a row: no search for a break, the break gets a row.
        {A(9) + " " + A(10), kWordBreak, A(9) + " " + A(10) + "|"},
        // Double-byte characters are never cut.
        {A(19) + "あb", 0, A(19) + "|あb"},
        {A(18) + "あbc", 0, A(18) + "あ|bc"},
        // Tabs stop at the row width and stay whole in their row.
        {A(17) + "\tbb", 0, A(17) + "\t|bb"},
        {A(16) + "\t" + A(5), 0, A(16) + "\t|" + A(5)},
        {A(11) + "\t" + A(10), kWordBreak, A(11) + "\t|" + A(10)},
        {A(11) + "\t" + A(6), 0, A(11) + "\t" + A(4) + "|" + A(2)},
        // Hanging punctuation, up to two cells past the width.
        {A(20) + "。b", kPunctuation, A(20) + "。|b"},
        {A(20) + "。b", 0, A(20) + "|。b"},
        {A(20) + ",,,b", kPunctuation, A(20) + ",,|,b"},
        {A(20) + "、", kPunctuation, A(20) + "、|"},
        {A(20) + "、", kPunctuation | kRetMark, A(20) + "、"},
        // Kinsoku: an opening bracket moves to the next row...
        {A(18) + "「bc", kLeading, A(18) + "|「bc"},
        // ...a closing mark does not start one...
        {A(20) + "。b", kLeading, A(19) + "|a。b"},
        {A(18) + "「" + "」b", kLeading, A(18) + "|「」b"},
        // ...giving way by a fifth of the row at most.
        {A(16) + "))))))b", kLeading, A(16) + "|))))))b"},
        {A(14) + "((((((b", kLeading, A(14) + "((|((((b"},
        // Whole characters are compared: the trail byte of "ー" is "[".
        {A(18) + "ーbc", kLeading, A(18) + "ー|bc"},
        {A(19) + "[bc", kLeading, A(19) + "|[bc"},
        // At the end of the line the kinsoku rules have nothing to do.
        {A(19) + "(", kLeading, A(19) + "(|"},
        // A line that fills its row: an empty row, or the break stays on it.
        {A(20), 0, A(20) + "|"},
        {A(20), kRetMark, A(20)},
        {A(40), kRetMark, A(20) + "|" + A(20)},
        {A(250) + "b", 0, A(250) + "|b", 250},
    };
    for (const Case& c : cases) {
        TEditorWrapOption option;
        option.SetWrapByte(c.wrap);
        option.SetWordBreak(c.rules & kWordBreak);
        option.SetFollowPunctuation(c.rules & kPunctuation);
        option.SetLeading(c.rules & kLeading);
        option.SetFollowRetMark(c.rules & kRetMark);
        EXPECT_EQ(Rows(c.line, option), c.rows) << c.line << " rules " << c.rules;
        const std::string line = Sjis(c.line);
        const bool oneRow = c.rows.find('|') == std::string::npos && !(c.rules & kRetMark);
        EXPECT_EQ(TLineWrapper(option, 8).FitsOneRow(line), oneRow) << c.line;
    }
}

TEST(WrapLayout, TabsInsideRowsStopAtTheRowWidth) {
    TEditorWrapOption option;
    option.SetWrapByte(20);
    // With tab stops every 6 cells: tabs at 0 (6), 7 (5), 13 (5) and 19 (1).
    EXPECT_EQ(Rows("\ta\tb\tc\td", option, 6), "\ta\tb\tc\t|d");
    EXPECT_EQ(TEditorAttributeArray(Sjis("\ta\tb\tc\t"), TCellLayout{6, 20}).Width(), 20);
    // A tab that alone would run past the width is the row's last cells.
    EXPECT_EQ(Rows(A(18) + "\t" + A(3), option, 32), A(18) + "\t|" + A(3));
}

TEST(EditorWrapOption, DefaultsClampingAndNotifications) {
    TEditorWrapOption option;
    EXPECT_EQ(option.WrapByte(), 80);
    EXPECT_FALSE(option.WordBreak() || option.FollowPunctuation() || option.Leading() || option.FollowRetMark());
    EXPECT_EQ(option.PunctuationStr(), Sjis("、。，．,.｡､"));
    EXPECT_EQ(option.LeadStr(), Sjis("（［｛「『([{｢"));
    EXPECT_EQ(option.FollowStr(), Sjis("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
    int changes = 0;
    option.SetOnChange([&](TNotifyPersistent&) { ++changes; });
    for (auto [in, stored] : {std::pair{10, 20}, {300, 250}, {20, 20}, {250, 250}, {77, 77}}) {
        option.SetWrapByte(in);
        EXPECT_EQ(option.WrapByte(), stored) << in;
    }
    EXPECT_EQ(changes, 5);
    option.SetWrapByte(77);
    option.SetLeading(false);
    EXPECT_EQ(changes, 5);
    TEditorWrapOption other;
    other.SetWordBreak(true);
    other.SetLeadStr("(");
    other.SetWrapByte(30);
    option.Assign(other);
    EXPECT_EQ(changes, 6);
    EXPECT_TRUE(option.SameAs(other));
    option.Assign(other);
    EXPECT_EQ(changes, 6);
}

TEST(EditorWrapOption, CharactersAreMatchedWhole) {
    const std::string set = Sjis("ー[、");
    EXPECT_TRUE(CharInSet(set, "["));
    EXPECT_TRUE(CharInSet(set, Sjis("ー")));
    EXPECT_FALSE(CharInSet(set, Sjis("ー").substr(0, 1)));
    EXPECT_FALSE(CharInSet(Sjis("ー"), "["));  // its trail byte
    EXPECT_FALSE(CharInSet(set, ""));
}

// Rows: "abcdefgh" "ij" (one line wrapped), "x\tあy" (tab 4), "" (empty
// line), "end" without a break.
struct PositionsFixture : ::testing::Test {
    TEditorStringList rows;
    TCellLayout layout{4, 0};
    void SetUp() override {
        const std::pair<std::string, TRowEnding> r[] = {
            {"abcdefgh", reWrapped}, {"ij", reBreak}, {Sjis("x\tあy"), reBreak}, {"", reBreak}, {"end", reNoBreak}};
        for (const auto& [text, ending] : r) rows.SetRowEnding(rows.Add(text), ending);
    }
};

TEST_F(PositionsFixture, LinesAndRows) {
    EXPECT_EQ(rows.LineCount(), 4);
    const int lineRows[] = {0, 2, 3, 4, 5, 5};
    for (int line = 0; line < 6; ++line) EXPECT_EQ(rows.LineToRow(line), lineRows[line]) << line;
    const int rowLines[] = {0, 0, 1, 2, 3, 4};
    for (int row = 0; row < 6; ++row) EXPECT_EQ(rows.RowToLine(row), rowLines[row]) << row;
}

TEST_F(PositionsFixture, RowColToLinePos) {
    struct Case {
        int row, col;
        TLinePos pos;
        int offsetInLine;
    } cases[] = {
        {0, 0, {0, 0}, 0},  {0, 5, {0, 5}, 5},   {1, 0, {0, 8}, 8},    {1, 2, {0, 10}, 10},
        {1, 9, {0, 10}, 10},  // past the end: the row's length
        {2, 1, {1, 1}, 1},  {2, 2, {1, 1}, 1},   {2, 3, {1, 1}, 1},    // tab cells: the tab
        {2, 4, {1, 2}, 2},  {2, 5, {1, 2}, 2},   {2, 6, {1, 4}, 4},    // second half of あ
        {3, 4, {2, 0}, 0},  {4, 3, {3, 3}, 3},   {5, 0, {4, 0}, 0},    // the row after the last
        {-3, 2, {0, 2}, -1}, {9, 0, {4, 0}, -1}, {0, -1, {0, 0}, -1},  // clamped; OffsetInLine -1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowColToLinePos(rows, c.row, c.col, layout), c.pos) << c.row << "," << c.col;
        EXPECT_EQ(OffsetInLine(rows, c.row, c.col, layout), c.offsetInLine) << c.row << "," << c.col;
    }
}

TEST_F(PositionsFixture, LinePosToRowCol) {
    struct Case {
        int line, offset;
        TRowCol rc;
    } cases[] = {
        {0, 0, {0, 0}},  {0, 7, {0, 7}},  {0, 8, {1, 0}},   // a row boundary: the next row
        {0, 10, {1, 2}}, {0, 99, {1, 2}}, {1, 2, {2, 4}},   {1, 3, {2, 4}},  // into あ: its start
        {1, 4, {2, 6}},  {1, 5, {2, 7}},  {2, 3, {3, 0}},   {3, 1, {4, 1}},
        {4, 0, {5, 0}},  {7, 2, {5, 0}},  {-1, -5, {0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(LinePosToRowCol(rows, c.line, c.offset, layout), c.rc) << c.line << "," << c.offset;
}

}  // namespace
}  // namespace quodle
