#include "app/IniFile.h"

#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "base/Text.h"
#include "support/TempDir.h"

namespace quodle {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(IniDocument, EditsKeepEverythingElseInPlace) {
    const std::string original =
        "; written by hand\r\n"
        "[Form]\r\n"
        "Left=10\r\n"
        "Top = 20 \r\n"
        "\r\n"
        "; comment before the next section\r\n"
        "[Other]\r\n"
        "x=1\r\n"
        "not a key line\r\n"
        "[Font]\r\n"
        "Name=Mono";  // no final line break
    IniDocument doc = IniDocument::Parse(original);
    EXPECT_EQ(doc.Serialize(), original + "\r\n");

    doc.WriteInteger("form", "TOP", 33);    // replaced where it stands, key keeps its spelling
    doc.WriteInteger("Form", "Width", 543);  // added after the section's last key
    doc.WriteString("Font", "Size", "10");
    doc.WriteBool("Hint", "ShowHint", false);  // new section at the end
    EXPECT_EQ(doc.Serialize(),
              "; written by hand\r\n"
              "[Form]\r\n"
              "Left=10\r\n"
              "Top=33\r\n"
              "Width=543\r\n"
              "\r\n"
              "; comment before the next section\r\n"
              "[Other]\r\n"
              "x=1\r\n"
              "not a key line\r\n"
              "[Font]\r\n"
              "Name=Mono\r\n"
              "Size=10\r\n"
              "[Hint]\r\n"
              "ShowHint=0\r\n");
}

TEST(IniDocument, NamesIgnoreAsciiCaseAndFirstOccurrenceWins) {
    const IniDocument doc = IniDocument::Parse(
        "\xEF\xBB\xBF[form]\nleft=1\nLEFT=2\n;Top=3\n[FORM]\nTop=4\n[CAD]\n  CAPT  =  AutoCADへロード  \n");
    EXPECT_EQ(doc.Value("Form", "Left"), "1");
    EXPECT_FALSE(doc.ValueExists("Form", "Top"));  // a comment, then a second section that is never read
    EXPECT_EQ(doc.Value("cad", "capt"), "AutoCADへロード");
    EXPECT_TRUE(doc.SectionExists("FoRm"));
    EXPECT_FALSE(doc.SectionExists("Print"));
    EXPECT_EQ(doc.Keys("FORM"), (std::vector<std::string>{"left", "LEFT"}));
    // The byte-order mark survives a rewrite.
    EXPECT_TRUE(doc.Serialize().starts_with("\xEF\xBB\xBF[form]\n"));
}

TEST(IniDocument, TypedValuesFallBackToTheDefault) {
    struct Case {
        const char* stored;  // nullptr: key missing
        bool boolValue;      // default true
        int intValue;        // default -5
        TColor colorValue;   // default clAqua
    } cases[] = {
        {nullptr, true, -5, clAqua},
        {"", true, -5, clAqua},
        {"0", false, 0, clBlack},
        {"1", true, 1, 1},
        {"2", true, 2, 2},
        {" -1 ", true, -1, -1},
        {"+7", true, 7, clAqua},  // the colour notation has no "+"
        {"+-7", true, -5, clAqua},
        {"12abc", true, -5, clAqua},
        {"yes", true, -5, clAqua},
        {"99999999999", true, -5, clAqua},
        {"$00FF8000", true, -5, 0x00FF8000},
        {"clWindowText", true, -5, clWindowText},
        {"clwindow", true, -5, clWindow},
        {"clBogus", true, -5, clAqua},
    };
    for (const auto& c : cases) {
        const std::string text = c.stored ? std::string("[S]\nk=") + c.stored + "\n" : "[S]\n";
        const IniDocument doc = IniDocument::Parse(text);
        EXPECT_EQ(doc.ReadBool("S", "k", true), c.boolValue) << text;
        EXPECT_EQ(doc.ReadInteger("S", "k", -5), c.intValue) << text;
        EXPECT_EQ(doc.ReadColor("S", "k", clAqua), c.colorValue) << text;
    }
    const IniDocument doc = IniDocument::Parse("[S]\nempty=\nname=ＭＳ ゴシック\n");
    EXPECT_EQ(doc.ReadString("S", "empty", "def"), "");  // present but empty is not missing
    EXPECT_EQ(doc.ReadString("S", "missing", "def"), "def");
    EXPECT_EQ(doc.ReadString("S", "name", ""), "ＭＳ ゴシック");
}

TEST(IniDocument, TypedWritesUseTheFileNotation) {
    IniDocument doc;
    doc.WriteBool("S", "b1", true);
    doc.WriteBool("S", "b0", false);
    doc.WriteInteger("S", "i", -42);
    doc.WriteColor("S", "named", clWindow);
    doc.WriteColor("S", "hex", 0x00FF8000);
    doc.WriteString("S", "s", "a = b");
    EXPECT_EQ(doc.Serialize(), "[S]\nb1=1\nb0=0\ni=-42\nnamed=clWindow\nhex=$00FF8000\ns=a = b\n");
    EXPECT_EQ(doc.ReadString("S", "s", ""), "a = b");  // only the first "=" separates
}

TEST(IniDocument, DeleteRemovesEveryCopy) {
    IniDocument doc = IniDocument::Parse("[A]\nk=1\nj=2\nK=3\n[B]\nk=4\n[a]\nk=5\n");
    EXPECT_TRUE(doc.DeleteKey("a", "K"));
    EXPECT_FALSE(doc.DeleteKey("A", "K"));
    EXPECT_EQ(doc.Serialize(), "[A]\nj=2\n[B]\nk=4\n[a]\n");
    EXPECT_TRUE(doc.DeleteSection("A"));
    EXPECT_FALSE(doc.DeleteSection("A"));
    EXPECT_EQ(doc.Serialize(), "[B]\nk=4\n");
}

TEST(IniDocument, LookupsFollowEveryEdit) {
    IniDocument doc = IniDocument::Parse("[A]\nk1=1\n; between\nk2=2\n\n; leads into B\n[B]\nx=1\n[a]\nk1=9\nk3=3\n");
    // Deleting the last key of a section: a new key goes right after the
    // last key left, ahead of the comments that followed it.
    EXPECT_TRUE(doc.DeleteKey("A", "K2"));
    doc.WriteInteger("A", "k4", 4);
    EXPECT_EQ(doc.ReadInteger("A", "k1", 0), 1);
    EXPECT_EQ(doc.ReadInteger("A", "k4", 0), 4);
    EXPECT_FALSE(doc.ValueExists("A", "k2"));
    EXPECT_FALSE(doc.ValueExists("A", "k3"));  // only the first section of a name is read
    EXPECT_EQ(doc.Serialize(), "[A]\nk1=1\nk4=4\n; between\n\n; leads into B\n[B]\nx=1\n[a]\nk1=9\nk3=3\n");

    // A bulk delete reaches every section of the name, and the keys left
    // are still found.
    EXPECT_TRUE(doc.DeleteKeys("a", [](std::string_view key) { return key == "k1"; }));
    EXPECT_FALSE(doc.ValueExists("A", "k1"));
    EXPECT_EQ(doc.ReadInteger("A", "k4", 0), 4);
    // Deleting a section removes every copy; a write then adds it anew.
    EXPECT_TRUE(doc.DeleteSection("A"));
    EXPECT_FALSE(doc.SectionExists("a"));
    doc.WriteInteger("B", "y", 2);
    doc.WriteInteger("A", "k1", 5);
    EXPECT_EQ(doc.Serialize(), "[B]\nx=1\ny=2\n[A]\nk1=5\n");
    EXPECT_EQ(doc.ReadInteger("B", "x", 0), 1);
}

TEST(IniDocument, RefusesNamesAndValuesThatWouldBreakTheFile) {
    IniDocument doc;
    EXPECT_THROW(doc.WriteString("S", "k", "line\nbreak"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", "k", "cr\r"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", "a=b", "v"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", ";k", "v"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", "", "v"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S]", "k", "v"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString(" S", "k", "v"), std::invalid_argument);
    // Not UTF-8: read back, Shift-JIS bytes would turn into other text and
    // bytes of neither encoding would read as missing.
    EXPECT_THROW(doc.WriteString("S", "k", "\x82\xA0"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", "k", "\xFFM9"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S\x82\xA0", "k", "v"), std::invalid_argument);
    EXPECT_THROW(doc.WriteString("S", "k\xFF", "v"), std::invalid_argument);
    EXPECT_EQ(doc.Serialize(), "");
    doc.WriteString("S", "k", "\xE3\x81\x82");  // UTF-8 goes in and reads back
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Value("S", "k"), "\xE3\x81\x82");
}

TEST(IniFile, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite) {
    TempDir dir;
    IniFile ini(dir / "quodle.ini");
    EXPECT_EQ(ini.ReadInteger("Font", "Size", 10), 10);
    EXPECT_FALSE(ini.SectionExists("Font"));
    ini.DeleteKey("Font", "Size");  // nothing to change: no file yet
    EXPECT_FALSE(std::filesystem::exists(ini.Path()));

    ini.WriteInteger("Font", "Size", 12);
    EXPECT_EQ(ReadBytes(ini.Path()), "[Font]\nSize=12\n");
    ini.WriteColor("Font", "Color", clRed);
    EXPECT_EQ(ReadBytes(ini.Path()), "[Font]\nSize=12\nColor=clRed\n");
    EXPECT_TRUE(ini.ValueExists("font", "color"));
}

TEST(IniFile, EveryBatchSeesTheFileAsItIsNow) {
    TempDir dir;
    IniFile ini(dir / "quodle.ini");
    ini.WriteBool("Hint", "ShowHint", true);
    // Another window (or a person) changes the file between two batches.
    WriteBytes(ini.Path(), "[Hint]\r\nShowHint=0\r\n; theirs\r\n[Form]\r\nLeft=5\r\n");
    EXPECT_FALSE(ini.ReadBool("Hint", "ShowHint", true));
    ini.Update([](IniDocument& d) {
        d.WriteInteger("Form", "Top", 7);
        d.WriteBool("Hint", "ShowUser", false);
    });
    EXPECT_EQ(ReadBytes(ini.Path()),
              "[Hint]\r\nShowHint=0\r\nShowUser=0\r\n; theirs\r\n[Form]\r\nLeft=5\r\nTop=7\r\n");
}

TEST(IniFile, ShiftJisSettingsAreReadAndWrittenBackAsUtf8) {
    TempDir dir;
    IniFile ini(dir / "quodle.ini");
    // As the other platform writes it: Shift-JIS with CR LF. One line holds
    // bytes that are neither UTF-8 nor Shift-JIS (0x80 and 0xA0 are not
    // Shift-JIS characters), one is UTF-8 pasted in by hand.
    const std::string unreadable = "Item1=C:\\\x80\xA0.lsp";
    WriteBytes(ini.Path(), "[Font]\r\nName=\x82\x6C\x82\x72 \x96\xBE\x92\xA9\r\n"
                           "[CAD]\r\nCAPT=\xB1\xB2" "CAD\x82\xD6\x83\x8D\x81\x5B\x83\x68\r\n"
                           "[OpenMenuItems]\r\nItem0=/home/ユーザー/a.lsp\r\n" +
                               unreadable + "\r\nItem2=b.lsp\r\n");
    const IniDocument doc = ini.Read();
    EXPECT_EQ(doc.ReadString("Font", "Name", ""), "ＭＳ 明朝");
    EXPECT_EQ(doc.ReadString("CAD", "CAPT", ""), "ｱｲCADへロード");
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item0", ""), "/home/ユーザー/a.lsp");
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item1", "missing"), "missing");
    EXPECT_FALSE(doc.ValueExists("OpenMenuItems", "Item1"));
    EXPECT_EQ(doc.ReadString("OpenMenuItems", "Item2", ""), "b.lsp");

    // The next write batch stores UTF-8; the unreadable line goes back as it
    // came, never as a replacement character.
    ini.WriteInteger("Font", "Size", 12);
    const std::string written = ReadBytes(ini.Path());
    EXPECT_EQ(written, "[Font]\r\nName=ＭＳ 明朝\r\nSize=12\r\n[CAD]\r\nCAPT=ｱｲCADへロード\r\n"
                       "[OpenMenuItems]\r\nItem0=/home/ユーザー/a.lsp\r\n" +
                           unreadable + "\r\nItem2=b.lsp\r\n");
    EXPECT_EQ(ini.ReadString("Font", "Name", ""), "ＭＳ 明朝");  // read back the same
    // A value the program writes takes the unreadable line's place.
    ini.WriteString("OpenMenuItems", "Item1", "c.lsp");
    EXPECT_TRUE(IsValidUtf8(ReadBytes(ini.Path())));
    EXPECT_EQ(ini.ReadString("OpenMenuItems", "Item1", ""), "c.lsp");
}

TEST(IniFile, FailuresAreReportedNotLost) {
    TempDir dir;
    WriteBytes(dir / "plain", "x");
    // The settings folder is a regular file: nothing can be created there.
    IniFile blocked(dir / "plain" / "quodle.ini");
    EXPECT_EQ(blocked.ReadInteger("Font", "Size", 10), 10);
    try {
        blocked.WriteInteger("Font", "Size", 12);
        FAIL() << "write reported success";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), dir / "plain" / "quodle.ini");
        EXPECT_EQ(e.Reason(), "Not a directory");
    }

    // A settings file that exists but cannot be read reads as defaults, and
    // is not overwritten with only the new value.
    std::filesystem::create_directory(dir / "folder.ini");
    IniFile unreadable(dir / "folder.ini");
    EXPECT_EQ(unreadable.ReadString("CAD", "CAPT", "def"), "def");
    EXPECT_THROW(unreadable.WriteString("CAD", "CAPT", "x"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));
}

}  // namespace
}  // namespace quodle
