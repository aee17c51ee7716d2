// The reference lists: pick-list runs, the Ctrl+Space decision and the hint
// lines. Texts are Shift-JIS, written here in UTF-8.
#include <gtest/gtest.h>

#include "base/ShiftJis.h"
#include "lisp/ReferenceLists.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;

Lines Sjis(std::initializer_list<const char*> utf8) {
    Lines lines;
    for (const char* s : utf8) lines.push_back(Utf8ToCp932(s));
    return lines;
}

const Lines kFunctions = Sjis({
    "angtos ang [mode [precision]])", "\t角度を文字列にします。",
    "getangle [pt] [msg])", "\t角度を入力させます。", "\t戻り値: ラジアン",
    "getvar varname)", "\tシステム変数の値を返します。",
    "princ [expr [file-desc]])", "\t式を表示します。",
    "target-of x)", "\t(架空の関数)",
    "ver)",
});
const Lines kSystemVariables = Sjis({
    "CLAYER [文字列型]", "\t現在の画層です。",
    "OSMODE [整数型]", "\tオブジェクトスナップです。", "\t0 = なし",
    "OSNAPCOORD [整数型]", "\t座標の優先です。",
    "ZOOMFACTOR [整数型]",
});

TEST(ReferenceLists, FunctionNamesAreTheHeadsUpToABlankOrBracket) {
    const Lines list = Sjis({"*error* msg)", "\t説明", "princ)", "command [arguments] ...)", "", "\t", "1+ number)"});
    EXPECT_EQ(ReferenceFunctionNames(list), (Lines{"*error*", "princ", "command", "1+"}));
}

