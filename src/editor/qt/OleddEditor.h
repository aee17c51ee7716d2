#pragma once
// TOleddEditor: TEditor with drag and drop. Its stream selection can be
// dragged out (to itself, another editor, another window or program), text
// from anywhere can be dropped into it, and files dropped onto it are handed
// to the program. While a drag is over the editor the caret shows where the
// text would land.
#include <QPoint>
#include <QStringList>
#include <functional>
#include <optional>

#include "editor/qt/Editor.h"

class QDrag;
class QDropEvent;
class QMimeData;
class QTimer;

namespace quodle {

class TOleddEditor : public TEditor {
    Q_OBJECT
public:
    explicit TOleddEditor(QWidget* parent = nullptr);

    // What runs a selection drag: the toolkit's drag loop, unless a stand-in
    // is set (tests deliver the drag's events themselves). It is given the
    // actions the drag allows and returns the one the drop took.
    using TDragLoop = std::function<Qt::DropAction(QDrag& drag, Qt::DropActions allowed)>;
    static void SetDragLoop(TDragLoop loop);

signals:
    // Local files dropped onto the editor, in the order given.
    void DropFiles(const QStringList& paths);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void DragSelection();
    // What a drop at the event's place would do: open files, or put text at
    // `cell` with `action`; `source` is set for a selection dragged from an
    // editor on the same text.
    struct TDropPlan {
        enum TKind { kNone, kFiles, kText } kind = kNone;
        Qt::DropAction action = Qt::IgnoreAction;
        TCellPos cell;
        TOleddEditor* source = nullptr;
    };
    TDropPlan PlanDrop(const QDropEvent& event) const;
    // Accepts a drag with the effect a drop there would have (and shows
    // where the text would land), or refuses it.
    void TrackDrag(QDropEvent* event);
    // False when the text was refused.
    bool TakeDrop(const TDropPlan& plan, const QMimeData& data);
    // Rows to scroll for a drag held at `y`: -1 on the first row in view,
    // 1 on the last, else 0.
    int DragScrollDirection(int y) const;
    void DragScrollTick();
    void EndDragOver();

    // Where the left button went down on a draggable selection.
    std::optional<QPoint> selectionPress_;
    // A text drag held on the first or last row in view scrolls the text.
    QTimer* dragScroll_ = nullptr;
    QPoint dragOverPoint_;
};

}  // namespace quodle
