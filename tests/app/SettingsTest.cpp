#include "app/Settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace quodle::settings {
namespace {

using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteBytes;

TEST(Settings, EmptyFileGivesTheDesignValues) {
    const IniDocument doc;
    EXPECT_EQ(Read(doc, kFontName), "ＭＳ ゴシック");
    EXPECT_EQ(Read(doc, kCadCaption), "AutoCADへロード");
    EXPECT_EQ(Read(doc, kFontSize), 10);
    EXPECT_EQ(Read(doc, kEditorTabSpaceCount), 4);
    EXPECT_TRUE(Read(doc, kCadAcad));
    EXPECT_FALSE(Read(doc, kCadBcad));
    EXPECT_EQ(Read(doc, kFormLeft, CenteredOrigin(1024, 543)), 240);
    EXPECT_EQ(CenteredOrigin(500, 543), -21);  // truncates towards zero
    IniDocument written;
    Write(written, kColorSelectBk, Read(doc, kColorSelectBk));
    Write(written, kFontColor, Read(doc, kFontColor));
    EXPECT_EQ(written.Serialize(), "[Color]\nSelectBk=$00FF8000\n[Font]\nColor=clWindowText\n");
}

TEST(Settings, TheLoadTargetsWindowsAreTheFilesOrTheDefaults) {
    TempDir dir;
    WriteBytes(dir / "q.ini", "[CAD]\nACADClass=lincad\nACADTitle=LinCAD *\nACADTextClass=\nBCADTitle=B*\n");
    const TTargetWindows read = ReadTargetWindows(IniFile(dir / "q.ini").Read());
    const TTargetWindows defaults;
    EXPECT_EQ(read.AutoCadMain.Class, "lincad");
    EXPECT_EQ(read.AutoCadMain.Title, "LinCAD *");
    EXPECT_EQ(read.AutoCadText.Class, "");  // given empty: no text window needed
    EXPECT_EQ(read.AutoCadText.Title, defaults.AutoCadText.Title);
    EXPECT_EQ(read.BricsCad.Class, defaults.BricsCad.Class);
    EXPECT_EQ(read.BricsCad.Title, "B*");
    EXPECT_EQ(read.ZwCad.Class, defaults.ZwCad.Class);
    EXPECT_EQ(ReadTargetWindows(IniDocument()).AutoCadMain.Title, defaults.AutoCadMain.Title);
}

TEST(Settings, EveryValueIsReadWithinWhatItsKeyAccepts) {
    static constexpr IntKey kPrintChunkCount{"Print", kBlobChunkCount.name, 0, kBlobChunkCount.min, kBlobChunkCount.max};
    struct IntCase {
        const IntKey* key;
        const char* stored;
        int read;
    } ints[] = {
        {&kFontSize, "12", 12},          {&kFontSize, "0", 6},
        {&kFontSize, "-1", 6},           {&kFontSize, "2147483647", 72},
        {&kFontSize, "5000", 72},        {&kFontSize, "99999999999", 10},  // no int at all: the default
        {&kFontSize, "ten", 10},         {&kEditorTabSpaceCount, "2147483647", 32},
        {&kEditorTabSpaceCount, "0", 1}, {&kEditorTabSpaceCount, "8", 8},
        {&kEditorMarginLine, "100000", 32}, {&kEditorMarginLine, "-3", 0},
        {&kFormLeft, "-100000", -32767}, {&kFormTop, "2147483647", 32767},
        {&kOpenMenuItemsCount, "40000", 100}, {&kPrintChunkCount, "100000", 32768},
    };
    for (const auto& c : ints) {
        const auto doc = IniDocument::Parse(std::string("[") + std::string(c.key->section) + "]\n" +
                                            std::string(c.key->name) + "=" + c.stored + "\n");
        EXPECT_EQ(Read(doc, *c.key), c.read) << c.key->name << "=" << c.stored;
    }

    struct ColorCase {
        const char* stored;
        TColor read;  // kFontColor's default is clWindowText
    } colors[] = {
        {"clRed", clRed},     {"$00123456", 0x00123456}, {"clNone", clNone},     {"clWindow", clWindow},
        {"0", clBlack},       {"-1", clWindowText},      {"2147483647", clWindowText},
        {"$01000000", clWindowText}, {"$800000FF", clWindowText}, {"$80001205", clWindowText},
    };
    for (const auto& c : colors)
        EXPECT_EQ(Read(IniDocument::Parse(std::string("[Font]\nColor=") + c.stored + "\n"), kFontColor), c.read)
            << c.stored;

    // A text longer than the key takes reads as the default; so does a
    // reopen entry longer than a path.
    const auto text = [](std::size_t n) { return std::string(n, 'x'); };
    EXPECT_EQ(Read(IniDocument::Parse("[Font]\nName=" + text(256) + "\n"), kFontName), text(256));
    EXPECT_EQ(Read(IniDocument::Parse("[Font]\nName=" + text(257) + "\n"), kFontName), "ＭＳ ゴシック");
    EXPECT_EQ(Read(IniDocument::Parse("[CAD]\nCAPT=" + text(100000) + "\n"), kCadCaption), "AutoCADへロード");
    const auto items = IniDocument::Parse("[OpenMenuItems]\nItem0=/" + text(4095) + "\nItem1=/" + text(4096) + "\n");
    EXPECT_EQ(ReadNumbered(items, kOpenMenuItem, 0), "/" + text(4095));
    EXPECT_EQ(ReadNumbered(items, kOpenMenuItem, 1), std::nullopt);
}

std::string Bytes(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(i * 37 + 5));
    return s;
}

