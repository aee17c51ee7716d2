// System-variable names in strings: the quoted-word search, the lookup that
// replaces it for whole lines, and the upper-casing command with its counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/DocumentLines.h"
#include "lisp/SystemVariables.h"
#include "support/FakeEditor.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;

TEST(FindQuotedWord, PositionsAreOneBasedBytes) {
    struct Case {
        const char* line;  // upper-cased already
        int start;
        int expected;
    } cases[] = {
        {"(SETVAR \"OSMODE\" 0)", 1, 10},
        {"(SETVAR \"OSMODE\" 0)", 9, 10},
        {"(SETVAR \"OSMODE\" 0)", 10, 0},     // the quote stands before the start
        {"(GETVAR \"OSMODE", 1, 10},          // the line's end closes the word
        {"(GETVAR \"OSMODEX\")", 1, 0},       // a whole word only
        {"(GETVAR \"XOSMODE\")", 1, 0},
        {"(GETVAR OSMODE)", 1, 0},            // not quoted
        {"; (GETVAR \"OSMODE\")", 1, 0},      // a comment
        {"(A) ; \"OSMODE\"", 1, 0},
        {"(A) ;| \"OSMODE\" |;", 1, 9},       // a block comment does not stop it
        {"\"OSMODE\";", 1, 2},                // the comment comes after
        {"\"OS\"OSMODE\"", 1, 5},             // the closing quote of one opens the next
        // Double-byte text before: "ソ" ends with the byte of "\\", "表" with "|".
        {"(PRINC \"\x83\x5C\x95\x5C\") \"OSMODE\"", 1, 17},
    };
    for (const auto& c : cases) EXPECT_EQ(FindQuotedWord("osmode", c.line, c.start), c.expected) << c.line;
    // The words are upper-cased, the line is taken as given.
    EXPECT_EQ(FindQuotedWord("OsMode", "\"OSMODE\"", 1), 2);
    EXPECT_EQ(FindQuotedWord("OSMODE", "\"osmode\"", 1), 0);
}

// The lookup finds exactly what searching the line for every word finds.
TEST(SystemVariableWords, FindsWhatTheWordByWordSearchFinds) {
    const Lines words = {"OSMODE", "CmdEcho", "OS", "X", "\x83\x5C"};
    const TSystemVariableWords lookup(words);
    const char* pieces[] = {"\"", "\"", "\"", ";", "|", " ", "osmode", "OSMode", "cmdecho", "x", "os", "mode",
                            "(", ")", "\x83\x5C", "\x82\xA0", "\x95\x5C", "\x83\x61"};
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        std::string line;
        const int count = static_cast<int>(random() % 14);
        for (int i = 0; i < count; ++i) line += pieces[random() % std::size(pieces)];
        std::vector<TQuotedName> expected;
        const std::string upper = AsciiUpper(line);
        for (std::size_t w = 0; w < words.size(); ++w)
            for (int p = FindQuotedWord(words[w], upper, 1); p != 0; p = FindQuotedWord(words[w], upper, p))
                expected.push_back({static_cast<std::size_t>(p - 1), words[w].size(), w});
        std::sort(expected.begin(), expected.end(),
                  [](const TQuotedName& a, const TQuotedName& b) { return a.Offset < b.Offset; });
        std::vector<TQuotedName> found;
        lookup.Find(line, found);
        ASSERT_EQ(found, expected) << line;
        // Only the names opened before a byte: the same ones.
        const std::size_t before = random() % (line.size() + 1);
        std::erase_if(expected, [&](const TQuotedName& n) { return n.Offset - 1 >= before; });
        found.clear();
        lookup.Find(line, found, before);
        ASSERT_EQ(found, expected) << line << " before " << before;
    }
}

TEST(SystemVariableWords, EmptyAndRepeatedNames) {
    const TSystemVariableWords lookup(Lines{"", "OSMODE", "osmode", "OSMODE"});
    ASSERT_EQ(lookup.Names(), Lines{"OSMODE"});
    EXPECT_EQ(lookup.Spellings(0), (Lines{"OSMODE", "osmode", "OSMODE"}));
    std::vector<TQuotedName> found;
    lookup.Find("(a \"\" \"\"\"Osmode\"", found);
    EXPECT_EQ(found, (std::vector<TQuotedName>{{9, 6, 0}}));
    EXPECT_TRUE(TSystemVariableWords(Lines{""}).Empty());
}

