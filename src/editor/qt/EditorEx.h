#pragma once
// TEditorEx: the editor the program creates for documents and for the
// output pane. It takes its settings from a property set and gives them back.
#include "editor/qt/OleddEditor.h"
#include "props/EditorExProp.h"

namespace quodle {

class TEditorEx : public TOleddEditor {
    Q_OBJECT
public:
    explicit TEditorEx(QWidget* parent = nullptr);

    // The property set's values into this editor, and this editor's into a set.
    void AssignFrom(const TEditorExProp& prop);
    void AssignTo(TEditorExProp& prop) const;
    TEditorExProp Prop() const;
};

}  // namespace quodle
