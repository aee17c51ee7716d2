#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "search/FindMarks.h"

namespace quodle {
namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

// "start:length" of every match, 1-based starts.
std::string Found(TFindMarks& marks, std::string_view line) {
    std::string out;
    for (const TFindMarkMatch& m : marks.Match(line))
        out += (out.empty() ? "" : " ") + std::to_string(m.Start) + ":" + std::to_string(m.Length);
    return out;
}

TEST(FindMarks, LiteralStringsAndCase) {
    TFindMarks marks;
    marks.Set("a.c", 0);
    EXPECT_EQ(Found(marks, "abc a.c A.C"), "5:3 9:3");  // taken literally, case ignored
    marks.Set("a.c", soMatchCase);
    EXPECT_EQ(Found(marks, "abc a.c A.C"), "5:3");
    marks.Set("", 0);
    EXPECT_EQ(Found(marks, "abc"), "");
    EXPECT_EQ(marks.Error(), "");
}

TEST(FindMarks, RegularExpressionsOnShiftJis) {
    TFindMarks marks;
    marks.Set("(de)(fun)", soRegexp);
    const auto& found = marks.Match("(DEFUN x) (defun y)");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (TFindMarkMatch{2, 5, {"DEFUN", "DE", "FUN"}}));
    EXPECT_EQ(found[1].Start, 12);
    // A dot takes a whole double-byte character; "\" never matches a trail byte.
    marks.Set("a.b", soRegexp);
    EXPECT_EQ(Found(marks, S("a漢b")), "1:4");
    marks.Set("\\\\", soRegexp);
    EXPECT_EQ(Found(marks, S("ソ\\")), "3:1");
    // Matches follow one another; none is empty.
    marks.Set("x*", soRegexp);
    EXPECT_EQ(Found(marks, "axxbx"), "2:2 5:1");
    // A line break named in the expression matches nothing within a line.
    marks.Set("a\\r\\nb", soRegexp);
    EXPECT_EQ(Found(marks, "a\r\nb"), "");
}

TEST(FindMarks, ABadExpressionGivesTheLibrarysMessage) {
    TFindMarks marks;
    marks.Set("(abc", soRegexp);
    EXPECT_EQ(Found(marks, "abc (abc"), "");
    EXPECT_EQ(marks.Error(), "end pattern with unmatched parenthesis");
    marks.Set("[z-a]", soRegexp);
    EXPECT_EQ(Found(marks, "abc"), "");
    EXPECT_EQ(marks.Error(), "empty range in char class");
    // The same text literally is fine.
    marks.Set("(abc", 0);
    EXPECT_EQ(Found(marks, "abc (abc"), "5:4");
    EXPECT_EQ(marks.Error(), "");
}

TEST(FindMarks, EscapesAndWholeWords) {
    EXPECT_EQ(UnescapeFindMark("a\\tb\\\\c\\qd\\"), "a\tb\\c\\qd\\");
    EXPECT_EQ(UnescapeFindMark(S("ソ\\t")), S("ソ") + "\t");  // the trail byte escapes nothing
    TFindMarks marks;
    marks.Set("a\\tb", soEscSeq);
    EXPECT_EQ(Found(marks, "xa\tb"), "2:3");
    marks.Set("cad", soWholeWord);
    // A letter and a kanji are of different kinds; "_" is a letter here.
    EXPECT_EQ(Found(marks, S("cad autocad (cad) cad漢 _cad")), "1:3 14:3 19:3");
    marks.Set(S("漢字"), soWholeWord);
    EXPECT_EQ(Found(marks, S("漢字 a漢字 漢字漢")), "1:4 7:4");
}

TEST(FindMarks, NextPreviousAndReplacement) {
    TFindMarks marks;
    marks.Set("(a)(b)?", soRegexp | soEscSeq);
    ASSERT_EQ(Found(marks, "xab a ab"), "2:2 5:1 7:2");
    EXPECT_EQ(marks.Next(2, false)->Start, 5);
    EXPECT_EQ(marks.Previous(4, false)->Start, 2);
    EXPECT_FALSE(marks.Next(7, false));
    EXPECT_FALSE(marks.Previous(1, false));
    EXPECT_EQ(marks.ReplaceAll("[\\2\\1]"), "x[ba] [a] [ba]");  // a group that took nothing is empty
    // Group numbers read as long as a group has them.
    marks.Set("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)", soRegexp | soEscSeq);
    ASSERT_EQ(Found(marks, "abcdefghijkl"), "1:12");
    EXPECT_EQ(marks.ReplaceAll("\\12\\13\\"), "la3\\");
    // Without escapes the replacement is taken as it is.
    marks.Set("(a)", soRegexp);
    Found(marks, "a");
    EXPECT_EQ(marks.ReplaceAll("\\1"), "\\1");
    // Beyond the widest row only word wrap goes on.
    marks.Set("q", 0);
    const std::string wide = std::string(1200, ' ') + "q";
    Found(marks, wide);
    EXPECT_FALSE(marks.Next(5, false));
    EXPECT_EQ(marks.Next(5, true)->Start, 1201);
    EXPECT_FALSE(marks.Previous(1300, false));
    EXPECT_EQ(marks.Previous(1300, true)->Start, 1201);
}

TEST(FindMarks, TheLibraryAnswers) { EXPECT_EQ(TFindMarks::Version().substr(0, 2), "6."); }

}  // namespace
}  // namespace quodle
