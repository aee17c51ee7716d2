#pragma once
// TEditorEx: the editor the program creates for documents and for the
// output pane. It takes its settings from a property set and gives them
// back, and finds matching brackets.
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

    // If a bracket of the pair list stands at (row, byte offset), moves both
    // to its partner and returns true (brackets in strings, comments and
    // bracket regions do not count).
    bool FindMatchingBracket(int& row, int& offset);
};

}  // namespace quodle
