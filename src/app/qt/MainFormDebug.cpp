// The デバッグ menu: commenting lines out and in, and the watch and break
// lines with their group commands. Each command is one undo step on the
// active editor; none changes a Read Only text.
#include "app/qt/MainForm.h"
#include "base/ShiftJis.h"
#include "editor/LineConversions.h"
#include "editor/qt/EditorEx.h"
#include "lisp/DebugLines.h"
#include "lisp/DocumentLines.h"
#include "lisp/qt/VariableNamePrompt.h"

namespace quodle {

namespace {
int CaretLine(const TEditorEx& editor) { return editor.LineIndexOfRow(editor.Row()); }
}  // namespace

TEditorEx* TTarnwickMainForm::WritableEditor() const {
    TEditorEx* editor = ActiveEditor();
    return editor && !editor->ReadOnly() ? editor : nullptr;
}

void TTarnwickMainForm::EditActiveLines(const std::function<TLineEdits(TLineList, TEditorEx&)>& command) {
    TEditorEx* editor = WritableEditor();
    if (!editor) return;
    const TLineEdits edits = [&] {
        const TDocumentLines lines(editor->Rows());
        return command(lines.Lines(), *editor);
    }();
    editor->EditLines(edits);
}

// With a selection, its rows; else the caret's line. An empty text has no
// line to comment.
void TTarnwickMainForm::CommentCaretLines(bool add) {
    TEditorEx* editor = WritableEditor();
    if (!editor || editor->Rows().Count() == 0) return;
    editor->Lines().BeginUpdate();
    if (!editor->Selected())
        EditActiveLines([add](TLineList lines, TEditorEx& e) {
            return add ? CommentLine(lines, CaretLine(e)) : UncommentLine(lines, CaretLine(e));
        });
    else if (add) editor->CommentSelection();
    else editor->UncommentSelection();
    editor->Lines().EndUpdate();
}

void TTarnwickMainForm::mnuCommentAddClick() { CommentCaretLines(true); }

void TTarnwickMainForm::mnuCommentDeleteClick() { CommentCaretLines(false); }

void TTarnwickMainForm::mnuWatchAddClick() {
    // The editor is the one active before the prompt takes the focus.
    TEditorEx* editor = WritableEditor();
    if (!editor) return;
    TVariableNamePrompt prompt(this);
    if (setup_.Dialogs->ExecModal(prompt) != QDialog::Accepted) return;
    const std::string name = Utf16ToCp932(prompt.Name().toStdU16String());
    const TDocumentLines lines(editor->Rows());
    const TLineEdits edits = AddWatchLine(lines.Lines(), CaretLine(*editor), name);
    editor->EditLines(edits);
}

void TTarnwickMainForm::mnuBreakAddClick() {
    EditActiveLines([](TLineList lines, TEditorEx& e) { return AddBreakLine(lines, CaretLine(e)); });
}

void TTarnwickMainForm::mnuWatchCommentClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return CommentOutDebugLines(lines, dgWatch); });
}

void TTarnwickMainForm::mnuWatchUncommentClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return ReenableDebugLines(lines, dgWatch); });
}

void TTarnwickMainForm::mnuWatchDeleteClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return DeleteDebugLines(lines, dgWatch); });
}

void TTarnwickMainForm::mnuBreakCommentClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return CommentOutDebugLines(lines, dgBreak); });
}

void TTarnwickMainForm::mnuBreakUncommentClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return ReenableDebugLines(lines, dgBreak); });
}

void TTarnwickMainForm::mnuBreakDeleteClick() {
    EditActiveLines([](TLineList lines, TEditorEx&) { return DeleteDebugLines(lines, dgBreak); });
}

}  // namespace quodle
