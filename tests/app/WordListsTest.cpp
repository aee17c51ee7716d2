#include "app/WordLists.h"

#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "base/ShiftJis.h"
#include "base/Text.h"
#include "support/TempDir.h"

namespace quodle {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(WordLists, LineBreaksAndBytes) {
    struct Case {
        std::string bytes;
        WordList lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"defun\r\nsetq\r\n", {"defun", "setq"}},
        {"defun\nsetq", {"defun", "setq"}},
        {"defun\rsetq\r", {"defun", "setq"}},
        {"a\r\r\nb\n\nc", {"a", "", "b", "", "c"}},
        // Shift-JIS stays as bytes, including trail bytes that look like "\" or "|".
        {"\x95\x5C\x8E\xA6\r\n\x83\x7C\tx", {"\x95\x5C\x8E\xA6", "\x83\x7C\tx"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "list.txt", c.bytes);
        EXPECT_EQ(LoadWordList(dir / "list.txt"), c.lines) << c.bytes;
    }
    EXPECT_EQ(LoadWordList(dir / "missing.txt"), std::nullopt);
    EXPECT_EQ(LoadWordList(dir.path()), std::nullopt);  // not a readable file
}

TEST(WordLists, ExclusionListIsUpperCasedInAsciiOnly) {
    TempDir dir;
    WriteBytes(dir / "JogaiList.txt", "gb_tmp\r\nPt1\r\n\x83\x61x\r\n");  // ァ has the trail byte 'a'
    EXPECT_EQ(LoadExclusionList(dir / "JogaiList.txt"), (WordList{"GB_TMP", "PT1", "\x83\x61X"}));
}

TEST(WordLists, SaveWritesCrLfLinesAtomically) {
    TempDir dir;
    const auto path = dir / "JogaiList.txt";
    WriteBytes(path, "old\n");
    SaveWordList(path, {"gb_tmp", "\x95\x5C", ""});
    EXPECT_EQ(ReadBytes(path), "gb_tmp\r\n\x95\x5C\r\n\r\n");
    EXPECT_EQ(LoadWordList(path), (WordList{"gb_tmp", "\x95\x5C", ""}));
    EXPECT_THROW(SaveWordList(dir / "no" / "such" / "folder.txt", {"x"}), FileError);
}

TEST(WordLists, StartUpSetKeepsDesignListsWhenFilesAreMissing) {
    TempDir dir;
    WordListSet set = LoadWordListSet(dir.path());
    EXPECT_FALSE(set.reservedWords);
    EXPECT_FALSE(set.reservedWords2);
    EXPECT_TRUE(set.functionReference.empty() && set.systemVariables.empty() && set.exclusions.empty());

    WriteBytes(dir / "HiliteWordList.txt", "");  // present but empty replaces the design list
    WriteBytes(dir / "JogaiList.txt", "acadobj\r\n");
    WriteBytes(dir / "AutoCADSysVar.txt", "OSMODE [整数型]\r\n\tx\r\n");
    set = LoadWordListSet(dir.path());
    EXPECT_FALSE(set.reservedWords);
    EXPECT_EQ(set.reservedWords2, WordList{});
    EXPECT_EQ(set.exclusions, WordList{"ACADOBJ"});
    EXPECT_EQ(set.systemVariables, (WordList{"OSMODE [整数型]", "\tx"}));
}

// The lists shipped beside the executables: present, Shift-JIS with CR LF,
// and in the line formats the reference features read.
class ShippedWordLists : public ::testing::Test {
protected:
    static std::string Bytes(std::string_view name) {
        const auto bytes = ReadFileBytes(std::filesystem::path(QUODLE_BIN_DIR) / name);
        EXPECT_TRUE(bytes) << name;
        return bytes.value_or("");
    }
    static void ExpectCleanText(std::string_view name, const std::string& bytes) {
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " bare LF at " << i;
            }
        }
        for (const char16_t c : Cp932ToUtf16(bytes))
            ASSERT_FALSE(c >= kInvalidByteBase + 0x80 && c <= kInvalidByteBase + 0xFF) << name << " invalid CP932";
    }
};

TEST_F(ShippedWordLists, FormatsHold) {
    const WordListSet set = LoadWordListSet(QUODLE_BIN_DIR);
    for (const auto name : {kReservedWordsFile, kReservedWords2File, kFunctionReferenceFile, kSystemVariablesFile,
                            kExclusionListFile})
        ExpectCleanText(name, Bytes(name));

    ASSERT_TRUE(set.reservedWords && set.reservedWords->size() >= 40);
    for (const auto word : {"defun", "setq", "foreach", "mapcar", "getvar", "strcat"})
        EXPECT_NE(std::find(set.reservedWords->begin(), set.reservedWords->end(), word), set.reservedWords->end());

    ASSERT_TRUE(set.reservedWords2 && set.reservedWords2->size() >= 30);
    for (const auto& name : *set.reservedWords2) {
        EXPECT_EQ(name, AsciiUpper(name));
        EXPECT_EQ(name.find_first_of(" \t"), std::string::npos) << name;
    }

    // Function heads: lower case, the name followed by a blank or ")", each
    // followed by at least one detail line whose first one is a description.
    std::size_t heads = 0;
    for (std::size_t i = 0; i < set.functionReference.size(); ++i) {
        const std::string& line = set.functionReference[i];
        if (line.starts_with('\t')) continue;
        ++heads;
        EXPECT_EQ(line, AsciiLower(line));
        const auto end = line.find_first_of(" )");
        ASSERT_NE(end, std::string::npos) << line;
        EXPECT_GT(end, 0u) << line;
        EXPECT_TRUE(line.ends_with(")")) << line;
        ASSERT_LT(i + 1, set.functionReference.size()) << line;
        EXPECT_TRUE(set.functionReference[i + 1].starts_with('\t')) << line;
        // Every function head names a word the tokenizer colours.
        const std::string name = line.substr(0, end);
        EXPECT_NE(std::find(set.reservedWords->begin(), set.reservedWords->end(), name), set.reservedWords->end())
            << name;
    }
    EXPECT_GE(heads, 40u);

    // System-variable heads: the upper-case name, a blank and "[type]"; every
    // one is highlighted too.
    std::size_t varHeads = 0;
    for (std::size_t i = 0; i < set.systemVariables.size(); ++i) {
        const std::string& line = set.systemVariables[i];
        if (line.starts_with('\t')) continue;
        ++varHeads;
        const auto bracket = line.find(" [");
        ASSERT_NE(bracket, std::string::npos) << line;
        const std::string name = line.substr(0, bracket);
        EXPECT_EQ(name, AsciiUpper(name));
        EXPECT_TRUE(line.ends_with("]")) << line;
        ASSERT_LT(i + 1, set.systemVariables.size());
        EXPECT_TRUE(set.systemVariables[i + 1].starts_with('\t')) << line;
        EXPECT_NE(std::find(set.reservedWords2->begin(), set.reservedWords2->end(), name), set.reservedWords2->end())
            << name;
    }
    EXPECT_GE(varHeads, 30u);

    EXPECT_FALSE(set.exclusions.empty());
    for (const auto& name : set.exclusions) EXPECT_EQ(name, AsciiUpper(name));
}

}  // namespace
}  // namespace quodle
