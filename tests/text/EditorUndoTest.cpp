#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "support/RowDump.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

using test::Dump;
using test::Load;
using test::Marks;
using test::PutMarks;
using test::TBraceParser;
using test::TFakeEditor;

struct UndoFixture : ::testing::Test, test::TFocusedRows {
    UndoFixture() : TFocusedRows({2, 16}) {}
    // Types one character at the caret as the editor does.
    void Type(char c) {
        std::string text = ed.caretRow < rows.Count() ? rows.Get(ed.caretRow) : "";
        text.insert(static_cast<std::size_t>(ed.caretCol), 1, c);
        if (ed.caretRow < rows.Count() && rows.RowEnding(ed.caretRow) == reBreak) text += "\r\n";
        rows.ReplaceRows(ed.caretRow, ed.caretRow < rows.Count() ? 1 : 0, text);
        ++ed.caretCol;
    }
};

TEST_F(UndoFixture, TypingUndoesOneCharacterAtATime) {
    for (char c : std::string("abc")) Type(c);
    EXPECT_EQ(Dump(rows), "abc.N");
    const char* texts[] = {"ab", "a", ""};
    const char* carets[] = {"caret 0,2", "caret 0,1", "caret 0,0"};
    for (int i = 0; i < 3; ++i) {
        ed.ClearLog();
        EXPECT_TRUE(rows.CanUndo());
        EXPECT_TRUE(rows.Undo());
        EXPECT_EQ(lines.Text(), texts[i]);
        // Caret and painting suspended around the step, one change notice.
        EXPECT_EQ(ed.Log(), std::string("caret{ block{ ") + carets[i] + " changed }block }caret");
    }
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_FALSE(rows.CanUndo());
    ed.ClearLog();
    EXPECT_FALSE(rows.Undo());
    EXPECT_EQ(ed.Log(), "");
    // Redo retypes, and puts the caret where it was before each undo.
    for (const char* text : {"a", "ab", "abc"}) {
        EXPECT_TRUE(rows.Redo());
        EXPECT_EQ(lines.Text(), text);
    }
    EXPECT_EQ(ed.caretCol, 3);
    EXPECT_FALSE(rows.Redo());
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 3u);
}

// A step keeps what it changed, not the line it changed: typing into a
// long line costs a few bytes of history per keystroke, in both directions.
TEST_F(UndoFixture, StepsInALongLineKeepOnlyWhatChanged) {
    std::string line;
    for (int i = 0; line.size() < 20000; ++i) line += "(setq a" + std::to_string(i) + " 1) ";
    rows.SetAllText(line + "\r\nnext");
    ed.caretCol = 500;
    for (char c : std::string("xyz")) Type(c);
    for (const TUndoData& u : rows.UndoObj().UndoList()) EXPECT_LE(u.OldText.size(), 4u);
    const std::string typed = line.substr(0, 500) + "xyz" + line.substr(500) + "\r\nnext";
    EXPECT_TRUE(rows.Undo());
    EXPECT_TRUE(rows.Undo());
    EXPECT_EQ(lines.Text(), line.substr(0, 500) + "x" + line.substr(500) + "\r\nnext");
    for (const TUndoData& u : rows.UndoObj().RedoList()) EXPECT_LE(u.OldText.size(), 4u);
    EXPECT_TRUE(rows.Undo());
    EXPECT_EQ(lines.Text(), line + "\r\nnext");
    while (rows.Redo()) {
    }
    EXPECT_EQ(lines.Text(), typed);
}

