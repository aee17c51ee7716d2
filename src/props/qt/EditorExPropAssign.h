#pragma once
// Carrying a property set into an editor and back. The set is plain data
// (engine side); the editor is a widget, so the copying lives here. Between
// two sets, copying the set copies every property.
#include "editor/qt/EditorEx.h"
#include "props/EditorExProp.h"

namespace quodle {

// The set's values into the editor. Word wrap goes last, in the order that
// rewraps the text once. A set's FindLineFeedCount stays with the set.
void AssignTo(const TEditorProp& prop, TEditor& editor);
void AssignTo(const TEditorExProp& prop, TEditorEx& editor);
// The editor's values into the set (its file extensions stay).
void Assign(TEditorProp& prop, const TEditor& editor);
void Assign(TEditorExProp& prop, const TEditorEx& editor);
TEditorExProp PropOf(const TEditorEx& editor);

}  // namespace quodle
