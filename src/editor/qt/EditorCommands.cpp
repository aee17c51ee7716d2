// The editing commands of TEditor: each asks the engine for its one edit,
// applies it through the row list's ReplaceRows and places the caret.
#include <algorithm>

#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"

namespace quodle {

void TEditor::Apply(const std::optional<TRowsEdit>& edit) {
    if (!edit || ReadOnly()) return;
    CaretBeginUpdate();
    quodle::ApplyEdit(*rows_, *edit);
    const TRowOffset caret = CaretAfterEdit(*rows_, *edit);
    PlaceCaret(caret.Row, caret.Offset);
    CaretEndUpdate();
}

void TEditor::Apply(const TEditOutcome& outcome) {
    if (outcome.Edit) Apply(outcome.Edit);
    else if (outcome.Move) SetCaret(outcome.Move->Row, outcome.Move->Col, {outcome.Move->Col < col_ ? -1 : 1, false, false});
}

bool TEditor::SelectionShown() const {
    if (selectionMode_ == selBox) return SelectionBox().Left < kMaxMappedCells;
    return StartsShown(*rows_, Layout(), SelectionRange().Start);
}

bool TEditor::DeleteSelection() {
    if (ReadOnly() || !Selected()) return false;
    if (!SelectionShown()) return true;
    const bool box = selectionMode_ == selBox;
    const TStreamRange range = SelectionRange();
    const TBoxRange rect = SelectionBox();
    Deselect();
    Apply(box ? ReplaceBoxEdit(*rows_, Layout(), rect, {}) : ReplaceStreamEdit(*rows_, Layout(), range, {}));
    return true;
}

void TEditor::InsertText(std::string_view text) {
    if (ReadOnly() || text.empty()) return;
    if (Selected()) {
        if (!SelectionShown()) return;
        // The selection and the new text are one edit, one undo step.
        const bool box = selectionMode_ == selBox;
        const TStreamRange range = SelectionRange();
        const TBoxRange rect = SelectionBox();
        Deselect();
        Apply(box ? ReplaceBoxEdit(*rows_, Layout(), rect, text) : ReplaceStreamEdit(*rows_, Layout(), range, text));
        return;
    }
    Deselect();
    Apply(InsertTextEdit(*rows_, Layout(), {row_, col_}, text, overwrite_));
}

void TEditor::ClearSelection() { DeleteSelection(); }

bool TEditor::DropText(TCellPos at, std::string_view text) {
    if (ReadOnly() || text.empty()) return false;
    const std::optional<TRowsEdit> edit = InsertTextEdit(*rows_, Layout(), at, text, false);
    if (!edit) return false;
    Deselect();
    Apply(edit);
    return true;
}

void TEditor::MoveText(const TStreamRange& range, TCellPos at) {
    if (ReadOnly() || range.Empty()) return;
    Deselect();
    Apply(MoveTextEdit(*rows_, Layout(), range, at));
}

void TEditor::BoxPaste(std::string_view text) {
    if (ReadOnly() || text.empty()) return;
    if (!Selected()) {
        Apply(BoxPasteEdit(*rows_, Layout(), {row_, col_}, text));
        return;
    }
    // The selection goes and the text comes in one edit, one undo step; a
    // box's left column is where the text goes.
    if (!SelectionShown()) return;
    const bool box = selectionMode_ == selBox;
    const TStreamRange range = SelectionRange();
    const TBoxRange rect = SelectionBox();
    Deselect();
    const std::optional<TRowsEdit> removal =
        box ? ReplaceBoxEdit(*rows_, Layout(), rect, {}) : ReplaceStreamEdit(*rows_, Layout(), range, {});
    if (removal) Apply(BoxPasteOverEdit(*rows_, Layout(), *removal, box ? rect.Left : -1, text));
    else Apply(BoxPasteEdit(*rows_, Layout(), box ? TCellPos{rect.Top, rect.Left} : CellOfOffset(range.Start), text));
}

void TEditor::DeleteRowAt(int row) {
    if (ReadOnly() || row < 0 || row >= rows_->Count()) return;
    Deselect();
    const bool lastWithoutBreak = row == rows_->Count() - 1 && rows_->RowEnding(row) == reNoBreak;
    CaretBeginUpdate();
    rows_->ReplaceRows(row, 1, {});
    if (lastWithoutBreak && row > 0) SetCaret(row - 1, RowWidth(row - 1));
    else SetCaret(row, 0);
    CaretEndUpdate();
}

void TEditor::BlockOperation(TBlockOperation op) {
    if (ReadOnly() || !Selected()) return;
    if (selectionMode_ == selBox) {
        const TBoxRange box = SelectionBox();
        const TCellPos anchor = anchor_, caret{row_, col_};
        CaretBeginUpdate();
        Apply(BoxBlockEdit(*rows_, Layout(), box, op, Layout().wrapByte));
        CaretEndUpdate();
        // The box stays where it was.
        Select(anchor, caret);
        return;
    }
    const TStreamRange range = SelectionRange();
    const bool caretAtEnd = TCellPos{row_, col_} >= anchor_;
    const std::optional<TBlockEdit> block = StreamBlockEdit(*rows_, Layout(), range, op, Layout().wrapByte);
    if (!block) return;
    CaretBeginUpdate();
    quodle::ApplyEdit(*rows_, block->Edit);
    CaretEndUpdate();
    // The same text stays selected, the caret at the same end.
    const TCellPos start = CellOfOffset(block->Range.Start), end = CellOfOffset(block->Range.End);
    if (caretAtEnd) Select(start, end);
    else Select(end, start);
}

void TEditor::EditLines(const TLineEdits& edits) {
    if (edits.empty()) return;
    Deselect();
    const int line = rows_->RowToLine(row_);
    const int rowInLine = row_ - rows_->LineToRow(line);
    const int top = topRow_, col = col_;
    CaretBeginUpdate();
    ApplyLineEdits(*rows_, edits, this);
    const int start = rows_->LineToRow(edits.NewLineOf(line));
    SetTopRow(top);
    SetCaret(std::min(start + rowInLine, rows_->LineEndRow(start)), col);
    CaretEndUpdate();
}

void TEditor::Undo() {
    if (!CanUndo()) return;
    Deselect();
    rows_->Undo();
}

void TEditor::Redo() {
    if (!CanRedo()) return;
    Deselect();
    rows_->Redo();
}

// ---------------------------------------------------------------- row marks

std::uint16_t TEditor::RowMarksOf(int row) const { return rows_->RowMarksOf(row); }

void TEditor::PutRowMarks(int row, std::uint16_t marks) { rows_->PutRowMarks(row, marks); }

void TEditor::SetRowMark(int row, int mark) { rows_->SetRowMark(row, mark); }

void TEditor::ClearRowMark(int row, int mark) { rows_->ClearRowMark(row, mark); }

void TEditor::JumpToRowMark(int mark) {
    const int r = rows_->FindRowMark(mark);
    if (r < 0) return;
    if (r < topRow_ || r >= topRow_ + VisibleRowCount()) SetTopRow(r - VisibleRowCount() / 2);
    MoveTo(r, col_, {r < row_ ? -1 : 1, true, false}, false);
}

}  // namespace quodle
