#include "lisp/VariableAnalysis.h"

#include <gtest/gtest.h>

#include <random>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "support/RecordingSink.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using quodle::testing::TRecordingSink;

#define HYO "\x95\x5C"      // 表: trail byte "\"
#define PO "\x83\x7C"       // ポ: trail byte "|"
#define SMALL_YA "\x83\x61" // ャ: trail byte "a"
#define A_KATA "\x83\x41"   // ア: trail byte "A"

const TExclusionSet& Jogai() {
    static const Lines lines = {"T", "NIL", "PI"};
    static const TExclusionSet set(lines);
    return set;
}

TEST(VariableAnalysis, BlankCallHeads) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"(setq a 1)", "      a 1 "},
        {"( a)", "( a "},                      // "( " is no call
        {"'(a b)", "'(a b "},                  // nor is a quoted list
        {"x'(y)", "x'(y "},
        {"(foo(bar x))", "         x  "},      // a "(" inside a head stays in it
        {"((lambda (x) x) 1)", "             x  1 "},
        {"'foo (bar)", "'foo      "},
        {"a (", "a  "},                        // "(" at the end of the line
        {"(a\tb)", "     "},                   // only a blank ends a head
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(BlankCallHeads(c.in), c.out) << c.in;
}

TEST(VariableAnalysis, BlankQuoted) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"'foo bar", "     bar"},
        {"'(1 2 3 ", "    2 3 "},
        {"a(b", "a b"},
        {"x 'y) z", "x     z"},
        {"'a\tb c", "     c"},  // only a blank ends a quoted item
        {"it's", "it  "},
    };
    for (const auto& c : cases) EXPECT_EQ(BlankQuoted(c.in), c.out) << c.in;
}