TEST(UpcaseSystemVariables, CountsAndReplacements) {
    const TSystemVariableWords words(Lines{"OSMODE", "CMDECHO", "CLAYER"});
    struct Case {
        const char* what;
        Lines doc;
        int found;
        int converted;
        std::vector<TLineReplacement> replacements;
        const char* message;
    } cases[] = {
        {"both names on one line", {"(setvar \"osmode\" 0) (setvar \"cmdecho\" 0)"}, 2, 2,
         {{0, 9, 6, "OSMODE"}, {0, 29, 7, "CMDECHO"}},
         "システム変数 2個のうち、2個を大文字に変換しました."},
        {"already upper case", {"(getvar \"OSMODE\")"}, 1, 0, {}, "システム変数 1個は、すでに大文字です."},
        {"comments", {"(a) ; (getvar \"osmode\")", "(a) ;| \"clayer\" |;", ";(getvar \"cmdecho\")"}, 1, 1,
         {{1, 8, 6, "CLAYER"}}, "システム変数 1個のうち、1個を大文字に変換しました."},
        {"whole listed words only", {"(getvar \"osm\") (getvar \"osmodes\") (getvar 'osmode)"}, 0, 0, {}, ""},
        {"double-byte text before", {"(princ \"\x83\x5C表示\") (getvar \"clayer\")"}, 1, 1,
         {{0, 26, 6, "CLAYER"}}, "システム変数 1個のうち、1個を大文字に変換しました."},
        {"an open string at the line's end", {"", "(setvar \"CmdEcho"}, 1, 1, {{1, 9, 7, "CMDECHO"}},
         "システム変数 1個のうち、1個を大文字に変換しました."},
        {"no strings", {"(setq a b)", ""}, 0, 0, {}, ""},
    };
    for (const auto& c : cases) {
        Lines doc;
        for (const std::string& line : c.doc) doc.push_back(Utf8ToCp932(line));
        const TUpcaseResult result = UpcaseSystemVariables(doc, words, nullptr);
        EXPECT_EQ(result.Found, c.found) << c.what;
        EXPECT_EQ(result.Converted, c.converted) << c.what;
        EXPECT_EQ(result.Replacements, c.replacements) << c.what;
        EXPECT_EQ(Cp932ToUtf8(UpcaseMessage(result)), c.message) << c.what;
    }
    // Spellings apply in list order: the last one stands, each change counts.
    const TUpcaseResult twice = UpcaseSystemVariables(Lines{"\"OSMODE\""}, TSystemVariableWords(Lines{"OSMODE", "osmode"}), nullptr);
    EXPECT_EQ(twice.Found, 2);
    EXPECT_EQ(twice.Converted, 1);
    EXPECT_EQ(twice.Replacements, (std::vector<TLineReplacement>{{0, 1, 6, "osmode"}}));
    // An empty list does nothing at all.
    EXPECT_EQ(UpcaseSystemVariables(Lines{"\"osmode\""}, TSystemVariableWords(), nullptr).Found, 0);
}

TEST(UpcaseSystemVariables, StepsTheBarEveryHundredthOfTheLines) {
    testing::TRecordingSink sink;
    UpcaseSystemVariables(Lines(250, "(getvar \"osmode\")"), TSystemVariableWords(Lines{"OSMODE"}), &sink);
    EXPECT_EQ(sink.Highest(), 100);  // 250 div 100 = 2 lines a step: 125 steps, held at the maximum
    testing::TRecordingSink few;
    UpcaseSystemVariables(Lines(7, "x"), TSystemVariableWords(Lines{"OSMODE"}), &few);
    EXPECT_EQ(few.Highest(), 7);  // at least one line a step
}

// The replacements made as one edit, with and without word wrap: the text
// changes only there and one undo puts it all back.
TEST(UpcaseSystemVariables, ReplacementsAreOneEditOfTheRows) {
    for (const bool wrap : {false, true}) {
        test::TFocusedRows doc({2, 8});
        doc.rows.WrapOption().SetWrapByte(20);
        doc.rows.SetWordWrap(wrap);
        const std::string text =
            "(setvar \"osmode\" 0) (setvar \"cmdecho\" 0)\r\n(a)\r\n(getvar \"clayer\")\r\n\"osmode";
        doc.lines.SetText(text);
        const std::size_t steps = doc.rows.UndoObj().UndoList().size();
        const TDocumentLines lines(doc.rows);
        const TUpcaseResult result =
            UpcaseSystemVariables(lines.Lines(), TSystemVariableWords(Lines{"OSMODE", "CMDECHO", "CLAYER"}), nullptr);
        const std::optional<TRowsEdit> edit = LineReplacementsEdit(doc.rows, result.Replacements);
        ASSERT_TRUE(edit) << wrap;
        ApplyEdit(doc.rows, *edit);
        EXPECT_EQ(doc.lines.Text(),
                  "(setvar \"OSMODE\" 0) (setvar \"CMDECHO\" 0)\r\n(a)\r\n(getvar \"CLAYER\")\r\n\"OSMODE")
            << wrap;
        EXPECT_EQ(doc.rows.UndoObj().UndoList().size(), steps + 1) << wrap;
        ASSERT_TRUE(doc.rows.Undo());
        EXPECT_EQ(doc.lines.Text(), text) << wrap;
    }
    test::TFocusedRows empty({2, 8});
    EXPECT_FALSE(LineReplacementsEdit(empty.rows, {}));
}

}  // namespace
}  // namespace quodle
