#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LineNumber.h"
#include "base/BogusRestrict.h"
#include "editor/EditorLayout.h"
#include "editor/EditorMarks.h"
#include "editor/RowMarks.h"
#include "support/RowDump.h"

namespace quodle {
namespace {

TEST(EditorLayout, SettingsAreClampedToTheirRanges) {
    struct Case {
        int column, gauge, margin;
        int wantColumn, wantGauge, wantMargin;
    } cases[] = {
        {4, 10, 19, 4, 10, 19},
        {12, 9, 101, 8, 8, 100},
        {0, 7, -1, 1, 8, 0},
        {8, 11, 100, 8, 10, 100},
    };
    for (const auto& c : cases) {
        TEditorLeftbarProp leftbar;
        leftbar.Column = c.column;
        leftbar.LeftMargin = c.margin;
        TEditorRulerProp ruler;
        ruler.GaugeRange = c.gauge;
        TEditorMarginProp margin{c.margin, c.margin, c.margin, c.margin};
        TEditorImagebarProp imagebar{c.margin, c.margin, c.margin, c.margin, true};
        EXPECT_EQ(leftbar.Clamped().Column, c.wantColumn);
        EXPECT_EQ(leftbar.Clamped().LeftMargin, c.wantMargin);
        EXPECT_EQ(ruler.Clamped().GaugeRange, c.wantGauge);
        EXPECT_EQ(margin.Clamped(), (TEditorMarginProp{c.wantMargin, c.wantMargin, c.wantMargin, c.wantMargin}));
        EXPECT_EQ(imagebar.Clamped(),
                  (TEditorImagebarProp{c.wantMargin, c.wantMargin, c.wantMargin, c.wantMargin, true}));
    }
}

TEST(EditorLayout, GeometryOfThePartsAroundTheText) {
    const TFontCell font{7, 13, 2};
    TLayoutSettings s;  // defaults: image bar shown, left bar and ruler hidden
    TEditorGeometry g = ComputeGeometry(s, font, 1);
    EXPECT_EQ(g, (TEditorGeometry{7, 15, 12, 4, 0, 0, 19 + 12, 2}));

    s.Leftbar.Visible = true;
    s.Ruler.Visible = true;
    s.Underline = true;
    s.Margin = {3, 1, 5, 4};
    g = ComputeGeometry(s, font, 123456);
    EXPECT_EQ(g.CellWidth, 8);
    EXPECT_EQ(g.RowHeight, 13 + 2 + 3 + 1);
    EXPECT_EQ(g.LeftbarDigits, 6);
    EXPECT_EQ(g.LeftbarWidth, 8 + 6 * 8 + 4 + 2);
    EXPECT_EQ(g.RulerHeight, 11);
    EXPECT_EQ(g.TextLeft, 5 + 12 + 62);
    EXPECT_EQ(g.TextTop, 4 + 11);

    s.Ruler.Edge = false;
    s.Imagebar.Visible = false;
    s.Leftbar.Column = 12;  // at most 8 digits, whatever the number
    g = ComputeGeometry(s, font, 1234567890);
    EXPECT_EQ(g.RulerHeight, 10);
    EXPECT_EQ(g.ImagebarWidth, 0);
    EXPECT_EQ(g.LeftbarDigits, 8);
    EXPECT_EQ(g.TextLeft, 5 + 8 + 8 * 8 + 4 + 2);

    // Columns: the room right of the text origin, less half a cell and the
    // scroll bar, in whole cells, at least one.
    g = TEditorGeometry{10, 16, 12, 4, 0, 0, 31, 2};
    EXPECT_EQ(g.VisibleColumns(500, 0), (500 - 31 - 5) / 10);
    EXPECT_EQ(g.VisibleColumns(500, 16), (500 - 31 - 5 - 16) / 10);
    EXPECT_EQ(g.VisibleColumns(20, 16), 1);
}

TEST(EditorLayout, LeftbarDigitsFitTheLargestNumberWithinColumnAndEight) {
    struct Case {
        int largest, column, digits;
    } cases[] = {{0, 4, 4}, {9999, 4, 4}, {10000, 4, 5}, {5, 1, 1}, {123456789, 4, 8}, {-1, 2, 2}, {99, 12, 8}};
    for (const Case& c : cases) {
        TLayoutSettings s;
        s.Leftbar.Visible = true;
        s.Leftbar.Column = c.column;
        const TEditorGeometry g = ComputeGeometry(s, TFontCell{7, 13, 0}, c.largest);
        EXPECT_EQ(g.LeftbarDigits, c.digits) << c.largest << " " << c.column;
        EXPECT_EQ(g.LeftbarWidth, s.Leftbar.LeftMargin + c.digits * 7 + s.Leftbar.RightMargin + 2) << c.largest;
    }
}

TEST(EditorLayout, LeftbarNumbersByRowOrByLine) {
    TEditorStringList rows;
    test::Load(rows, "aa.W bb.W cc.B dd.B ee.W ff.B");  // lines: 0 (3 rows), 1, 2 (2 rows), then the empty one
    TEditorLeftbarProp bar;
    struct Case {
        TLeftbarNumberMode mode;
        bool zeroBase, zeroLead;
        int largest;
        std::vector<std::string> numbers;  // rows 0..7
    } cases[] = {
        {nmRow, false, false, 7, {"   1", "   2", "   3", "   4", "   5", "   6", "   7", ""}},
        {nmRow, true, true, 6, {"0000", "0001", "0002", "0003", "0004", "0005", "0006", ""}},
        {nmLine, false, false, 4, {"   1", "", "", "   2", "   3", "", "   4", ""}},
        {nmLine, true, false, 3, {"   0", "", "", "   1", "   2", "", "   3", ""}},
    };
    for (const auto& c : cases) {
        bar.ShowNumberMode = c.mode;
        bar.ZeroBase = c.zeroBase;
        bar.ZeroLead = c.zeroLead;
        EXPECT_EQ(LeftbarLargestNumber(bar, rows), c.largest);
        std::vector<std::string> got;
        for (int r = 0; r < 8; ++r) got.push_back(LeftbarNumber(bar, rows, r, 4));
        EXPECT_EQ(got, c.numbers) << c.mode << c.zeroBase;
    }
    bar.ShowNumber = false;
    EXPECT_EQ(LeftbarNumber(bar, rows, 0, 4), "");
    bar.ShowNumber = true;
    // A text without a final break has no numbered row after its last.
    test::Load(rows, "aa.B bb.N");
    bar = {};
    EXPECT_EQ(LeftbarLargestNumber(bar, rows), 2);
    EXPECT_EQ(LeftbarNumber(bar, rows, 1, 1), "2");
    EXPECT_EQ(LeftbarNumber(bar, rows, 2, 1), "");
    rows.Clear();
    EXPECT_EQ(LeftbarNumber(bar, rows, 0, 2), " 1");
}

TEST(EditorLayout, ImagebarShowsOneNumberAndEveryPictureMark) {
    const TEditorImagebarProp bar;  // left margin 2, digit width 8
    using P = std::vector<TMarkPicture>;
    EXPECT_EQ(ImagebarPictures(0, bar), P{});
    EXPECT_EQ(ImagebarPictures(MarkBit(7) | MarkBit(3), bar), (P{{true, 3, 2}}));
    EXPECT_EQ(ImagebarPictures(MarkBit(9) | MarkBit(10) | MarkBit(15), bar),
              (P{{true, 9, 2}, {false, 0, 10}, {false, 5, 10}}));
    EXPECT_EQ(ImagebarPictures(MarkBit(12), TEditorImagebarProp{5, 0, 0, 0, true}), (P{{false, 2, 5}}));
}

TEST(EditorMarks, RowTintTakesTheFirstRuleThatApplies) {
    TEditorExMarks m;
    auto show = [](TEditorMark& mark, TColor color) { mark = {color, true}; };
    EXPECT_EQ(RowTint(m, 0xFFFF, true, 2), clNone);
    show(m.EvenLine, 1);
    show(m.ImageLine, 2);
    show(m.Img2Line, 3);
    show(m.Img0Line, 4);
    show(m.DigitLine, 5);
    show(m.CurrentLine, 6);
    struct Case {
        std::uint16_t marks;
        bool caret;
        int number;
        TColor tint;
    } cases[] = {
        {0xFFFF, true, 2, 6},
        {MarkBit(0) | MarkBit(10), false, 2, 5},
        {MarkBit(12) | MarkBit(10), false, 2, 4},  // Img0Line is tried before Img2Line
        {MarkBit(12), false, 2, 3},
        {MarkBit(15), false, 2, 2},
        {0, false, 2, 1},
        {0, false, 3, clNone},
    };
    for (const auto& c : cases) EXPECT_EQ(RowTint(m, c.marks, c.caret, c.number), c.tint) << c.marks;
    // Even rows by the number shown: the second, fourth... row, or with
    // ZeroBase the first, third...
    EXPECT_EQ(RowTint(m, 0, false, DisplayedRowNumber(1, false)), 1);
    EXPECT_EQ(RowTint(m, 0, false, DisplayedRowNumber(0, true)), 1);
    EXPECT_EQ(RowTint(m, 0, false, DisplayedRowNumber(0, false)), clNone);
    EXPECT_TRUE(m.Indicated());
    EXPECT_FALSE(TEditorExMarks{}.Indicated());
}

TEST(EditorMarks, VerticalLinePositionsOutsideTheRowAreIgnored) {
    TVerticalLine line;
    EXPECT_EQ(line.Position(), 0);
    EXPECT_TRUE(line.SetPosition(80));
    EXPECT_FALSE(line.SetPosition(80));
    EXPECT_FALSE(line.SetPosition(1001));
    EXPECT_FALSE(line.SetPosition(-1));
    EXPECT_EQ(line.Position(), 80);
    EXPECT_TRUE(line.SetPosition(1000));
    EXPECT_EQ(line.Position(), 1000);
    EXPECT_EQ(line.Color, clBlack);
    EXPECT_TRUE(line.Visible);
}

TEST(EditorWrapOption, ValuesCarryAllEightSettingsAndNotifyOnce) {
    TEditorWrapOption option;
    EXPECT_EQ(option.Values(), TWrapOptionValues());
    int changes = 0;
    option.SetOnChange([&](TNotifyPersistent&) { ++changes; });
    TWrapOptionValues v;
    v.WrapByte = 300;
    v.Leading = true;
    QUODLE_BOGUS_RESTRICT_BEGIN
    v.FollowStr = "x";
    QUODLE_BOGUS_RESTRICT_END
    option.SetValues(v);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(option.WrapByte(), 250);
    EXPECT_TRUE(option.Leading());
    EXPECT_EQ(option.FollowStr(), "x");
    option.SetValues(option.Values());
    EXPECT_EQ(changes, 1);
}

TEST(LineNumber, DecimalNumbersOnly) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"50", 50}, {"0", 0}, {"007", 7}, {"", -1}, {"1a", -1}, {"-3", -1}, {"99999999999", -1}, {" 5", -1}};
    for (const auto& c : cases) EXPECT_EQ(ParseLineNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace quodle
