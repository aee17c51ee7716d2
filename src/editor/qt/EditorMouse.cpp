// The mouse on TEditor: clicks place the caret, Shift+click extends the
// selection, a drag selects once the pointer has moved half a cell, a click
// left of the text selects whole rows, and the cursor shows the area under
// the pointer.
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"

namespace quodle {

namespace {
bool MovedHalfACell(const QPoint& from, const QPoint& to, int cellWidth) {
    return std::abs(to.x() - from.x()) * 2 >= cellWidth || std::abs(to.y() - from.y()) * 2 >= cellWidth;
}
}  // namespace

void TEditor::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    const TCellPos cell = CellAt(pos);
    const TCaretMove move{cell.Row < row_ || (cell.Row == row_ && cell.Col < col_) ? -1 : 1, false, true};
    if (event->modifiers() & Qt::ShiftModifier) {
        MoveTo(cell.Row, cell.Col, move, true);
        drag_ = TDrag::Text;
        pressPoint_ = pos;
        return;
    }
    if (pos.x() < TextLeft() && caret_.RowSelect) {
        // Whole rows from the clicked one.
        rowAnchor_ = std::clamp(cell.Row, 0, LastCaretRow());
        drag_ = TDrag::Rows;
        const int next = std::min(rowAnchor_ + 1, LastCaretRow());
        Select({rowAnchor_, 0}, next > rowAnchor_ ? TCellPos{next, 0} : TCellPos{rowAnchor_, RowWidth(rowAnchor_)});
        return;
    }
    // The caret goes to the cell and becomes the anchor of a new selection,
    // which starts once the pointer has moved half a cell.
    MoveTo(cell.Row, cell.Col, move, false);
    drag_ = TDrag::Text;
    pressPoint_ = pos;
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || drag_ == TDrag::None) {
        UpdateCursorShape(pos);
        return;
    }
    TCellPos cell = CellAt(pos);
    // Above the text the caret goes one row up, so the view scrolls.
    if (pos.y() < TextTop()) cell.Row = std::min(cell.Row, topRow_ - 1);
    cell.Row = std::clamp(cell.Row, 0, LastCaretRow());
    const TCaretMove move{cell.Row < row_ || (cell.Row == row_ && cell.Col < col_) ? -1 : 1, false, true};
    if (drag_ == TDrag::Rows) {
        const int last = LastCaretRow();
        if (cell.Row >= rowAnchor_) {
            const int next = std::min(cell.Row + 1, last);
            Select({rowAnchor_, 0}, next > cell.Row ? TCellPos{next, 0} : TCellPos{cell.Row, RowWidth(cell.Row)});
        } else {
            const int below = std::min(rowAnchor_ + 1, last);
            Select(below > rowAnchor_ ? TCellPos{below, 0} : TCellPos{rowAnchor_, RowWidth(rowAnchor_)},
                   {cell.Row, 0});
        }
        return;
    }
    if (!selecting_ && !MovedHalfACell(pressPoint_, pos, cellWidth_)) return;
    MoveTo(cell.Row, cell.Col, move, true);
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_ = TDrag::None;
    UpdateCursorShape(event->position().toPoint());
}

void TEditor::UpdateCursorShape(const QPoint& pos) {
    if (!caret_.AutoCursor) return;
    Qt::CursorShape shape = Qt::IBeamCursor;
    if (pos.x() < TextLeft() || pos.y() < TextTop()) {
        shape = Qt::ArrowCursor;
    } else if (caret_.SelMove && selectionMode_ == selStream && !readOnly_ && Selected()) {
        // Over a selection that could be dragged.
        const TCellPos cell = CellAt(pos);
        const TStreamRange range = SelectionRange();
        const TRowOffset at{cell.Row, OffsetOfCol(*rows_, Layout(), cell.Row, cell.Col)};
        if (cell.Col < RowWidth(cell.Row) && range.Start <= at && at < range.End) shape = Qt::ArrowCursor;
    }
    if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
}

void TEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_ == nullptr) return;
    popupMenu_->popup(event->globalPos());
}

}  // namespace quodle