TEST(ReferenceLookup, RunsStartAtHeadsThatBeginWithThePrefix) {
    struct Case {
        const char* prefix;
        Lines expected;
    } cases[] = {
        // "target-of" holds "get" but starts no run; detail TABs are two blanks.
        {"get", Sjis({"getangle [pt] [msg])", "  角度を入力させます。", "  戻り値: ラジアン", "getvar varname)",
                      "  システム変数の値を返します。"})},
        // A run goes on through heads that hold the prefix anywhere.
        {"an", Sjis({"angtos ang [mode [precision]])", "  角度を文字列にします。", "getangle [pt] [msg])",
                     "  角度を入力させます。", "  戻り値: ラジアン"})},
        {"ver", Sjis({"ver)"})},
        {"Get", {}},  // case-sensitive
        {"zz", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReferenceLookup(kFunctions, c.prefix), c.expected) << c.prefix;
    // An empty prefix takes the whole list.
    EXPECT_EQ(ReferenceLookup(kFunctions, "").size(), kFunctions.size());
    EXPECT_EQ(ReferenceLookup(kFunctions, "")[1], Utf8ToCp932("  角度を文字列にします。"));
    // Detail lines before the first head belong to no run.
    EXPECT_EQ(ReferenceLookup(Lines{"\torphan", "a)"}, "a"), Lines{"a)"});
}

TEST(ReferenceLists, CompletionPicksSystemVariablesInStringsAndFunctionsElsewhere) {
    struct Case {
        const char* what;
        const char* line;
        std::size_t caret;
        TTokenKind kind;
        bool system;
        std::vector<std::string> heads;  // the head lines picked; empty: nothing shown
    } cases[] = {
        {"the name after the bracket, cut before ')'", "(getv)", 5, tokSymbol, false, {"getvar varname)"}},
        {"the name runs on after the caret", "(getv x)", 3, tokWord, false, {"getvar varname)"}},
        {"in a string: the text after its quote", "(getvar \"os\")", 11, tokQuoted, true,
         {"OSMODE [整数型]", "OSNAPCOORD [整数型]"}},
        {"at the line's end inside an open string", "(getvar \"cl", 11, tokEnd, true, {"CLAYER [文字列型]"}},
        {"the word after the caret in a string", "(getvar \"osmode\")", 9, tokQuoted, true,
         {"OSMODE [整数型]"}},
        {"at the end of a call no system variable starts: the functions", "(getv", 5, tokEnd, false,
         {"getvar varname)"}},
        {"a string naming no variable offers nothing", "(princ \"abc\")", 10, tokQuoted, false, {}},
        {"nothing in a comment", "; (getv", 7, tokComment, false, {}},
        {"nothing in a block comment", ";| (getv", 8, tokBracket, false, {}},
        {"an empty line offers every function", "", 0, tokEnd, false,
         {"angtos ang [mode [precision]])", "getangle [pt] [msg])", "getvar varname)",
          "princ [expr [file-desc]])", "target-of x)", "ver)"}},
        {"double-byte text before the call", "(setq 名前 (getv", 16, tokEnd, false, {"getvar varname)"}},
    };
    for (const auto& c : cases) {
        const std::optional<TReferencePick> pick =
            CompletionPick(Utf8ToCp932(c.line), c.caret, c.kind, kFunctions, kSystemVariables);
        if (c.heads.empty()) {
            EXPECT_FALSE(pick) << c.what;
            continue;
        }
        ASSERT_TRUE(pick) << c.what;
        EXPECT_EQ(pick->SystemList, c.system) << c.what;
        std::vector<std::string> heads;
        for (const std::string& line : pick->Lines)
            if (!line.starts_with(' ')) heads.push_back(Cp932ToUtf8(line));
        EXPECT_EQ(heads, c.heads) << c.what;
    }
    // Without a function list there is no completion at all.
    EXPECT_FALSE(CompletionPick("(getvar \"osm\")", 12, tokQuoted, {}, kSystemVariables));
    // Without a system variable list a string offers no functions either.
    EXPECT_FALSE(CompletionPick("(getvar \"osm\")", 12, tokQuoted, kFunctions, {}));
    EXPECT_TRUE(CompletionPick("(getv", 5, tokEnd, kFunctions, {}));
}

TEST(ReferenceLists, WordAtTheCaretIsThePlainToken) {
    EXPECT_EQ(WordAtCaret("(getvar \"osm\")", 9), "osm");
    EXPECT_EQ(WordAtCaret("(getvar \"osm\")", 12), "\"");
    EXPECT_EQ(WordAtCaret("(getvar \"osm\")", 14), "");
    EXPECT_EQ(WordAtCaret("; a_b1 x", 2), "a_b1");
}

TEST(ReferenceLists, Hints) {
    // A function: the head that names the word, and the line after it.
    EXPECT_EQ(Cp932ToUtf8(FunctionHint(kFunctions, "princ")), " (princ [expr [file-desc]])\n   式を表示します。");
    EXPECT_EQ(FunctionHint(kFunctions, "ver"), " (ver)");  // the last line: nothing after it
    EXPECT_EQ(FunctionHint(kFunctions, "prin"), "");       // the whole name only
    EXPECT_EQ(FunctionHint(kFunctions, "PRINC"), FunctionHint(kFunctions, "princ"));  // any letter case
    EXPECT_EQ(FunctionHint(kFunctions, ""), "");
    // A system variable named in a string, in any letter case.
    EXPECT_EQ(Cp932ToUtf8(SystemVariableHint(kSystemVariables, "\"osmode\"")),
              " OSMODE [整数型]\n   オブジェクトスナップです。");
    EXPECT_EQ(Cp932ToUtf8(SystemVariableHint(kSystemVariables, "\"Clayer")), " CLAYER [文字列型]\n   現在の画層です。");
    for (const char* token : {"\"osm\"", "\"\"", "\"zoomfactor\"", "\"x\""})
        EXPECT_EQ(SystemVariableHint(kSystemVariables, token), "") << token;
    EXPECT_EQ(QuotedTokenName("\"a\"b\""), "AB");
}

}  // namespace
}  // namespace quodle
