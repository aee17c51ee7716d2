#include "text/LineEdits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "support/RowDump.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

using test::Dump;

struct LineEditsFixture : ::testing::Test, test::TFocusedRows {
    LineEditsFixture() : TFocusedRows({2, 16}) {}
};

TEST(LineEditsList, KeepsItsOrderAndMapsOldLinesToNew) {
    TLineEdits edits;
    edits.Insert(1, "n1");
    edits.Insert(1, "n2");
    edits.Replace(1, "r");
    edits.Delete(3);
    edits.Delete(4);
    EXPECT_THROW(edits.Replace(4, "x"), std::invalid_argument);
    EXPECT_THROW(edits.Insert(2, "x"), std::invalid_argument);
    EXPECT_THROW(TLineEdits().Delete(-1), std::invalid_argument);
    ASSERT_EQ(edits.size(), 5u);
    EXPECT_EQ(edits.Text(edits[1]), "n2");
    // 0 stays; 1 moves below the two new lines; 3 and 4 go, 5 takes their place.
    const int expected[] = {0, 3, 4, 5, 5, 5};
    for (int line = 0; line < 6; ++line) EXPECT_EQ(edits.NewLineOf(line), expected[line]) << line;
}

// Each case: the text, the edits, the text afterwards (bytes, as saved).
TEST_F(LineEditsFixture, EditsKeepWhetherTheTextEndsWithABreak) {
    struct Case {
        const char* before;
        void (*edit)(TLineEdits&);
        const char* after;
    } cases[] = {
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Replace(1, "B"); }, "a\r\nB\r\nc"},
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Replace(2, "C"); }, "a\r\nb\r\nC"},
        {"a\r\nb\r\nc\r\n", [](TLineEdits& e) { e.Replace(2, "C"); }, "a\r\nb\r\nC\r\n"},
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Delete(2); }, "a\r\nb"},
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Delete(1), e.Delete(2); }, "a"},
        {"a\r\nb\r\nc\r\n", [](TLineEdits& e) { e.Delete(2); }, "a\r\nb\r\n"},
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Delete(0), e.Delete(1), e.Delete(2); }, ""},
        {"a\r\nb\r\nc", [](TLineEdits& e) { e.Delete(0), e.Replace(2, "C"); }, "b\r\nC"},
        {"a\r\nb", [](TLineEdits& e) { e.Insert(0, "x"); }, "x\r\na\r\nb"},
        {"a\r\nb", [](TLineEdits& e) { e.Insert(2, "x"); }, "a\r\nb\r\nx"},
        {"a\r\nb\r\n", [](TLineEdits& e) { e.Insert(2, "x"); }, "a\r\nb\r\nx\r\n"},
        {"", [](TLineEdits& e) { e.Insert(0, "x"); }, "x\r\n"},
        {"a\r\nb", [](TLineEdits& e) { e.Insert(1, "x"), e.Insert(1, "y"), e.Replace(1, "B"); }, "a\r\nx\r\ny\r\nB"},
        {"a\r\nb\r\nc\r\nd", [](TLineEdits& e) { e.Replace(0, "A"), e.Delete(1), e.Insert(3, "x"), e.Replace(3, "D"); },
         "A\r\nc\r\nx\r\nD"},
    };
    for (const Case& c : cases) {
        lines.SetText(c.before);
        TLineEdits edits;
        c.edit(edits);
        ApplyLineEdits(rows, edits);
        EXPECT_EQ(lines.Text(), c.after) << c.before;
        // One step, and undo gives the same bytes back.
        EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u) << c.before;
        EXPECT_TRUE(rows.Undo());
        EXPECT_EQ(lines.Text(), c.before);
        EXPECT_FALSE(rows.CanUndo());
        EXPECT_TRUE(rows.Redo());
        EXPECT_EQ(lines.Text(), c.after) << c.before;
    }
}

