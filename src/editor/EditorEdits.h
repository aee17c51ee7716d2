#pragma once
// The editing keys and commands as pure functions of the rows: each gives
// the one ReplaceRows that carries it out (so it is one undo step) and where
// the caret goes, or a caret move that changes no text. The editor widget
// only applies the result.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorOptions.h"
#include "editor/EditorSelection.h"
#include "text/CellMap.h"

namespace quodle {

// Count rows from Row (a line start) changed: their text (CR LF after each
// row that ends a line) keeps its first Head and last Tail bytes, and
// Replacement takes the place of what lies between; the caret goes to byte
// Caret of the rows' new text. An edit inside a long line carries what it
// changes, not the line.
struct TRowsEdit {
    int Row = 0;
    int Count = 0;
    std::string Replacement;
    std::size_t Caret = 0;
    std::size_t Head = 0;
    std::size_t Tail = 0;
};

// Carries the edit out: one ReplaceRows, one undo step.
void ApplyEdit(TEditorScreenStrings& rows, const TRowsEdit& edit);
// The text of the edit's rows as the edit leaves them.
std::string EditedText(const TEditorStringList& rows, const TRowsEdit& edit);

// What a key does: an edit, or a caret move without one, or nothing.
struct TEditOutcome {
    std::optional<TRowsEdit> Edit;
    std::optional<TCellPos> Move;
};

// The text of whole lines as one string, changed by replacements at
// ascending, non-overlapping positions and turned into one TRowsEdit. The
// rows are read where they are, not copied: the patch must not outlive a
// change of them.
class TRowsPatch {
public:
    // Rows first..last, widened to whole lines; last may be the row after
    // the last row when the text ends with a break (or is empty).
    TRowsPatch(const TEditorStringList& rows, int first, int last);

    int First() const { return first_; }
    // Bytes of the old text.
    std::size_t Size() const { return size_; }
    // Position in the old text of byte `offset` of `row` (clamped to the row).
    std::size_t PosOf(int row, int offset) const;
    std::size_t RowEndPos(int row) const;

    void Replace(std::size_t pos, std::size_t length, std::string_view text);
    // Where an old position lands in the new text; a replacement that starts
    // at `pos` is taken as before it, unless `afterInserted`.
    std::size_t NewPos(std::size_t pos, bool afterInserted = true) const;
    // Nothing when the text stays the same.
    std::optional<TRowsEdit> Build(std::size_t caret) const;

private:
    struct TPiece {
        std::size_t Pos;
        std::size_t Length;
        std::string Text;
    };
    // Appends bytes [from, to) of the old text.
    void AppendOld(std::string& out, std::size_t from, std::size_t to) const;

    const TEditorStringList& rows_;
    int first_ = 0;
    int realCount_ = 0;  // rows of the list covered (the row after the last is not one)
    std::size_t size_ = 0;
    std::vector<std::size_t> starts_;  // per covered row, the virtual one included
    std::vector<TPiece> pieces_;
};

// Where the caret of an applied edit stands.
TRowOffset CaretAfterEdit(const TEditorStringList& rows, const TRowsEdit& edit);

// Width in cells of the leading blanks (spaces and tabs).
int IndentWidth(std::string_view row, const TCellLayout& layout);
// That width as text: spaces, or with TabIndent tabs and then spaces.
std::string IndentText(int width, const TEditorCaretProp& caret);

// Whether an edit that starts at `pos` starts where it shows: in one of the
// shown cells of its row, or at the end of a row narrower than them. Edits
// that would start further right are refused: what they put in would not
// show, and what they take away was never seen.
bool StartsShown(const TEditorStringList& rows, const TCellLayout& layout, TRowOffset pos);

// Typed or inserted text at the caret: past the end of the row, the row is
// padded with spaces first; in overwrite mode the text replaces as many
// cells as it is wide (a character it cuts leaves spaces for its rest).
// Nothing at a column past the shown cells, unless the text starts with a
// break.
std::optional<TRowsEdit> InsertTextEdit(const TEditorStringList& rows, const TCellLayout& layout, TCellPos caret,
                                        std::string_view text, bool overwrite);
// The selected bytes replaced by text (empty: just deleted); the caret goes
// after the text. Nothing when the range starts past the shown cells.
std::optional<TRowsEdit> ReplaceStreamEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                           const TStreamRange& range, std::string_view text);
// The selected bytes moved to `target` (one edit, so one undo step); past
// the end of its row the text goes after spaces, as typed text would. The
// caret goes after the moved text. Nothing when the target lies inside the
// range, either of them past the shown cells, or the text would stay the
// same.
std::optional<TRowsEdit> MoveTextEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                      const TStreamRange& range, TCellPos target);
// The box's part of each row removed and text inserted at its top left.
// Nothing when the box's left column is past the shown cells.
std::optional<TRowsEdit> ReplaceBoxEdit(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box,
                                        std::string_view text);

// The editing keys. Delete and Backspace take nothing the user cannot see
// (a character that starts past the shown cells) and join no text to a row
// where it would start past them.
// Enter (shift: Shift+Enter, a new indented row above the line).
TEditOutcome EnterKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                      TCellPos pos, bool shift, bool overwrite);
TEditOutcome TabKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                    TCellPos pos, bool overwrite);
TEditOutcome BackspaceKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                          TCellPos pos);
TEditOutcome DeleteKey(const TEditorStringList& rows, const TCellLayout& layout, TCellPos pos);

// Each line of text inserted at `target`'s column of consecutive rows from
// target's row; short rows are padded, rows past the end appended. Nothing
// at a column past the shown cells.
std::optional<TRowsEdit> BoxPasteEdit(const TEditorStringList& rows, const TCellLayout& layout, TCellPos target,
                                      std::string_view text);

// Box paste over a selection as one edit (one undo step): `removal` (the
// selection deleted, by ReplaceStreamEdit or ReplaceBoxEdit) is made on a
// copy of the rows it and the paste reach, cut as `rows` cuts them, and the
// text is box-pasted there at `column` (-1: the column where the removal
// leaves the caret) from the row where the removal leaves the caret.
// Nothing, not even the removal, when that column is past the shown cells.
std::optional<TRowsEdit> BoxPasteOverEdit(const TEditorScreenStrings& rows, const TCellLayout& layout,
                                          const TRowsEdit& removal, int column, std::string_view text);

// The lines of a text split at CR LF, CR or LF; a final break ends the last
// line rather than starting an empty one.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace quodle
