#pragma once
// Carrying a property set into an editor and back. The set is plain data
// (engine side); the editor is a widget, so the copying lives here.
#include "editor/qt/EditorEx.h"
#include "props/EditorExProp.h"

namespace quodle {

// The set's values into the editor. Word wrap goes last, in the order that
// rewraps the text once.
void AssignTo(const TEditorExProp& prop, TEditorEx& editor);
// The editor's values into the set.
void Assign(TEditorExProp& prop, const TEditorEx& editor);
TEditorExProp PropOf(const TEditorEx& editor);

}  // namespace quodle
