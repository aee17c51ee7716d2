#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/BogusRestrict.h"
#include "base/ShiftJis.h"
#include "support/FakeEditor.h"
#include "support/RowDump.h"
#include "support/TempDir.h"
#include "text/EditorStrings.h"

namespace quodle {
namespace {

using test::Dump;
using test::Load;
using test::Marks;
using test::PutMarks;
using test::TBraceParser;
using test::TFakeEditor;

std::string A(int n, char c = 'a') { return std::string(static_cast<std::size_t>(n), c); }

// Rows written with "aN"/"bN" for runs of N letters, so wide rows stay readable.
std::string Short(const std::string& dump) {
    std::string out;
    for (std::size_t i = 0; i < dump.size();) {
        const char c = dump[i];
        std::size_t j = i;
        while (j < dump.size() && dump[j] == c) ++j;
        if ((c == 'a' || c == 'b') && j - i > 3) out += c + std::to_string(j - i);
        else out.append(dump, i, j - i);
        i = j;
    }
    return out;
}

struct WrapFixture : ::testing::Test, test::TFocusedRows {
    WrapFixture() : TFocusedRows({2, 32}) { rows.WrapOption().SetWrapByte(20); }
};

TEST_F(WrapFixture, SwitchingWrapsEveryLineAndKeepsCaretAndTopOnTheirText) {
    lines.SetText(A(25) + "\r\nshort\r\n" + A(45, 'b'));
    lines.Put(1, "Short");
    ASSERT_TRUE(rows.CanUndo());
    ed.caretRow = 2;
    ed.caretCol = 30;
    ed.topRow = 2;
    ed.ClearLog();
    rows.SetWordWrap(true);
    EXPECT_EQ(Short(Dump(rows)), "a20.W a5.B Short.B b20.W b20.W b5.N");
    // The same text cut anew: no change of the text.
    EXPECT_EQ(ed.Log(), "top 3 caret 4,10 repaint relaid");
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(0), A(25));
    EXPECT_EQ(lines.Get(2), A(45, 'b'));
    EXPECT_THROW(lines.Get(3), EListError);
    EXPECT_THROW(lines.Get(-1), EListError);
    EXPECT_EQ(lines.Text(), A(25) + "\r\nShort\r\n" + A(45, 'b'));
    EXPECT_EQ(rows.CellLayout().wrapByte, 20);
    lines.Put(0, "x");
    ed.caretRow = 3;
    ed.caretCol = 10;
    ed.topRow = 2;
    rows.SetWordWrap(false);
    EXPECT_EQ(Short(Dump(rows)), "x.B Short.B b45.N");
    EXPECT_EQ(ed.caretRow, 2);
    EXPECT_EQ(ed.caretCol, 30);
    EXPECT_EQ(ed.topRow, 2);
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_EQ(rows.CellLayout().wrapByte, 0);
}

TEST_F(WrapFixture, WrapAllAndUnwrapAllCarryTheMarks) {
    struct Case {
        std::string before;
        std::vector<std::uint16_t> marks;
        int wrapByte;  // 0: UnwrapAll
        const char* after;
        std::vector<std::uint16_t> afterMarks;
    } cases[] = {
        // Old row i to new row i, the rest into the last new row.
        {A(25) + ".B x.N", {1, 2}, 20, "a20.W a5.B x.N", {1, 0, 2}},
        {A(20) + ".W " + A(20) + ".W " + A(5) + ".B", {1, 2, 4}, 25, "a25.W a20.B", {1, 6}},
        {A(20) + ".W " + A(5) + ".B", {1, 2}, 30, "a25.B", {3}},
        {A(20) + ".W " + A(20) + ".W " + A(5) + ".N", {1, 2, 4}, 0, "a45.N", {7}},
        {A(20) + ".W .B", {0, 8}, 0, "a20.B", {8}},
        // A last row left wrapped still ends the text without a break.
        {"ab.W cd.W", {0, 8}, 0, "abcd.N", {8}},
    };
    for (const Case& c : cases) {
        rows.SetWordWrap(false);
        rows.WrapOption().SetWrapByte(20);
        Load(rows, c.before);
        PutMarks(rows, c.marks);
        const std::string text = lines.Text();
        if (c.wrapByte > 0) {
            rows.WrapOption().SetWrapByte(c.wrapByte);
            rows.WrapAll();
        } else {
            rows.UnwrapAll();
        }
        EXPECT_EQ(Short(Dump(rows)), c.after) << c.before;
        EXPECT_EQ(Marks(rows), c.afterMarks) << c.before;
        EXPECT_EQ(lines.Text(), text) << c.before;
    }
}

TEST_F(WrapFixture, RoundTripKeepsTextAndMarksOfEveryLine) {
    std::mt19937 rng(5);
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += A(static_cast<int>(rng() % 70), static_cast<char>('c' + i % 20));
        QUODLE_BOGUS_RESTRICT_BEGIN
        if (i % 7 == 0) text += "\t" + Utf8ToCp932("あい。「う」");
        QUODLE_BOGUS_RESTRICT_END
        text += "\r\n";
    }
    lines.SetText(text);
    std::vector<std::uint16_t> marks;
    for (int r = 0; r < rows.Count(); ++r) marks.push_back(static_cast<std::uint16_t>(rng() % 3 == 0 ? 1u << (r % 16) : 0));
    PutMarks(rows, marks);
    rows.WrapOption().SetLeading(true);
    rows.SetWordWrap(true);
    EXPECT_GT(rows.Count(), 60);
    EXPECT_EQ(lines.Text(), text);
    EXPECT_EQ(rows.MarksInUse(), [&] {
        std::uint16_t all = 0;
        for (auto m : marks) all |= m;
        return all;
    }());
    // Each line's first row keeps that line's marks (one row per line before).
    for (int line = 0; line < 60; ++line) {
        std::uint16_t got = 0;
        for (int r = rows.LineToRow(line); r <= rows.LineEndRow(rows.LineToRow(line)); ++r) got |= rows.RowMarks(r);
        EXPECT_EQ(got, marks[static_cast<std::size_t>(line)]) << line;
        EXPECT_EQ(rows.RowMarks(rows.LineToRow(line)), marks[static_cast<std::size_t>(line)]) << line;
    }
    rows.SetWordWrap(false);
    EXPECT_EQ(lines.Text(), text);
    EXPECT_EQ(Marks(rows), marks);
}

