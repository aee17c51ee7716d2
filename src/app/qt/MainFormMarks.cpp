// The マーク menu and the extra marks rm10..rm15: row marks of the active
// editor, set and searched by the rules of RowMarks.h.
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "editor/RowMarks.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

void TTarnwickMainForm::mnuMarkToggleClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    if (ToggleNumberedMark(editor->Rows(), editor->Row()) == TToggleResult::AllInUse) Message(MarksAllInUseText());
}

void TTarnwickMainForm::mnuMarkNextClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const TMarkedRow found = NextMarkedRow(editor->Rows(), editor->Row());
    if (found.Row >= 0) GoToRow(editor, found.Row);
    else if (!found.Any) Message(NoMarksText());
}

void TTarnwickMainForm::mnuMarkPreviousClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const TMarkedRow found = PreviousMarkedRow(editor->Rows(), editor->Row());
    if (found.Row >= 0) GoToRow(editor, found.Row);
    else if (!found.Any) Message(NoMarksText());
}

void TTarnwickMainForm::mnuMarkClearClick() {
    TEditorEx* editor = ActiveEditor();
    if (editor && !ClearNumberedMarks(editor->Rows())) Message(NoMarksText());
}

void TTarnwickMainForm::RowMarkClick(int mark) {
    if (TEditorEx* editor = ActiveEditor()) ToggleRowMark(editor->Rows(), editor->Row(), mark);
}

}  // namespace quodle
