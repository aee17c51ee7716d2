#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "lisp/UserFunctions.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using quodle::testing::TRecordingSink;
using Items = std::vector<TPickItem>;

TEST(UserFunctions, JumpListSortsNestedUnderTheirOuter) {
    const Lines doc = {"(defun b (x)", "  (defun c (y) y)", "  x)", "(defun a () 1)"};
    const TPickList list = BuildJumpList(doc, nullptr);
    EXPECT_EQ(list.Items, (Items{{"a", 4}, {"b", 1}, {"  + c", 2}}));
    EXPECT_TRUE(list.Message.empty());
    EXPECT_EQ(Cp932ToUtf8(BuildJumpList(Lines{"(princ)"}, nullptr).Message), "ユーザー関数はありません．");
}

TEST(UserFunctions, UseCounts) {
    struct Case {
        const char* what;
        Lines in;
        Items out;
        std::string message;
    } cases[] = {
        {"calls on one line count once, on two lines twice; quoted and open calls do not count",
         {"(defun c:run ()", "  (defun inner () 1)", "  (drawbox) (drawbox 1 2)", "  (drawbox", "    3)",
          "  'drawbox", "  (DrawBox))", "(defun drawbox ()", "  (princ))"},
         {{"drawbox [  2]", 8}},
         ""},
        {"texts line up with the longest item",
         {"(defun ab () 1)", "(defun abcdef () (ab))"},
         {{"ab     [  1]", 1}, {"abcdef [  0]", 2}},
         ""},
        {"nested items keep their text and set the width",
         {"(defun ab ()", "  (defun longname () 1)", "  1)"},
         {{"ab           [  0]", 1}, {"  + longname", 2}},
         ""},
        {"a name with a bracket in it",
         {"(defun a)b (x) x)", "(a)b 1)"},
         {{"a)b [  1]", 1}},
         ""},
        {"same name twice: both counted",
         {"(defun f () 1)", "(defun f () 2)", "(f)"},
         {{"f [  1]", 1}, {"f [  1]", 2}},
         ""},
        {"only commands", {"(defun c:a () 1)", "(defun C:b () 1)"}, {}, "ユーザー関数はありません．"},
    };
    for (const auto& c : cases) {
        const TPickList list = BuildUseCounts(c.in, nullptr);
        EXPECT_EQ(list.Items, c.out) << c.what;
        EXPECT_EQ(Cp932ToUtf8(list.Message), c.message) << c.what;
    }
}

TEST(UserFunctions, UnusedFunctions) {
    const Lines doc = {"(defun used () 1)", "(defun spare (x)", "  (defun inner () 2))", "(defun c:go () (used))"};
    EXPECT_EQ(BuildUnusedList(doc, nullptr).Items, (Items{{"spare", 2}}));
    const TPickList none = BuildUnusedList(Lines{"(defun f () 1)", "(f)"}, nullptr);
    EXPECT_TRUE(none.Items.empty());
    EXPECT_EQ(Cp932ToUtf8(none.Message), "未使用のユーザー関数はありません．");
}

TEST(UserFunctions, Search) {
    const Lines doc = {
        "",
        ";; set the layer",
        ";;",
        "(defun setlayer (name / old) old)",
        "(defun SetColor (c) c)",
        "(defun getx () 1)",
        "(defun c:setup () 1)",
        "(defun setup2 (a",
        "  b)",
        "  (defun setinner () 1))",
    };
    EXPECT_EQ(BuildSearchList(doc, "set", nullptr).Items,
              (Items{{"SetColor c)", 5}, {"setlayer name)", 4}, {"   set the layer", 0}, {"setup2 a b)", 8}}));
    EXPECT_EQ(BuildSearchList(doc, "", nullptr).Items.size(), 5u);
    const TPickList none = BuildSearchList(doc, "zz", nullptr);
    EXPECT_TRUE(none.Items.empty());
    EXPECT_EQ(Cp932ToUtf8(none.Message), "zz で始まるユーザー関数はありません．");
    const TPickList empty = BuildSearchList(Lines{"(princ)"}, "zz", nullptr);
    EXPECT_TRUE(empty.Items.empty());
    EXPECT_TRUE(empty.Message.empty());
}

