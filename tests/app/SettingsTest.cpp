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
