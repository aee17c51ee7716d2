#include "print/PrintLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quodle {
namespace {

// Ten units a byte: a double-byte character is as wide as two single ones.
long long Cells(std::string_view bytes) { return static_cast<long long>(bytes.size()) * 10; }

std::vector<std::string> Wrap(std::string_view line, int cells, bool wordBreak, int tab = 4) {
    std::vector<TPrintRow> rows;
    WrapPrintLine(line, 0, {cells * 10LL, tab, wordBreak}, Cells, rows);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        texts.push_back(rows[i].Text);
        EXPECT_EQ(rows[i].Wrapped, i + 1 < rows.size()) << "row " << i;
    }
    return texts;
}

using Rows = std::vector<std::string>;

TEST(PrintLayout, KindsAndTabExpansion) {
    EXPECT_EQ(PrintKinds("a\tb", 4), "12331");
    EXPECT_EQ(ExpandPrintTabs("a\tb", 4), "a   b");
    EXPECT_EQ(PrintKinds("\x82\xA0 x\x01", 8), "45212");  // あ, space, x, control
    EXPECT_EQ(ExpandPrintTabs("\x82\xA0\t", 4), "\x82\xA0  ");  // the tab stops after the character
}

TEST(PrintLayout, LinesWrapAtTheWidthOrAtBlanks) {
    const std::string thirty(30, 'x');
    EXPECT_EQ(Wrap(thirty, 10, true), (Rows{std::string(10, 'x'), std::string(10, 'x'), std::string(10, 'x')}));
    EXPECT_EQ(Wrap("short", 10, true), (Rows{"short"}));
    EXPECT_EQ(Wrap("", 10, true), (Rows{""}));
    // With word breaks a row ends after the last blank that fits.
    EXPECT_EQ(Wrap("aaa bbbbbbb ccc", 10, true), (Rows{"aaa ", "bbbbbbb ", "ccc"}));
    EXPECT_EQ(Wrap("aaa bbbbbbb ccc", 10, false), (Rows{"aaa bbbbbb", "b ccc"}));
    // A blank right at the width is a break of its own.
    EXPECT_EQ(Wrap("aaaaaaaaaa bb", 10, true), (Rows{"aaaaaaaaaa", " bb"}));
}

TEST(PrintLayout, DoubleByteCharactersAreNeverCut) {
    std::string kana;
    for (int i = 0; i < 15; ++i) kana += "\x82\xA0";  // あ × 15
    // Nine cells hold four characters; the fifth would be cut.
    const Rows rows = Wrap(kana, 9, true);
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(rows[i].size(), 8u);
    EXPECT_EQ(rows[3].size(), 6u);
    // A row may end after any double-byte character, even amid letters.
    EXPECT_EQ(Wrap("ab\x82\xA0" "cdefghijkl", 6, true), (Rows{"ab\x82\xA0", "cdefgh", "ijkl"}));
}

TEST(PrintLayout, TabsExpandFromTheStartOfEachRow) {
    // The tab after ten letters starts the next row at its column 0.
    EXPECT_EQ(Wrap("aaaaaaaaaa\tb", 10, true), (Rows{"aaaaaaaaaa", "    b"}));
    // A tab at the break goes with the row, as far as its expansion fits.
    EXPECT_EQ(Wrap("aaaaaaaa\tb", 10, false), (Rows{"aaaaaaaa  ", "b"}));
    EXPECT_EQ(Wrap("aaaaaaaa\tb", 10, true), (Rows{"aaaaaaaa  ", "b"}));
}

TEST(PrintLayout, VeryLongLinesWrapTheSameInWindows) {
    std::string line;
    for (int i = 0; i < 20000; ++i) line += "word \x82\xA0 ";
    const Rows rows = Wrap(line, 37, true);
    std::string joined;
    for (const std::string& r : rows) {
        EXPECT_LE(r.size(), 37u);
        joined += r;
    }
    EXPECT_EQ(joined, line);
}

TEST(PrintLayout, HeaderCodes) {
    struct TFixedClock final : TClock {
        TLocalTime Now() const override { return {2026, 3, 7, 9, 5, 3}; }
    } clock;
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%f", "/home/u/src/a.lsp"},
        {"%F", "a.lsp"},
        {"- %p -", "- 5 -"},
        {"%y/%m/%d %t", "2026/3/7 9:05:03"},
        {"100%%", "100%"},
        {"%x%P", "xP"},
        {"end%", "end"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatHeaderText(c.format, "/home/u/src/a.lsp", 5, clock), c.expected) << c.format;
}