TEST_F(UndoFixture, PasteOfThreeLinesIsOneStep) {
    lines.SetText("head\r\ntail");
    ed.caretRow = 1;
    ed.caretCol = 2;
    rows.ReplaceRows(1, 1, "ta1\r\n2\r\n3\r\nil");
    EXPECT_EQ(Dump(rows), "head.B ta1.B 2.B 3.B il.N");
    ed.caretRow = 4;
    ed.caretCol = 0;
    EXPECT_TRUE(rows.Undo());
    EXPECT_EQ(Dump(rows), "head.B tail.N");
    EXPECT_EQ(ed.caretRow, 1);
    EXPECT_EQ(ed.caretCol, 2);
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_TRUE(rows.Redo());
    EXPECT_EQ(Dump(rows), "head.B ta1.B 2.B 3.B il.N");
    EXPECT_EQ(ed.caretRow, 4);  // where the caret stood when the paste was undone
    EXPECT_EQ(ed.caretCol, 0);
}

TEST_F(UndoFixture, OnlyTheNewestStepsUpToTheLimitUndo) {
    for (int i = 0; i < 65; ++i) lines.Add(std::to_string(i));
    int undone = 0;
    while (rows.Undo()) ++undone;
    EXPECT_EQ(undone, 64);
    EXPECT_EQ(lines.Text(), "0\r\n");
    rows.UndoObj().SetUndoListMax(10);
    EXPECT_EQ(rows.UndoObj().UndoListMax(), 64);
}

TEST_F(UndoFixture, ANewEditClearsRedo) {
    lines.SetText("a\r\nb\r\n");
    lines.Put(0, "x");
    rows.Undo();
    EXPECT_TRUE(rows.CanRedo());
    lines.Put(1, "y");
    EXPECT_FALSE(rows.CanRedo());
    EXPECT_FALSE(rows.Redo());
    EXPECT_EQ(lines.Text(), "a\r\ny\r\n");
}

// A text kept without history still takes every edit, single and grouped,
// and has nothing to undo or redo afterwards.
TEST_F(UndoFixture, WithoutHistoryEditsApplyAndNothingUndoes) {
    lines.SetText("a\r\nb\r\n");
    lines.Put(0, "x");
    rows.UndoObj().KeepNoHistory();
    EXPECT_FALSE(rows.CanUndo());
    lines.Put(1, "y");
    rows.UndoObj().BeginGroup();
    lines.Put(0, "p");
    lines.Add("q");
    rows.UndoObj().EndGroup();
    EXPECT_EQ(lines.Text(), "p\r\ny\r\nq\r\n");
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_FALSE(rows.Undo());
    EXPECT_FALSE(rows.CanRedo());
}

TEST_F(UndoFixture, FocusedEditorGetsTheCaretOthersKeepTheirs) {
    TFakeEditor other;
    rows.Attach(&other);
    lines.SetText("one\r\ntwo\r\n");
    other.caretRow = 1;
    other.caretCol = 1;
    ed.caretRow = 0;
    ed.caretCol = 3;
    rows.ReplaceRows(0, 1, "ONE\r\n");
    ed.caretRow = 1;
    ed.caretCol = 0;
    other.ClearLog();
    rows.Undo();
    EXPECT_EQ(ed.caretRow, 0);
    EXPECT_EQ(ed.caretCol, 3);
    EXPECT_EQ(other.caretRow, 1);
    EXPECT_EQ(other.caretCol, 1);
    EXPECT_EQ(other.Log(), "caret{ block{ changed }block }caret");
}

