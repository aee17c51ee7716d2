#pragma once
// The row list of an editor: rows grouped into lines, the edit primitive
// ReplaceRows, row states kept current through a pluggable parser, and the
// editors that view the rows.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/CellMap.h"
#include "text/EditorClient.h"
#include "text/EditorUndo.h"
#include "text/EditorWrapOption.h"
#include "text/RowAttributeStringList.h"
#include "text/TextFile.h"

namespace quodle {

// Row-level queries that need no editor; also the scratch list that new
// rows are built in before they are put in place.
class TEditorStringList : public TRowAttributeStringList {
public:
    using TRowAttributeStringList::TRowAttributeStringList;

    // First row of the line that holds `row` (walks back over reWrapped
    // rows). Out-of-range rows are returned unchanged.
    int LineStartRow(int row) const;
    // Last row of the line that holds `row`.
    int LineEndRow(int row) const;

    // Lines: each row that is not reWrapped ends one, and so does the last
    // row. These take O(log blocks), and stepping through the lines in
    // order O(1) each.
    int LineCount() const;
    // First row of line `line`; Count() for the lines from LineCount() on.
    int LineToRow(int line) const;
    // The line that holds `row`; LineCount() for the row after the last.
    int RowToLine(int row) const;

    struct TRowsText {
        std::string text;
        TRowEnding ending = reInvalid;  // of the last row taken
        int rowCount = 0;
    };
    // The texts of `count` rows from `row` (count -1: to the end of the
    // line), `lineBreak` (CR LF) after each reBreak row. Out of range:
    // empty, reInvalid.
    TRowsText RowsText(int row, int count, std::string_view lineBreak = "\r\n") const;
    // How many bytes `text` shares at its start, and then at its end, with
    // what RowsText(row, count) would give, read in place: an undo record
    // keeps what an edit changed without the new text being copied out.
    std::pair<std::size_t, std::size_t> SharedEnds(std::string_view text, int row, int count) const;
};

// What the last edit changed; cleared when an update block ends.
struct TLastChange {
    bool Set = false;
    int FirstRow = 0;
    int OldRowCount = 0;
    int NewRowCount = 0;
    int StatesChanged = 0;
};

class TEditorScreenStrings : public TEditorStringList {
public:
    explicit TEditorScreenStrings(TRowBlockSize blockSize = {});
    ~TEditorScreenStrings() override;

    // Viewing editors. The first is the owner. Editors share the row list
    // through a shared_ptr; it dies with the last of them.
    void Attach(TEditorClient* editor);
    // Returns true when no editor is left.
    bool Detach(TEditorClient* editor);
    const std::vector<TEditorClient*>& Editors() const { return editors_; }
    TEditorClient* Owner() const { return editors_.empty() ? nullptr : editors_.front(); }
    // The attached editor that has the focus, else the owner, else null.
    TEditorClient* FocusedEditor() const;

    // The one gateway for every change of the text: replaces `count` rows
    // from `row` by `text` (CR LF, CR or LF breaks), records one undo step,
    // splits the new text into rows, recomputes row states and notifies the
    // editors once. Out-of-range arguments are ignored, and so is every
    // edit of a read-only text: false when nothing was changed.
    bool ReplaceRows(int row, int count, std::string_view text);
    // The same edit given by what changes: the rows' text (CR LF after each
    // row that ends a line) keeps its first `head` and last `tail` bytes,
    // and `text` replaces what lies between (head + tail beyond the rows'
    // text: ignored). A change inside one row costs the change, not the
    // row: a keystroke in a long line moves the bytes behind it once.
    bool ReplaceRows(int row, int count, std::size_t head, std::size_t tail, std::string_view text);
    // Many edits of whole lines as one, in one pass over the rows, recorded
    // as one undo step that keeps the replaced rows as rows: each span's
    // rows give way to the next NewCount rows of `rows` (whole lines, as
    // AppendLineRows makes them; their states and marks are not taken).
    // Spans are in ascending order and apart, each of whole lines (else
    // this throws EListError). A replaced row's marks go to the new row in
    // its place, the last new row taking those beyond; a span that leaves
    // no row hands them to the row that comes next, else to the last row.
    // Whether the text ends with a break is the new rows' affair. False when
    // nothing was changed (read-only, no spans).
    bool ReplaceRowSpans(std::span<const TRowsSpan> spans, const TEditorStringList& rows);
    // The same with the new rows given as texts, one row each, in order:
    // for a text without word wrap, where a line is one row.
    bool ReplaceRowSpans(std::span<const TRowsSpan> spans, std::span<const std::string_view> texts);

