#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/FakeEditor.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "text/EditorStrings.h"
#include "text/TextFile.h"

namespace quodle {
namespace {

namespace fs = std::filesystem;
using test::TFakeEditor;

using quodle::testing::ReadBytes;
using quodle::testing::TempDir;

struct LinesFixture : ::testing::Test {
    TEditorScreenStrings rows{{2, 64}};
    TFakeEditor ed;
    TEditorStrings lines{rows, &ed};
    void SetUp() override { rows.Attach(&ed); }
};

TEST_F(LinesFixture, LineOperationsWithAndWithoutAFinalBreak) {
    struct Case {
        const char* before;
        std::function<void(TEditorStrings&)> op;
        const char* after;
        const char* caret;
    } cases[] = {
        {"a\r\nb", [](auto& l) { l.Add("c"); }, "a\r\nb\r\nc", "caret 2,1"},
        {"a\r\nb\r\n", [](auto& l) { l.Add("c"); }, "a\r\nb\r\nc\r\n", "caret 3,0"},
        {"", [](auto& l) { l.Add("c"); }, "c\r\n", "caret 1,0"},
        {"a\r\nb", [](auto& l) { l.Insert(0, "z"); }, "z\r\na\r\nb", "caret 1,0"},
        {"a\r\nb", [](auto& l) { l.Insert(1, "z"); }, "a\r\nz\r\nb", "caret 2,0"},
        {"a\r\nb", [](auto& l) { l.Insert(2, "z"); }, "a\r\nb\r\nz", "caret 2,1"},
        {"a\r\nb", [](auto& l) { l.Put(1, "q"); }, "a\r\nq", "caret 1,1"},
        {"a\r\nb\r\n", [](auto& l) { l.Put(1, "q"); }, "a\r\nq\r\n", "caret 2,0"},
        {"a\r\nb", [](auto& l) { l.Put(0, "q"); }, "q\r\nb", "caret 1,0"},
        {"a\r\nb", [](auto& l) { l.Put(0, "q\r\nr"); }, "q\r\nr\r\nb", "caret 2,0"},
        {"a\r\nb", [](auto& l) { l.Delete(0); }, "b", "caret 0,0"},
        {"a\r\nb", [](auto& l) { l.Delete(1); }, "a\r\n", "caret 1,0"},
        {"a\r\nb\r\nc\r\n", [](auto& l) { l.Delete(1); }, "a\r\nc\r\n", "caret 1,0"},
    };
    for (const auto& c : cases) {
        lines.SetText(c.before);
        ed.ClearLog();
        c.op(lines);
        EXPECT_EQ(lines.Text(), c.after) << c.before;
        EXPECT_EQ(ed.Log(), std::string("deselect caret{ changed ") + c.caret + " }caret") << c.before;
    }
}

TEST_F(LinesFixture, CountGetAndIndexErrors) {
    lines.SetText("a\r\n\r\nb");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(0), "a");
    EXPECT_EQ(lines.Get(1), "");
    EXPECT_EQ(lines.Get(2), "b");
    EXPECT_THROW(lines.Get(3), EListError);
    EXPECT_THROW(lines.Put(3, "x"), EListError);
    EXPECT_THROW(lines.Delete(-1), EListError);
    EXPECT_THROW(lines.Insert(4, "x"), EListError);
    EXPECT_EQ(lines.Text(), "a\r\n\r\nb");
}

TEST_F(LinesFixture, SetTextSplitsAtEveryKindOfBreak) {
    struct Case {
        const char* text;
        int rows;
        TRowEnding last;
        const char* saved;
    } cases[] = {
        {"", 0, reInvalid, ""},
        {"\r\n", 1, reBreak, "\r\n"},
        {"a\rb\nc\r\nd", 4, reNoBreak, "a\r\nb\r\nc\r\nd"},
        {"a\r", 1, reBreak, "a\r\n"},
        {"\n\r", 2, reBreak, "\r\n\r\n"},
        {"x\x1Ay", 1, reNoBreak, "x\x1Ay"},  // only files end at Ctrl+Z
    };
    for (const auto& c : cases) {
        lines.SetText(c.text);
        EXPECT_EQ(rows.Count(), c.rows) << c.text;
        if (c.rows > 0) {
            EXPECT_EQ(rows.RowEnding(c.rows - 1), c.last) << c.text;
        }
        EXPECT_EQ(lines.Text(), c.saved) << c.text;
    }
}

TEST_F(LinesFixture, ClearAssignAndUpdateBlocks) {
    lines.SetText("a\r\nb\r\nc\r\n");
    lines.Add("d");
    ed.caretRow = 3;
    ed.ClearLog();
    lines.Clear();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_FALSE(rows.UndoObj().CanUndo());
    EXPECT_EQ(ed.Log(), "caret 0,0 changed");

    TEditorScreenStrings otherRows;
    TEditorStrings other(otherRows);
    other.SetText("x\r\ny\r\nz");
    ed.ClearLog();
    lines.Assign(other);
    EXPECT_EQ(lines.Text(), "x\r\ny\r\nz");
    EXPECT_EQ(ed.Log(), "caret 0,0 repaint changed caret 2,0");

    ed.ClearLog();
    lines.BeginUpdate();
    lines.BeginUpdate();
    lines.Delete(2);
    lines.Delete(1);
    lines.EndUpdate();
    EXPECT_EQ(ed.Log(), "block{ deselect caret{ caret 2,0 }caret deselect caret{ caret 1,0 }caret");
    ed.ClearLog();
    lines.EndUpdate();
    EXPECT_EQ(ed.Log(), "changed }block repaint");
    EXPECT_EQ(lines.Text(), "x\r\n");
}

TEST_F(LinesFixture, WrappedRowsFormOneLine) {
    rows.SetWordWrap(true);
    rows.Clear();
    for (const char* s : {"ab", "cd", "e", "fg", "h"}) rows.Add(s);
    rows.SetRowEnding(0, reWrapped);
    rows.SetRowEnding(3, reWrapped);
    rows.SetRowEnding(4, reNoBreak);
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(0), "abcd");
    EXPECT_EQ(lines.Get(1), "e");
    EXPECT_EQ(lines.Get(2), "fgh");
    EXPECT_EQ(lines.LineToRow(2), 3);
    EXPECT_EQ(lines.Text(), "abcd\r\ne\r\nfgh");
    ed.ClearLog();
    lines.Put(2, "XYZ");
    EXPECT_EQ(lines.Text(), "abcd\r\ne\r\nXYZ");
    lines.Delete(0);
    EXPECT_EQ(lines.Text(), "e\r\nXYZ");
    EXPECT_EQ(lines.Count(), 2);
}