TEST(PrintLayout, GeometryFromPaperMarginsAndFont) {
    TStringsPrinter printer = TStringsPrinter::Design();  // margins 20/15/15/15, header and footer on
    printer.SetColumnCount(2);
    // 10 pixels a millimetre; a printable area 5 mm in from the sides and
    // 8.5 mm from top and bottom.
    const TPrintDevice device{254, 96, 2000, 2800, 210, 297};
    const TPaperOffsets o = PaperOffsets(device);
    EXPECT_EQ((std::vector<int>{o.Left, o.Top, o.Right, o.Bottom}), (std::vector<int>{50, 85, 50, 85}));
    const TPageGeometry g = ComputePageGeometry(printer, device, {40, 20}, 150, false);
    EXPECT_EQ(g.TextLeft, 150);
    EXPECT_EQ(g.TextTop, 65);
    EXPECT_EQ(g.TextRight, 1900);
    EXPECT_EQ(g.TextBottom, 2735);
    EXPECT_EQ(g.HeaderHeight, 60);
    EXPECT_EQ(g.RowsTop, 125);
    EXPECT_EQ(g.RowsBottom, 2675);
    EXPECT_EQ(g.StripWidth, 100);  // "150" and two more
    EXPECT_EQ(g.ColumnWidth, 755);
    EXPECT_EQ(g.ColumnShift, 895);
    EXPECT_EQ(g.RowAdvance, 50);  // 40 and 1 mm
    EXPECT_EQ(g.WrapWidth, 755);
    // Bold print keeps a character's width in hand.
    printer.SetFont({"x", 10, clBlack, fsBold});
    EXPECT_EQ(ComputePageGeometry(printer, device, {40, 20}, 150, false).WrapWidth, 735);
    // Without a printer to ask: the screen's resolution and no offsets.
    EXPECT_EQ(MillimetresToPixels({0, 96, 0, 0, 210, 297}, 254), 960);
    EXPECT_EQ(ScreenToPrinterRatio({0, 96, 0, 0, 210, 297}), 1.0);
    EXPECT_EQ(PaperOffsets({0, 96, 0, 0, 210, 297}).Left, 0);
}

// Ten rows a column on a page of `columns` columns.
TPageGeometry SmallPages(int columns) {
    TPageGeometry g;
    g.RowsTop = 0;
    g.RowsBottom = 105;
    g.RowAdvance = 10;
    g.ColumnCount = columns;
    g.WrapWidth = 100;  // ten cells
    return g;
}

struct TPlacedRow {
    std::size_t row;
    int column, y, number;
    bool operator==(const TPlacedRow&) const = default;
};

std::vector<TPlacedRow> Placed(const TStringsPrinter& p, const TPagePlan& plan, const TPageGeometry& g,
                               std::size_t page) {
    std::vector<TPlacedRow> out;
    ForEachPageRow(p, plan, g, page, [&](std::size_t r, int c, int y, int n) { out.push_back({r, c, y, n}); });
    return out;
}

TEST(PrintLayout, PagesColumnsAndPageNumbers) {
    TStringsPrinter printer;
    printer.SetFirstPageNumber(5);
    const std::vector<std::string> lines(45, "x");
    TPagePlan plan;
    ASSERT_TRUE(PlanPages(printer, lines, SmallPages(2), Cells, plan, nullptr));
    ASSERT_EQ(plan.Pages.size(), 3u);
    EXPECT_EQ(plan.Pages[1].Row, 20u);
    EXPECT_EQ((std::vector<int>{plan.Pages[0].PageNumber, plan.Pages[1].PageNumber, plan.Pages[2].PageNumber}),
              (std::vector<int>{5, 6, 7}));
    const auto second = Placed(printer, plan, SmallPages(2), 1);
    ASSERT_EQ(second.size(), 20u);
    EXPECT_EQ(second[9], (TPlacedRow{29, 0, 90, 0}));
    EXPECT_EQ(second[10], (TPlacedRow{30, 1, 0, 0}));
    // An empty document is one page.
    ASSERT_TRUE(PlanPages(printer, std::vector<std::string>{}, SmallPages(1), Cells, plan, nullptr));
    EXPECT_EQ(plan.Pages.size(), 1u);
    // Stopping while laying out keeps nothing.
    EXPECT_FALSE(PlanPages(printer, lines, SmallPages(1), Cells, plan, [](std::size_t i, std::size_t) { return i < 3; }));
}

TEST(PrintLayout, LineNumbersOnTheFirstRowOfEachPrintedLine) {
    TStringsPrinter printer;
    printer.SetLineNumber(true);
    const std::vector<std::string> lines = {"a", std::string(25, 'w'), "b", "c", "d"};
    TPagePlan plan;
    ASSERT_TRUE(PlanPages(printer, lines, SmallPages(1), Cells, plan, nullptr));
    std::vector<int> numbers;
    for (const TPlacedRow& r : Placed(printer, plan, SmallPages(1), 0)) numbers.push_back(r.number);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 0, 0, 3, 4, 5}));
    // A line range counts its printed lines from the first line number.
    printer.SetLineRangeOption(roLimited);
    printer.SetStartLine(2);
    printer.SetLastLine(3);
    printer.SetFirstLineNumber(10);
    ASSERT_TRUE(PlanPages(printer, lines, SmallPages(1), Cells, plan, nullptr));
    std::vector<TPlacedRow> placed = Placed(printer, plan, SmallPages(1), 0);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[0], (TPlacedRow{1, 0, 0, 10}));
    EXPECT_EQ(placed[3], (TPlacedRow{4, 0, 30, 11}));
}

TEST(PrintLayout, PagesSentByRangeAndParity) {
    TStringsPrinter printer;
    printer.SetPageOption(poOdd);
    EXPECT_EQ(PrintedPageNumbers(printer, 4), (std::vector<int>{1, -1, 3, -1}));
    printer.SetPageOption(poEven);
    EXPECT_EQ(PrintedPageNumbers(printer, 4), (std::vector<int>{-1, 2, -1, 4}));
    // With a page range, its first page carries the first page number.
    printer.SetPageOption(poBoth);
    printer.SetRangeOption(roLimited);
    printer.SetStartPage(3);
    printer.SetLastPage(4);
    EXPECT_EQ(PrintedPageNumbers(printer, 5), (std::vector<int>{-1, -1, 1, 2, -1}));
}

}  // namespace
}  // namespace quodle