TEST_F(UndoFixture, MultiLineEditsInsideAnUpdateBlock) {
    lines.SetText("a\r\nb\r\nc\r\nd");
    // A block indent: every selected row rebuilt by one ReplaceRows.
    lines.BeginUpdate();
    rows.ReplaceRows(0, 4, " a\r\n b\r\n c\r\n d");
    lines.EndUpdate();
    // Several edits in one block: one step each.
    lines.BeginUpdate();
    lines.Put(0, ";a");
    lines.Delete(2);
    lines.Insert(1, "new");
    lines.Add("e");
    lines.EndUpdate();
    EXPECT_EQ(lines.Text(), ";a\r\nnew\r\n b\r\n d\r\ne");
    for (const char* text : {";a\r\nnew\r\n b\r\n d", ";a\r\n b\r\n d", ";a\r\n b\r\n c\r\n d",
                             " a\r\n b\r\n c\r\n d", "a\r\nb\r\nc\r\nd"}) {
        ASSERT_TRUE(rows.Undo());
        EXPECT_EQ(lines.Text(), text);
    }
    EXPECT_FALSE(rows.CanUndo());
    // An undo inside an open block tells the editors only when it closes.
    rows.Redo();
    lines.BeginUpdate();
    ed.ClearLog();
    rows.Undo();
    EXPECT_EQ(ed.Log(), "caret{ block{ caret 0,0 }block }caret");
    lines.EndUpdate();
    EXPECT_EQ(ed.Log(), "caret{ block{ caret 0,0 }block }caret changed }block repaint");
    EXPECT_EQ(lines.Text(), "a\r\nb\r\nc\r\nd");
}

TEST_F(UndoFixture, RowMarksSurviveUndoAndRedo) {
    struct Case {
        const char* before;
        std::vector<std::uint16_t> marks;
        int caretCol;
        int row, count;
        const char* text;
        std::vector<std::uint16_t> afterEdit, afterUndo, afterRedo;
    } cases[] = {
        // A deleted marked row: its mark went to the row taking its place and
        // stays there when the row comes back.
        {"a.B b.B c.B", {0, 8, 0}, 0, 1, 1, "", {0, 8}, {0, 0, 8}, {0, 8}},
        // The last rows deleted: the marks go to the new last row.
        {"a.B b.B c.N", {0, 0, 4}, 0, 1, 2, "", {4}, {4, 0, 0}, {4}},
        // Rows replaced by fewer: the marks meet; when the rows come back,
        // the first row's marks follow the rule of a break typed at column 0.
        {"a.B b.B c.B", {1, 2, 4}, 0, 0, 2, "x\r\n", {3, 4}, {0, 3, 4}, {3, 4}},
        {"a.B b.B c.B", {1, 2, 4}, 1, 0, 2, "x\r\n", {3, 4}, {3, 0, 4}, {3, 4}},
        // Rows added at the end and taken away again.
        {"a.B", {1}, 0, 1, 0, "x\r\ny\r\n", {1, 0, 0}, {1}, {1, 0, 0}},
    };
    for (const auto& c : cases) {
        Load(rows, c.before);
        rows.UndoObj().ClearHistory();
        const std::uint16_t all = PutMarks(rows, c.marks);
        ed.caretCol = c.caretCol;
        rows.ReplaceRows(c.row, c.count, c.text);
        EXPECT_EQ(Marks(rows), c.afterEdit) << c.before;
        ed.caretCol = c.caretCol;
        rows.Undo();
        EXPECT_EQ(Marks(rows), c.afterUndo) << c.before;
        EXPECT_EQ(Dump(rows), c.before);
        ed.caretCol = c.caretCol;
        rows.Redo();
        EXPECT_EQ(Marks(rows), c.afterRedo) << c.before;
        EXPECT_EQ(rows.MarksInUse(), all) << c.before;
    }
    // A mark placed on an added row outlives the row's undo.
    Load(rows, "a.B");
    rows.ReplaceRows(1, 0, "x\r\n");
    rows.SetRowMarks(1, 2);
    rows.Undo();
    EXPECT_EQ(Marks(rows), std::vector<std::uint16_t>{2});
}

TEST_F(UndoFixture, ClearedWhenTheWholeTextIsReplaced) {
    lines.SetText("a");
    lines.Add("b");
    rows.Undo();
    ASSERT_TRUE(rows.CanRedo());
    lines.SetText("c");
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_FALSE(rows.CanRedo());
    lines.Add("d");
    lines.Clear();
    EXPECT_FALSE(rows.CanUndo());
}