// Every fixture: loading and saving unmodified gives the file's bytes with
// every break made the first one, and what follows a Ctrl+Z as it stood
// (unless that is only the old end-of-file mark). Small reads put breaks,
// UTF-8 characters and the Ctrl+Z across read boundaries.
TEST(LoadFromFile, FixturesRoundTrip) {
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUODLE_TEST_DATA) / "rowstore")) {
        if (entry.path().extension() != ".lsp") continue;
        ++seen;
        const std::string expected = ReadBytes(fs::path(entry.path()).replace_extension(".expected"));
        TEditorScreenStrings rows;
        TEditorStrings lines(rows);
        const TFileFormat format = lines.LoadFromFile(entry.path().string()).Format;
        EXPECT_EQ(rows.FileBytes(), expected) << entry.path();
        for (std::size_t chunk : {1, 2, 3, 5, 8192}) {
            TEditorScreenStrings small({3, 16});
            const TLoadResult loaded = AppendFileLines(entry.path().string(), small, TReadEncoding::Detect, chunk);
            EXPECT_EQ(loaded.Format, format) << entry.path();
            small.SetFileFormat(format);
            EXPECT_EQ(small.FileBytes().value_or("?") + loaded.Tail, expected) << entry.path() << " chunk " << chunk;
        }
    }
    EXPECT_GE(seen, 12);
}

