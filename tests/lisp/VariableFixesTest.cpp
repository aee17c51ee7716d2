#include "lisp/VariableFixes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "support/AppliedEdits.h"

namespace quodle {
namespace {

using Lines = std::vector<std::string>;
using namespace quodle::testing;

const TExclusionSet& Jogai() {
    static const Lines lines = {"T", "NIL", "PI", "SETQ", "PRINC", "GETPOINT", "SSGET"};
    static const TExclusionSet set(lines);
    return set;
}

TEST(VariableFixes, HeadsAreRewrittenInPlace) {
    struct Case {
        TVariableFix fix;
        std::vector<std::string> in, out;  // UTF-8
        int names;
    } cases[] = {
        // No "/" yet: it is made after the arguments; names one blank apart.
        {TVariableFix::Localise, {"(defun c:Foo (a)", "  (setq pt (getpoint) ss (ssget) i 0)", "  (princ a))"},
         {"(defun c:Foo (a / i pt ss)", "  (setq pt (getpoint) ss (ssget) i 0)", "  (princ a))"}, 3},
        {TVariableFix::Localise, {"(defun f ()", "  (setq 点 1))"}, {"(defun f (/ 点)", "  (setq 点 1))"}, 1},
        // An existing "/" and locals: the new names go after the last one.
        {TVariableFix::Localise, {"(defun f ( a  / b )", "  (setq b a c 1))"}, {"(defun f ( a  / b c )", "  (setq b a c 1))"}, 1},
        // A head over several lines keeps its breaks and indentation.
        {TVariableFix::Localise, {"(defun f (a", "         / b", "        )", "  (setq b a c 1))"},
         {"(defun f (a", "         / b c", "        )", "  (setq b a c 1))"}, 1},
        // Names the check leaves out ("*" and "GB_" by default) stay out.
        {TVariableFix::Localise, {"(defun f ()", "  (setq *g 1 GB_X 2 y 3))"}, {"(defun f (/ y)", "  (setq *g 1 GB_X 2 y 3))"}, 1},
        // Full-width text in a string or a comment of the body is no name.
        {TVariableFix::Localise, {"(defun f ()", "  (setq s \"（全角）\") ; 注（x）", ")"},
         {"(defun f (/ s)", "  (setq s \"（全角）\") ; 注（x）", ")"}, 1},
        // Dropping: the "/" goes with the last local, a line emptied goes.
        {TVariableFix::DropUnused, {"(defun f (a / tmp)", "  (princ a))"}, {"(defun f (a)", "  (princ a))"}, 1},
        {TVariableFix::DropUnused, {"(defun f (a / x tmp y)", "  (setq x a y x))"}, {"(defun f (a / x y)", "  (setq x a y x))"}, 1},
        {TVariableFix::DropUnused, {"(defun f (a", "  / tmp", "  x)", "  (setq x a))"},
         {"(defun f (a", "  /", "  x)", "  (setq x a))"}, 1},
        {TVariableFix::DropUnused, {"(defun f (a /", "  tmp", "  x)", "  (setq x a))"},
         {"(defun f (a /", "  x)", "  (setq x a))"}, 1},
        // A local that only a definition inside uses stays.
        {TVariableFix::DropUnused, {"(defun g (/ a b)", "  (defun h () (setq a 1)))"},
         {"(defun g (/ a)", "  (defun h () (setq a 1)))"}, 1},
    };
    for (const auto& c : cases) {
        const Lines lines = Sjis(c.in);
        const TVariableFixResult r = FixDefinitionVariables(lines, 0, c.fix, Jogai(), {});
        EXPECT_EQ(r.Names, c.names) << c.in[0];
        EXPECT_FALSE(r.Refused) << c.in[0];
        const TApplied a = ApplyAndUndo(lines, r.Edits);
        EXPECT_EQ(a.After, Sjis(c.out)) << c.in[0];
        EXPECT_EQ(a.Undone, lines) << c.in[0];
        // Done again, nothing is left to do.
        EXPECT_EQ(FixDefinitionVariables(a.After, 0, c.fix, Jogai(), {}).Names, 0) << c.in[0];
    }
}

TEST(VariableFixes, BothFixesLeaveTheCheckClean) {
    const Lines lines = Sjis({"(defun c:Foo (a / tmp)", "  (setq pt (getpoint) 表 1)", "  (princ a))",
                              "(defun bar () (setq x 1))"});
    const Lines localised = ApplyAndUndo(lines, FixAllDefinitionVariables(lines, TVariableFix::Localise, Jogai(), {}).Edits).After;
    const Lines dropped =
        ApplyAndUndo(localised, FixAllDefinitionVariables(localised, TVariableFix::DropUnused, Jogai(), {}).Edits).After;
    EXPECT_EQ(dropped, Sjis({"(defun c:Foo (a / pt 表)", "  (setq pt (getpoint) 表 1)", "  (princ a))",
                             "(defun bar (/ x) (setq x 1))"}));
    EXPECT_FALSE(VariableCheck(dropped, Jogai(), {}).HasFindings());
}

TEST(VariableFixes, UnsafeHeadsAreRefused) {
    struct Case {
        std::vector<std::string> in;
        std::string_view message;
    } cases[] = {
        {{"(defun f (a ; note", "  / b)", "  (setq c 1))"}, kHeadHasCommentMessage},
        {{"(defun f (a \"s\")", "  (setq c 1))"}, kHeadHasCommentMessage},
        {{"(defun f (a ;| x |; / b)", "  (setq c 1))"}, kHeadHasCommentMessage},
        {{"(defun f (a / b / d)", "  (setq c 1))"}, kUnusualHeadMessage},
    };
    for (const auto& c : cases) {
        const Lines lines = Sjis(c.in);
        const TVariableFixResult r = FixDefinitionVariables(lines, 0, TVariableFix::Localise, Jogai(), {});
        EXPECT_TRUE(r.Refused) << c.in[0];
        EXPECT_TRUE(r.Edits.empty()) << c.in[0];
        EXPECT_EQ(Cp932ToUtf8(r.Message), c.message) << c.in[0];
        // One refusal refuses the whole document.
        EXPECT_TRUE(FixAllDefinitionVariables(lines, TVariableFix::Localise, Jogai(), {}).Refused) << c.in[0];
    }
}

TEST(VariableFixes, NothingToDoAndNoDefinition) {
    const Lines clean = {"(defun f (a / b)", "  (setq b a))", "(princ)"};
    const TVariableFixResult l = FixDefinitionVariables(clean, 0, TVariableFix::Localise, Jogai(), {});
    EXPECT_TRUE(l.Edits.empty());
    EXPECT_EQ(Cp932ToUtf8(l.Message), kNothingToLocaliseMessage);
    EXPECT_EQ(Cp932ToUtf8(FixDefinitionVariables(clean, 0, TVariableFix::DropUnused, Jogai(), {}).Message),
              kNothingToDropMessage);
    EXPECT_EQ(Cp932ToUtf8(FixDefinitionVariables(clean, 2, TVariableFix::Localise, Jogai(), {}).Message),
              kNoDefinitionMessage);
}

TEST(VariableFixes, TheDefinitionAroundALine) {
    const Lines lines = {"(setq a 1)",        "(defun f ()",       "  (defun g ()",
                         "    (setq b 1))",   "  (setq c 1))",     "",
                         "(defun h () 1)"};
    struct Case {
        int line, definition;
    } cases[] = {{0, -1}, {1, 1}, {2, 2}, {3, 2}, {4, 1}, {5, -1}, {6, 6}};
    for (const auto& c : cases) EXPECT_EQ(DefinitionAroundLine(lines, c.line), c.definition) << c.line;
}

TEST(VariableFixes, AReportLineBelongsToTheHeadingAboveIt) {
    const Lines report = {"       1| f( a  / b )", "\t\t\t[ Global ]", "\t\t\t\tpt ss ", "", "      12| g( )",
                          "\t\t\t[ UnusedLoc ]", "other text", "\t\t\tstray"};
    struct Case {
        int line, owner;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, -1}, {4, 11}, {5, 11}, {6, -1}, {7, -1}, {99, -1}};
    for (const auto& c : cases) EXPECT_EQ(ReportLineOwner(report, c.line), c.owner) << c.line;
}

}  // namespace
}  // namespace quodle