    // Read Only belongs to the text, so every editor on it and every path
    // (keys, menus, the program's rewrites through Lines) is refused alike:
    // ReplaceRows, Undo and Redo change nothing and nothing can be undone.
    // Replacing the whole text (loading a file, SetAllText, ClearAll) is no
    // edit: the program still fills a read-only report pane so.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // Removes rows; returns the union of their row marks.
    std::uint16_t DeleteRows(int row, int count);
    // Replaces `count` rows from `row` by all rows of `rows` (texts, words,
    // data, state texts) while keeping the old rows' marks in the range.
    // Many rows are taken over rather than copied: `rows` may be left empty.
    void PutRows(int row, int count, TEditorStringList& rows);
    // Turns a text into rows: one per line, ending reBreak, and with word
    // wrap on cut at the wrap positions (rows ending reWrapped). Every
    // producer of rows (edits, undo, redo, loading) wraps here, alike.
    void SplitIntoRows(std::string_view text, TEditorStringList& rows) const;
    // Appends the rows of each line, cut as SplitIntoRows cuts them, each
    // line's last row ending reBreak. `rowsPerLine` receives how many rows
    // each line took; it is left empty when every line is one row.
    void AppendLineRows(std::span<const std::string_view> lines, TEditorStringList& rows,
                        std::vector<int>& rowsPerLine) const;

    // Row states (see RowParseState.h); need the owner's parser, and do
    // nothing without one. Returns the number of rows whose state changed.
    int UpdateStates(int row, bool notify);
    void UpdateAllStates();
    // The state at the start of `row`, computing it (and the rows above it
    // that are not computed) when needed; editors call this before drawing.
    TRowParseState EnsureRowState(int row);

    // Bracket depths, kept while an attached editor wants them: each row's
    // own balance is stored as its state is computed, so an edit costs its
    // own rows and the depth at a row is a join over the blocks above it.
    // The editors' wishes are read again on Attach, Detach and this call;
    // keeping starts with every state computed anew.
    void RefreshBracketDepths();
    bool KeepsBracketDepths() const { return keepDepths_; }
    // The nesting depth of round brackets of code at the start of `row`
    // (computing the states above it when needed); 0 while no depths are
    // kept or for a row out of range.
    int BracketDepthAt(int row);

    // Marks in use: the union of the marks placed anywhere.
    std::uint16_t MarksInUse() const { return marksInUse_; }
    void SetMarksInUse(std::uint16_t marks) { marksInUse_ = marks; }

    // Row marks (RowMarks.cpp; constants in RowMarks.h). Rows out of range
    // read as unmarked and ignore writes; so do marks outside 0..15. A mark
    // change repaints the row in every editor; it is no change of the text.
    std::uint16_t RowMarksOf(int row) const;
    // Replaces the row's set, keeping MarksInUse the union of the marks placed.
    void PutRowMarks(int row, std::uint16_t marks);
    // A numbered mark (0..9) first leaves the row that carries it.
    void SetRowMark(int row, int mark);
    void ClearRowMark(int row, int mark);
    // The first row carrying the mark, or -1.
    int FindRowMark(int mark) const;
    // The first row at or after / the last row at or before `row` that
    // carries any of `marks`, or -1.
    int NextRowWithMarks(int row, std::uint16_t marks) const;
    int PrevRowWithMarks(int row, std::uint16_t marks) const;

