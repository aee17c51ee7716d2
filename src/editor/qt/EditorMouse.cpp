// The mouse on TEditor: clicks place the caret, Shift+click extends the
// selection, a drag selects once the pointer has moved half a cell, a click
// left of the text selects whole rows, and the cursor shows the area under
// the pointer. While a drag holds the pointer outside the text area, a timer
// keeps extending it past the edge, so the view scrolls on its own.
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"

namespace quodle {

namespace {
constexpr int kAutoScrollMs = 50;
// Rows per tick: one at the edge, one more per two rows of distance.
int RowsPerTick(int distance, int rowHeight) { return std::clamp(1 + distance / std::max(1, 2 * rowHeight), 1, 8); }
// Columns per tick: three at the edge, three more per two cells of distance.
int ColsPerTick(int distance, int cellWidth) {
    return 3 * std::clamp(1 + distance / std::max(1, 2 * cellWidth), 1, 8);
}
}  // namespace

void TEditor::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    autoScroll_->stop();
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
        autoScroll_->stop();
        UpdateCursorShape(pos);
        emit MouseMove(pos, event->modifiers());
        return;
    }
    dragPoint_ = pos;
    // A running timer keeps its pace while the pointer moves outside.
    if (!OutsideText(pos).Any()) autoScroll_->stop();
    else if (!autoScroll_->isActive()) autoScroll_->start(kAutoScrollMs);
    DragTo(pos, false);
}

TEditor::TOutside TEditor::OutsideText(const QPoint& pos) const {
    TOutside out;
    const int top = TextTop();
    const int bottom = top + VisibleRowCount() * rowHeight_;
    out.up = std::max(0, top - pos.y());
    out.down = std::max(0, pos.y() - bottom + 1);
    // A row drag is meant to happen left of the text.
    if (drag_ == TDrag::Rows) return out;
    const int left = TextLeft();
    const int right = left + VisibleColCount() * cellWidth_;
    out.left = topCol_ > 0 ? std::max(0, left - pos.x()) : 0;
    out.right = std::max(0, pos.x() - right + 1);
    return out;
}

void TEditor::DragTo(const QPoint& pos, bool scrollStep) {
    TCellPos cell = CellAt(pos);
    // Above the text the caret goes one row up, so the view scrolls.
    if (pos.y() < TextTop()) cell.Row = std::min(cell.Row, topRow_ - 1);
    if (scrollStep) {
        const TOutside out = OutsideText(pos);
        if (out.up > 0) cell.Row = topRow_ - RowsPerTick(out.up, rowHeight_);
        else if (out.down > 0) {
            // The last row in view holds the caret: in a row drag that is
            // the row after the one dragged to.
            const int lastDragged = topRow_ + VisibleRowCount() - 1 - (drag_ == TDrag::Rows ? 1 : 0);
            cell.Row = lastDragged + RowsPerTick(out.down, rowHeight_);
        }
        if (out.left > 0) cell.Col = std::max(0, topCol_ - ColsPerTick(out.left, cellWidth_));
        else if (out.right > 0) cell.Col = topCol_ + VisibleColCount() - 1 + ColsPerTick(out.right, cellWidth_);
    }
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
    if (!selecting_ && !MovedHalfACell(pressPoint_, pos)) return;
    MoveTo(cell.Row, cell.Col, move, true);
}

bool TEditor::MovedHalfACell(const QPoint& from, const QPoint& to) const {
    return std::abs(to.x() - from.x()) * 2 >= cellWidth_ || std::abs(to.y() - from.y()) * 2 >= cellWidth_;
}

void TEditor::AutoScrollTick() {
    if (drag_ == TDrag::None) {
        autoScroll_->stop();
        return;
    }
    DragTo(dragPoint_, true);
}

void TEditor::EndDrag() {
    autoScroll_->stop();
    drag_ = TDrag::None;
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) EndDrag();
    UpdateCursorShape(event->position().toPoint());
}

TEditor::TPointerArea TEditor::AreaAt(const QPoint& pos) const {
    // Left of the text, where a click picks whole rows (the top corner too).
    if (pos.x() < TextLeft()) return paLeftMargin;
    if (pos.y() < TextTop()) return paTopMargin;
    if (caret_.SelMove && selectionMode_ == selStream && !ReadOnly() && Selected()) {
        // Over a selection that could be dragged.
        const TCellPos cell = CellAt(pos);
        const TStreamRange range = SelectionRange();
        const TRowOffset at{cell.Row, OffsetOfCol(*rows_, Layout(), cell.Row, cell.Col)};
        if (cell.Col < RowWidth(cell.Row) && range.Start <= at && at < range.End) return paSelection;
    }
    return paText;
}

void TEditor::UpdateCursorShape(const QPoint& pos) {
    if (!caret_.AutoCursor) return;
    const TPointerArea area = AreaAt(pos);
    if (area == paLeftMargin) {
        if (viewport()->cursor().shape() != Qt::BitmapCursor) viewport()->setCursor(LeftMarginCursor());
        return;
    }
    const Qt::CursorShape shape = area == paText ? Qt::IBeamCursor : Qt::ArrowCursor;
    if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
}

void TEditor::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_ == nullptr) return;
    popupMenu_->popup(event->globalPos());
}

}  // namespace quodle
