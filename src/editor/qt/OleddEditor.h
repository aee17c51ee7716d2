#pragma once
// TOleddEditor: TEditor that takes files dropped from the desktop (and,
// later, text dragged between editors).
#include <QStringList>

#include "editor/qt/Editor.h"

namespace quodle {

class TOleddEditor : public TEditor {
    Q_OBJECT
public:
    explicit TOleddEditor(QWidget* parent = nullptr);

signals:
    // Local files dropped onto the editor, in the order given.
    void DropFiles(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace quodle
