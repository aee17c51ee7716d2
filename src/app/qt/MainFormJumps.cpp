// The ジャンプ menu and the return point every jump stores first.
#include "app/LineNumber.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "editor/qt/EditorEx.h"
#include "text/EditorStrings.h"

namespace quodle {

void TTarnwickMainForm::GoToRow(TEditorEx* editor, int row) {
    // A selection left behind (a hit shown as one) would steer the next
    // search from where the caret no longer is.
    editor->Deselect();
    editor->SetTopRow(row);
    editor->SetRow(row);
}

void TTarnwickMainForm::StoreReturnPoint(const TEditorEx& editor) { returnPoint_ = {editor.Row(), editor.TopRow()}; }

void TTarnwickMainForm::JumpBack() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    // The point is a row: under word wrap there are more rows than lines.
    if (returnPoint_.row < 0 || returnPoint_.row >= editor->Rows().Count()) {
        // The document changed under the stored point: forget it.
        returnPoint_.row = -1;
        return;
    }
    editor->SetTopRow(returnPoint_.topRow);
    editor->SetRow(returnPoint_.row);
}

void TTarnwickMainForm::mnuJumpLineClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const std::optional<QString> text = setup_.Dialogs->LineNumber(this);
    if (!text) return;
    const int number = ParseLineNumber(text->toStdString());
    const int lines = editor->Lines().Count();
    if (number < 1 || number > lines) {
        Message(LineNumberRangeText(lines));
        return;
    }
    StoreReturnPoint(*editor);
    // The first row of the line: the same row unless lines are wrapped.
    GoToRow(editor, editor->Lines().LineToRow(number - 1));
}

void TTarnwickMainForm::mnuJumpTopClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    StoreReturnPoint(*editor);
    GoToRow(editor, 0);
    editor->SetCol(0);
}

void TTarnwickMainForm::mnuJumpEndClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor || editor->Lines().Count() == 0) return;
    StoreReturnPoint(*editor);
    // Counted in rows, so a wrapped text ends at its last row too.
    const int rows = editor->Rows().Count();
    const int visible = editor->VisibleRowCount();
    editor->SetTopRow(rows > visible ? rows - visible - 1 : 0);
    editor->SetRow(rows - 1);
}

}  // namespace quodle
