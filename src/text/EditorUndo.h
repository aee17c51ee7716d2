#pragma once
// Undo and redo. Every ReplaceRows opens one record here and fills in what
// it replaced; Undo puts the old text back and turns the record into a redo
// step, Redo does the reverse. Records hold text, not operations, so typing,
// pasting, block operations and Lines changes all undo alike.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "text/RowParseState.h"

namespace quodle {

class TEditorScreenStrings;

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

    // Keeps `old` in OldText less what it shares with `produced`. `head`
    // and `tail`: bytes the edit kept before and after both (not passed).
    void StoreOldText(std::string_view old, std::string_view produced, std::size_t head = 0, std::size_t tail = 0);
    // The whole replaced text, given the text of the rows the edit produced.
    std::string WholeOldText(std::string_view produced) const;
};

using TUndoDataList = std::deque<TUndoData>;

class TEditorUndoObj {
public:
    static constexpr int kMinUndoListMax = 64;

    explicit TEditorUndoObj(TEditorScreenStrings& rows) : rows_(rows) {}

    // Appends a record holding the focused editor's caret; drops the oldest
    // beyond UndoListMax and, unless replaying, clears the redo list. The
    // reference stays valid until the next BeginRecord or ClearHistory.
    TUndoData& BeginRecord();

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
};

}  // namespace quodle