    const TLastChange& LastChange() const { return lastChange_; }
    void ClearLastChange() { lastChange_ = {}; }

    TEditorUndoObj& UndoObj() { return undo_; }
    const TEditorUndoObj& UndoObj() const { return undo_; }
    // Grows with every change of the rows the editors are told of (text or
    // layout): what was read from the rows holds while it stays the same.
    std::uint64_t Revision() const { return revision_; }
    // The shared history of every editor on these rows (see EditorUndo.h).
    bool Undo() { return !readOnly_ && undo_.Undo(); }
    bool Redo() { return !readOnly_ && undo_.Redo(); }
    bool CanUndo() const { return !readOnly_ && undo_.CanUndo(); }
    bool CanRedo() const { return !readOnly_ && undo_.CanRedo(); }

    // Word wrap. Switching it, changing a wrap option while it is on, or
    // changing the tab width while it is on rewraps the whole text once and
    // clears the undo history (the records' row numbers stop matching); a
    // wrap option changed while it is off clears the history too. A rewrap
    // is no change of the text (RowsChanged(false)).
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // Its change notification rewraps while word wrap is on.
    TEditorWrapOption& WrapOption() { return wrapOption_; }
    const TEditorWrapOption& WrapOption() const { return wrapOption_; }
    void SetWrapOption(const TEditorWrapOption& value) { wrapOption_.Assign(value); }
    // The owner editor's tab stop distance; tabs inside wrapped rows also
    // stop at the wrap width.
    int TabSpaceCount() const { return tabSpaceCount_; }
    void SetTabSpaceCount(int value);
    // How the cells of the rows are laid out: tab stops, and the wrap width
    // while word wrap is on.
    const TCellLayout& CellLayout() const { return layout_; }
    // Cut every line at its wrap positions / join every line into one row.
    // Rows take the marks of the rows they replace; every editor's caret and
    // top row stay on the same text; history cleared, states recomputed,
    // every editor repainted.
    void WrapAll();
    void UnwrapAll();

    // Whole-text operations behind Lines: no undo step, history cleared.
    // Clear also sends every editor's caret to row 0, column 0.
    void ClearAll();
    // Clears, then splits `text` at CR LF, CR or LF into rows.
    void SetAllText(std::string_view text);
    // All rows, `lineBreak` (CR LF) after each reBreak row.
    std::string AllText(std::string_view lineBreak = "\r\n") const;
    // Clears, then reads the file (throws EFileError, rows then empty) and
    // takes its format and its tail (the result's Tail then empty). A load with a problem leaves the text read-only and
    // SaveBlocked while its text stands in for characters it cannot hold.
    TLoadResult LoadFromFile(const std::string& path, TReadEncoding encoding = TReadEncoding::Detect);
    // The same with the rows `read` puts into the (empty) list it is given,
    // a read made earlier (TReadAhead).
    TLoadResult LoadFrom(const std::function<TLoadResult(TheStringList&)>& read);

    // How the text is written to its file; a new text is Shift-JIS, CR LF.
    // Changing it is no edit of the rows: the caller marks the document.
    const TFileFormat& FileFormat() const { return fileFormat_; }
    // A Shift-JIS text keeps no variants: turned UTF-8 again, it is canonical.
    void SetFileFormat(const TFileFormat& format) {
        fileFormat_ = format;
        if (format.Encoding == TTextEncoding::ShiftJis) fileFormat_.Variants = 0;
    }
    // The text stands in for characters its file held (kNoFormMark): saving
    // it would lose them.
    bool SaveBlocked() const { return saveBlocked_; }
    // The bytes the file held from a Ctrl+Z on (TLoadResult::Tail): never
    // shown, written back after the text by every save.
    const std::string& FileTail() const { return fileTail_; }
    // What a save writes: the text in FileFormat, then the FileTail. Without a value when a
    // byte of the text has no UTF-8 form; `badLine` (from 1) then tells the
    // line that holds it.
    std::optional<std::string> FileBytes(int* badLine = nullptr) const;
    // The same bytes handed to `put` in pieces of about a block of rows, so
    // that a Shift-JIS text is never held twice (a UTF-8 one is converted
    // whole first). False, with nothing handed over, when FileBytes has no
    // value.
    bool PutFileBytes(const std::function<void(std::string_view)>& put, int* badLine = nullptr) const;

protected:
    void Changing() override;
    void Changed() override;
    void UpdateBlockClosed() override;

private:
    friend class TEditorUndoObj;

