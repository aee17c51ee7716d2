#include "editor/EditorUndo.h"

#include <algorithm>

#include "editor/EditorScreenStrings.h"

namespace quodle {

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

void TEditorUndoObj::SetUndoListMax(int value) {
    undoListMax_ = std::max(value, kMinUndoListMax);
    while (static_cast<int>(undoList_.size()) > undoListMax_) undoList_.pop_front();
}

void TEditorUndoObj::ClearHistory() {
    undoList_.clear();
    redoList_.clear();
}

}  // namespace quodle
