// The pointer hints and double-click actions as data, and the definition
// blocks of user functions they show.
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "lisp/PointerActions.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;

TEST(DefinitionBlock, TextAtPosition) {
    struct Case {
        const char* line;
        std::size_t offset;
        const char* text;
    } cases[] = {
        {"(myfunc x)", 1, "(myfunc"},
        {"(myfunc x)", 3, "(myfunc"},
        {"(myfunc x)", 8, "x)"},
        {"(myfunc)", 2, "(myfunc)"},
        {"(a (myfunc x))", 6, "(myfunc"},
        {"\t(myfunc\tx)", 4, "(myfunc"},
        {"  (myfunc", 5, "(myfunc"},  // a name at the line's end is taken whole
        {"(setq 名前 (myfunc 1))", 13, "(myfunc"},
        {"(myfunc x)", 99, "x)"},  // past the end: the last character
        {"", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TextAtPosition(Utf8ToCp932(c.line), c.offset), c.text) << c.line << " @" << c.offset;
}

TEST(DefinitionBlock, Names) {
    EXPECT_EQ(DefinitionName("(myFunc"), "MYFUNC");
    EXPECT_EQ(DefinitionName("(myfunc)"), "MYFUNC");
    EXPECT_EQ(DefinitionName("(f))"), "F)");
    for (const char* text : {"", "(", "()", "myfunc", "x)"}) EXPECT_FALSE(DefinitionName(text)) << text;
}

TEST(DefinitionBlock, FindsTheFirstDefinitionWithItsComments) {
    const Lines doc = {
        "(princ)",                          // 0
        "",                                 // 1
        ";; 線を引く 2024/04/01",           // 2
        "  ; 引数: p1 p2",                  // 3
        "(defun DrawLine (p1 p2 / old)",    // 4
        "  (command \"_.line\" p1 p2 \"\"))",
        "(defun c:go ()",                   // 6
        "  (drawline '(0 0) '(1 1)))",
        "(defun xmyf(a",                    // 8: "(" after the name; a longer name ending in it
        "   b",
        "   / c)",                          // 10
        "; (defun other ()",                // 11: commented out
        "(setq a 1) ; (defun other2 ()",    // 12
        "(defun other3 ()",                 // 13: ends on its own line
    };
    const Lines sjis = [&] {
        Lines out;
        for (const auto& l : doc) out.push_back(Utf8ToCp932(l));
        return out;
    }();
    EXPECT_EQ(FindDefinitionBlock(sjis, "DRAWLINE"), (TDefinitionBlock{2, 4, 4}));
    EXPECT_EQ(FindDefinitionBlock(sjis, "C:GO"), (TDefinitionBlock{6, 6, 6}));
    EXPECT_EQ(FindDefinitionBlock(sjis, "MYF"), (TDefinitionBlock{8, 8, 10}));
    EXPECT_EQ(FindDefinitionBlock(sjis, "OTHER3"), (TDefinitionBlock{13, 13, 13}));
    for (const char* name : {"OTHER", "OTHER2", "DRAW", "", "P1"})
        EXPECT_FALSE(FindDefinitionBlock(sjis, name)) << name;

    // On the first line, or under comments that reach it: nothing.
    EXPECT_FALSE(FindDefinitionBlock(Lines{"(defun f ()"}, "F"));
    EXPECT_FALSE(FindDefinitionBlock(Lines{"; a", ";b", "(defun f ()"}, "F"));
    EXPECT_EQ(FindDefinitionBlock(Lines{"", ";b", "(defun f ()"}, "F"), (TDefinitionBlock{1, 2, 2}));
    // The first definition decides even when it has no block.
    EXPECT_FALSE(FindDefinitionBlock(Lines{"(defun f ()", "", "(defun f ()"}, "F"));

    // Shown: the comments whole, the parameter list cut before its "/".
    EXPECT_EQ(Cp932ToUtf8(DefinitionHint(sjis, {2, 4, 4})),
              ";; 線を引く 2024/04/01\n  ; 引数: p1 p2\n(defun DrawLine (p1 p2)");
    EXPECT_EQ(DefinitionListing(sjis, {8, 8, 10}), (Lines{"       9|(defun xmyf(a", "      10|   b", "      11|)"}));
    EXPECT_EQ(DefinitionListing(sjis, {6, 6, 6}), (Lines{"       7|(defun c:go ()"}));
}

const Lines kFunctions = {"princ [expr])", "\tshow it", "setq sym expr)", "\tset it"};
const Lines kSystemVariables = {"OSMODE [int]", "\tsnaps"};
const TReferenceLists kLists{kFunctions, kSystemVariables};
const Lines kDoc = {"", ";; draws", "(defun draw (a / b)", "  (princ a))", "(draw 1)"};
TDocumentPlace At(std::size_t line, std::size_t offset) { return {kDoc, line, offset, {}}; }

TEST(PointerActions, HintsByTokenKind) {
    struct Case {
        const char* what;
        TTokenKind kind;
        const char* token;
        bool showUser;
        TDocumentPlace place;
        TPointerHint::TAction action;
        const char* text;
        TPointerHint::TPointer pointer;
    } cases[] = {
        {"a function", tokWord, "princ", true, At(3, 4), TPointerHint::haShow, " (princ [expr])\n   show it",
         TPointerHint::hpArrow},
        {"a user function", tokWord, "draw", true, At(4, 2), TPointerHint::haShow, ";; draws\n(defun draw (a)",
         TPointerHint::hpArrow},
        {"user functions switched off", tokWord, "draw", false, At(4, 2), TPointerHint::haNothing, "",
         TPointerHint::hpUnchanged},
        {"an argument names nothing", tokWord, "a", true, At(3, 9), TPointerHint::haNothing, "",
         TPointerHint::hpUnchanged},
        {"a web address", tokUrl, "www.example.jp", true, At(0, 0), TPointerHint::haShow,
         "ダブルクリックでオープン", TPointerHint::hpHand},
        {"a mail address", tokMail, "a@example.jp", true, At(0, 0), TPointerHint::haShow,
         "ダブルクリックでメーラー起動", TPointerHint::hpHand},
        {"a system variable", tokQuoted, "\"osmode\"", true, At(0, 0), TPointerHint::haShow,
         " OSMODE [int]\n   snaps", TPointerHint::hpArrow},
        {"another string", tokQuoted, "\"abc\"", true, At(0, 0), TPointerHint::haNothing, "",
         TPointerHint::hpUnchanged},
        {"anything else", tokSymbol, "(", true, At(2, 0), TPointerHint::haHide, "", TPointerHint::hpText},
        {"no token", tokEnd, "", true, At(0, 0), TPointerHint::haHide, "", TPointerHint::hpText},
    };
    for (const auto& c : cases) {
        const TPointerHint hint = PointerHint(c.kind, c.token, kLists, c.showUser, c.place);
        EXPECT_EQ(hint.Action, c.action) << c.what;
        EXPECT_EQ(Cp932ToUtf8(hint.Text), c.text) << c.what;
        EXPECT_EQ(hint.Pointer, c.pointer) << c.what;
    }
}

TEST(PointerActions, DoubleClickByTokenKind) {
    using A = TDoubleClickAction;
    struct Case {
        const char* what;
        TTokenKind kind;
        const char* token;
        TDocumentPlace place;
        A::TKind action;
        std::optional<std::string> status;
        std::string target;
    } cases[] = {
        {"a bracket", tokSymbol, ")", At(3, 11), A::daSelectBracket, std::nullopt, ""},
        {"a function", tokWord, "SE", At(3, 3), A::daPickList, "SE", ""},
        {"a user function", tokWord, "draw", At(4, 2), A::daDefinition, "(draw", ""},
        {"a word naming nothing", tokWord, "a", At(3, 9), A::daNothing, "a)", ""},
        {"a web address", tokUrl, "http://www.example.jp/", At(0, 0), A::daOpen, "http://www.example.jp/",
         "http://www.example.jp/"},
        {"a mail address", tokMail, "a@example.jp", At(0, 0), A::daOpen, "a@example.jp", "mailto:a@example.jp"},
        {"a system variable", tokQuoted, "\"os\"", At(0, 0), A::daPickList, std::nullopt, ""},
        {"another string", tokQuoted, "\"zz\"", At(4, 1), A::daDefinition, "(draw", ""},
        {"another sign", tokSymbol, "'", At(4, 1), A::daDefinition, "(draw", ""},
    };
    for (const auto& c : cases) {
        const A action = DoubleClickAction(c.kind, c.token, kLists, c.place);
        EXPECT_EQ(action.Kind, c.action) << c.what;
        EXPECT_EQ(action.Status, c.status) << c.what;
        EXPECT_EQ(action.Target, c.target) << c.what;
    }
    const A function = DoubleClickAction(tokWord, "SE", kLists, At(3, 3));
    EXPECT_FALSE(function.Pick.SystemList);
    EXPECT_EQ(function.Pick.Lines, (Lines{"setq sym expr)", "  set it"}));
    const A variable = DoubleClickAction(tokQuoted, "\"os\"", kLists, At(0, 0));
    EXPECT_TRUE(variable.Pick.SystemList);
    EXPECT_EQ(variable.Pick.Lines, (Lines{"OSMODE [int]", "  snaps"}));
    EXPECT_EQ(DoubleClickAction(tokWord, "draw", kLists, At(4, 2)).Block, (TDefinitionBlock{1, 2, 2}));
    // Definitions kept by the caller are asked for only when needed.
    const TDefinitionIndex index(kDoc);
    int asked = 0;
    TDocumentPlace kept = At(4, 2);
    kept.Definitions = [&]() -> const TDefinitionIndex& {
        ++asked;
        return index;
    };
    EXPECT_EQ(DoubleClickAction(tokWord, "draw", kLists, kept).Block, (TDefinitionBlock{1, 2, 2}));
    EXPECT_EQ(PointerHint(tokWord, "princ", kLists, true, kept).Action, TPointerHint::haShow);
    EXPECT_EQ(DoubleClickAction(tokSymbol, ")", kLists, kept).Kind, A::daSelectBracket);
    EXPECT_EQ(asked, 1);
    // Without the lists the words and strings go the way of everything else.
    const Lines none;
    EXPECT_EQ(DoubleClickAction(tokWord, "princ", {none, none}, At(3, 4)).Kind, A::daNothing);
}

}  // namespace
}  // namespace quodle
