#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "base/BogusRestrict.h"
#include "support/FakeEditor.h"
#include "support/RowDump.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

using test::TBraceParser;
using test::Dump;
using test::Load;
using test::Marks;
using test::PutMarks;
using test::TFakeEditor;

TEST(ReplaceRows, EditsRowsAsText) {
    struct Case {
        const char* before;
        int row, count;
        const char* text;
        const char* after;
        TLastChange change;
    } cases[] = {
        // A row that ends a line takes the next line along, so text without
        // a final break joins it.
        {"a.B b.B c.B", 1, 1, "x\r\n", "a.B x.B c.B", {true, 1, 2, 2, 0}},
        {"a.B b.B c.B", 1, 1, "x", "a.B xc.B", {true, 1, 2, 1, 0}},
        {"a.B b.B c.B", 1, 0, "new\r\n", "a.B new.B b.B c.B", {true, 1, 1, 2, 0}},
        {"a.B b.B c.B", 1, 0, "new", "a.B newb.B c.B", {true, 1, 1, 1, 0}},
        {"a.B b.B c.B", 1, 1, "", "a.B c.B", {true, 1, 1, 0, 0}},
        {"a.B b.B c.B", 0, 3, "", "", {true, 0, 3, 0, 0}},
        {"a.B b.B c.B", 1, 2, "q\r\nr", "a.B q.B r.N", {true, 1, 2, 2, 0}},
        // The last row ends as the text does.
        {"a.B b.N", 1, 1, "c", "a.B c.N", {true, 1, 1, 1, 0}},
        {"a.B b.N", 1, 1, "c\r\n", "a.B c.B", {true, 1, 1, 1, 0}},
        {"a.B b.B", 1, 1, "c", "a.B c.N", {true, 1, 1, 1, 0}},
        {"a.B b.N", 1, 1, "", "a.B", {true, 1, 1, 0, 0}},
        // Appending: after a final break a new row, without one the last
        // row takes the text.
        {"a.B b.N", 2, 0, "x", "a.B bx.N", {true, 1, 1, 1, 0}},
        {"a.B", 1, 0, "x", "a.B x.N", {true, 1, 0, 1, 0}},
        {"a.B", 1, 0, "x\r\ny\r\n", "a.B x.B y.B", {true, 1, 0, 2, 0}},
        {"", 0, 0, "x", "x.N", {true, 0, 0, 1, 0}},
        // Lone CR and LF break rows as CR LF does.
        {"a.B b.B", 0, 1, "x\ny\rz\r\n", "x.B y.B z.B b.B", {true, 0, 2, 4, 0}},
        {"a.B b.B", 0, 1, "x\r", "x.B b.B", {true, 0, 2, 2, 0}},
        // Wrapped rows: the row before a continuation row is rebuilt too,
        // and a change inside a line runs to the line's end.
        {"ab.W cd.B ef.N", 1, 1, "XY", "abXYef.N", {true, 0, 3, 1, 0}},
        {"ab.W cd.B ef.N", 0, 1, "Q", "Qcd.B ef.N", {true, 0, 2, 1, 0}},
        {"ab.W cd.B ef.N", 1, 0, "-", "ab-cd.B ef.N", {true, 0, 2, 1, 0}},
        {"ab.W cd.B ef.N", 0, 2, "", "ef.N", {true, 0, 2, 0, 0}},
        // Breaks inserted in front of an empty last row without a break end
        // the text with a break: none of them is lost.
        {"ab.W .N", 1, 0, "x\r\n", "abx.B", {true, 0, 2, 1, 0}},
        {"ab.W .N", 1, 0, "\n\n", "ab.B .B", {true, 0, 2, 2, 0}},
        {"a.B .N", 1, 0, "x\r\n", "a.B x.B", {true, 1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        TEditorScreenStrings rows({2, 64});
        Load(rows, c.before);
        rows.ReplaceRows(c.row, c.count, c.text);
        const std::string where = std::string(c.before) + " / " + std::to_string(c.row) + "," + std::to_string(c.count);
        EXPECT_EQ(Dump(rows), c.after) << where;
        const TLastChange& lc = rows.LastChange();
        EXPECT_EQ(lc.Set, c.change.Set) << where;
        EXPECT_EQ(lc.FirstRow, c.change.FirstRow) << where;
        EXPECT_EQ(lc.OldRowCount, c.change.OldRowCount) << where;
        EXPECT_EQ(lc.NewRowCount, c.change.NewRowCount) << where;
        ASSERT_EQ(rows.UndoObj().UndoList().size(), 1u) << where;
        const TUndoData& u = rows.UndoObj().UndoList().back();
        EXPECT_EQ(u.FirstRow, c.change.FirstRow) << where;
        EXPECT_EQ(u.NewRowCount, c.change.NewRowCount) << where;
    }
}

TEST(ReplaceRows, OutOfRangeOrEmptyEditsChangeNothing) {
    TEditorScreenStrings rows;
    TFakeEditor ed;
    rows.Attach(&ed);
    Load(rows, "a.B b.B c.B");
    ed.ClearLog();
    for (auto [row, count, text] : {std::tuple{-1, 1, "x"}, {3, 1, "x"}, {2, 2, "x"}, {4, 0, "x"}, {0, 0, ""}, {1, -1, "x"}})
        rows.ReplaceRows(row, count, text);
    EXPECT_EQ(Dump(rows), "a.B b.B c.B");
    EXPECT_TRUE(rows.UndoObj().UndoList().empty());
    EXPECT_EQ(ed.Log(), "");
    EXPECT_FALSE(rows.LastChange().Set);
}

TEST(ReplaceRows, AReadOnlyTextRefusesEveryEditButNotAWholeNewText) {
    TEditorScreenStrings rows;
    TFakeEditor ed, other;
    rows.Attach(&ed);
    rows.Attach(&other);
    Load(rows, "a.B b.B c.B");
    EXPECT_TRUE(rows.ReplaceRows(0, 1, "x\r\n"));
    EXPECT_TRUE(rows.ReplaceRows(1, 1, "y\r\n"));
    EXPECT_TRUE(rows.Undo());
    ASSERT_TRUE(rows.CanUndo() && rows.CanRedo());
    rows.SetReadOnly(true);
    ed.ClearLog();
    other.ClearLog();
    // Every path to the rows: the gateway, the line view and the history.
    EXPECT_FALSE(rows.ReplaceRows(0, 1, "z\r\n"));
    EXPECT_FALSE(rows.ReplaceRows(3, 0, "new\r\n"));
    EXPECT_FALSE(rows.ReplaceRows(0, 1, 0, 3, "q"));      // inside one row
    EXPECT_FALSE(rows.ReplaceRows(0, 2, 1, 1, "\r\nz"));  // across rows
    TEditorStrings lines(rows, nullptr);
    lines.Put(1, "put");
    lines.Insert(0, "inserted");
    lines.Delete(2);
    lines.Add("added");
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_FALSE(rows.CanRedo());
    EXPECT_FALSE(rows.Undo());
    EXPECT_FALSE(rows.Redo());
    EXPECT_EQ(Dump(rows), "x.B b.B c.B");
    EXPECT_EQ(ed.Log() + other.Log(), "");
    // The history waits for the text to be writable again.
    rows.SetReadOnly(false);
    EXPECT_TRUE(rows.Redo());
    EXPECT_EQ(Dump(rows), "x.B y.B c.B");
    // The program still replaces a read-only text whole (a report pane).
    rows.SetReadOnly(true);
    rows.SetAllText("report\r\n");
    EXPECT_EQ(Dump(rows), "report.B");
    rows.ClearAll();
    EXPECT_EQ(Dump(rows), "");
}

TEST(ReplaceRows, RecordsOneUndoStepWithTheOldText) {
    TEditorScreenStrings rows;
    TFakeEditor ed, other;
    ed.caretRow = 1;
    ed.caretCol = 2;
    other.focused = true;
    other.caretRow = 7;
    other.caretCol = 3;
    rows.Attach(&ed);
    rows.Attach(&other);
    Load(rows, "a.B b.B c.N");
    rows.ReplaceRows(1, 1, "x\r\n");
    const TUndoData& u = rows.UndoObj().UndoList().back();
    EXPECT_EQ(u.CaretRow, 7);  // the focused editor's caret
    EXPECT_EQ(u.CaretCol, 3);
    EXPECT_EQ(u.FirstRow, 1);
    EXPECT_EQ(u.WholeOldText(rows.RowsText(1, 2).text), "b\r\nc");
    EXPECT_EQ(u.OldText, "b");  // what follows it is the same in the new text
    EXPECT_EQ(u.OldEnding, reNoBreak);
    EXPECT_EQ(u.NewRowCount, 2);
    rows.ReplaceRows(3, 0, "d");  // after a last row without break: joins it
    EXPECT_EQ(rows.UndoObj().UndoList().back().WholeOldText("cd"), "c");
    EXPECT_EQ(rows.UndoObj().UndoList().back().OldText, "");
    EXPECT_EQ(rows.UndoObj().UndoList().back().OldEnding, reNoBreak);
    rows.ReplaceRows(0, 1, "");
    EXPECT_EQ(rows.UndoObj().UndoList().back().OldText, "a\r\n");
    EXPECT_EQ(rows.UndoObj().UndoList().back().NewRowCount, 0);
    Load(rows, "a.B");
    rows.ReplaceRows(1, 0, "z\r\n");
    EXPECT_EQ(rows.UndoObj().UndoList().back().OldEnding, reInvalid);
    EXPECT_EQ(rows.UndoObj().UndoList().back().OldText, "");
}

TEST(EditorUndo, HistoryLimitAndRedoClearing) {
    TEditorScreenStrings rows;
    TEditorUndoObj& undo = rows.UndoObj();
    for (int i = 0; i < 70; ++i) rows.ReplaceRows(0, 0, "x");
    EXPECT_EQ(undo.UndoList().size(), 64u);
    undo.SetUndoListMax(10);
    EXPECT_EQ(undo.UndoListMax(), 64);
    undo.SetUndoListMax(100);
    for (int i = 0; i < 70; ++i) rows.ReplaceRows(0, 0, "x");
    EXPECT_EQ(undo.UndoList().size(), 100u);
    undo.RedoList().push_back({});
    undo.SetReplaying(true);
    undo.BeginRecord();
    EXPECT_TRUE(undo.CanRedo());
    undo.SetReplaying(false);
    rows.ReplaceRows(0, 0, "x");
    EXPECT_FALSE(undo.CanRedo());
    rows.ClearAll();
    EXPECT_FALSE(undo.CanUndo());
}

TEST(RowMarks, FollowTheirRowsThroughEdits) {
    struct Case {
        const char* before;
        std::vector<std::uint16_t> marks;
        int caretCol;
        int row, count;
        const char* text;
        std::vector<std::uint16_t> after;
        std::uint16_t inUse;
    } cases[] = {
        // Deleting a line hands its marks to the line taking its place.
        {"a.B b.B c.B", {0, 2, 4}, 0, 1, 1, "", {0, 6}, 6},
        {"a.B b.B c.N", {0, 2, 4}, 0, 2, 1, "", {0, 6}, 6},
        {"a.B b.B", {1, 2}, 0, 0, 2, "", {}, 0},
        // Replacing two rows by one: the marks meet in the one.
        {"a.B b.B c.B", {1, 2, 4}, 0, 0, 1, "x", {3, 4}, 7},
        // Same count: every row keeps its own.
        {"a.B b.B c.B", {1, 2, 4}, 5, 0, 1, "x\r\n", {1, 2, 4}, 7},
        // A break typed at column 0 pushes the row (and its mark) down...
        {"x.B abc.N", {1, 2}, 0, 1, 1, "\r\nabc", {1, 0, 2}, 3},
        // ...typed inside the row, the mark stays where the row begins.
        {"x.B abc.N", {1, 2}, 2, 1, 1, "ab\r\nc", {1, 2, 0}, 3},
        {"x.B abc.N", {1, 2}, 2, 1, 1, "ab\r\n\r\nc", {1, 2, 0, 0}, 3},
    };
    for (const auto& c : cases) {
        TEditorScreenStrings rows({2, 64});
        TFakeEditor ed;
        ed.caretCol = c.caretCol;
        rows.Attach(&ed);
        Load(rows, c.before);
        PutMarks(rows, c.marks);
        rows.ReplaceRows(c.row, c.count, c.text);
        EXPECT_EQ(Marks(rows), c.after) << c.before << " " << c.row << "," << c.count;
        EXPECT_EQ(rows.MarksInUse(), c.inUse) << c.before;
    }
}

TEST(RowMarks, PutRowsByCountOfNewRows) {
    struct Case {
        int newRows;
        int caretCol;
        std::vector<std::uint16_t> after;  // rows 0..: old marks 1,2,4,8,16 on five rows
        std::uint16_t inUse;
    } cases[] = {
        {0, 0, {1, 16}, 17},                 // nothing left: 2|4|8 dropped
        {1, 0, {1, 14, 16}, 31},             // surplus (2,4) into the only row, 8 joins it
        {2, 0, {1, 6, 8, 16}, 31},           // surplus 2 into the first, 4 and 8 keep places
        {3, 0, {1, 2, 4, 8, 16}, 31},        // same count
        {5, 0, {1, 0, 0, 2, 4, 8, 16}, 31},  // more, column 0: first row's marks move down
        {5, 3, {1, 2, 0, 0, 4, 8, 16}, 31},  // more, column 3: they stay on the first new row
    };
    for (const auto& c : cases) {
        TEditorScreenStrings rows({3, 64});
        TFakeEditor ed;
        ed.caretCol = c.caretCol;
        rows.Attach(&ed);
        for (int r = 0; r < 5; ++r) {
            QUODLE_BOGUS_RESTRICT_BEGIN
            rows.Add("r" + std::to_string(r));
            QUODLE_BOGUS_RESTRICT_END
            rows.SetRowMarks(r, static_cast<std::uint16_t>(1 << r));
        }
        rows.SetMarksInUse(31);
        TEditorStringList scratch;
        QUODLE_BOGUS_RESTRICT_BEGIN
        for (int k = 0; k < c.newRows; ++k) scratch.Add("n" + std::to_string(k));
        QUODLE_BOGUS_RESTRICT_END
        rows.PutRows(1, 3, scratch);
        EXPECT_EQ(Marks(rows), c.after) << c.newRows << " rows, column " << c.caretCol;
        EXPECT_EQ(rows.MarksInUse(), c.inUse) << c.newRows;
    }
}

std::vector<TRowParseState> FreshStates(const TEditorStringList& rows) {
    TBraceParser p;
    std::vector<TRowParseState> out;
    if (rows.Count() == 0) return out;
    TRowParseState s = InitialRowState(rows.RowEnding(0));
    for (int r = 0; r < rows.Count(); ++r) {
        s.RowEnding = rows.RowEnding(r);
        out.push_back(s);
        TRowParseState next = p.ScanRow(rows.View(r), s);
        next.PrevRowEnding = s.RowEnding;
        s = next;
    }
    return out;
}

class RowStates : public ::testing::Test {
protected:
    void SetUp() override {
        ed.parser = &parser;
        ed.initBracketsFull = true;
        ed.screenHeight = 5 * 16;  // lookahead: ten rows
        rows.Attach(&ed);
        std::string text;
        for (int r = 0; r < 30; ++r) text += r == 3 ? "{\r\n" : r == 12 ? "}\r\n" : "x\r\n";
        rows.SetAllText(text);
    }
    void ExpectComputed(int first, int last) {
        for (int r = 0; r < rows.Count(); ++r)
            EXPECT_EQ(rows.StateComputed(r), r >= first && r <= last) << "row " << r;
    }
    TEditorScreenStrings rows{{4, 64}};
    TFakeEditor ed;
    TBraceParser parser;
};

TEST_F(RowStates, FullInitialComputation) {
    ExpectComputed(0, 29);
    const auto fresh = FreshStates(rows);
    for (int r = 0; r < 30; ++r) {
        EXPECT_EQ(rows.ElementIndex(r), r >= 4 && r <= 12 ? 1 : 0) << r;
        EXPECT_EQ(rows.StateText(r), r >= 4 && r <= 12 ? "open" : "") << r;
        EXPECT_EQ(rows.BracketIndex(r), -1);
        EXPECT_TRUE(rows.RowState(r).SameStateAs(fresh[static_cast<std::size_t>(r)]));
    }
}

TEST_F(RowStates, StopAtTheFirstUnchangedRow) {
    parser.scans = 0;
    ed.ClearLog();
    rows.ReplaceRows(5, 1, "y\r\n");  // rebuilds rows 5 and 6, state unchanged
    EXPECT_EQ(rows.LastChange().StatesChanged, 2);
    EXPECT_EQ(parser.scans, 3);  // rows 4, 5, 6
    EXPECT_EQ(ed.invalidFirst, 5);
    EXPECT_EQ(ed.invalidLast, 6);
    ExpectComputed(0, 29);
}

TEST_F(RowStates, LookaheadLimitAndInvalidationBeyond) {
    ed.ClearLog();
    rows.ReplaceRows(14, 1, "{\r\n");  // every row below changes
    EXPECT_EQ(rows.LastChange().StatesChanged, 11);  // rows 14..24
    EXPECT_EQ(ed.invalidFirst, 14);
    EXPECT_EQ(ed.invalidLast, 24);
    ExpectComputed(0, 24);
    EXPECT_EQ(rows.ElementIndex(24), 1);
    // Drawing row 28 computes it from the nearest computed row above, and
    // a stretch below it (here to the end).
    const TRowParseState s = rows.EnsureRowState(28);
    EXPECT_EQ(s.ElementIndex, 1);
    EXPECT_EQ(s.StateText, "open");
    ExpectComputed(0, 29);
    const auto fresh = FreshStates(rows);
    for (int r = 0; r <= 29; ++r) EXPECT_TRUE(rows.RowState(r).SameStateAs(fresh[static_cast<std::size_t>(r)])) << r;
}

TEST_F(RowStates, APassDownTheDocumentScansEachRowAboutOnce) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += i % 7 == 0 ? "{\r\n" : (i % 11 == 0 ? "}\r\n" : "x\r\n");
    ed.initBracketsFull = false;
    rows.SetAllText(text);
    parser.scans = 0;
    for (int r = 0; r < rows.Count(); ++r) rows.EnsureRowState(r);
    EXPECT_LE(parser.scans, rows.Count() + rows.Count() / 200);
    const auto fresh = FreshStates(rows);
    for (int r = 0; r < rows.Count(); ++r)
        ASSERT_TRUE(rows.RowState(r).SameStateAs(fresh[static_cast<std::size_t>(r)])) << r;
}

TEST_F(RowStates, AllStatesUpToTwoScreensBelowTheTopRow) {
    ed.initBracketsFull = false;
    ed.topRow = 3;
    rows.UpdateAllStates();
    ExpectComputed(0, 13);
    EXPECT_EQ(rows.EnsureRowState(0).BracketIndex, -1);
    ed.parser = nullptr;
    rows.UpdateAllStates();
    ExpectComputed(-1, -1);
    EXPECT_EQ(rows.UpdateStates(0, true), 0);
    EXPECT_EQ(rows.EnsureRowState(5).BracketIndex, -2);
}

TEST_F(RowStates, PrevRowEndingFollowsTheRowAbove) {
    rows.SetRowEnding(7, reWrapped);
    rows.UpdateAllStates();
    EXPECT_EQ(rows.PrevRowEnding(7), reBreak);
    EXPECT_EQ(rows.PrevRowEnding(8), reWrapped);
    EXPECT_EQ(rows.PrevRowEnding(9), reBreak);
    EXPECT_EQ(rows.RowEnding(7), reWrapped);  // storing states keeps endings
}

// Random edits against a model that holds the text as one string: each
// ReplaceRows replaces the bytes of the given rows (breaks included).
TEST(ReplaceRows, RandomEditsMatchATextModel) {
    const char* pieces[] = {"a", "bc", "{", "}", "\r\n", "\r", "\n", "\x82\xA0", "x\r\ny"};
    for (int blockRows = 1; blockRows <= 4; ++blockRows) {
        std::mt19937 rng(static_cast<unsigned>(blockRows));
        auto rnd = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        TEditorScreenStrings rows({blockRows, static_cast<std::size_t>(blockRows * 3)});
        TFakeEditor ed;
        TBraceParser parser;
        ed.parser = &parser;
        ed.screenHeight = 3 * 16;  // lookahead of six rows: states often left behind
        rows.Attach(&ed);
        std::string model = "a\r\n{b\r\nc}";
        rows.SetAllText(model);
        TEditorStrings lines(rows);
        for (int step = 0; step < 1500; ++step) {
            // Row offsets within the model text.
            std::vector<std::size_t> starts{0};
            for (int r = 0; r < rows.Count(); ++r)
                starts.push_back(starts.back() + rows.View(r).size() + (rows.RowEnding(r) == reBreak ? 2 : 0));
            const int n = rows.Count();
            const int row = rnd(n + 1), count = rnd(std::min(n - row, 3) + 1);
            std::string text;
            for (int k = rnd(4); k > 0; --k) text += pieces[rnd(9)];
            rows.ReplaceRows(row, count, text);
            if (count > 0 || !text.empty())
                model.replace(starts[static_cast<std::size_t>(row)],
                              starts[static_cast<std::size_t>(row + count)] - starts[static_cast<std::size_t>(row)], text);
            model = std::regex_replace(model, std::regex("\r\n|\r|\n"), "\r\n");
            ASSERT_EQ(lines.Text(), model) << "block " << blockRows << " step " << step;
            ASSERT_EQ(rows.Count() > 0 && rows.RowEnding(rows.Count() - 1) == reNoBreak,
                      !model.empty() && model.back() != '\n');
            if (step % 7 == 0) {
                const auto fresh = FreshStates(rows);
                for (int r = rows.Count() - 1; r >= 0; --r)
                    ASSERT_TRUE(rows.EnsureRowState(r).SameStateAs(fresh[static_cast<std::size_t>(r)]))
                        << "block " << blockRows << " step " << step << " row " << r;
            }
        }
    }
}

// One row list edited by what changes (head, tail and the text between),
// the other by the same edits as whole rows' new text: rows, endings, marks,
// states, carets, undo and redo stay alike step for step. With word wrap
// off an edit inside a row changes that row alone and its undo step keeps
// no more than the bytes it replaced.
TEST(ReplaceRows, EditsByWhatChangesMatchEditsByWholeRows) {
    const char* pieces[] = {"a", "bc", "{", "}", "\x82\xA0", " ", "\t", "\r\n", "x\ny"};
    struct TSide {
        TEditorScreenStrings rows;
        TFakeEditor ed;
        TBraceParser parser;
        TSide(TRowBlockSize blocks, bool wrap) : rows(blocks) {
            ed.focused = true;
            ed.parser = &parser;
            ed.screenHeight = 3 * 16;
            rows.Attach(&ed);
            rows.WrapOption().SetWrapByte(20);
            rows.SetWordWrap(wrap);
            rows.SetAllText("ab{c\r\n\r\nde}f\r\n{gh\r\n}");
        }
    };
    for (int blockRows = 1; blockRows <= 3; ++blockRows) {
        for (const bool wrap : {false, true}) {
            std::mt19937 rng(static_cast<unsigned>(blockRows * 2 + wrap));
            auto rnd = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
            const TRowBlockSize blocks{blockRows, static_cast<std::size_t>(blockRows * 8)};
            TSide parts(blocks, wrap), whole(blocks, wrap);
            for (int step = 0; step < 1500; ++step) {
                const std::string where = "block " + std::to_string(blockRows) + (wrap ? " wrap" : "") + " step " +
                                          std::to_string(step);
                const int n = parts.rows.Count();
                const std::size_t what = rnd(12);
                if (what == 0) {
                    ASSERT_EQ(parts.rows.Undo(), whole.rows.Undo()) << where;
                } else if (what == 1) {
                    ASSERT_EQ(parts.rows.Redo(), whole.rows.Redo()) << where;
                } else if (what == 2 && n > 0) {
                    const int row = static_cast<int>(rnd(static_cast<std::size_t>(n))), mark = static_cast<int>(rnd(12));
                    parts.rows.SetRowMark(row, mark);
                    whole.rows.SetRowMark(row, mark);
                } else if (n > 0) {
                    // One row mostly, two now and then (the change then
                    // crosses a row end); the caret where the change starts.
                    const int row = static_cast<int>(rnd(static_cast<std::size_t>(n)));
                    const int count = row + 1 < n && rnd(4) == 0 ? 2 : 1;
                    const std::string old = parts.rows.RowsText(row, count).text;
                    const std::size_t head = rnd(old.size() + 1);
                    const std::size_t end = head + rnd(std::min<std::size_t>(old.size() - head, 4) + 1);
                    std::string text;
                    for (std::size_t k = rnd(3); k > 0; --k) text += pieces[rnd(what < 5 ? 9 : 7)];
                    if (head == end && text.empty()) text = "a";
                    for (TSide* side : {&parts, &whole}) {
                        side->ed.caretRow = row;
                        side->ed.caretCol = static_cast<int>(std::min(head, parts.rows.View(row).size()));
                    }
                    // A last row left empty without a break goes: that is no edit inside it.
                    const std::size_t rowSize = parts.rows.View(row).size();
                    const bool inRow = !wrap && count == 1 && end <= rowSize &&
                                       text.find_first_of("\r\n") == std::string::npos &&
                                       (parts.rows.RowEnding(row) != reNoBreak || rowSize - (end - head) + text.size() > 0);
                    const std::size_t records = parts.rows.UndoObj().UndoList().size();
                    parts.rows.ReplaceRows(row, count, head, old.size() - end, text);
                    whole.rows.ReplaceRows(row, count, old.substr(0, head) + text + old.substr(end));
                    if (inRow && parts.rows.UndoObj().UndoList().size() > records) {
                        EXPECT_EQ(parts.rows.LastChange().OldRowCount, 1) << where;
                        EXPECT_EQ(parts.rows.LastChange().NewRowCount, 1) << where;
                        EXPECT_LE(parts.rows.UndoObj().UndoList().back().OldText.size(), end - head) << where;
                    }
                }
                ASSERT_EQ(Dump(parts.rows), Dump(whole.rows)) << where;
                ASSERT_EQ(Marks(parts.rows), Marks(whole.rows)) << where;
                ASSERT_EQ(parts.rows.MarksInUse(), whole.rows.MarksInUse()) << where;
                ASSERT_EQ(parts.rows.CanUndo(), whole.rows.CanUndo()) << where;
                ASSERT_EQ(parts.rows.CanRedo(), whole.rows.CanRedo()) << where;
                ASSERT_EQ(parts.ed.caretRow, whole.ed.caretRow) << where;
                ASSERT_EQ(parts.ed.caretCol, whole.ed.caretCol) << where;
                if (step % 5 == 0) {
                    const auto fresh = FreshStates(parts.rows);
                    for (int r = parts.rows.Count() - 1; r >= 0; --r)
                        ASSERT_TRUE(parts.rows.EnsureRowState(r).SameStateAs(fresh[static_cast<std::size_t>(r)]))
                            << where << " row " << r;
                }
            }
        }
    }
}

TEST(EditorScreenStrings, NotifiesOncePerEditAndOnceAtTheEndOfABlock) {
    TEditorScreenStrings rows;
    TFakeEditor a, b;
    a.caretRow = 9;
    a.topRow = 8;
    b.caretRow = 2;
    rows.Attach(&a);
    rows.Attach(&b);
    rows.SetAllText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
    a.caretRow = 9;
    a.topRow = 8;
    b.caretRow = 2;
    a.ClearLog();
    b.ClearLog();
    rows.ReplaceRows(0, 1, "x\r\n");
    EXPECT_EQ(a.Log(), "changed");
    a.ClearLog();
    b.ClearLog();
    rows.BeginUpdate();
    rows.ReplaceRows(3, 7, "");
    rows.ReplaceRows(0, 1, "");
    EXPECT_TRUE(rows.LastChange().Set);
    EXPECT_EQ(a.Log(), "");
    rows.EndUpdate();
    // Two rows left, the last without a break: carets beyond go to row 1.
    EXPECT_EQ(Dump(rows), "2.B 3.B");
    EXPECT_EQ(a.Log(), "caret 2,0 top 2 changed");
    EXPECT_EQ(b.Log(), "changed");
    EXPECT_FALSE(rows.LastChange().Set);
    EXPECT_FALSE(rows.Detach(&a));
    EXPECT_EQ(rows.Owner(), &b);
    EXPECT_TRUE(rows.Detach(&b));
}

}  // namespace
}  // namespace quodle