TEST_F(WrapFixture, OptionsRewrapOnlyWhileWrapIsOn) {
    lines.SetText(A(30) + "\r\n");
    lines.Put(0, A(31));
    int repaints = 0;
    auto countRepaints = [&] {
        repaints = 0;
        for (const auto& e : ed.log) repaints += e == "repaint";
        return repaints;
    };
    ed.ClearLog();
    rows.SetTabSpaceCount(4);  // wrap off: nothing happens
    EXPECT_TRUE(rows.CanUndo());
    rows.WrapOption().SetWrapByte(25);  // no rewrap, but the history goes
    EXPECT_EQ(rows.Count(), 1);
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_EQ(countRepaints(), 0);
    EXPECT_EQ(ed.Log(), "");
    EXPECT_EQ(rows.CellLayout().tabSpaceCount, 4);
    rows.SetWordWrap(true);
    EXPECT_EQ(Short(Dump(rows)), "a25.W a6.B");
    lines.Put(0, A(32));
    ed.ClearLog();
    TEditorWrapOption option;
    option.SetWrapByte(21);
    option.SetFollowRetMark(true);
    rows.SetWrapOption(option);  // two settings, one rewrap
    EXPECT_EQ(countRepaints(), 1);
    EXPECT_EQ(Short(Dump(rows)), "a21.W a11.B");
    EXPECT_FALSE(rows.CanUndo());
    lines.Put(0, A(10) + "\t" + A(10));
    EXPECT_EQ(Short(Dump(rows)), "a10\ta9.W a.B");  // the tab fills cells 10-11
    rows.SetTabSpaceCount(8);
    EXPECT_EQ(Short(Dump(rows)), "a10\ta5.W a5.B");  // cells 10-15
    EXPECT_FALSE(rows.CanUndo());
    EXPECT_EQ(rows.CellLayout().tabSpaceCount, 8);
}

