#include <gtest/gtest.h>

#include "app/WordLists.h"
#include "base/ShiftJis.h"
#include "lisp/ReferenceLists.h"
#include "lisp/UserFunctions.h"
#include "project/ProjectModel.h"
#include "project/ProjectReport.h"
#include "support/TempDir.h"
#include "text/StringList.h"
#include "text/TextFile.h"

namespace quodle {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const TFoldedNameSet& Builtins() {
    static const TFoldedNameSet set = [] {
        TFoldedNameSet names;
        for (const std::string& n : ReferenceFunctionNames(
                 LoadWordList(fs::path(QUODLE_BIN_DIR) / kFunctionReferenceFile).value_or(WordList{})))
            names.Insert(n);
        return names;
    }();
    return set;
}

const TExclusionSet& Exclusions() {
    static const TExclusionSet set(LoadExclusionList(fs::path(QUODLE_BIN_DIR) / kExclusionListFile).value_or(WordList{}));
    return set;
}

TProjectFile Summary(const Lines& lines) { return SummariseLines(lines, Builtins(), Exclusions(), {}); }

// "name line:col xN" for each name called, "name used" for a name only
// used the single-file way.
std::vector<std::string> Calls(const Lines& lines) {
    std::vector<std::string> out;
    for (const TFileCall& c : Summary(lines).Calls) {
        if (c.Calls > 0) out.push_back(c.Name + " " + PlaceText(c.Place) + " x" + std::to_string(c.Calls));
        else if (c.Used) out.push_back(c.Name + " used");
    }
    return out;
}

TEST(FileSummary, TellsCallsFromData) {
    struct Case {
        const char* what;
        Lines in;
        std::vector<std::string> calls;
    } cases[] = {
        {"argument lists and the name are no calls", {"(defun f (a b / c) (g a))"}, {"a used", "g 1:21 x1"}},
        {"quoted lists are data", {"(setq l '(foo bar) m (quote (baz)))"}, {"foo used", "baz used"}},
        {"cond clauses are no calls, the forms in them are",
         {"(cond ((ok a) (x))", "      (flag (y)))"},
         {"ok 1:9 x1", "x 1:16 x1", "flag used", "y 2:14 x1"}},
        {"lambda's list, quoted or not", {"(mapcar '(lambda (p q) (z p)) l)", "((lambda (r) (w r)) 1)"},
         {"p used", "z 1:25 x1", "r used", "w 2:15 x1"}},
        {"functions handed to mapcar and its kind",
         {"(mapcar 'one l) (apply 'two l) (vl-sort l 'three)", "(mapcar (function four) l) (setq x 'five)"},
         {"one 1:10 x1", "two 1:25 x1", "three 1:44 x1", "four 2:19 x1"}},
        {"a function held by an argument or local", {"(defun f (fn / g) (fn 1) (g 2) (h 3))"},
         {"fn used", "g used", "h 1:33 x1"}},
        {"or by a lambda's argument", {"(mapcar '(lambda (fn) (fn 1)) l)"}, {"fn used"}},
        {"a call whose arguments start on the next line is a call all the same",
         {"(drawbox", "  1 2)", "(drawbox 3)"},
         {"drawbox 1:2 x2"}},
        {"built-ins and numbers are left out", {"(princ (strcat \"a\" (itoa 1)))", "(1 2)"}, {}},
        {"a double-byte name after a string", {"(princ \"表\") (描く 1)"}, {"描く 1:14 x1"}},
    };
    for (const Case& c : cases) {
        Lines in;
        for (const std::string& line : c.in) in.push_back(Utf8ToCp932(line));
        std::vector<std::string> expected;
        for (const std::string& e : c.calls) expected.push_back(Utf8ToCp932(e));
        EXPECT_EQ(Calls(in), expected) << c.what;
    }
}

TEST(FileSummary, GlobalsWhereTheyAreSetAndRead) {
    const Lines lines = {
        "(setq g1 0 g2 \"x\")",              // 1: both set outside definitions
        "(defun f (a / loc)",                // 2
        "  (setq loc g1 g3 (+ a g2))",       // 3: loc is local; g3 set, g1 and g2 read
        "  (defun inner (b) (setq b loc)))", // 4: b is inner's argument, loc the outer's local
        "(princ g3)",                        // 5
        // Names a foreach or a lambda binds hold only for their bodies.
        "(foreach it lst (setq it 1 g4 it))",            // 6
        "(mapcar '(lambda (p / q) (setq q p g5 q)) l)",  // 7
    };
    std::vector<std::string> out;
    for (const TFileGlobal& g : Summary(lines).Globals)
        out.push_back(g.Name + (g.FirstSet ? " set " + PlaceText(*g.FirstSet) : "") +
                      (g.FirstRead ? " read " + PlaceText(*g.FirstRead) : ""));
    EXPECT_EQ(out, (std::vector<std::string>{"g1 set 1:7 read 3:13", "g2 set 1:12 read 3:24", "g3 set 3:16 read 5:8",
                                             "lst read 6:13", "g4 set 6:28", "g5 set 7:36", "l read 7:43"}));
}

TEST(FileSummary, DefinitionsAndVariablesAsTheSingleFileCommandsFindThem) {
    const Lines lines = {
        "(defun c:go ( / a)",   //
        "  (setq b 1)",         //
        "  (defun sub (x) 1))",  //
        ";| (defun gone () 1) |; (defun late (y / z) y)",
    };
    const TProjectFile file = Summary(lines);
    std::vector<std::string> defs;
    for (const TFileDefinition& d : file.Definitions)
        defs.push_back(d.Outer + "/" + d.Name + " " + PlaceText(d.Place));
    // The column is the document's: the block comment before "late" counts.
    EXPECT_EQ(defs, (std::vector<std::string>{"/c:go 1:1", "c:go/sub 3:3", "/late 4:25"}));
    const TVariableReport check = VariableCheck(lines, Exclusions(), {});
    ASSERT_EQ(file.VariableReport.size(), check.Lines.size());
    for (std::size_t i = 0; i < check.Lines.size(); ++i) EXPECT_EQ(file.VariableReport[i], check.Lines[i]) << i;
    std::vector<std::string> items;
    for (const TVariableItem& v : file.Variables)
        items.push_back((v.Definition < 0 ? std::string() : file.Definitions[v.Definition].Name) + ":" +
                        std::string(file.NameOf(v)) + " " + PlaceText(v.Place));
    EXPECT_EQ(items, (std::vector<std::string>{"c:go:b 1:1", "c:go:a 1:1", "sub:x 3:3", "late:z 4:25"}));
}

// Each single-file fixture as a project of its own: the project's unused
// functions are the unused list's, its variable check is F5's.
TEST(FileSummary, OneFileProjectEqualsTheSingleFileResults) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUODLE_TEST_DATA) / "lisp")) {
        if (entry.path().extension() != ".lsp") continue;
        ++files;
        const testing::TempDir dir;
        fs::copy_file(entry.path(), dir / "one.lsp");
        TProjectOptions options;
        options.VariableExclusions = Exclusions();
        TProject project(options);
        project.Analyse(dir.path());
        ASSERT_EQ(project.Files().size(), 1u);

        TheStringList rows;
        AppendFileLines(entry.path().string(), rows);
        std::vector<std::string> lines;
        for (int i = 0; i < rows.Count(); ++i) lines.emplace_back(rows.View(i));
        std::vector<TPickItem> unused;
        for (const TFinding& f : project.Findings())
            if (f.Kind == TFindingKind::fkUnusedFunction) unused.push_back({f.Name, f.Where.Place.Line + 1});
        std::vector<TPickItem> single = BuildUnusedList(lines, nullptr).Items;
        const auto byLine = [](const TPickItem& a, const TPickItem& b) { return a.Data < b.Data; };
        std::stable_sort(single.begin(), single.end(), byLine);
        EXPECT_EQ(unused, single) << entry.path();
        const TVariableReport check = VariableCheck(lines, Exclusions(), {});
        EXPECT_EQ(project.Files()[0].VariableReport.ToVector(), check.Lines.ToVector()) << entry.path();
    }
    EXPECT_GT(files, 5);
}

}  // namespace
}  // namespace quodle
