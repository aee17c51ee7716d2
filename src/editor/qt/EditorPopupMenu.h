#pragma once
// TEditorPopupMenu: the editor's built-in context menu — row marks, undo,
// the clipboard, select all and the box mode — enabled by the editor's
// state each time it opens.
#include <QMenu>

namespace quodle {

class TEditor;

class TEditorPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TEditorPopupMenu(TEditor* editor);

    // Sets enabled and checked states from the editor (done on opening).
    void UpdateItems();
    // An item by its caption without the accelerator ("元に戻す").
    QAction* Item(const QString& caption) const;

private:
    QAction* Add(QMenu* menu, const QString& caption, const QString& shortcut);

    TEditor* editor_;
    QMenu* markSet_ = nullptr;
    QMenu* markJump_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* boxPaste_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* boxMode_ = nullptr;
};

}  // namespace quodle
