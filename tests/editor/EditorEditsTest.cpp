// The editing keys and commands as the rows see them: each case applies the
// one ReplaceRows an operation yields and checks the text and the caret.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "base/ShiftJis.h"
#include "editor/BlockOperations.h"
#include "editor/EditorEdits.h"
#include "support/CaseName.h"

namespace quodle {
namespace {

TCellLayout Tabs(int n) { return TCellLayout{n, 0}; }

struct TDoc {
    TEditorScreenStrings rows{{2, 16}};  // tiny blocks: edits cross block bounds
    explicit TDoc(const std::string& utf8) { rows.SetAllText(Utf8ToCp932(utf8)); }
    std::string Text() const { return Cp932ToUtf8(rows.AllText()); }
    TRowOffset Apply(const TRowsEdit& e) {
        ApplyEdit(rows, e);
        return CaretAfterEdit(rows, e);
    }
};

using TEditFn = std::function<TEditOutcome(const TEditorStringList&)>;

struct TEditCase {
    const char* name;
    const char* text;
    TEditFn edit;
    const char* expected;  // nullptr: no edit
    TRowOffset caret;      // after the edit; or the move for a caret-only outcome
};

TEditorCaretProp Caret(bool tabIndent = false, int tabs = 8) {
    TEditorCaretProp c;
    c.TabIndent = tabIndent;
    c.TabSpaceCount = tabs;
    return c;
}

TEditFn Insert(TCellPos p, std::string utf8, bool overwrite = false) {
    return [=](const TEditorStringList& rows) {
        return TEditOutcome{InsertTextEdit(rows, Tabs(8), p, Utf8ToCp932(utf8), overwrite), std::nullopt};
    };
}
TEditFn Enter(TCellPos p, TEditorCaretProp c, bool shift = false, bool overwrite = false) {
    return [=](const TEditorStringList& rows) { return EnterKey(rows, Tabs(c.TabSpaceCount), c, p, shift, overwrite); };
}
TEditFn Backspace(TCellPos p, bool unindent = true, int tabs = 8) {
    TEditorCaretProp c = Caret(false, tabs);
    c.BackSpaceUnIndent = unindent;
    return [=](const TEditorStringList& rows) { return BackspaceKey(rows, Tabs(tabs), c, p); };
}
TEditFn Delete(TCellPos p) {
    return [=](const TEditorStringList& rows) { return DeleteKey(rows, Tabs(8), p); };
}
TEditFn BoxPaste(TCellPos p, std::string utf8) {
    return [=](const TEditorStringList& rows) {
        return TEditOutcome{BoxPasteEdit(rows, Tabs(8), p, Utf8ToCp932(utf8)), std::nullopt};
    };
}
TEditFn Stream(TRowOffset a, TRowOffset b, std::string utf8) {
    return [=](const TEditorStringList& rows) {
        return TEditOutcome{ReplaceStreamEdit(rows, Tabs(8), {a, b}, Utf8ToCp932(utf8)), std::nullopt};
    };
}
TEditFn Box(TBoxRange box, std::string utf8) {
    return [=](const TEditorStringList& rows) {
        return TEditOutcome{ReplaceBoxEdit(rows, Tabs(8), box, Utf8ToCp932(utf8)), std::nullopt};
    };
}
TEditFn Move(TRowOffset a, TRowOffset b, TCellPos target) {
    return [=](const TEditorStringList& rows) { return TEditOutcome{MoveTextEdit(rows, Tabs(8), {a, b}, target), std::nullopt}; };
}
TEditorCaretProp PrevSpace() {
    TEditorCaretProp c;
    c.PrevSpaceIndent = true;
    return c;
}

class EditsTest : public ::testing::TestWithParam<TEditCase> {};

TEST_P(EditsTest, GivesTheTextAndTheCaret) {
    const TEditCase& c = GetParam();
    TDoc doc(c.text);
    const TEditOutcome out = c.edit(doc.rows);
    if (c.expected == nullptr) {
        EXPECT_FALSE(out.Edit.has_value());
        if (out.Move) {
            EXPECT_EQ(out.Move->Row, c.caret.Row);
            EXPECT_EQ(out.Move->Col, c.caret.Offset);
        }
        return;
    }
    ASSERT_TRUE(out.Edit.has_value());
    const TRowOffset caret = doc.Apply(*out.Edit);
    EXPECT_EQ(doc.Text(), c.expected);
    EXPECT_EQ(caret.Row, c.caret.Row);
    EXPECT_EQ(caret.Offset, c.caret.Offset);
}

// "\u3042" etc. spelled out so the byte offsets read plainly: あ い う are two bytes each.
const TEditCase kCases[] = {
    {"typing past the end pads with spaces", "abc", Insert({0, 10}, "x"), "abc       x", {0, 11}},
    {"typing in the middle", "abc", Insert({0, 1}, "xy"), "axybc", {0, 3}},
    {"typing on the row after a final break", "ab\r\n", Insert({1, 2}, "x"), "ab\r\n  x", {1, 3}},
    {"typing into an empty text", "", Insert({0, 0}, "x"), "x", {0, 1}},
    {"typing a double-byte character", "ab", Insert({0, 1}, "あ"), "aあb", {0, 3}},
    {"a pasted break splits the row", "ab\r\ncd", Insert({0, 1}, "x\r\ny"), "ax\r\nyb\r\ncd", {1, 1}},
    {"overwrite replaces cells", "abcd", Insert({0, 1}, "x", true), "axcd", {0, 2}},
    {"overwrite of half a double-byte character leaves a space", "aあb", Insert({0, 0}, "xy", true), "xy b", {0, 2}},
    {"overwrite past the end of the row appends", "ab", Insert({0, 1}, "xyz", true), "axyz", {0, 4}},
    {"overwrite of a double-byte character by one", "あい", Insert({0, 2}, "う", true), "あう", {0, 4}},
    {"stream deletion across rows", "ab\r\ncd\r\nef", Stream({0, 1}, {1, 1}, ""), "ad\r\nef", {0, 1}},
    {"stream replaced by typed text", "ab\r\ncd", Stream({0, 1}, {1, 1}, "X"), "aXd", {0, 2}},
    {"deleting the whole text", "a\r\nb\r\n", Stream({0, 0}, {2, 0}, ""), "", {0, 0}},
    {"box deletion", "abcd\r\nefgh\r\nij", Box({0, 2, 1, 3}, ""), "ad\r\neh\r\ni", {0, 1}},
    {"box replaced by typed text", "abcd\r\nefgh", Box({0, 1, 1, 3}, "X"), "aXd\r\neh", {0, 2}},
    {"enter keeps the indent in spaces", "    abc", Enter({0, 6}, Caret()), "    ab\r\n    c", {1, 4}},
    {"enter writes the indent as tabs", "    abc", Enter({0, 6}, Caret(true, 4)), "    ab\r\n\tc", {1, 1}},
    {"enter with tabs and spaces", "      abc", Enter({0, 7}, Caret(true, 4)), "      a\r\n\t  bc", {1, 3}},
    {"enter left of the indent", "      x", Enter({0, 2}, Caret()), "  \r\n      x", {1, 2}},
    {"enter past the end of the row", "  ab", Enter({0, 9}, Caret()), "  ab\r\n  ", {1, 2}},
    {"enter on the row after the last", "a\r\n", Enter({1, 0}, Caret()), "a\r\n\r\n", {2, 0}},
    {"enter in an empty text", "", Enter({0, 0}, Caret()), "\r\n", {1, 0}},
    {"enter takes the previous indent on an empty row", "  a\r\n\r\nb", Enter({1, 0}, PrevSpace()),
     "  a\r\n\r\n  \r\nb", {2, 2}},
    {"shift+enter opens an indented row above", "  ab", Enter({0, 3}, Caret(), true), "  \r\n  ab", {0, 2}},
    {"enter in overwrite mode only moves", "ab\r\ncd", Enter({0, 1}, Caret(), false, true), nullptr, {1, 0}},
    {"backspace unindents to the line above", "    a\r\n        b", Backspace({1, 8}), "    a\r\n    b", {1, 4}},
    {"backspace unindent skips blank lines", "    a\r\n  \r\n        b", Backspace({2, 8}),
     "    a\r\n  \r\n    b", {2, 4}},
    {"backspace unindent without a line above", "    b", Backspace({0, 4}), "b", {0, 0}},
    {"backspace unindent over tabs", "\ta\r\n\t\tb", Backspace({1, 8}, true, 4), "\ta\r\n    b", {1, 4}},
    {"backspace unindent on a blank row", "  a\r\n      ", Backspace({1, 6}), "  a\r\n  ", {1, 2}},
    {"backspace without unindent", "    b", Backspace({0, 4}, false), "   b", {0, 3}},
    {"backspace inside the text", "    ab", Backspace({0, 6}), "    a", {0, 5}},
    {"backspace removes a whole double-byte character", "あいう", Backspace({0, 4}), "あう", {0, 2}},
    {"backspace removes a whole tab", "\tx", Backspace({0, 8}, false), "x", {0, 0}},
    {"backspace at column 0 joins", "ab\r\ncd", Backspace({1, 0}), "abcd", {0, 2}},
    {"backspace on the row after a final break", "ab\r\n", Backspace({1, 0}), "ab", {0, 2}},
    {"backspace past the end only moves", "ab", Backspace({0, 5}), nullptr, {0, 4}},
    {"backspace at the top does nothing", "ab", Backspace({0, 0}), nullptr, {0, 0}},
    {"delete a double-byte character", "あいう", Delete({0, 2}), "あう", {0, 2}},
    {"delete a tab from inside it", "\tx", Delete({0, 3}), "x", {0, 0}},
    {"delete past the end pads and joins", "ab\r\ncd", Delete({0, 4}), "ab  cd", {0, 4}},
    {"delete the final break", "ab\r\n", Delete({0, 2}), "ab", {0, 2}},
    {"delete at the end of the last row", "ab\r\ncd", Delete({1, 2}), nullptr, {0, 0}},
    {"delete on the row after the last", "ab\r\n", Delete({1, 0}), nullptr, {0, 0}},
    {"box paste pads short rows", "abc\r\nd\r\nefg", BoxPaste({0, 2}, "XY\r\nZW\r\n"), "abXYc\r\nd ZW\r\nefg", {1, 4}},
    {"box paste appends rows", "ab", BoxPaste({0, 1}, "X\r\nY\r\nZ"), "aXb\r\n Y\r\n Z", {2, 2}},
    {"box paste keeps a final break", "ab\r\n", BoxPaste({0, 1}, "X\r\nY"), "aXb\r\n Y\r\n", {1, 2}},
    {"box paste into an empty text", "", BoxPaste({0, 2}, "X\r\nY"), "  X\r\n  Y", {1, 3}},
    {"box paste at a double-byte character", "あい\r\nかき", BoxPaste({0, 2}, "X\r\nY"), "あXい\r\nかYき", {1, 3}},
    {"a move on along the row", "abcdef", Move({0, 1}, {0, 3}, {0, 5}), "adebcf", {0, 5}},
    {"a move back along the row", "abcdef", Move({0, 3}, {0, 5}, {0, 1}), "adebcf", {0, 3}},
    {"a move to a later row", "ab\r\ncd\r\nef", Move({0, 0}, {0, 2}, {2, 1}), "\r\ncd\r\neabf", {2, 3}},
    {"a move to an earlier row", "ab\r\ncd\r\nef", Move({2, 0}, {2, 2}, {0, 0}), "efab\r\ncd\r\n", {0, 2}},
    {"a move of text with a break", "ab\r\ncd", Move({0, 1}, {1, 1}, {1, 2}), "adb\r\nc", {1, 1}},
    {"a move into a double-byte character lands before it", "あいう", Move({0, 4}, {0, 6}, {0, 3}), "あうい", {0, 4}},
    {"a move past the end of a row pads it", "ab\r\ncd", Move({1, 0}, {1, 2}, {0, 4}), "ab  cd\r\n", {0, 6}},
    {"a move into the moved text", "abcdef", Move({0, 1}, {0, 4}, {0, 2}), nullptr, {0, 0}},
    {"a move to the text's own start", "abcdef", Move({0, 1}, {0, 4}, {0, 1}), nullptr, {0, 0}},
    {"a move to the text's own end", "abcdef", Move({0, 1}, {0, 4}, {0, 4}), nullptr, {0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Keys, EditsTest, ::testing::ValuesIn(kCases), quodle::testing::TCaseName());

// A row is shown up to its 1000th cell, so the caret stops at column 1000.
// Edits there act on the byte under the caret, not at the row's end, and
// carry what they change, not the row. Whatever starts in a shown cell may
// be changed, the hidden rest moving into view: a character under the last
// cell, a tab or a double-byte character reaching past it, a selection
// running on into the hidden rest; an empty row may join a full one.
TEST(WideRows, EditsThatStartInAShownCell) {
    const std::string a(1000, 'a'), b(500, 'b'), a999(999, 'a');
    const std::string wide = a + b + "\r\nnext";
    const std::string kanji = a999 + "あ" + b;  // on cells 999 and 1000
    constexpr std::size_t kAny = std::string::npos;
    TEditorCaretProp unindent = Caret();
    unindent.BackSpaceUnIndent = false;
    struct {
        const char* name;
        std::string text;
        TEditFn edit;
        std::string expected;
        TRowOffset caret;
        std::size_t carried;  // bytes of the replacement
    } cases[] = {
        {"delete the last shown character", wide, Delete({0, 999}), a999 + b + "\r\nnext", {0, 999}, 0},
        {"delete a double-byte character on the last cell", kanji, Delete({0, 999}), a999 + b, {0, 999}, 0},
        {"delete inside a tab reaching past the last cell", a999 + "\t" + b,
         [](const TEditorStringList& rows) { return DeleteKey(rows, Tabs(3), {0, 1000}); }, a999 + b, {0, 999}, 0},
        {"delete an empty row after a full one", a + "\r\n\r\nx", Delete({0, 1000}), a + "\r\nx", {0, 1000}, 0},
        {"type", wide, Insert({0, 999}, "X"), a999 + "Xa" + b + "\r\nnext", {0, 1000}, 1},
        {"overwrite", wide, Insert({0, 999}, "X", true), a999 + "X" + b + "\r\nnext", {0, 1000}, 1},
        {"break", wide, Insert({0, 1000}, "\r\nX"), a + "\r\nX" + b + "\r\nnext", {1, 1}, 3},
        {"backspace", wide, Backspace({0, 1000}, false), a999 + b + "\r\nnext", {0, 999}, 0},
        {"backspace after a double-byte character on the last cell", kanji, Backspace({0, 1001}, false), a999 + b,
         {0, 999}, 0},
        {"backspace joins a row to one of 999 cells", a999 + "\r\nxy", Backspace({1, 0}, false), a999 + "xy", {0, 999}, 0},
        {"backspace joins an empty row to a wide one", a + b + "\r\n\r\nx",
         [&](const TEditorStringList& rows) { return BackspaceKey(rows, Tabs(8), unindent, {1, 0}); },
         a + b + "\r\nx", {0, 1500}, 0},
        {"a selection into the hidden rest", wide, Stream({0, 500}, {1, 2}, ""), std::string(500, 'a') + "xt", {0, 500}, 0},
        {"box paste", wide, BoxPaste({0, 999}, "X\r\nY"), a999 + "Xa" + b + "\r\nnext" + std::string(995, ' ') + "Y",
         {1, 1000}, kAny},
        {"box indent", wide, [](const TEditorStringList& rows) {
             return TEditOutcome{BoxBlockEdit(rows, Tabs(8), {0, 0, 999, 1000}, boIndent, 0), std::nullopt};
         }, a999 + " a" + b + "\r\nnext", {0, 0}, 1},
    };
    for (const auto& c : cases) {
        TDoc doc(c.text);
        const TEditOutcome out = c.edit(doc.rows);
        ASSERT_TRUE(out.Edit.has_value()) << c.name;
        if (c.carried != kAny) {
            EXPECT_EQ(out.Edit->Replacement.size(), c.carried) << c.name;
        }
        const TRowOffset caret = doc.Apply(*out.Edit);
        EXPECT_EQ(doc.Text(), c.expected) << c.name;
        EXPECT_EQ(caret, c.caret) << c.name;
    }
}

// Nothing is put in or taken out past the last shown cell: it would not
// show, or it was never seen, and the caret could not follow (each
// character typed there would land before the one typed last). The end of
// a row of exactly 1000 cells is such a place too, and so is the cell after
// a double-byte character starting on the last one. Text that a join or a
// box paste would put there stays where it is.
TEST(WideRows, NothingIsPutOrTakenPastTheLastShownCell) {
    const std::string wide = std::string(1000, 'a') + std::string(500, 'b') + "\r\nnext";
    const std::string full = std::string(1000, 'a') + "\r\nnext";
    const std::string kanji = std::string(999, 'a') + "あbc\r\nnext";
    auto box = [](TBoxRange range, TBlockOperation op) {
        return [=](const TEditorStringList& rows) {
            return TEditOutcome{BoxBlockEdit(rows, Tabs(8), range, op, 0), std::nullopt};
        };
    };
    struct {
        const char* name;
        std::string text;
        TEditFn edit;
    } cases[] = {
        {"type on a wider row", wide, Insert({0, 1000}, "X")},
        {"overwrite on a wider row", wide, Insert({0, 1000}, "X", true)},
        {"paste on a wider row", wide, Insert({0, 1000}, "XY\r\nZ")},
        {"type at the end of a full row", full, Insert({0, 1000}, "X")},
        {"type after a double-byte last character", kanji, Insert({0, 1001}, "X")},
        {"tab on a wider row", wide, [](const TEditorStringList& rows) {
             return TabKey(rows, Tabs(8), Caret(), {0, 1000}, false);
         }},
        {"delete on a wider row", wide, Delete({0, 1000})},
        {"delete after a double-byte last character", kanji, Delete({0, 1001})},
        {"delete joins the next row to a full one", full, Delete({0, 1000})},
        {"delete joins the next row past the end", "ab\r\nnext", Delete({0, 1000})},
        {"backspace joins a row to a full one", full, Backspace({1, 0}, false)},
        {"backspace joins a row to a wider one", wide, Backspace({1, 0}, false)},
        {"a selection from the hidden rest deleted", wide, Stream({0, 1000}, {1, 2}, "")},
        {"a box from the last cell on deleted", wide, Box({0, 0, 1000, 1001}, "")},
        {"text moved past the last shown cell", wide, Move({1, 0}, {1, 2}, {0, 1000})},
        {"hidden text moved", wide, Move({0, 1000}, {0, 1002}, {1, 0})},
        {"box paste on a wider row", wide, BoxPaste({0, 1000}, "X\r\nY")},
        {"box paste after a double-byte last character", kanji, BoxPaste({0, 1001}, "X")},
        {"box indent", wide, box({0, 1, 1000, 1001}, boIndent)},
        {"box unindent", std::string(1000, 'a') + "  b", box({0, 0, 1000, 1001}, boUnindent)},
    };
    for (const auto& c : cases) {
        TDoc doc(c.text);
        const TEditOutcome out = c.edit(doc.rows);
        EXPECT_FALSE(out.Edit.has_value()) << c.name;
        EXPECT_FALSE(out.Move.has_value()) << c.name;
    }
}

// A box paste over a selection whose text would go past the shown cells is
// refused whole: the selection is not deleted either.
TEST(WideRows, BoxPasteOverIsRefusedWhole) {
    TDoc doc(std::string(1200, 'a') + "\r\nnext");
    const auto removal = ReplaceBoxEdit(doc.rows, Tabs(8), {0, 1, 998, 1000}, {});
    ASSERT_TRUE(removal);
    EXPECT_FALSE(BoxPasteOverEdit(doc.rows, Tabs(8), *removal, 1000, "X\r\nY"));
    EXPECT_TRUE(BoxPasteOverEdit(doc.rows, Tabs(8), *removal, 998, "X\r\nY"));
}

// Box paste over a selection is one edit that leaves what deleting the
// selection and then box-pasting leaves, word wrap or not.
TEST(BoxPasteOver, OneEditAsTheRemovalAndThePasteInTurn) {
    const std::string a25(25, 'a');
    struct {
        const char* name;
        const char* text;
        bool wrap;
        std::optional<TBoxRange> box;  // else the stream below
        TStreamRange stream;
        const char* paste;
        std::string expected;
        TRowOffset caret;
    } cases[] = {
        {"box", "abcd\r\nefgh\r\nij", false, TBoxRange{0, 1, 1, 3}, {}, "XY\r\nZW\r\nUV", "aXYd\r\neZWh\r\niUVj", {2, 3}},
        {"stream", "ab\r\ncd\r\nef", false, std::nullopt, {{0, 1}, {1, 1}}, "X\r\nY", "aXd\r\neYf", {1, 2}},
        {"past the end", "ab\r\ncd", false, std::nullopt, {{0, 1}, {1, 1}}, "X\r\nY", "aXd\r\n Y", {1, 2}},
        {"wrapped", nullptr, true, std::nullopt, {{0, 18}, {1, 2}}, "X\r\nY\r\nZ",
         std::string(18, 'a') + "Xaaa" + std::string(17, ' ') + "Y\r\nbbb" + std::string(15, ' ') + "Z", {3, 19}},
    };
    for (const auto& c : cases) {
        const std::string text = c.text ? c.text : a25 + "\r\nbbb";
        TDoc once(text), inTurn(text);
        for (TDoc* d : {&once, &inTurn}) {
            d->rows.WrapOption().SetWrapByte(20);
            d->rows.SetWordWrap(c.wrap);
        }
        auto removal = [&](const TEditorStringList& rows) {
            return c.box ? ReplaceBoxEdit(rows, Tabs(8), *c.box, {}) : ReplaceStreamEdit(rows, Tabs(8), c.stream, {});
        };
        const int column = c.box ? c.box->Left : -1;
        const auto edit = BoxPasteOverEdit(once.rows, Tabs(8), *removal(once.rows), column, c.paste);
        ASSERT_TRUE(edit) << c.name;
        const TRowOffset caret = once.Apply(*edit);
        EXPECT_EQ(once.rows.AllText(), c.expected) << c.name;
        EXPECT_EQ(caret, c.caret) << c.name;
        EXPECT_EQ(once.rows.UndoObj().UndoList().size(), 1u) << c.name;

        const TRowOffset removed = inTurn.Apply(*removal(inTurn.rows));
        const int col = column >= 0 ? column : WholeRowMap(inTurn.rows.View(removed.Row), Tabs(8)).OffsetToColumn(removed.Offset);
        EXPECT_EQ(inTurn.Apply(*BoxPasteEdit(inTurn.rows, Tabs(8), {removed.Row, col}, c.paste)), caret) << c.name;
        EXPECT_EQ(inTurn.rows.AllText(), c.expected) << c.name;
    }
}

TEST(RowsPatch, MapsPositionsAcrossReplacements) {
    TDoc doc("abc\r\ndef");
    TRowsPatch patch(doc.rows, 0, 1);
    EXPECT_EQ(patch.Size(), 8u);
    EXPECT_EQ(patch.PosOf(1, 1), 6u);
    EXPECT_EQ(patch.RowEndPos(0), 3u);
    EXPECT_EQ(patch.RowEndPos(1), 8u);
    patch.Replace(1, 1, "XYZ");  // b -> XYZ
    patch.Replace(6, 0, "!");
    EXPECT_EQ(patch.NewPos(0), 0u);
    EXPECT_EQ(patch.NewPos(1, false), 1u);
    EXPECT_EQ(patch.NewPos(1), 4u);
    EXPECT_EQ(patch.NewPos(3), 5u);
    EXPECT_EQ(patch.NewPos(6), 9u);
    EXPECT_EQ(patch.NewPos(6, false), 8u);
    const auto edit = patch.Build(0);
    ASSERT_TRUE(edit);
    EXPECT_EQ(EditedText(doc.rows, *edit), "aXYZc\r\nd!ef");
    EXPECT_EQ(edit->Count, 2);
    // Only the stretch from the first replacement to the end of the last.
    EXPECT_EQ(edit->Head, 1u);
    EXPECT_EQ(edit->Tail, 2u);
    EXPECT_EQ(edit->Replacement, "XYZc\r\nd!");
}

TEST(RowsPatch, AnUnchangedTextIsNoEdit) {
    TDoc doc("abc");
    TRowsPatch patch(doc.rows, 0, 0);
    patch.Replace(1, 0, "");
    EXPECT_FALSE(patch.Build(0));
}

TEST(SplitLines, FinalBreakEndsTheLastLine) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string_view>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Indent, WidthAndText) {
    EXPECT_EQ(IndentWidth(" \t x", Tabs(4)), 5);
    EXPECT_EQ(IndentText(9, Caret(true, 4)), "\t\t ");
    EXPECT_EQ(IndentText(3, Caret(false, 4)), "   ");
}

}  // namespace
}  // namespace quodle