TEST_F(LineEditsFixture, ManyEditsAreOneStepAndTheCaretComesBackOnUndo) {
    std::string text;
    // 300 KB: more than one ReplaceRows takes.
    const std::string tail(100, '.');
    for (int i = 0; i < 3000; ++i) text += (i % 3 ? "  x" : "y") + std::to_string(i) + tail + "\r\n";
    lines.SetText(text);
    rows.ReplaceRows(0, 1, "first\r\n");  // an earlier step stays as it was
    ed.caretRow = 1500;
    ed.caretCol = 2;
    TLineEdits edits;
    for (int i = 0; i < 3000; ++i)
        if (i % 3) edits.Replace(i, "\t" + rows.Get(i).substr(2));
        else if (i % 999 == 0 && i > 0) edits.Delete(i);
    edits.Insert(3000, "last");
    ed.ClearLog();
    ApplyLineEdits(rows, edits);
    // The editor heard of it once, at the end, and did not move its caret.
    EXPECT_EQ(ed.Log(), "caret{ block{ changed }block }caret");
    EXPECT_EQ(rows.Get(1), "\tx1" + tail);
    // Lines 999, 1998 and 2997 are gone.
    EXPECT_EQ(rows.Get(2995), "\tx2998" + tail);
    EXPECT_EQ(rows.Count(), 2998);
    EXPECT_EQ(rows.Get(2997), "last");
    ASSERT_EQ(rows.UndoObj().UndoList().size(), 2u);
    ed.caretRow = 7;
    ed.caretCol = 0;
    EXPECT_TRUE(rows.Undo());
    EXPECT_EQ(ed.caretRow, 1500);
    EXPECT_EQ(ed.caretCol, 2);
    text.replace(0, 2 + tail.size(), "first");
    EXPECT_TRUE(lines.Text() == text);
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u);
    EXPECT_TRUE(rows.Redo());
    EXPECT_EQ(rows.Get(1), "\tx1" + tail);
    EXPECT_TRUE(rows.Undo());
    EXPECT_TRUE(lines.Text() == text);
}

TEST_F(LineEditsFixture, GroupsNestRecordNothingWhenEmptyAndCountAsOneForTheLimit) {
    lines.SetText("a\r\n");
    rows.UndoObj().BeginGroup();
    rows.UndoObj().BeginGroup();
    rows.ReplaceRows(0, 1, "b\r\n");
    rows.UndoObj().EndGroup();
    // Inside the outer group nothing can be undone yet.
    EXPECT_FALSE(rows.Undo());
    rows.ReplaceRows(0, 1, "c\r\n");
    rows.UndoObj().EndGroup();
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u);
    rows.UndoObj().BeginGroup();
    rows.UndoObj().EndGroup();
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u);
    for (int i = 0; i < 70; ++i) {
        rows.UndoObj().BeginGroup();
        for (int k = 0; k < 3; ++k) rows.ReplaceRows(0, 1, std::to_string(i * 3 + k) + "\r\n");
        rows.UndoObj().EndGroup();
    }
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 64u);
    EXPECT_EQ(rows.UndoObj().UndoList().back().Steps.size(), 3u);
    EXPECT_TRUE(rows.Undo());
    EXPECT_EQ(lines.Text(), "206\r\n");
}

// The caret the step brings back is the one of the editor the command acts
// on, though another has the focus.
TEST_F(LineEditsFixture, TheStepTakesTheCaretOfTheActingEditor) {
    test::TFakeEditor other;
    rows.Attach(&other);
    lines.SetText("a\r\nb\r\n");
    other.caretRow = 1;
    other.caretCol = 1;
    TLineEdits edits;
    edits.Replace(0, "A");
    ApplyLineEdits(rows, edits, &other);
    EXPECT_EQ(rows.UndoObj().UndoList().back().CaretRow, 1);
    EXPECT_EQ(rows.UndoObj().UndoList().back().CaretCol, 1);
    rows.Detach(&other);
}

// Lines as a model: the edits on a vector of lines and marks per line.
struct TModel {
    std::vector<std::string> lines;
    std::vector<std::uint16_t> marks;
    bool finalBreak = true;