TEST_F(UndoFixture, ARecordThatNoLongerFitsTheRowsIsDropped) {
    lines.SetText("a\r\nb\r\nc\r\n");
    rows.ReplaceRows(1, 1, "x\r\ny\r\nz\r\n");
    rows.ReplaceRows(4, 1, "w\r\n");
    // Rows removed behind the gateway: the records point past the text.
    rows.DeleteRange(0, 4);
    EXPECT_FALSE(rows.Undo());
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_EQ(Dump(rows), "w.B");
}

// Random edits, undos and redos against a history of whole texts: each edit
// adds a text (the oldest dropped beyond 64 steps), undo and redo walk it.
TEST(EditorUndo, RandomEditsUndoAndRedoThroughTheirHistory) {
    const char* pieces[] = {"a", "bc", "{", "}", "\r\n", "\r", "\n", "\x82\xA0", "x\r\ny", ""};
    for (int blockRows = 1; blockRows <= 4; ++blockRows) {
        std::mt19937 rng(static_cast<unsigned>(100 + blockRows));
        auto rnd = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        TEditorScreenStrings rows({blockRows, static_cast<std::size_t>(blockRows * 3)});
        TFakeEditor ed;
        TBraceParser parser;
        ed.parser = &parser;
        ed.screenHeight = 3 * 16;
        rows.Attach(&ed);
        TEditorStrings lines(rows, &ed);
        lines.SetText("a\r\n{b\r\nc}");
        std::vector<std::string> history{lines.Text()};
        std::size_t at = 0;
        auto pieceText = [&](int max) {
            std::string t;
            for (int k = rnd(max); k > 0; --k) t += pieces[rnd(10)];
            return t;
        };
        for (int step = 0; step < 3000; ++step) {
            const int what = rnd(10);
            const std::string where = "block " + std::to_string(blockRows) + " step " + std::to_string(step);
            if (what < 3) {
                ASSERT_EQ(rows.Undo(), at > 0) << where;
                if (at > 0) --at;
            } else if (what < 5) {
                ASSERT_EQ(rows.Redo(), at + 1 < history.size()) << where;
                if (at + 1 < history.size()) ++at;
            } else {
                const int n = rows.Count();
                if (what < 8 || n == 0) {
                    const int row = rnd(n + 1), count = rnd(std::min(n - row, 3) + 1);
                    std::string text = pieceText(4);
                    if (count == 0 && text.empty()) text = "q";
                    if (n > 0 && rnd(5) == 0) rows.SetRowMarks(rnd(n), 1);
                    rows.ReplaceRows(row, count, text);
                } else {
                    const int line = rnd(lines.Count());
                    switch (what) {
                        case 8: lines.Put(line, pieces[rnd(4)]); break;
                        default: rnd(2) ? lines.Delete(line) : lines.Insert(line, pieces[rnd(4)]); break;
                    }
                }
                history.resize(at + 1);
                history.push_back(lines.Text());
                if (history.size() > 65) history.erase(history.begin());
                at = history.size() - 1;
            }
            ASSERT_EQ(lines.Text(), history[at]) << where;
            ASSERT_EQ(rows.CanUndo(), at > 0) << where;
            ASSERT_EQ(rows.CanRedo(), at + 1 < history.size()) << where;
            const std::string& model = history[at];
            ASSERT_EQ(rows.Count() > 0 && rows.RowEnding(rows.Count() - 1) == reNoBreak,
                      !model.empty() && model.back() != '\n')
                << where;
            if (step % 11 == 0) {
                // States after replays match a scan from the top.
                TRowParseState s = InitialRowState(rows.Count() ? rows.RowEnding(0) : reInvalid);
                for (int r = 0; r < rows.Count(); ++r) {
                    s.RowEnding = rows.RowEnding(r);
                    ASSERT_TRUE(rows.EnsureRowState(r).SameStateAs(s)) << where << " row " << r;
                    TRowParseState next = parser.ScanRow(rows.View(r), s);
                    next.PrevRowEnding = s.RowEnding;
                    s = next;
                }
            }
        }
    }
}

}  // namespace
}  // namespace quodle
