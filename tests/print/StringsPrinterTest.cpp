#include "print/StringsPrinter.h"

#include <gtest/gtest.h>

#include "print/PaperTable.h"
#include "syntax/HyphenFountain.h"
#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

TEST(StringsPrinter, SettersClampToTheirRanges) {
    TStringsPrinter p;
    const struct {
        void (TStringsPrinter::*set)(int);
        int (TStringsPrinter::*get)() const;
        int given, kept;
    } cases[] = {
        {&TStringsPrinter::SetTabSpaceCount, &TStringsPrinter::TabSpaceCount, 5, 4},
        {&TStringsPrinter::SetTabSpaceCount, &TStringsPrinter::TabSpaceCount, 9, 8},
        {&TStringsPrinter::SetTabSpaceCount, &TStringsPrinter::TabSpaceCount, 1, 2},
        {&TStringsPrinter::SetColumnCount, &TStringsPrinter::ColumnCount, 0, 1},
        {&TStringsPrinter::SetColumnCount, &TStringsPrinter::ColumnCount, 7, 3},
        {&TStringsPrinter::SetMarginLeft, &TStringsPrinter::MarginLeft, 150, 100},
        {&TStringsPrinter::SetMarginLine, &TStringsPrinter::MarginLine, -3, 0},
        {&TStringsPrinter::SetColumnSpace, &TStringsPrinter::ColumnSpace, 101, 100},
        {&TStringsPrinter::SetFirstPageNumber, &TStringsPrinter::FirstPageNumber, 0, 1},
        {&TStringsPrinter::SetLastPage, &TStringsPrinter::LastPage, 1000000, 999999},
        {&TStringsPrinter::SetLastLine, &TStringsPrinter::LastLine, -1, 1},
    };
    for (const auto& c : cases) {
        (p.*c.set)(c.given);
        EXPECT_EQ((p.*c.get)(), c.kept) << c.given;
    }
    p.SetPrintMode(static_cast<TStringsPrinterPrintMode>(9));
    EXPECT_EQ(p.PrintMode(), pmColorToken);
}

TEST(StringsPrinter, EveryPropertySurvivesSaveAndRestore) {
    TStringsPrinter changed = TStringsPrinter::Design();
    changed.SetBkColor(clYellow);
    changed.SetColumnCount(3);
    changed.SetColumnSpace(7);
    changed.SetFileName("/tmp/ファイル.lsp");
    changed.SetFirstLineNumber(12);
    changed.SetFirstPageNumber(3);
    changed.SetFont({"IPAGothic", 12, clRed, fsBold | fsItalic});
    changed.SetFooter("%p / %F");
    changed.SetFooterAlign(haLeft);
    changed.SetHeader("%y-%m-%d=%t");
    changed.SetHeaderAlign(haCenter);
    changed.SetHeaderColor(clNavy);
    changed.SetLastLine(40);
    changed.SetLastPage(9);
    changed.SetLineNumber(false);
    changed.SetLineRangeOption(roLimited);
    changed.SetMarginBottom(1);
    changed.SetMarginLeft(2);
    changed.SetMarginRight(3);
    changed.SetMarginTop(4);
    changed.SetMarginLine(5);
    changed.SetPageOption(poEven);
    changed.SetPrintMode(pmBWFontStyle);
    changed.SetRangeOption(roLimited);
    changed.SetStartLine(6);
    changed.SetStartPage(2);
    changed.SetTabSpaceCount(6);
    changed.SetWordBreak(false);
    const std::string stored = changed.Save();
    TStringsPrinter restored;
    restored.Restore(stored);
    EXPECT_EQ(restored.Save(), stored);
    EXPECT_EQ(restored.Font(), changed.Font());
    EXPECT_EQ(restored.PrintMode(), pmBWFontStyle);
    // Stored values out of range come back clamped; unknown or broken lines
    // leave the property as it was.
    TStringsPrinter clamped = TStringsPrinter::Design();
    clamped.Restore("TabSpaceCount=7\nMarginTop=500\nColumnCount=x\nNoSuch=1\nPrintMode=-4");
    EXPECT_EQ(clamped.TabSpaceCount(), 6);
    EXPECT_EQ(clamped.MarginTop(), 100);
    EXPECT_EQ(clamped.ColumnCount(), 1);
    EXPECT_EQ(clamped.PrintMode(), pmBW);
}

TEST(StringsPrinter, FountainIsHeldWeakly) {
    TStringsPrinter p;
    {
        std::shared_ptr<TFountain> fountain = CreateHyphenFountain1();
        p.SetFountain(fountain);
        EXPECT_EQ(p.Fountain(), fountain);
    }
    EXPECT_EQ(p.Fountain(), nullptr);
}

TEST(StringsPrinter, PaperTableAndDriverList) {
    EXPECT_EQ(BuiltInPapers().size(), 68u);
    const TPaperItem a4 = FindPaper({}, 9);
    EXPECT_EQ(a4.Name, "DMPAPER_A4");
    EXPECT_EQ(a4.Width, 210);
    EXPECT_EQ(a4.Height, 297);
    EXPECT_EQ(FindPaper({}, 68).Name, "DMPAPER_A3_EXTRA_TRANSVERSE");
    // The driver's own entry comes first; unknown codes have no name.
    const std::vector<TPaperItem> driver = {{"A4 (driver)", 210, 297, 9}};
    EXPECT_EQ(FindPaper(driver, 9).Name, "A4 (driver)");
    EXPECT_EQ(FindPaper(driver, 300).Name, "");
    EXPECT_EQ(FindPaper(driver, 300).Width, 0);
}

}  // namespace
}  // namespace quodle
