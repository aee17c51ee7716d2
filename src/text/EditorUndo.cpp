#include "text/EditorUndo.h"

#include <algorithm>
#include <utility>

#include "text/EditorScreenStrings.h"
#include "text/RowsUpdateBlock.h"

namespace quodle {

namespace {

void PlaceFocusedCaret(const TEditorScreenStrings& rows, int row, int col) {
    if (TEditorClient* focused = rows.FocusedEditor()) focused->PlaceCaret(row, col);
}

}  // namespace

void TUndoData::StoreOldText(std::string old, std::size_t head, std::size_t tail) {
    SharedHead = head;
    SharedTail = tail;
    // Trimmed in place: a large edit's old text is not copied again.
    old.resize(old.size() - tail);
    old.erase(0, head);
    OldText = std::move(old);
}

void TUndoData::StoreOldPiece(std::string_view old, std::string_view produced, std::size_t keptHead,
                              std::size_t keptTail) {
    const std::size_t most = std::min(old.size(), produced.size());
    std::size_t head = 0;
    while (head < most && old[head] == produced[head]) ++head;
    std::size_t tail = 0;
    while (tail < most - head && old[old.size() - 1 - tail] == produced[produced.size() - 1 - tail]) ++tail;
    StoreOldText(std::string(old), head, tail);
    SharedHead += keptHead;
    SharedTail += keptTail;
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
    if (!keep_) return dropped_ = std::move(record);
    if (!replaying_) redoList_.clear();
    if (groupDepth_ > 0) return group_.Steps.emplace_back(std::move(record));
    undoList_.push_back(std::move(record));
    while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
    return undoList_.back();
}

void TEditorUndoObj::BeginGroup(const TEditorClient* editor) {
    if (groupDepth_++ > 0) return;
    group_ = TUndoData{};
    if (!editor) editor = rows_.FocusedEditor();
    if (editor) {
        group_.CaretRow = editor->CaretRow();
        group_.CaretCol = editor->CaretCol();
    }
}

void TEditorUndoObj::EndGroup() {
    if (groupDepth_ == 0 || --groupDepth_ > 0) return;
    TUndoData group = std::move(group_);
    group_ = TUndoData{};
    if (group.Steps.empty()) return;
    if (group.Steps.size() == 1) {
        // One step needs no group, only the group's caret.
        TUndoData step = std::move(group.Steps.front());
        step.CaretRow = group.CaretRow;
        step.CaretCol = group.CaretCol;
        group = std::move(step);
    }
    undoList_.push_back(std::move(group));
    while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
}

bool TEditorUndoObj::Replay(const TUndoData& record, TUndoData& inverse) {
    if (!record.Steps.empty()) {
        // Newest first; the inverses come out in that order, so replaying
        // them newest first again makes the steps in their first order.
        inverse.Steps.reserve(record.Steps.size());
        for (auto it = record.Steps.rbegin(); it != record.Steps.rend(); ++it)
            if (!Replay(*it, inverse.Steps.emplace_back())) return false;
        return true;
    }
    if (record.FirstRow < 0 || record.NewRowCount < 0 || record.FirstRow + record.NewRowCount > rows_.Count())
        return false;
    rows_.RestoreRows(record, inverse);
    return true;
}

bool TEditorUndoObj::Undo() {
    if (undoList_.empty() || groupDepth_ > 0) return false;
    const TUndoData record = std::move(undoList_.back());
    undoList_.pop_back();
    TRowsUpdateBlock block(rows_);
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
    if (redoList_.empty() || groupDepth_ > 0) return false;
    const TUndoData record = std::move(redoList_.back());
    redoList_.pop_back();
    TRowsUpdateBlock block(rows_);
    TUndoData inverse;
    if (!Replay(record, inverse)) {
        ClearHistory();
        return false;
    }
    replaying_ = true;
    TUndoData& undo = BeginRecord();
    replaying_ = false;
    inverse.CaretRow = undo.CaretRow;
    inverse.CaretCol = undo.CaretCol;
    undo = std::move(inverse);
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
    // Steps of an open group stop matching the rows as well.
    group_.Steps.clear();
}

}  // namespace quodle
