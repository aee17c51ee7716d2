#include "text/EditorUndo.h"

#include <algorithm>
#include <utility>

#include "text/EditorScreenStrings.h"

namespace quodle {

namespace {

// Around one replayed step: the editors neither move their carets nor paint,
// and the rows notify them once at the end.
class TReplayBlock {
public:
    explicit TReplayBlock(TEditorScreenStrings& rows) : rows_(rows) {
        for (TEditorClient* e : rows_.Editors()) {
            e->CaretBeginUpdate();
            e->UpdateBlockBegin();
        }
        rows_.BeginUpdate();
    }
    ~TReplayBlock() {
        rows_.EndUpdate();
        for (TEditorClient* e : rows_.Editors()) {
            e->UpdateBlockEnd();
            e->CaretEndUpdate();
        }
    }
    TReplayBlock(const TReplayBlock&) = delete;
    TReplayBlock& operator=(const TReplayBlock&) = delete;

private:
    TEditorScreenStrings& rows_;
};

void PlaceFocusedCaret(const TEditorScreenStrings& rows, int row, int col) {
    if (TEditorClient* focused = rows.FocusedEditor()) focused->PlaceCaret(row, col);
}

}  // namespace

void TUndoData::StoreOldText(std::string_view old, std::string_view produced, std::size_t keptHead,
                             std::size_t keptTail) {
    const std::size_t most = std::min(old.size(), produced.size());
    std::size_t head = 0;
    while (head < most && old[head] == produced[head]) ++head;
    std::size_t tail = 0;
    while (tail < most - head && old[old.size() - 1 - tail] == produced[produced.size() - 1 - tail]) ++tail;
    SharedHead = keptHead + head;
    SharedTail = keptTail + tail;
    OldText.assign(old.substr(head, old.size() - head - tail));
}

std::string TUndoData::WholeOldText(std::string_view produced) const {
    // Rows changed behind the gateway may be shorter than the shared parts.
    const std::size_t head = std::min(SharedHead, produced.size());
    const std::size_t tail = std::min(SharedTail, produced.size() - head);
    std::string whole;
    whole.reserve(head + OldText.size() + tail);
    whole.append(produced.substr(0, head)).append(OldText).append(produced.substr(produced.size() - tail));
    return whole;
}

TUndoData& TEditorUndoObj::BeginRecord() {
    TUndoData record;
    if (const TEditorClient* focused = rows_.FocusedEditor()) {
        record.CaretRow = focused->CaretRow();
        record.CaretCol = focused->CaretCol();
    }
    undoList_.push_back(std::move(record));
    while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
    if (!replaying_) redoList_.clear();
    return undoList_.back();
}

bool TEditorUndoObj::Replay(const TUndoData& record, TUndoData& inverse) {
    if (record.FirstRow < 0 || record.NewRowCount < 0 || record.FirstRow + record.NewRowCount > rows_.Count())
        return false;
    rows_.RestoreRows(record, inverse);
    return true;
}

bool TEditorUndoObj::Undo() {
    if (undoList_.empty()) return false;
    const TUndoData record = std::move(undoList_.back());
    undoList_.pop_back();
    TReplayBlock block(rows_);
    TUndoData inverse;
    if (!Replay(record, inverse)) {
        // The rows were changed behind the gateway: no record can be trusted.
        ClearHistory();
        return false;
    }
    if (const TEditorClient* focused = rows_.FocusedEditor()) {
        inverse.CaretRow = focused->CaretRow();
        inverse.CaretCol = focused->CaretCol();
    }
    redoList_.push_back(std::move(inverse));
    PlaceFocusedCaret(rows_, record.CaretRow, record.CaretCol);
    return true;
}

bool TEditorUndoObj::Redo() {
    if (redoList_.empty()) return false;
    const TUndoData record = std::move(redoList_.back());
    redoList_.pop_back();
    TReplayBlock block(rows_);
    TUndoData inverse;
    if (!Replay(record, inverse)) {
        ClearHistory();
        return false;
    }
    replaying_ = true;
    TUndoData& undo = BeginRecord();
    replaying_ = false;
    undo.FirstRow = inverse.FirstRow;
    undo.NewRowCount = inverse.NewRowCount;
    undo.OldEnding = inverse.OldEnding;
    undo.OldText = std::move(inverse.OldText);
    undo.SharedHead = inverse.SharedHead;
    undo.SharedTail = inverse.SharedTail;
    PlaceFocusedCaret(rows_, record.CaretRow, record.CaretCol);
    return true;
}

void TEditorUndoObj::SetUndoListMax(int value) {
    undoListMax_ = std::max(value, kMinUndoListMax);
    while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
}

void TEditorUndoObj::ClearHistory() {
    undoList_.clear();
    redoList_.clear();
}

}  // namespace quodle
