// Drag and drop on TOleddEditor. A press on a movable stream selection
// waits: a click there is an ordinary click, a move of half a cell drags
// the selection. Text dropped into the same text (this editor, the other
// pane of a split, a second window on the document) is moved, or copied
// with Ctrl; dropped into other text it is copied, so the source keeps its
// text whatever the target reports. Every drop is one edit, one undo step.
#include "editor/qt/OleddEditor.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace quodle {

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

TOleddEditor::TDragLoop& DragLoop() {
    static TOleddEditor::TDragLoop loop;
    return loop;
}

// The selection drag under way in this program, if any: its source and the
// data it offers (a drop compares the data to know its own).
struct TOwnDrag {
    QPointer<TOleddEditor> source;
    const QMimeData* data = nullptr;
};
TOwnDrag& OwnDrag() {
    static TOwnDrag drag;
    return drag;
}

}  // namespace

constexpr int kDragScrollMs = 80;

TOleddEditor::TOleddEditor(QWidget* parent) : TEditor(parent), dragScroll_(new QTimer(this)) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    dragScroll_->setInterval(kDragScrollMs);
    connect(dragScroll_, &QTimer::timeout, this, &TOleddEditor::DragScrollTick);
}

void TOleddEditor::SetDragLoop(TDragLoop loop) { DragLoop() = std::move(loop); }

// ---------------------------------------------------------------- source

void TOleddEditor::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) &&
        AreaAt(pos) == paSelection) {
        setFocus(Qt::MouseFocusReason);
        selectionPress_ = pos;
        return;
    }
    TEditor::mousePressEvent(event);
}

void TOleddEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!selectionPress_) {
        TEditor::mouseMoveEvent(event);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) selectionPress_.reset();
    else if (MovedHalfACell(*selectionPress_, event->position().toPoint())) {
        selectionPress_.reset();
        DragSelection();
    }
}

void TOleddEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (selectionPress_ && event->button() == Qt::LeftButton) {
        // No drag came of it: the press was an ordinary click.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(*selectionPress_), event->globalPosition(), Qt::LeftButton,
                          Qt::LeftButton, event->modifiers());
        selectionPress_.reset();
        TEditor::mousePressEvent(&press);
    }
    TEditor::mouseReleaseEvent(event);
}

void TOleddEditor::DragSelection() {
    auto* drag = new QDrag(this);
    QMimeData* data = SelectionMimeData();
    drag->setMimeData(data);
    drag->setDragCursor(DragSelPicture(false), Qt::MoveAction);
    drag->setDragCursor(DragSelPicture(true), Qt::CopyAction);
    OwnDrag() = {this, data};
    const Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
    if (DragLoop()) {
        DragLoop()(*drag, allowed);
        drag->deleteLater();
    } else {
        // The toolkit deletes its drag when the loop ends.
        drag->exec(allowed, Qt::MoveAction);
    }
    OwnDrag() = {};
    EndDragOver();
}

// ---------------------------------------------------------------- target

TOleddEditor::TDropPlan TOleddEditor::PlanDrop(const QDropEvent& event) const {
    const QMimeData* data = event.mimeData();
    TDropPlan plan;
    if (!LocalFiles(data).isEmpty()) plan.kind = TDropPlan::kFiles;
    if (plan.kind == TDropPlan::kFiles || ReadOnly() || !data || !data->hasText()) return plan;
    plan.kind = TDropPlan::kText;
    const TOwnDrag& own = OwnDrag();
    if (own.source && own.data == data && own.source->RowList() == RowList()) plan.source = own.source;
    const bool copy = plan.source == nullptr || (event.modifiers() & Qt::ControlModifier);
    plan.action = copy ? Qt::CopyAction : Qt::MoveAction;
    if (!(event.possibleActions() & plan.action)) plan.action = event.proposedAction();
    plan.cell = CaretCellAt(event.position().toPoint());
    return plan;
}

void TOleddEditor::TrackDrag(QDropEvent* event) {
    const TDropPlan plan = PlanDrop(*event);
    SetDropCaret(plan.kind == TDropPlan::kText ? std::optional<TCellPos>(plan.cell) : std::nullopt);
    dragOverPoint_ = event->position().toPoint();
    if (plan.kind == TDropPlan::kText && DragScrollDirection(dragOverPoint_.y()) != 0) {
        if (!dragScroll_->isActive()) dragScroll_->start();
    } else {
        dragScroll_->stop();
    }
    if (plan.kind == TDropPlan::kNone) {
        event->ignore();
        return;
    }
    if (plan.kind == TDropPlan::kText) event->setDropAction(plan.action);
    else event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TOleddEditor::dragEnterEvent(QDragEnterEvent* event) { TrackDrag(event); }

void TOleddEditor::dragMoveEvent(QDragMoveEvent* event) { TrackDrag(event); }

void TOleddEditor::dragLeaveEvent(QDragLeaveEvent*) { EndDragOver(); }

void TOleddEditor::EndDragOver() {
    dragScroll_->stop();
    SetDropCaret({});
}

int TOleddEditor::DragScrollDirection(int y) const {
    const int row = (y - TextTop()) / std::max(1, RowHeight());
    if (row <= 0) return TopRow() > 0 ? -1 : 0;
    return row >= VisibleRowCount() - 1 && TopRow() + VisibleRowCount() <= Rows().Count() ? 1 : 0;
}

void TOleddEditor::DragScrollTick() {
    const int direction = DragScrollDirection(dragOverPoint_.y());
    if (direction == 0 || !DropCaret()) {
        dragScroll_->stop();
        return;
    }
    ScrollRows(direction);
    SetDropCaret(CaretCellAt(dragOverPoint_));
}

void TOleddEditor::dropEvent(QDropEvent* event) {
    EndDragOver();
    const TDropPlan plan = PlanDrop(*event);
    if (plan.kind == TDropPlan::kFiles) {
        // Files win over text offered with them.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        emit DropFiles(LocalFiles(event->mimeData()));
        return;
    }
    if (plan.kind == TDropPlan::kNone || !TakeDrop(plan, *event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(plan.action);
    event->accept();
    setFocus(Qt::OtherFocusReason);
}

bool TOleddEditor::TakeDrop(const TDropPlan& plan, const QMimeData& data) {
    if (plan.source) {
        const TStreamRange range = plan.source->SelectionRange();
        const TRowOffset at{plan.cell.Row, OffsetOfCol(Rows(), Layout(), plan.cell.Row, plan.cell.Col)};
        // Dropped back into the dragged text: nothing moves, nothing is copied.
        if (range.Start < at && at < range.End) {
            plan.source->Deselect();
            return true;
        }
        if (plan.action == Qt::MoveAction) {
            plan.source->Deselect();
            MoveText(range, plan.cell);
            return true;
        }
    }
    // Text from elsewhere, or a copy: refused whole when a character of it
    // has no Shift-JIS form (Unencodable tells which), or where it would not
    // show; a refused move then leaves the text with its source.
    const std::optional<std::string> bytes = InputBytes(data.text());
    return bytes && DropText(plan.cell, *bytes);
}

}  // namespace quodle