TEST(PrintBlob, ChunksOf32Bytes) {
    struct Case {
        std::size_t bytes;
        std::vector<std::string> keys;
        std::size_t lastChunkDigits;
    } cases[] = {
        {1, {"para_d0", "para_c"}, 2},
        {31, {"para_d0", "para_c"}, 62},
        {32, {"para_d0", "para_c"}, 64},
        {33, {"para_d0", "para_d1", "para_c"}, 2},
        {64, {"para_d0", "para_d1", "para_c"}, 64},
    };
    for (const auto& c : cases) {
        IniDocument doc;
        const std::string blob = Bytes(c.bytes);
        WritePrintBlob(doc, blob);
        EXPECT_EQ(doc.Keys("Print"), c.keys) << c.bytes;
        EXPECT_EQ(doc.ReadInteger("Print", "para_c", -1), static_cast<int>(c.keys.size() - 1));
        const std::string lastKey = c.keys[c.keys.size() - 2];
        EXPECT_EQ(doc.ReadString("Print", lastKey, "").size(), c.lastChunkDigits) << c.bytes;
        EXPECT_EQ(ReadPrintBlob(doc), blob) << c.bytes;
    }
    IniDocument doc;
    WritePrintBlob(doc, std::string("\x00\xAB\x7F\xFF", 4));
    EXPECT_EQ(doc.Serialize(), "[Print]\npara_d0=00AB7FFF\npara_c=1\n");
}

TEST(PrintBlob, ShrinkingDeletesTheSurplusChunks) {
    IniDocument doc = IniDocument::Parse("[Print]\nkeep=me\npara_d7=stale\n");
    WritePrintBlob(doc, Bytes(150));  // 300 digits: 5 chunks
    EXPECT_EQ(doc.Keys("Print"),
              (std::vector<std::string>{"keep", "para_d7", "para_d0", "para_d1", "para_d2", "para_d3", "para_d4",
                                        "para_c"}));
    WritePrintBlob(doc, Bytes(40));  // 2 chunks
    EXPECT_EQ(doc.Keys("Print"), (std::vector<std::string>{"keep", "para_d7", "para_d0", "para_d1", "para_c"}));
    EXPECT_EQ(doc.Value("Print", "para_c"), "2");
    EXPECT_EQ(ReadPrintBlob(doc), Bytes(40));
    // An empty blob removes the chunks the count names and the count itself,
    // and writes nothing; a key the count never covered stays.
    WritePrintBlob(doc, "");
    EXPECT_EQ(doc.Serialize(), "[Print]\nkeep=me\npara_d7=stale\n");
    EXPECT_EQ(ReadPrintBlob(doc), "");
}