TEST(LoadFromFile, RowsOfTheTrickyFixtures) {
    struct Case {
        const char* file;
        int rows;
        TRowEnding last;
    } cases[] = {
        {"empty.lsp", 0, reInvalid},
        {"no_final_break.lsp", 2, reNoBreak},
        {"block_boundary.lsp", 4, reBreak},  // 8191 x, 8189 y, "" and z
        {"ctrlz.lsp", 2, reNoBreak},
        {"nul.lsp", 4, reNoBreak},
    };
    for (const auto& c : cases) {
        TEditorScreenStrings rows;
        rows.LoadFromFile((fs::path(QUODLE_TEST_DATA) / "rowstore" / c.file).string());
        EXPECT_EQ(rows.Count(), c.rows) << c.file;
        if (rows.Count() > 0) {
            EXPECT_EQ(rows.RowEnding(rows.Count() - 1), c.last) << c.file;
        }
    }
    TEditorScreenStrings rows;
    rows.LoadFromFile((fs::path(QUODLE_TEST_DATA) / "rowstore" / "block_boundary.lsp").string());
    EXPECT_EQ(rows.Get(0), std::string(8191, 'x'));
    EXPECT_EQ(rows.Get(1), std::string(8189, 'y'));
    EXPECT_EQ(rows.Get(2), "");
    EXPECT_EQ(rows.Get(3), "z");
    rows.LoadFromFile((fs::path(QUODLE_TEST_DATA) / "rowstore" / "nul.lsp").string());
    EXPECT_EQ(rows.Get(0), std::string("a\0b", 3));
    EXPECT_EQ(rows.Get(2), "c" + std::string(8202, '\0') + "d");
}

// What follows a Ctrl+Z is never shown and never lost: an edit before it
// saves with the tail behind it, byte for byte, whatever the tail holds;
// the line the Ctrl+Z stands on is told for the message.
TEST(LoadFromFile, BytesAfterCtrlZSurviveAnEditAndASave) {
    std::string random(200000, '\0');
    std::uint32_t seed = 7;
    for (char& c : random) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    struct Case {
        std::string file;
        std::size_t shown;  // bytes before the Ctrl+Z
        int tailLine;
        std::string afterEdit;  // FileBytes once "x" is typed at the start
    } cases[] = {
        {"(setq a 1)\r\n(setq b 2)\x1a\r\n(defun c:important ()\r\n (princ \"x\")\r\n)\r\n", 22, 2,
         "x(setq a 1)\r\n(setq b 2)\x1a\r\n(defun c:important ()\r\n (princ \"x\")\r\n)\r\n"},
        {"a\nb\n\x1a\x1a", 4, 3, "xa\nb\n\x1a\x1a"},
        {"\x1a(princ)\r\n", 0, 1, "x\x1a(princ)\r\n"},
        {"ab\x1a" + random, 2, 1, "xab\x1a" + random},
    };
    TempDir dir;
    for (const Case& c : cases) {
        quodle::testing::WriteBytes(dir / "z.lsp", c.file);
        for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, kReadChunkBytes}) {
            TEditorScreenStrings probe;
            const TLoadResult loaded = AppendFileLines((dir / "z.lsp").string(), probe, TReadEncoding::Detect, chunk);
            EXPECT_EQ(loaded.Tail, c.file.substr(c.shown)) << chunk;
            EXPECT_EQ(loaded.TailLine, c.tailLine);
        }
        TEditorScreenStrings rows;
        const TLoadResult loaded = rows.LoadFromFile((dir / "z.lsp").string());
        EXPECT_TRUE(loaded.Tail.empty());
        EXPECT_EQ(loaded.TailSize, c.file.size() - c.shown);
        EXPECT_EQ(rows.FileBytes(), c.file);
        if (rows.Count() == 0) rows.ReplaceRows(0, 0, "x");
        else rows.PutPart(0, 0, 0, "x");
        EXPECT_EQ(rows.FileBytes(), c.afterEdit);
    }
}

// Lines longer than a read go to their rows piece by piece, lines around a
// block's byte limit fill it or take one of their own: breaks of every
// kind just before, at and after the end of a read, short rows beside them
// in small and in default blocks, and Ctrl+Z, give the rows of the text
// split in memory.
TEST(LoadFromFile, LinesLongerThanAReadEqualTheTextSplitInMemory) {
    std::string text;
    const char* const breaks[] = {"\r\n", "\r", "\n"};
    for (int n : {1, 15, 16, 17, 29, 30, 31, 32, 64, 200}) text += std::string(n, static_cast<char>('a' + n % 26)) + breaks[n % 3] + "s\n";
    text += std::string(100, 'z');
    TempDir dir;
    for (const std::string& tail : {std::string(), std::string("\x1A") + std::string(90, 'q') + "\r\n"}) {
        quodle::testing::WriteBytes(dir / "long.lsp", text + tail);
        TEditorScreenStrings memory;
        if (AppendLines(text, memory)) memory.SetRowEnding(memory.Count() - 1, reNoBreak);
        for (const TRowBlockSize blocks : {TRowBlockSize{3, 16}, TRowBlockSize{}}) {
            for (std::size_t chunk : {1, 2, 3, 30, 31, 32, 4096}) {
                TEditorScreenStrings rows(blocks);
                AppendFileLines((dir / "long.lsp").string(), rows, TReadEncoding::Detect, chunk);
                ASSERT_EQ(rows.Count(), memory.Count()) << "chunk " << chunk;
                EXPECT_EQ(rows.AllText(), memory.AllText()) << "chunk " << chunk;
                EXPECT_EQ(rows.RowEnding(rows.Count() - 1), reNoBreak) << "chunk " << chunk;
                // The rows take edits like any others.
                rows.PutPart(rows.Count() - 1, 50, 0, "+");
                EXPECT_EQ(rows.View(rows.Count() - 1), std::string(50, 'z') + "+" + std::string(50, 'z'));
            }
        }
    }
}

