#include "app/WordLists.h"

#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/ReferenceLists.h"
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
    static std::vector<std::string> Sorted(std::vector<std::string> words) {
        std::sort(words.begin(), words.end());
        return words;
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
    const WordListSet set = LoadWordListSet(std::filesystem::path(QUODLE_BIN_DIR));
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

    // Function heads: lower case, the name followed by a blank or ")", then
    // a description and the return value. Names are unique and in byte
    // order, so the heads a prefix starts stand together and each name's
    // own pick list begins with its head.
    std::vector<std::string> functions;
    for (std::size_t i = 0; i < set.functionReference.size(); ++i) {
        const std::string& line = set.functionReference[i];
        if (IsDetailLine(line)) continue;
        EXPECT_EQ(line, AsciiLower(line));
        const auto end = line.find_first_of(" )");
        ASSERT_NE(end, std::string::npos) << line;
        EXPECT_GT(end, 0u) << line;
        EXPECT_TRUE(line.ends_with(")")) << line;
        ASSERT_LT(i + 2, set.functionReference.size()) << line;
        EXPECT_GT(set.functionReference[i + 1].size(), 1u) << line;
        EXPECT_TRUE(IsDetailLine(set.functionReference[i + 1])) << line;
        EXPECT_TRUE(set.functionReference[i + 2].starts_with(Utf8ToCp932("\t戻り値: "))) << line;
        const std::string name = line.substr(0, end);
        if (!functions.empty()) {
            EXPECT_LT(functions.back(), name);
        }
        functions.push_back(name);
        const std::vector<std::string> pick = ReferenceLookup(set.functionReference, name);
        ASSERT_FALSE(pick.empty()) << name;
        EXPECT_EQ(pick.front(), line);
    }
    EXPECT_GE(functions.size(), 450u);

    // System-variable heads: the upper-case name, a blank and "[type]", then
    // a description; unique and in byte order.
    std::vector<std::string> variables;
    for (std::size_t i = 0; i < set.systemVariables.size(); ++i) {
        const std::string& line = set.systemVariables[i];
        if (IsDetailLine(line)) continue;
        const auto bracket = line.find(" [");
        ASSERT_NE(bracket, std::string::npos) << line;
        const std::string name = line.substr(0, bracket);
        EXPECT_EQ(name, AsciiUpper(name));
        EXPECT_TRUE(line.ends_with("]")) << line;
        ASSERT_LT(i + 1, set.systemVariables.size());
        EXPECT_TRUE(IsDetailLine(set.systemVariables[i + 1])) << line;
        if (!variables.empty()) {
            EXPECT_LT(variables.back(), name);
        }
        variables.push_back(name);
    }
    EXPECT_GE(variables.size(), 300u);

    // The lists agree: every system variable is highlighted and nothing
    // else; every reserved word is a function with an entry, or one of the
    // language's constants, which the variable check leaves out.
    EXPECT_EQ(Sorted(*set.reservedWords2), variables);
    std::vector<std::string> reserved;
    for (const std::string& word : *set.reservedWords) {
        const bool constant = std::find(set.exclusions.begin(), set.exclusions.end(), AsciiUpper(word)) !=
                              set.exclusions.end();
        if (!constant) reserved.push_back(word);
    }
    EXPECT_EQ(Sorted(reserved), functions);

    EXPECT_FALSE(set.exclusions.empty());
    for (const auto& name : set.exclusions) EXPECT_EQ(name, AsciiUpper(name));
}

}  // namespace
}  // namespace quodle