TEST(VariableAnalysis, IsCandidateSymbol) {
    struct Case {
        const char* token;
        bool candidate;
    } cases[] = {
        {"abc", true},   {"t", false},     {"Nil", false},   {"pI", false},   {"pi2", true},
        {"1", false},    {"-0.25", false}, {"+.5", false},   {"1.", false},   {"1.5e3", false},
        {"1E-6", false}, {"2e+10", false}, {".", true},      {"-", true},     {"1e", true},
        {"e5", true},    {"1+", true},     {"1.2.3", true},  {"0x10", true},  {HYO, true},
        {"*g*", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsCandidateSymbol(c.token, Jogai()), c.candidate) << c.token;
}

// The symbol set of a definition whose "(" is at line 0, column 0.
Lines BodySymbols(const Lines& source, bool blankNested = true) {
    return ExtractSymbolSet(StripLispSource(source), 0, 0, blankNested, Jogai());
}

TEST(VariableAnalysis, ExtractSymbolSetOfBody) {
    struct Case {
        const char* what;
        Lines source;
        Lines symbols;
        bool blankNested = true;
    } cases[] = {
        {"setq, numbers and calls", {"(defun f (a / b) (setq b a c 1))"}, {"a", "b", "c"}},
        {"first spelling, sorted", {"(defun f () (setq Foo 1 foo 2 bar 3 *z* 4 Bar 5))"}, {"*z*", "bar", "Foo"}},
        {"quoted symbol", {"(defun f () (mapcar 'strcase lst))"}, {"lst"}},
        {"quoted list keeps all but its first element", {"(defun f () (setq x '(a b c)))"}, {"b", "c", "x"}},
        {"dotted pair leaves the dot", {"(defun f () (ssget '((0 . \"LINE\"))))"}, {"."}},
        {"excluded names in any case", {"(defun f () (setq x t y NIL z Pi))"}, {"x", "y", "z"}},
        {"foreach", {"(defun f () (foreach item lst (princ item)))"}, {"item", "lst"}},
        {"lambda parameters are symbols", {"(defun f () (mapcar '(lambda (p) (* p k)) pts))"}, {"k", "p", "pts"}},
        {"empty comma fields are no names", {"(defun f () (setq a,,b 1 ,c))"}, {"a", "b", "c"}},
        // The body starts right after the argument list: symbols before its
        // first bracket are part of it.
        {"symbols before the first bracket", {"(defun f (a) x y)"}, {"x", "y"}},
        {"a body of one symbol", {"(defun f () nil)"}, {}},
        {"over lines before the first bracket", {"(defun f (a)", "  b", "  c (d e))"}, {"b", "c", "e"}},
        {"body starts on a later line", {"(defun f (a / b)", "  ", "  (setq b a))"}, {"a", "b"}},
        {"no argument list", {"(defun f)"}, {}},
        {"brackets never balance", {"(defun f (a) (setq x 1)"}, {}},
        {"text after the end", {"(defun f () (setq x 1)) (setq y 2)"}, {"x"}},
        {"strings and comments are gone",
         {"(defun f () (princ \"(setq s 1)\") ; (setq c 2)", ";| (setq b 3) |; (setq a 4))"},
         {"a"}},
        {"nested definition on a later line is left out",
         {"(defun f (a)", "  (setq x a)", "  (defun g (y)", "    (setq z y))", "  (setq w 1))"},
         {"a", "w", "x"}},
        {"and the rest of the line where it ends",
         {"(defun f ()", "  (defun g (y) y) (setq after 1)", "  (setq w 1))"},
         {"w"}},
        {"nested definition on the first line", {"(defun sq (x) (defun tmp (y) y) (* x x))"}, {}},
        {"nested definitions kept when asked",
         {"(defun f ()", "  (defun g (y) y) (setq after 1))"},
         {"after", "g", "y"},
         false},
        {"(DEFUN with two blanks is one", {"(defun f ()", "  (defun  g (y) y))"}, {}},
        {"defun-q is none", {"(defun f ()", "  (defun-q g (y) y))"}, {"g", "y"}},
        {"double-byte names; trail bytes are not folded",
         {"(defun f () (setq " HYO "x 1 " SMALL_YA " 2 " A_KATA " 3 " PO " 4))"},
         {A_KATA, SMALL_YA, PO, HYO "x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(BodySymbols(c.source, c.blankNested), c.symbols) << c.what;
}

TEST(VariableAnalysis, ExtractSymbolSetOfRangesAccumulates) {
    const TCodeLines code = StripLispSource(Lines{"(setq b 1)", "(setq A 2 c 3)", "(foo)", "(setq a 4 B 5 D 6)"});
    Lines set;
    ExtractSymbolSet(code, 0, 1, Jogai(), set);
    EXPECT_EQ(set, (Lines{"A", "b", "c"}));
    ExtractSymbolSet(code, 2, 3, Jogai(), set);
    EXPECT_EQ(set, (Lines{"A", "b", "c", "D"}));
    ExtractSymbolSet(code, 3, 99, Jogai(), set);  // clamped
    EXPECT_EQ(set, (Lines{"A", "b", "c", "D"}));
}

// The one-pass tokenizer against the routines applied one after the other,
// and the hashed set against a plain list, over random lines made of the
// characters that matter.
TEST(VariableAnalysis, SymbolSetMatchesTheRoutinesOnRandomLines) {
    const std::string alphabet[] = {"(", "(", ")", "'", " ", " ", ",", "\t", "a", "A", "b", "1", ".", "e",
                                    "-", "t", "\x0C", HYO, SMALL_YA, A_KATA, "\x83", "\xB1"};
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        std::string line;
        const int n = static_cast<int>(rng() % 30);
        for (int k = 0; k < n; ++k) line += alphabet[rng() % std::size(alphabet)];
        const TCodeLines code = StripLispSource(Lines{line});
        Lines got;
        ExtractSymbolSet(code, 0, 0, Jogai(), got);
        Lines want;
        for (const auto& token : SplitCommaList(BlankQuoted(BlankCallHeads(code[0])))) {
            if (token.empty() || !IsCandidateSymbol(token, Jogai())) continue;
            bool seen = false;
            for (const auto& w : want) seen = seen || AsciiUpper(w) == AsciiUpper(token);
            if (!seen) want.push_back(token);
        }
        SortTextList(want);
        ASSERT_EQ(got, want) << line;
    }
}

Lines Check(const Lines& source, const TExclusionSettings& settings = {}) {
    const TVariableReport report = VariableCheck(source, Jogai(), settings);
    EXPECT_EQ(report.HasFindings(), !report.Lines.empty());
    EXPECT_EQ(report.Message, report.Lines.empty() ? Utf8ToCp932(kNoFindingsMessage) : "");
    return report.Lines.ToVector();
}

Lines List(const Lines& source) {
    const TVariableReport report = VariableList(source, Jogai());
    EXPECT_EQ(report.Message, report.Lines.empty() ? Utf8ToCp932(kNoVariablesMessage) : "");
    return report.Lines.ToVector();
}

TEST(VariableAnalysis, CheckReport) {
    struct Case {
        const char* what;
        Lines source;
        Lines report;
    } cases[] = {
        {"undeclared", {"(defun f (a / b) (setq b a c 1))"}, {"       1| f( a  / b )", "\t\t\t[ Global ]", "\t\t\t\tc "}},
        {"unused argument and local",
         {"(defun f (a b / c) (princ a))"},
         {"       1| f( a b  / c )", "\t\t\t[ UnusedArg ]", "\t\t\t\tb ", "\t\t\t[ UnusedLoc ]", "\t\t\t\tc "}},
        {"default prefixes: \"*\" and case-sensitive \"GB_\"",
         {"(defun f () (setq *glob* 1 gb_x 2 GB_y 3))"},
         {"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tgb_x "}},
        {"nested sees the enclosing locals",
         {"(defun f (a / y)", "  (defun g (x) (setq y x))", "  (setq y a))"},
         {}},
        {"nested heading",
         {"", "(defun f (a)", "  (defun g (x) (setq q x))", "  a)"},
         {"       3|  + g( x )", "\t\t\t[ Global ]", "\t\t\t\tq "}},
        {"names of nested definitions are no globals of the outer one",
         {"(defun f ()", "  (defun helper (n) n)", "  (apply helper (list 3)) (setq Helper2 1))"},
         {"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tHelper2 "}},
        {"outside code on top, five names a line",
         {"(setq limit 10 *v* 1)", "(defun f (a) a)", "(setq e d c b a f2 g)"},
         {"       0l [ Global ]", "\t\t\t  a b c d e ", "\t\t\t  f2 g limit "}},
        {"ten names a line",
         {"(defun f () (setq n01 0 n02 0 n03 0 n04 0 n05 0 n06 0 n07 0 n08 0 n09 0 n10 0 n11 0))"},
         {"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tn01 n02 n03 n04 n05 n06 n07 n08 n09 n10 ", "\t\t\t\tn11 "}},
        {"line numbers right-aligned in eight",
         {"", "", "", "", "", "", "", "", "", "(defun c:GO (/ a) 1)"},
         {"      10| c:GO( / a )", "\t\t\t[ UnusedLoc ]", "\t\t\t\ta "}},
        // A name with a blank in it makes a record of the wrong field count:
        // the definition is skipped and its lines count as outside code.
        {"unreadable record", {"(defun a b (x) (setq y x))"}, {"       0l [ Global ]", "\t\t\t  a b x y "}},
        {"nothing to report", {"(defun f (a / b) (setq b a))"}, {}},
        {"empty document", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Check(c.source), c.report) << c.what;
}

TEST(VariableAnalysis, CheckPrefixes) {
    const Lines source = {"(setq *o* 1 GB_o 2 my_o 3)", "(defun f () (setq *a* 1 GB_b 2 my_c 3 x 4))"};
    struct Case {
        bool star, gb, other;
        std::string prefix;
        Lines report;
    } cases[] = {
        {true, true, false, "my_", {"       0l [ Global ]", "\t\t\t  my_o ", "       2| f()", "\t\t\t[ Global ]", "\t\t\t\tmy_c x "}},
        {false, false, true, "my_",
         {"       0l [ Global ]", "\t\t\t  *o* GB_o ", "       2| f()", "\t\t\t[ Global ]", "\t\t\t\t*a* GB_b x "}},
        {false, false, true, "", {"       0l [ Global ]", "\t\t\t  *o* GB_o my_o ", "       2| f()", "\t\t\t[ Global ]", "\t\t\t\t*a* GB_b my_c x "}},
    };
    for (const auto& c : cases) {
        TExclusionSettings s;
        s.Star = c.star;
        s.Gb = c.gb;
        s.Other = c.other;
        s.OtherPrefix = c.prefix;
        EXPECT_EQ(Check(source, s), c.report) << c.star << c.gb << c.other << c.prefix;
    }
}

TEST(VariableAnalysis, ListReport) {
    struct Case {
        const char* what;
        Lines source;
        Lines report;
    } cases[] = {
        {"every definition keeps its heading",
         {"(defun f (a / b) (setq b a))", "(defun g () 1)"},
         {"       1| f( a )", "\t\t\t[ Loc ]", "\t\t\t\tb ", "\t\t\t[ Var ]", "\t\t\t\ta b ", "       2| g()"}},
        {"all sections, no prefixes left out",
         {"(setq *o* 1)", "(defun f (a b / c d) (setq d a *x* 1))"},
         {"       0l [ Global ]", "\t\t\t  *o* ", "       2| f( a b )", "\t\t\t[ Loc ]", "\t\t\t\tc d ",
          "\t\t\t[ Var ]", "\t\t\t\t*x* a d ", "\t\t\t[ Global ]", "\t\t\t\t*x* ", "\t\t\t[ UnusedArg ]",
          "\t\t\t\tb ", "\t\t\t[ UnusedLoc ]", "\t\t\t\tc "}},
        // The Global heading stands when the only undeclared names are those
        // of nested definitions.
        {"nested definitions",
         {"(defun f (/ k)", "  (defun g (x / l) (setq m x))", "  (setq k g))"},
         {"       1| f()", "\t\t\t[ Loc ]", "\t\t\t\tk ", "\t\t\t[ Var ]", "\t\t\t\tg k ", "\t\t\t[ Global ]",
          "       2|  + g( x )", "\t\t\t[ Loc ]", "\t\t\t\tl ", "\t\t\t[ Global ]", "\t\t\t\tm ",
          "\t\t\t[ UnusedLoc ]", "\t\t\t\tl "}},
        {"no definitions, no outside symbols", {"(princ)"}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(List(c.source), c.report) << c.what;
}

// The report makes the code a definition at a time; it must read as if
// the whole code were there, also where the walks over a definition read
// past its own lines.
TEST(VariableAnalysis, CodeMadeADefinitionAtATimeReadsAsTheWholeCode) {
    const auto whole = [](const Lines& source) {
        const TCodeLines code = StripLispSource(source);
        return VariableCheck(code, CollectDefuns(code, 0, nullptr, false), Jogai(), {}, nullptr).Lines.ToVector();
    };
    const Lines cases[] = {
        // No argument list: the list is read on into the next form.
        {"(defun f x)", "", "(setq a b)", "(defun g (p) p)"},
        // A nested one after its top-level one's end, running on below.
        {"(defun f (a) a) (defun g (b)", "  (setq c b)", "  (setq d 1))", "(setq e 2)"},
        // Strings and block comments that run from one definition's line
        // into the outside code and the next definition.
        {"(defun f (a) a) (setq s \"x", "(defun no) \" t 1)", ";| (defun z", "|; (defun g (b) (setq h b))"},
        {"(defun f (/ a)", "  (setq a \"" HYO "\" b 2))", "(setq c 3) ; (defun q"},
        // Never closed: no record, every line outside.
        {"(defun f (a)", "  (setq b a)"},
    };
    for (const Lines& source : cases) EXPECT_EQ(Check(source), whole(source)) << source.front();

    const std::string pieces[] = {"(defun f", "(DEFUN g ", "(defun h (a / b)", " (x y)", " (/ l)", "(setq ",
                                  "a ", "b ", "c ", "(", "(", ")", ")", ")", "\"", "\"(\"", "; c (", ";|",
                                  "|;", "\\", "'(", HYO, PO, " ", "\t"};
    std::mt19937 rng(31);
    for (int round = 0; round < 3000; ++round) {
        Lines source(1 + rng() % 12);
        for (std::string& line : source)
            for (int k = static_cast<int>(rng() % 10); k > 0; --k) line += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(Check(source), whole(source)) << ::testing::PrintToString(source);
    }
}

TEST(VariableAnalysis, ReportLinesGoToASinkAsTheyAreMade) {
    const Lines source = {"(setq o 1)", "(defun f (a / b) (setq c a))", "(defun g () (setq d 1))"};
    for (const bool check : {true, false}) {
        Lines sunk;
        const TReportLineSink sink = [&](std::string_view line) { sunk.emplace_back(line); };
        const TVariableReport report = check ? VariableCheck(source, Jogai(), {}, nullptr, sink)
                                             : VariableList(source, Jogai(), nullptr, sink);
        EXPECT_TRUE(report.Lines.empty());
        EXPECT_EQ(report.Written, sunk.size());
        EXPECT_TRUE(report.HasFindings());
        EXPECT_TRUE(report.Message.empty());
        EXPECT_EQ(sunk, check ? Check(source) : List(source));
    }
    const TVariableReport none = VariableCheck(Lines{"(defun f (a) a)"}, Jogai(), {}, nullptr, [](std::string_view) {});
    EXPECT_FALSE(none.HasFindings());
    EXPECT_EQ(none.Message, Utf8ToCp932(kNoFindingsMessage));
}

TEST(VariableAnalysis, ProgressRunsToTheTopAndBack) {
    Lines source;
    for (int i = 0; i < 500; ++i) source.push_back("(defun f" + std::to_string(i) + " (a) (setq b a))");
    for (const bool check : {true, false}) {
        TRecordingSink sink;
        if (check) {
            VariableCheck(source, Jogai(), {}, &sink);
        } else {
            VariableList(source, Jogai(), &sink);
        }
        EXPECT_EQ(sink.Highest(), TProgressSink::kMax);
        EXPECT_EQ(sink.Position(), 0);
    }
}

TEST(VariableAnalysis, ReportLineTarget) {
    struct Case {
        const char* line;
        int row;
    } cases[] = {
        {"      12| drawbox( a b  / x y )", 11},
        {"       1|  + g( x )", 0},
        {"       0l [ Global ]", -1},
        {"\t\t\t[ Global ]", -1},
        {"\t\t\t\tfoo|bar ", -1},
        {"|12", -1},
        {"0| f()", -1},
        {" +7| f()", 6},
        {"99999999999| f()", -1},
        {"\t\t\t\t" PO " ", -1},  // a trail byte "|" in a name
    };
    for (const auto& c : cases) EXPECT_EQ(ReportLineTarget(c.line), c.row) << c.line;
}

}  // namespace
}  // namespace quodle
