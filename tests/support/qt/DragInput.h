#pragma once
// Drags for Qt tests: the toolkit's drag loop replaced by a script that
// delivers the drag's events to a target editor, and drops of data from
// outside the program.
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <optional>
#include <vector>

#include "editor/qt/OleddEditor.h"

namespace quodle::testing {

// Delivers the drag's entry at the first point of `path`, a move to each
// later point and the drop at the last, with `modifiers`; `carets` records
// the target's drop caret after each move. While it lives, selection drags
// run through it.
class TScriptedDrag {
public:
    TScriptedDrag(TEditor& target, std::vector<QPoint> path, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
        : target_(target), path_(std::move(path)), modifiers_(modifiers) {
        TOleddEditor::SetDragLoop([this](QDrag& drag, Qt::DropActions actions) { return Run(drag, actions); });
    }
    ~TScriptedDrag() { TOleddEditor::SetDragLoop({}); }
    TScriptedDrag(const TScriptedDrag&) = delete;
    TScriptedDrag& operator=(const TScriptedDrag&) = delete;

    int runs = 0;
    Qt::DropAction result = Qt::IgnoreAction;
    std::vector<std::optional<TCellPos>> carets;

private:
    Qt::DropAction Run(QDrag& drag, Qt::DropActions actions) {
        ++runs;
        QWidget* vp = target_.viewport();
        QDragEnterEvent enter(path_.front(), actions, drag.mimeData(), Qt::LeftButton, modifiers_);
        QApplication::sendEvent(vp, &enter);
        if (!enter.isAccepted()) return result = Qt::IgnoreAction;
        for (std::size_t i = 1; i < path_.size(); ++i) {
            QDragMoveEvent move(path_[i], actions, drag.mimeData(), Qt::LeftButton, modifiers_);
            QApplication::sendEvent(vp, &move);
            carets.push_back(target_.DropCaret());
        }
        QDropEvent drop(QPointF(path_.back()), actions, drag.mimeData(), Qt::LeftButton, modifiers_);
        QApplication::sendEvent(vp, &drop);
        return result = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    TEditor& target_;
    std::vector<QPoint> path_;
    Qt::KeyboardModifiers modifiers_;
};

inline void SendMouse(TEditor& editor, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, editor.viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &event);
}

// The left button pressed at `from` and the pointer moved a cell on: over
// a movable selection the drag runs (through a TScriptedDrag), then the
// button comes up.
inline void DragFrom(TEditor& editor, QPoint from) {
    SendMouse(editor, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(editor, QEvent::MouseMove, from + QPoint(editor.CellWidth(), 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(editor, QEvent::MouseButtonRelease, from + QPoint(editor.CellWidth(), 0), Qt::LeftButton, Qt::NoButton);
}

// Data from outside dragged onto the editor and dropped at `at`: the
// action taken, or IgnoreAction when the entry or the drop was refused.
inline Qt::DropAction DropData(TEditor& editor, const QMimeData& data, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace quodle::testing
