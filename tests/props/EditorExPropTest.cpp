#include <gtest/gtest.h>

#include <functional>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "props/EditorExProp.h"

namespace quodle {
namespace {

// A set in which every stored property differs from a fresh set's.
TEditorExProp EveryPropertyChanged() {
    TEditorExProp p;
    p.FileExtList().Assign({".lsp", ".dcl"});
    p.Color = 0x00102030;
    p.Caret = {false, false, false, false, true, true, true, true, true, true, false, false, dmManual, true, csBrief,
               true, 3, true};
    p.Font = {"IPAゴシック", 14, clRed};
    p.HitStyle = hsCaret;
    p.Imagebar = {9, 3, 5, 4, false};
    p.Leftbar = {clYellow, clNavy, 6, true, false, 10, 11, false, nmLine, true, true};
    p.Margin = {3, 1, 20, 5};
    p.Marks.EofMark = {clLime, true};
    p.Marks.Underline = {clPurple, true};
    p.SetReserveWordList({"setq", "DEFUN", "car"});
    p.Ruler = {clTeal, clMaroon, false, 8, clOlive, true};
    p.ScrollBars = ssVertical;
    p.Select = {clBlack, clAqua};
    p.Speed = {3, 4, 1, true};
    p.View.Colors[1] = {clGreen, clSilver, fsBold | fsItalic};
    p.View.Commenter = ";";
    p.View.Quotation = "\"";
    p.View.HexPrefix = "0x";
    p.View.ControlCode = p.View.Mail = p.View.Url = true;
    p.WordWrap = true;
    p.WrapOption.WrapByte = 60;
    p.WrapOption.Leading = true;
    p.WrapOption.LeadStr = "\x81\x75(=\\\n";  // a double-byte bracket and the record's own signs
    p.WrapOption.FollowStr = "\x81\x76)";
    p.WrapOption.FollowRetMark = true;
    p.ExMarks.TabMark = {clRed, true};
    p.ExMarks.Hit = {clWhite, clBlue, fsUnderline};
    p.ExMarks.Img3Line = {clCream, true};
    p.ExSearchOptions = soRegexp | soWholeWord;
    p.FindLineFeedCount = 9;
    TVerticalLine line;
    line.SetPosition(72);
    line.Color = clFuchsia;
    line.Visible = false;
    p.VerticalLines = {line, TVerticalLine()};
    return p;
}

TEST(EditorExProp, EveryPropertySurvivesTheSettingsFile) {
    const TEditorExProp written = EveryPropertyChanged();
    EXPECT_FALSE(written == TEditorExProp());
    IniDocument doc;
    settings::WriteBlob(doc, settings::kEditorPropSection, written.StoreBytes());
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    TEditorExProp read;
    read.LoadBytes(settings::ReadBlob(reread, settings::kEditorPropSection));
    EXPECT_TRUE(read == written);
    EXPECT_EQ(read.StoreBytes(), written.StoreBytes());  // names the property that differs
    // The find string is not a stored property.
    TEditorExProp withFind = written;
    withFind.FindMarkText = "defun";
    EXPECT_EQ(withFind.StoreBytes(), written.StoreBytes());
}

TEST(EditorExProp, ForeignAndDamagedRecordsLeaveASoundSet) {
    const TEditorExProp design = TEditorExProp::TemplateDesign();
    struct Case {
        std::string records;
        std::function<void(TEditorExProp&)> expect;  // applied to the design set
    } cases[] = {
        // A newer version's records are passed over; the known ones still count.
        {"Future.Option=7\nCaret.TabSpaceCount=2\nNoEquals\n=x\n", [](TEditorExProp& p) { p.Caret.TabSpaceCount = 2; }},
        // Out of range: brought to the nearer end.
        {"Caret.TabSpaceCount=100000\nFont.Size=-4\nMargin.Left=999\nWrapOption.WrapByte=5\nSpeed.CaretVerticalAc=0\n",
         [](TEditorExProp& p) {
             p.Caret.TabSpaceCount = kMaxTabSpaceCount;
             p.Font.Size = kMinFontSize;
             p.Margin.Left = 100;
             p.WrapOption.WrapByte = TEditorWrapOption::kMinWrapByte;
             p.Speed.CaretVerticalAc = 1;
         }},
        // Malformed: the value stays as it was.
        {"Color=nocolour\nCaret.AutoIndent=yes\nHitStyle=9\nScrollBars=-1\nFont.Size=12pt\nLeftbar.Color=$7F000000\n",
         [](TEditorExProp&) {}},
        // A list whose count promises more than it holds is not taken.
        {"ReserveWordList.Count=3\nReserveWordList.0=a\n", [](TEditorExProp&) {}},
        {"ReserveWordList.Count=2000000000\n", [](TEditorExProp&) {}},
        // Guide lines: one outside the columns is dropped, the rest kept.
        {"VerticalLines.Count=2\nVerticalLines.0.Position=5000\nVerticalLines.1.Position=40\n",
         [](TEditorExProp& p) {
             TVerticalLine l;
             l.SetPosition(40);
             p.VerticalLines = {l};
         }},
    };
    for (const auto& c : cases) {
        TEditorExProp read = design;
        read.LoadBytes(c.records);
        TEditorExProp expected = design;
        c.expect(expected);
        EXPECT_EQ(read.StoreBytes(), expected.StoreBytes()) << c.records;
    }
}

TEST(EditorExProp, WordListsAreSortedWithoutDuplicatesAndExtensionsQueried) {
    TEditorExProp p;
    p.SetReserveWordList({"setq", "CAR", "car", "defun"});
    EXPECT_EQ(p.ReserveWordList, (std::vector<std::string>{"CAR", "defun", "setq"}));
    p.FileExtList().Assign({".lsp", ".LSP", ".dcl"});
    EXPECT_TRUE(p.ServesFileExt(".Lsp"));
    EXPECT_FALSE(p.ServesFileExt(".txt"));
    // Copying a set copies its own list.
    TEditorExProp copy = p;
    p.FileExtList().Add(".txt");
    EXPECT_FALSE(copy.ServesFileExt(".txt"));
    EXPECT_FALSE(copy == p);
}

}  // namespace
}  // namespace quodle