TEST(PrintBlob, DamagedEntriesReadSoundly) {
    struct Case {
        const char* section;
        std::string blob;
    } cases[] = {
        {"para_c=x\npara_d0=41\n", ""},
        {"para_c=-2\npara_d0=41\n", ""},
        {"para_c=3\npara_d0=4142\npara_d2=43\n", "ABC"},   // missing middle chunk reads as empty
        {"para_c=1\npara_d0=41ZZ4G43\n", std::string("A\0\0C", 4)},  // bad pairs give 0
        {"para_c=1\npara_d0=414\n", "A"},                 // an odd digit at the end is dropped
        {"para_c=1\npara_d0=4142\npara_d1=43\n", "AB"},   // chunks past the count are not read
        {"para_c=2000000000\npara_d0=41\n", "A"},         // a damaged count is harmless
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadPrintBlob(IniDocument::Parse(std::string("[Print]\n") + c.section)), c.blob) << c.section;

    // No more than a blob of the program's own: at most kMaxBlobChunks chunks of at
    // most 64 digits (a longer one is not the program's and reads as
    // missing), however many the file holds.
    std::string many = "[Print]\npara_c=100000\npara_d0=" + std::string(70, '4') + "\n";
    for (int i = 1; i < 100000; ++i) many += "para_d" + std::to_string(i) + "=41\n";
    EXPECT_TRUE(ReadPrintBlob(IniDocument::Parse(many)) == std::string(kMaxBlobChunks - 1, 'A'));

    // A damaged huge count on writing deletes only what exists.
    IniDocument doc = IniDocument::Parse("[Print]\npara_c=2000000000\npara_d0=41\npara_d9=42\n");
    WritePrintBlob(doc, "B");
    EXPECT_EQ(doc.Serialize(), "[Print]\npara_c=1\npara_d0=42\n");
}

TEST(PrintBlob, ThroughTheFileInOneBatch) {
    TempDir dir;
    IniFile ini(dir / "q.ini");
    WritePrintBlob(ini, Bytes(33));
    EXPECT_EQ(ReadPrintBlob(ini), Bytes(33));
    WritePrintBlob(ini, "");
    EXPECT_EQ(ReadBytes(ini.Path()), "[Print]\n");
}

TEST(SettingsLocation, BesideTheExecutableWhenWritable) {
    TempDir dir;
    EXPECT_EQ(SettingsFilePath(dir / "quodle"), dir / "quodle.ini");
    EXPECT_EQ(SettingsFilePath(dir / "Tarnwick.exe"), dir / "Tarnwick.ini");
}

TEST(SettingsLocation, PerUserFolderWhenTheProgramFolderCannotBeWritten) {
    TempDir dir;
    WriteBytes(dir / "plain", "x");
    // A folder that even a privileged user cannot create files in.
    const auto exe = dir / "plain" / "quodle";
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "cfg").c_str());
        EXPECT_EQ(SettingsFilePath(exe), dir / "cfg" / "quodle" / "quodle.ini");
        EXPECT_TRUE(std::filesystem::is_directory(dir / "cfg" / "quodle"));
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/ignored");
        ScopedEnv home("HOME", (dir / "home").c_str());
        EXPECT_EQ(SettingsFilePath(exe), dir / "home" / ".config" / "quodle" / "quodle.ini");
        // The folder is really usable: a write lands there.
        IniFile ini(SettingsFilePath(exe));
        ini.WriteInteger("Font", "Size", 9);
        EXPECT_EQ(ReadBytes(dir / "home" / ".config" / "quodle" / "quodle.ini"), "[Font]\nSize=9\n");
    }
}

}  // namespace
}  // namespace quodle::settings
