#include "lisp/CodeSlips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "syntax/WideSlips.h"
#include "support/AppliedEdits.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using namespace quodle::testing;

TEST(WideSlips, TheTableKnowsWhatEachStandsFor) {
    struct Case {
        const char* utf8;
        char ascii;
    } cases[] = {
        {"（", '('}, {"）", ')'}, {"　", ' '}, {"”", '"'}, {"“", '"'}, {"；", ';'}, {"＊", '*'},
        {"Ａ", 'A'}, {"ｚ", 'z'}, {"０", '0'}, {"９", '9'}, {"￥", '\\'}, {"’", '\''}, {"＿", '_'},
        {"。", '.'}, {"～", '~'},
        // Japanese text is no slip.
        {"あ", 0}, {"表", 0}, {"ー", 0}, {"、", 0},
    };
    for (const auto& c : cases) {
        const std::string s = Utf8ToCp932(c.utf8);
        ASSERT_EQ(s.size(), 2u) << c.utf8;
        EXPECT_EQ(SlipAsciiAt(s, 0), c.ascii) << c.utf8;
    }
    // A single byte, or a lead byte cut off by the end, is none.
    EXPECT_EQ(SlipAsciiAt("(", 0), 0);
    EXPECT_EQ(SlipAsciiAt(std::string("\x81"), 0), 0);
}

TEST(CodeSlips, OnlyCodeIsReportedAndFixed) {
    struct Case {
        std::vector<std::string> in;   // UTF-8
        std::vector<std::string> out;  // after the fix, UTF-8
        int slips;
    } cases[] = {
        {{"(setq a（getpoint）)"}, {"(setq a(getpoint))"}, 2},
        {{"(setq i　0)"}, {"(setq i 0)"}, 1},
        // Inside strings and comments full-width text stays.
        {{"(princ \"（全角）　”\") ; コメント（全角）"}, {"(princ \"（全角）　”\") ; コメント（全角）"}, 0},
        {{";| ブロック（", "まだ）|; (ｓｅｔｑ ｘ １)"}, {";| ブロック（", "まだ）|; (setq x 1)"}, 6},
        // A full-width quote opens a string once fixed: what follows to
        // the closing quote is left alone.
        {{"(princ ”（表）\")"}, {"(princ \"（表）\")"}, 1},
        // A full-width semicolon starts a comment.
        {{"(setq a 1)；（注）"}, {"(setq a 1);（注）"}, 1},
        // Japanese names are code but no slips.
        {{"(setq 変数 (getpoint))"}, {"(setq 変数 (getpoint))"}, 0},
        // A string spread over lines.
        {{"(princ \"一行目（", "二行目）\")（"}, {"(princ \"一行目（", "二行目）\")("}, 1},
    };
    for (const auto& c : cases) {
        const Lines lines = Sjis(c.in);
        const auto slips = FindCodeSlips(lines);
        EXPECT_EQ(static_cast<int>(slips.size()), c.slips) << c.in[0];
        const TApplied a = ApplyAndUndo(lines, FixCodeSlips(lines));
        EXPECT_EQ(a.After, Sjis(c.out)) << c.in[0];
        EXPECT_EQ(a.Undone, lines) << c.in[0];
        EXPECT_TRUE(FindCodeSlips(a.After).empty()) << c.in[0];
    }
}

TEST(CodeSlips, PlacesAreLinesAndCharacterColumns) {
    const Lines lines = Sjis({"(setq 表（a）)", "", "\t(ｆ)"});
    const auto slips = FindCodeSlips(lines);
    ASSERT_EQ(slips.size(), 3u);
    // Line and column 0-based; the column counts 表 as one character.
    EXPECT_EQ(slips[0].Line, 0);
    EXPECT_EQ(slips[0].Column, 7);
    EXPECT_EQ(slips[0].Offset, 8u);
    EXPECT_EQ(slips[1].Column, 9);
    EXPECT_EQ(slips[1].Offset, 11u);
    EXPECT_EQ(slips[2].Line, 2);
    EXPECT_EQ(slips[2].Column, 2);
    EXPECT_EQ(slips[2].Ascii, 'f');

    const TSlipReport report = CodeSlipReport(slips);
    ASSERT_EQ(report.Lines.size(), 3u);
    EXPECT_EQ(Cp932ToUtf8(report.Lines[0]), "       1|   8桁目  （ → (");
    EXPECT_EQ(Cp932ToUtf8(report.Lines[2]), "       3|   3桁目  ｆ → f");
    EXPECT_TRUE(report.Message.empty());
    EXPECT_EQ(Cp932ToUtf8(CodeSlipReport(FindCodeSlips(Sjis({"(setq a 1)", "; （"}))).Message), kNoSlipsMessage);
    EXPECT_EQ(Cp932ToUtf8(CodeSlipReport(FindCodeSlips(Sjis({"a　b"}))).Lines[0]),
              "       1|   2桁目  全角空白 → 空白");
}

}  // namespace
}  // namespace quodle
