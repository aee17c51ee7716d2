#pragma once
// Undo and redo. Every ReplaceRows opens one record here and fills in what
// it replaced; Undo puts the old text back and turns the record into a redo
// step, Redo does the reverse. Records hold text, not operations, so typing,
// pasting, block operations and Lines changes all undo alike.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/RowParseState.h"
#include "text/StringList.h"

namespace quodle {

class TEditorClient;
class TEditorScreenStrings;
class TEditorStringList;

struct TUndoData {
    int CaretRow = 0;
    int CaretCol = 0;
    int FirstRow = -1;        // -1 until the edit fills it in
    int NewRowCount = 0;      // rows the edit produced; 0 for a pure deletion
    std::uint8_t OldEnding = reInvalid;  // reInvalid: the edit replaced no row
    // The replaced rows' text, CR LF after each row that ended a line, less
    // the bytes it shares at its start and at its end with the text the edit
    // produced (the NewRowCount rows from FirstRow): a keystroke in a long
    // line keeps what it changed, not the line.
    std::string OldText;
    std::size_t SharedHead = 0;
    std::size_t SharedTail = 0;

    // Keeps `old` in OldText less the `head` bytes at its start and the
    // `tail` bytes at its end that the produced text shares.
    void StoreOldText(std::string old, std::size_t head, std::size_t tail);
    // The same for `old`, the replaced part of a row: what it shares with
    // `produced` at either end is found here; `keptHead` and `keptTail` are
    // the row's bytes the edit kept before and after both.
    void StoreOldPiece(std::string_view old, std::string_view produced, std::size_t keptHead, std::size_t keptTail);
    // The whole replaced text, given the text of the rows the edit produced.
    std::string WholeOldText(std::string_view produced) const;
    // A group: the steps in the order they were made (the fields above
    // unused but the caret); they are replayed newest first.
    std::vector<TUndoData> Steps;
    // A bulk edit (ReplaceRowSpans): the spans that undo it, taking their
    // new rows from OldRows in order (the rows the edit replaced, kept as
    // rows, so that putting them back splits no text). FirstRow and
    // NewRowCount then cover the spans; OldText is unused.
    std::vector<TRowsSpan> Spans;
    std::shared_ptr<const TEditorStringList> OldRows;
};

using TUndoDataList = std::deque<TUndoData>;

class TEditorUndoObj {
public:
    static constexpr int kMinUndoListMax = 64;

    explicit TEditorUndoObj(TEditorScreenStrings& rows) : rows_(rows) {}

    // Appends a record holding the focused editor's caret; drops the oldest
    // beyond UndoListMax and, unless replaying, clears the redo list. The
    // reference stays valid until the next BeginRecord or ClearHistory.
    // Inside a group the record joins the group instead.
    TUndoData& BeginRecord();

    // The records made between these (the outermost pair of a nesting)
    // undo and redo as one step, after which the caret stands where it
    // stood at BeginGroup: in `editor` (the one the command acts on), or
    // the focused one when null. A group that recorded nothing leaves no
    // step. Undo and Redo do nothing while a group is open.
    void BeginGroup(const TEditorClient* editor = nullptr);
    void EndGroup();

    // Put back the newest undo (redo) step and move it to the redo (undo)
    // list; false when there is none. The attached editors' caret and
    // painting are suspended meanwhile, and the focused editor's caret goes
    // where it stood before the step was made. An editor deselects before
    // calling these: its selection may name rows that change.
    bool Undo();
    bool Redo();

    int UndoListMax() const { return undoListMax_; }
    // Values below 64 store 64.
    void SetUndoListMax(int value);

    bool CanUndo() const { return !undoList_.empty(); }
    bool CanRedo() const { return !redoList_.empty(); }
    // Both lists; row numbers in the records stop meaning anything when the
    // whole text is replaced or rewrapped.
    void ClearHistory();

    const TUndoDataList& UndoList() const { return undoList_; }
    const TUndoDataList& RedoList() const { return redoList_; }
    TUndoDataList& UndoList() { return undoList_; }
    TUndoDataList& RedoList() { return redoList_; }

    // For a text no one will undo (a command-line run): from now on every
    // record is dropped at the next one, so an edit of the whole text keeps
    // no copy of what it replaced.
    void KeepNoHistory() {
        keep_ = false;
        ClearHistory();
    }

    // Set while a redo is recorded, so recording it keeps the redo list.
    bool Replaying() const { return replaying_; }
    void SetReplaying(bool value) { replaying_ = value; }

private:
    // Puts the record's old rows back; returns its inverse (caret unset), or
    // false when the record no longer fits the rows.
    bool Replay(const TUndoData& record, TUndoData& inverse);

    TEditorScreenStrings& rows_;
    int undoListMax_ = kMinUndoListMax;
    TUndoDataList undoList_;
    TUndoDataList redoList_;
    bool replaying_ = false;
    bool keep_ = true;
    TUndoData dropped_;  // the last record, while no history is kept
    int groupDepth_ = 0;
    TUndoData group_;  // the open group
};

}  // namespace quodle
