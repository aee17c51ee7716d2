// The selection of TEditor: an anchor and the caret on the cell grid, in
// stream or box mode; the byte ranges come from the engine.
#include <algorithm>

#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"

namespace quodle {

bool TEditor::Selected() const {
    if (!selecting_) return false;
    if (selectionMode_ == selBox) return !SelectionBox().Empty();
    return !SelectionRange().Empty();
}

TStreamRange TEditor::SelectionRange() const {
    if (!selecting_) {
        const TRowOffset caret{row_, OffsetOfCol(*rows_, Layout(), row_, col_)};
        return {caret, caret};
    }
    return StreamRangeOf(*rows_, Layout(), anchor_, {row_, col_});
}

TBoxRange TEditor::SelectionBox() const {
    if (!selecting_) return {row_, row_, col_, col_};
    return BoxRangeOf(anchor_, {row_, col_});
}

void TEditor::SetSelectionMode(TSelectionMode mode) {
    if (mode == selectionMode_) return;
    InvalidateSelection();
    selectionMode_ = mode;
    InvalidateSelection();
    emit SelectionModeChange();
    SelectionChanged();
}

void TEditor::Select(TCellPos anchor, TCellPos caret) {
    InvalidateSelection();
    selecting_ = true;
    anchor_ = {std::clamp(anchor.Row, 0, LastCaretRow()), std::max(0, anchor.Col)};
    SetCaret(caret.Row, caret.Col);
    InvalidateSelection();
    SelectionChanged();
}

void TEditor::Deselect() {
    if (!selecting_) return;
    InvalidateSelection();
    selecting_ = false;
    SelectionChanged();
}

void TEditor::ClearSelectionState() {
    selecting_ = false;
    reportedSelected_ = false;
}

void TEditor::InvalidateSelection() {
    if (!selecting_) return;
    InvalidateRows(std::min(anchor_.Row, row_), std::max(anchor_.Row, row_));
}

void TEditor::SelectionChanged() {
    const bool selected = Selected();
    const TCellPos caret{row_, col_};
    if (selected == reportedSelected_ && (!selected || (anchor_ == reportedAnchor_ && caret == reportedCaret_))) return;
    reportedSelected_ = selected;
    reportedAnchor_ = anchor_;
    reportedCaret_ = caret;
    emit SelectionChange(selected);
}

std::int64_t TEditor::SelStart() const {
    if (selecting_ && selectionMode_ == selBox) {
        const TBoxRange box = SelectionBox();
        return TextOffsetOf(*rows_, {box.Top, OffsetOfCol(*rows_, Layout(), box.Top, box.Left)});
    }
    return TextOffsetOf(*rows_, SelectionRange().Start);
}

void TEditor::SetSelStart(std::int64_t offset) {
    Deselect();
    const TRowOffset pos = PositionOfTextOffset(*rows_, offset);
    const TCellPos cell = CellOfOffset(pos);
    SetCaret(cell.Row, cell.Col);
}

std::int64_t TEditor::SelLength() const {
    if (!Selected()) return 0;
    if (selectionMode_ == selBox) return BoxLength(*rows_, Layout(), SelectionBox());
    return StreamLength(*rows_, SelectionRange());
}

void TEditor::SetSelLength(std::int64_t length) {
    if (selectionMode_ != selStream) SetSelectionMode(selStream);
    const TRowOffset from{row_, OffsetOfCol(*rows_, Layout(), row_, col_)};
    const TRowOffset to = PositionOfTextOffset(*rows_, TextOffsetOf(*rows_, from) + std::max<std::int64_t>(0, length));
    Select(CellOfOffset(from), CellOfOffset(to));
}

std::string TEditor::SelText() const {
    if (!Selected()) return {};
    if (selectionMode_ == selBox) return BoxText(*rows_, Layout(), SelectionBox());
    return StreamText(*rows_, SelectionRange());
}

void TEditor::SelectAll() {
    // A box cannot hold the whole text.
    SetSelectionMode(selStream);
    const TRowOffset end = TextEnd(*rows_);
    Select(CellOfOffset(end), {0, 0});
}

}  // namespace quodle