// Loading `path` into rows that held text: the shared file error with the
// path and the reason, and the rows, history and caret left empty.
bool LoadFails(const fs::path& path, const std::string& reason) {
    TEditorScreenStrings rows;
    TFakeEditor ed;
    rows.Attach(&ed);
    rows.SetAllText("old\r\ntext\r\n");
    rows.ReplaceRows(0, 0, "x");
    ed.caretRow = 1;
    // The result says it all: the check may run in a child process.
    try {
        rows.LoadFromFile(path.string());
        return false;
    } catch (const EFileError& e) {
        if (e.Path() != path || e.Reason() != reason || e.what() != path.string() + ": " + reason) return false;
    }
    return rows.Count() == 0 && !rows.UndoObj().CanUndo() && ed.caretRow == 0;
}

TEST(LoadFromFile, UnreadableFilesLeaveTheListEmpty) {
    TempDir dir;
    EXPECT_TRUE(LoadFails(dir / "missing.lsp", "No such file or directory"));
    EXPECT_TRUE(LoadFails(dir.path(), "Is a directory"));
    fs::permissions(dir.path(), fs::perms::all);
    quodle::testing::WriteBytes(dir / "locked.lsp", "secret\r\n");
    fs::permissions(dir / "locked.lsp", fs::perms::none);
    EXPECT_TRUE(quodle::testing::RunUnprivileged([&] { return LoadFails(dir / "locked.lsp", "Permission denied"); }));
}

TEST(AppendLines, LargeTextsSplitAsOneScanDoes) {
    // Breaks on both sides of the 1 MB steps a text is read in, a CR LF
    // split by one, and lines longer than a step.
    constexpr std::size_t kMb = std::size_t{1} << 20;
    std::string text(kMb - 1, 'x');
    text += "\r\n" + std::string(kMb * 5 / 2, 'y') + "\r";
    text += std::string(2 * kMb - text.size() % kMb - 1, 'z') + "\r" + "\n\n" + std::string(kMb, 'w') + "\n";
    for (int i = 0; i < 40000; ++i) text += i % 3 == 0 ? "(a)\r\n" : i % 3 == 1 ? "b\r" : "\x82\xA0\n";
    for (const std::string& whole : {text, text + "tail"}) {
        std::vector<std::string_view> model;
        const bool modelTail = TextLines(whole, model);
        TEditorStringList rows;
        EXPECT_EQ(AppendLines(whole, rows), modelTail);
        ASSERT_EQ(rows.Count(), static_cast<int>(model.size()));
        for (int r = 0; r < rows.Count(); ++r) ASSERT_TRUE(rows.View(r) == model[static_cast<std::size_t>(r)]) << r;
    }
}

TEST(LoadFromFile, ATwentyMegabyteLine) {
    TempDir dir;
    const fs::path file = dir / "long.lsp";
    std::string text(20u << 20, 'a');
    for (std::size_t i = 0; i < text.size(); i += 4099) text[i] = static_cast<char>('0' + i % 10);
    {
        std::ofstream(file, std::ios::binary) << text << "\r\nb";
    }
    TEditorScreenStrings rows;
    TEditorStrings lines(rows);
    lines.LoadFromFile(file.string());
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_TRUE(rows.View(0) == text);
    EXPECT_EQ(lines.Get(1), "b");
    // Typing into it keeps the rest.
    rows.ReplaceRows(1, 1, "bc");
    EXPECT_EQ(rows.View(0).size(), text.size());
    EXPECT_EQ(lines.Text().size(), text.size() + 4);
}

}  // namespace
}  // namespace quodle