    // Open around the steps of one edit: they notify nobody, the edit
    // notifies once at its end.
    class TEditScope;
    // After a whole-text change: rewrap when word wrap is on, states from
    // the top, repaint everything.
    void FinishFullChange();
    void Rewrap(bool wrap);
    // Replaces the rows by the same lines, cut (or not) at wrap positions.
    void RebuildRows(bool wrap);
    int StateLookaheadRows() const;
    // Stores computed states from `start` (whose own state is `state`) on,
    // up to `limit`, stopping at the first row that already holds its state.
    // `maskBeyond`: forget the states below `limit` when the scan reaches
    // it still changing states (they may be stale).
    int ScanStates(int row, int limit, bool notify, bool maskBeyond = true);
    void NotifyRowsChanged();
    // Replaces rows by the whole-line deletion rule: marks go to the row
    // that takes the place.
    void DeleteWholeLines(int row, int count);
    // Deletes rows, handing their marks to the row that takes their place
    // (or dropping them from MarksInUse when no row is left).
    void DeleteRowsPassingMarks(int row, int count);
    // Where the bytes of `row` from `head` up to `tail` bytes before the end
    // of its text (its CR LF included) end within the row, when replacing
    // them by `text` changes that row alone and keeps it one row; else npos.
    std::size_t InRowEnd(int row, std::size_t head, std::size_t tail, std::string_view text) const;
    // Replaces bytes [head, end) of the row in place by `text` (InRowEnd
    // gave `end`), as ReplaceRows would: the row keeps its ending and marks,
    // its state is computed anew, and `record` receives what puts the old
    // bytes back.
    void SpliceRow(int row, std::size_t head, std::size_t end, std::string_view text, TUndoData& record);
    // Undo and redo: puts the record's old rows in place of the rows its
    // edit produced, without an undo step; `inverse` receives the record
    // that puts back what stood there (caret not set).
    void RestoreRows(const TUndoData& record, TUndoData& inverse);
    // Carries out the spans (checked) with rows from `source`; `record`
    // receives the spans and rows that undo them.
    void ApplySpans(std::span<const TRowsSpan> spans, const TEditorStringList& source, TUndoData& record);
    // `replace` makes the spans' replacement, handing the replaced rows to
    // the list it is given.
    void ApplySpans(std::span<const TRowsSpan> spans, const std::function<void(TheStringList*)>& replace,
                    TUndoData& record);

    std::vector<TEditorClient*> editors_;
    TEditorUndoObj undo_;
    TLastChange lastChange_;
    std::uint16_t marksInUse_ = 0;
    bool wordWrap_ = false;
    bool readOnly_ = false;
    TFileFormat fileFormat_;
    std::string fileTail_;
    bool saveBlocked_ = false;
    bool problemReadOnly_ = false;
    TEditorWrapOption wrapOption_;
    int tabSpaceCount_ = 8;
    TCellLayout layout_{8, 0};  // what the rows were cut by
    int editDepth_ = 0;  // inside ReplaceRows: its inner steps notify nobody
    std::uint64_t revision_ = 0;
    // What the changes not yet notified did: the text, or only the rows'
    // cuts (a rewrap).
    bool textChanged_ = false;
    bool relaidOut_ = false;
    bool keepDepths_ = false;
};

}  // namespace quodle