TEST_F(WrapFixture, CaretsStayOnTheirBytesBehindTabs) {
    // Carets are byte offsets in their rows (a tab is one byte, many cells).
    lines.SetText("\t(foo\r\n" + A(20) + "\t(x");
    ed.caretRow = 0;
    ed.caretCol = 2;
    rows.SetWordWrap(true);
    EXPECT_EQ(ed.caretRow, 0);
    EXPECT_EQ(ed.caretCol, 2);
    ASSERT_EQ(Short(Dump(rows)), "\t(foo.B a20.W \t(x.N");
    ed.caretRow = 2;
    ed.caretCol = 2;
    ed.ClearLog();
    rows.SetWordWrap(false);
    EXPECT_EQ(ed.caretRow, 1);
    EXPECT_EQ(ed.caretCol, 22);
    EXPECT_EQ(ed.Log(), "top 0 caret 1,22 repaint relaid");
}

TEST_F(WrapFixture, LoadedAndSetTextIsWrapped) {
    rows.SetWordWrap(true);
    lines.SetText(A(20) + "\r\n" + A(3));
    EXPECT_EQ(Short(Dump(rows)), "a20.W .B aaa.N");
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(0), A(20));
    quodle::testing::TempDir dir;
    const std::string path = (dir / "w.lsp").string();
    quodle::testing::WriteBytes(path, A(41, 'b'));
    lines.LoadFromFile(path);
    EXPECT_EQ(Short(Dump(rows)), "b20.W b20.W b.N");
    EXPECT_EQ(lines.Text(), A(41, 'b'));
}

TEST_F(WrapFixture, EditsInsideAWrappedLineKeepTheRowsBeforeThem) {
    rows.SetWordWrap(true);
    lines.SetText("head\r\n" + A(95) + "\r\ntail\r\n");
    ASSERT_EQ(Short(Dump(rows)), "head.B a20.W a20.W a20.W a20.W a15.B tail.B");
    // Typing into the fourth row of the line.
    rows.ReplaceRows(4, 1, "X" + A(20));
    EXPECT_EQ(Short(Dump(rows)), "head.B a20.W a20.W a20.W Xa19.W a16.B tail.B");
    const TLastChange& lc = rows.LastChange();
    EXPECT_EQ(lc.FirstRow, 4);
    EXPECT_EQ(lc.OldRowCount, 2);
    EXPECT_EQ(lc.NewRowCount, 2);
    EXPECT_EQ(rows.UndoObj().UndoList().back().FirstRow, 4);
    EXPECT_EQ(rows.UndoObj().UndoList().back().WholeOldText(rows.RowsText(4, 2).text), A(35) + "\r\n");
    // A delimiter typed two rows further on moves the line's first cut
    // (breaking after delimiters looks a whole row ahead).
    rows.WrapOption().SetWordBreak(true);
    lines.SetText(A(40) + "\r\n");
    EXPECT_EQ(Short(Dump(rows)), "a6.W a6.W a6.W a6.W a16.B");
    rows.ReplaceRows(2, 1, " aaaaaa");
    EXPECT_EQ(Short(Dump(rows)), "a12 .W a6.W a6.W a16.B");
    EXPECT_EQ(rows.LastChange().FirstRow, 0);
    rows.Undo();
    EXPECT_EQ(Short(Dump(rows)), "a6.W a6.W a6.W a6.W a16.B");
}

TEST_F(WrapFixture, MarksMoveWithTheirRows) {
    rows.SetWordWrap(true);
    lines.SetText("x\r\n" + A(30) + "\r\ny\r\n");
    PutMarks(rows, {0, 1, 2, 4});
    ed.caretCol = 0;
    rows.ReplaceRows(0, 0, A(25, 'b') + "\r\n");  // a new two-row line on top
    EXPECT_EQ(Marks(rows), (std::vector<std::uint16_t>{0, 0, 0, 1, 2, 4}));
    rows.Undo();
    EXPECT_EQ(Marks(rows), (std::vector<std::uint16_t>{0, 1, 2, 4}));
    // The line shrinks to one row: its two rows' marks meet there.
    rows.ReplaceRows(1, 2, "short\r\n");
    EXPECT_EQ(Marks(rows), (std::vector<std::uint16_t>{0, 3, 4}));
}