    std::string Text() const {
        std::string s;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            s += lines[i];
            if (i + 1 < lines.size() || finalBreak) s += "\r\n";
        }
        return s;
    }
    // The edits from the last to the first, as they are made: a deleted
    // line's marks go to the line then standing in its place, else to the
    // line before it.
    void Apply(const TLineEdits& edits) {
        for (std::size_t k = edits.size(); k-- > 0;) {
            const auto at = static_cast<std::size_t>(edits[k].Line);
            const std::string text(edits.Text(edits[k]));
            if (edits[k].Kind == TLineEdits::leReplace) {
                lines[at] = text;
            } else if (edits[k].Kind == TLineEdits::leInsert) {
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), text);
                marks.insert(marks.begin() + static_cast<std::ptrdiff_t>(at), 0);
            } else {
                const std::uint16_t m = marks[at];
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
                marks.erase(marks.begin() + static_cast<std::ptrdiff_t>(at));
                if (at < marks.size()) marks[at] |= m;
                else if (!marks.empty()) marks.back() |= m;
            }
        }
        // An empty last line without a break is the same text as none.
        if (!finalBreak && !lines.empty() && lines.back().empty()) {
            lines.pop_back();
            const std::uint16_t m = marks.back();
            marks.pop_back();
            if (!marks.empty()) marks.back() |= m;
            finalBreak = true;
        }
    }
};

std::vector<std::uint16_t> LineMarks(const TEditorScreenStrings& rows) {
    std::vector<std::uint16_t> marks(static_cast<std::size_t>(rows.LineCount()), 0);
    for (int r = 0; r < rows.Count(); ++r) marks[static_cast<std::size_t>(rows.RowToLine(r))] |= rows.RowMarksOf(r);
    return marks;
}

// Random edits on random texts, with and without word wrap and marks:
// the rows hold the model's text and marks, one undo gives the bytes back.
TEST(LineEditsRandom, MatchTheModelAndUndoWhole) {
    std::mt19937 rng(15);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::string words[] = {"",   "a", "bb ccc", "\x82\xa0\x82\xa2 dd \x82\xa0\x82\xa2\x82\xa0\x82\xa2\x82\xa0\x82\xa2\x82\xa0 e",
                                 "eeee ffff gggg hhhh iiii jjjj kkkk", "\t;x"};
    for (int round = 0; round < 1000; ++round) {
        TEditorScreenStrings rows({3, 24});
        test::TFakeEditor ed;
        ed.focused = true;
        rows.Attach(&ed);
        TEditorStrings lines(rows, &ed);
        if (round % 3 == 0) {
            rows.WrapOption().SetWrapByte(20);
            rows.SetWordWrap(true);
        }
        TModel model;
        const int n = pick(12);
        std::string text;
        for (int i = 0; i < n; ++i) text += words[pick(6)] + "\r\n";
        if (n > 0 && pick(2)) text += "z";
        lines.SetText(text);
        for (int i = 0; i < lines.Count(); ++i) model.lines.push_back(lines.Get(i));
        model.finalBreak = rows.Count() == 0 || rows.RowEnding(rows.Count() - 1) == reBreak;
        for (int r = 0; r < rows.Count(); ++r)
            if (pick(4) == 0) rows.PutRowMarks(r, static_cast<std::uint16_t>(1u << pick(16)));
        model.marks = LineMarks(rows);
        const std::string before = lines.Text();
        ASSERT_EQ(model.Text(), before);

        TLineEdits edits;
        for (int line = 0; line <= lines.Count(); ++line) {
            // (An empty line added after the last of a text without a final
            // break is no line: the model would need the rows' view of that.)
            if (line == lines.Count()) {
                if (pick(5) == 0) edits.Insert(line, words[1 + pick(5)]);
                break;
            }
            if (pick(5) == 0) edits.Insert(line, words[pick(6)]);
            const int what = pick(6);
            if (what == 0) edits.Replace(line, words[pick(6)] + "r");
            else if (what == 1) edits.Delete(line);
        }
        ed.caretRow = pick(rows.Count() + 1);
        ed.caretCol = pick(3);
        ApplyLineEdits(rows, edits);
        model.Apply(edits);
        ASSERT_EQ(lines.Text(), model.Text()) << "round " << round;
        EXPECT_EQ(LineMarks(rows), model.marks) << "round " << round;
        if (edits.empty()) continue;
        ASSERT_EQ(rows.UndoObj().UndoList().size(), 1u);
        ASSERT_TRUE(rows.Undo());
        ASSERT_EQ(lines.Text(), before) << "round " << round;
        ASSERT_TRUE(rows.Redo());
        ASSERT_EQ(lines.Text(), model.Text()) << "round " << round;
    }
}

}  // namespace
}  // namespace quodle
