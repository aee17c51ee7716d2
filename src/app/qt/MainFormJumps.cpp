// The return point of the jump commands.
#include "app/qt/MainForm.h"
#include "editor/EditorStrings.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

void TTarnwickMainForm::StoreReturnPoint() {
    if (TEditorEx* editor = ActiveEditor()) returnPoint_ = {editor->Row(), editor->TopRow()};
}

void TTarnwickMainForm::JumpBack() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    if (returnPoint_.row < 0 || returnPoint_.row >= editor->Lines().Count()) {
        // The document changed under the stored point: forget it.
        returnPoint_.row = -1;
        return;
    }
    editor->SetTopRow(returnPoint_.topRow);
    editor->SetRow(returnPoint_.row);
}

}  // namespace quodle