// The same edits, undos and redos on a text with word wrap on and on one
// with it off give the same text; the wrapped rows always equal a fresh cut
// of that text, and their states equal a scan from the top.
TEST(EditorWrap, EditsOnWrappedTextMatchUnwrappedText) {
    const std::vector<std::string> pieces = {
        "a", A(7), A(15, 'b'), " ", "\t", Utf8ToCp932("あい"), Utf8ToCp932("「"), Utf8ToCp932("。"), "(", ")",
        ",", "{", "}", "\r\n", "\n", "x\r\ny"};
    for (int seed = 0; seed < 8; ++seed) {
        std::mt19937 rng(static_cast<unsigned>(seed));
        auto rnd = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        struct TDoc : test::TFocusedRows {
            TBraceParser parser;
            explicit TDoc(TRowBlockSize size) : TFocusedRows(size) {
                ed.parser = &parser;
                ed.screenHeight = 4 * 16;
            }
        };
        const TRowBlockSize size{1 + seed % 4, static_cast<std::size_t>(8 + 8 * (seed % 3))};
        TDoc plain(size), wrapped(size);
        auto setOptions = [&](TEditorWrapOption& o) {
            o.SetWrapByte(20 + rnd(3) * 5);
            o.SetWordBreak(rnd(2));
            o.SetFollowPunctuation(rnd(2));
            o.SetLeading(rnd(2));
            o.SetFollowRetMark(rnd(2));
        };
        setOptions(wrapped.rows.WrapOption());
        wrapped.rows.SetTabSpaceCount(4 + rnd(2) * 4);
        wrapped.rows.SetWordWrap(true);
        const std::string start = A(30) + "\r\n{" + A(50, 'b') + "\r\nc}";
        plain.lines.SetText(start);
        wrapped.lines.SetText(start);

        // Replaces the bytes between two line positions, as the editor
        // replaces a selection: one ReplaceRows of the rows they span.
        auto replace = [&](TEditorScreenStrings& rows, int line1, int off1, int line2, int off2, const std::string& s) {
            auto place = [&](int line, int offset) {
                int row = rows.LineToRow(line);
                while (row < rows.Count() && rows.RowEnding(row) == reWrapped &&
                       offset > static_cast<int>(rows.View(row).size()))
                    offset -= static_cast<int>(rows.View(row++).size());
                return std::pair{row, offset};
            };
            const auto [r1, o1] = place(line1, off1);
            const auto [r2, o2] = place(line2, off2);
            if (r1 == rows.Count()) {
                rows.ReplaceRows(r1, 0, s.empty() ? "q" : s);
                return;
            }
            std::string text = rows.Get(r1).substr(0, static_cast<std::size_t>(o1)) + s;
            if (r2 == rows.Count()) {  // up to the end, the final break included
                rows.ReplaceRows(r1, r2 - r1, text);
                return;
            }
            text += rows.Get(r2).substr(static_cast<std::size_t>(o2));
            if (rows.RowEnding(r2) == reBreak) text += "\r\n";
            rows.ReplaceRows(r1, r2 - r1 + 1, text);
        };
        // A byte offset on a character boundary of line `line`.
        auto boundary = [&](int line, int atLeast) {
            if (line >= plain.lines.Count()) return 0;
            const std::string text = plain.lines.Get(line);
            std::vector<int> starts;
            for (std::size_t i = 0; i <= text.size(); i += i < text.size() ? CharLengthAt(text, i) : 1)
                if (static_cast<int>(i) >= atLeast) starts.push_back(static_cast<int>(i));
            return starts[static_cast<std::size_t>(rnd(static_cast<int>(starts.size())))];
        };

        for (int step = 0; step < 700; ++step) {
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            const int what = rnd(20);
            if (what < 4) {
                ASSERT_EQ(wrapped.rows.Undo(), plain.rows.Undo()) << where;
            } else if (what < 6) {
                ASSERT_EQ(wrapped.rows.Redo(), plain.rows.Redo()) << where;
            } else if (what == 6) {
                TEditorWrapOption before;
                before.Assign(wrapped.rows.WrapOption());
                const int tab = wrapped.rows.TabSpaceCount();
                setOptions(wrapped.rows.WrapOption());
                if (rnd(2)) wrapped.rows.SetTabSpaceCount(4 + rnd(2) * 4);
                // A rewrap clears the history: the plain text's goes with it.
                if (!before.SameAs(wrapped.rows.WrapOption()) || tab != wrapped.rows.TabSpaceCount())
                    plain.rows.UndoObj().ClearHistory();
            } else if (what == 7 && plain.lines.Count() > 0) {
                const int line = rnd(plain.lines.Count());
                const std::string s = pieces[static_cast<std::size_t>(rnd(3))];
                plain.lines.Put(line, s);
                wrapped.lines.Put(line, s);
            } else {
                const int count = plain.lines.Count();
                const int endLine = count + (plain.lines.Text().empty() || plain.lines.Text().back() == '\n' ? 1 : 0);
                const int line1 = rnd(std::max(endLine, 1));
                const int line2 = std::min(line1 + rnd(3) * rnd(2), std::max(endLine - 1, 0));
                const int off1 = boundary(line1, 0);
                const int off2 = line2 == line1 ? boundary(line2, off1) : boundary(line2, 0);
                std::string s;
                for (int k = rnd(4); k > 0; --k) s += pieces[static_cast<std::size_t>(rnd(static_cast<int>(pieces.size())))];
                if (line1 == line2 && off1 == off2 && s.empty()) s = "z";
                replace(plain.rows, line1, off1, line2, off2, s);
                replace(wrapped.rows, line1, off1, line2, off2, s);
            }
            const std::string text = plain.lines.Text();
            ASSERT_EQ(wrapped.lines.Text(), text) << where;
            ASSERT_EQ(wrapped.lines.Count(), plain.lines.Count()) << where;
            ASSERT_EQ(wrapped.rows.CanUndo(), plain.rows.CanUndo()) << where;
            ASSERT_EQ(wrapped.rows.CanRedo(), plain.rows.CanRedo()) << where;
            if (step % 5 != 0) continue;
            // The rows are exactly those a fresh cut gives.
            TEditorScreenStrings fresh;
            fresh.SetWrapOption(wrapped.rows.WrapOption());
            fresh.SetTabSpaceCount(wrapped.rows.TabSpaceCount());
            fresh.SetWordWrap(true);
            fresh.SetAllText(text);
            ASSERT_EQ(Dump(wrapped.rows), Dump(fresh)) << where;
            // Line index against a walk over the rows.
            int line = 0;
            for (int r = 0; r < wrapped.rows.Count(); ++r) {
                ASSERT_EQ(wrapped.rows.RowToLine(r), line) << where << " row " << r;
                if (r == 0 || wrapped.rows.RowEnding(r - 1) != reWrapped) {
                    ASSERT_EQ(wrapped.rows.LineToRow(line), r) << where << " line " << line;
                    ASSERT_EQ(wrapped.lines.Get(line), plain.lines.Get(line)) << where << " line " << line;
                }
                if (wrapped.rows.RowEnding(r) != reWrapped) ++line;
            }
            // States, PrevRowEnding included, as a scan from the top.
            TRowParseState s = InitialRowState(wrapped.rows.Count() ? wrapped.rows.RowEnding(0) : reInvalid);
            for (int r = 0; r < wrapped.rows.Count(); ++r) {
                s.RowEnding = wrapped.rows.RowEnding(r);
                ASSERT_TRUE(wrapped.rows.EnsureRowState(r).SameStateAs(s)) << where << " row " << r;
                TRowParseState next = wrapped.parser.ScanRow(wrapped.rows.View(r), s);
                next.PrevRowEnding = s.RowEnding;
                s = next;
            }
        }
    }
}

}  // namespace
}  // namespace quodle