TEST(UserFunctions, ProgressFillsAndReturnsToZero) {
    const Lines doc(300, "(defun f () (f))");
    TRecordingSink sink;
    BuildUseCounts(doc, &sink);
    EXPECT_EQ(sink.Highest(), 100);
    EXPECT_EQ(sink.Position(), 0);
}

TEST(UserFunctions, CaretNamePrefix) {
    struct Case {
        const char* line;
        std::size_t caret;
        const char* prefix;
    } cases[] = {
        {"(set", 4, "set"},
        {"(setq x (Get)", 12, "get"},
        {"(setq x (GetVar)", 11, "getvar"},
        {"(foo bar", 2, "foo"},
        {"(foo(bar", 2, "foo"},
        {"abc", 3, "abc"},
        {") x", 0, ""},
        {"(a", 99, "a"},
    };
    for (const auto& c : cases) EXPECT_EQ(CaretNamePrefix(c.line, c.caret), c.prefix) << c.line << " @" << c.caret;
}

TEST(UserFunctions, CommentDisplayAndJumpTop) {
    const Lines doc = {"(foo)", "", ";; one", "   ; two  ", "(defun f (a / b c)", "(defun g ()"};
    EXPECT_EQ(CommentDisplay(doc, {"f", 5}), (Lines{";; one", "; two", "(defun f (a / ...)"}));
    EXPECT_EQ(CommentDisplay(doc, {"g", 6}), (Lines{"(defun g ()"}));
    EXPECT_EQ(CommentDisplay(doc, {"  + g", 6}), Lines{});
    EXPECT_EQ(CommentDisplay(doc, {"   detail", 0}), Lines{});
    EXPECT_EQ(CommentDisplay(doc, {"foo", 1}), Lines{});
    EXPECT_EQ(CommentDisplay(Lines{";; a", "(defun x ()"}, {"x", 2}), Lines{});
    // Blank lines do not end the block for the jump.
    EXPECT_EQ(JumpTopLine(doc, 4), 1);
    EXPECT_EQ(JumpTopLine(doc, 5), 5);
    EXPECT_EQ(JumpTopLine(doc, 0), 0);
    EXPECT_EQ(JumpTopLine(Lines{";; a", "", "(defun x ()"}, 2), 0);
}

TEST(UserFunctions, Insertion) {
    struct Case {
        bool system;
        const char* line;
        std::size_t caret;
        const char* item;
        const char* result;
        std::size_t newCaret;  // after the inserted name
    } cases[] = {
        {false, "(setl)", 5, "setlayer name)", "(setlayer )", 10},
        {false, "(setl x)", 5, "setlayer name)", "(setlayer  x)", 10},
        {false, "(setlx y)", 5, "setlayer name)", "(setlayer y)", 10},
        {false, "(setl", 5, "foo)", "(foo ", 5},
        {false, "setl", 4, "foo", "foo ", 4},
        {false, "(setq n (getv))", 13, "getvar varname)", "(setq n (getvar ))", 16},
        {true, "(getvar \"osm\")", 12, "OSMODE", "(getvar \"OSMODE\")", 15},
        {true, "(getvar \"cl", 11, "CLAYER[layer]", "(getvar \"CLAYER", 15},
        {true, "(getvar \"cl x)", 11, "CLAYER", "(getvar \"CLAYER x)", 15},
        {true, "(getvar \"clx)", 11, "CLAYER", "(getvar \"CLAYER", 15},
    };
    for (const auto& c : cases) {
        const TPickedLine result = c.system ? InsertSystemVariable(c.line, c.caret, c.item)
                                            : InsertFunctionName(c.line, c.caret, c.item);
        EXPECT_EQ(result.Line, c.result) << c.line;
        EXPECT_EQ(result.Caret, c.newCaret) << c.line;
    }
}

}  // namespace
}  // namespace quodle
