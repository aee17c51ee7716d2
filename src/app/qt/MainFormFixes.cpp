// The code fixes: full-width slips in code, and a definition's locals put
// right from the variable check's findings. The engine decides every
// change; these handlers take the editor, apply the edits as one undo step
// and show what there is to show.
#include <QMenu>

#include "app/ExclusionSettings.h"
#include "app/IniFile.h"
#include "app/qt/MainForm.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "lisp/CodeSlips.h"
#include "lisp/DocumentLines.h"
#include "lisp/VariableFixes.h"
#include "text/EditorStrings.h"

namespace quodle {

void TTarnwickMainForm::ConnectFixes(QMenu* lisp) {
    lisp->addSeparator();
    Connected(AddItem(lisp, QStringLiteral("mnuSlips"), QStringLiteral("全角の記号・英数字を一覧")), [this] { mnuSlipsClick(); });
    Connected(AddItem(lisp, QStringLiteral("mnuSlipsFix"), QStringLiteral("全角の記号・英数字を半角に修正")),
              [this] { mnuSlipsFixClick(); });
    Connected(AddItem(lisp, QStringLiteral("mnuLocalise"), QStringLiteral("未宣言変数をローカル変数に追加"),
                      QStringLiteral("Shift+F5")),
              [this] { mnuLocaliseClick(); });
    Connected(AddItem(lisp, QStringLiteral("mnuDropUnused"), QStringLiteral("未使用ローカル変数を削除")),
              [this] { mnuDropUnusedClick(); });
}

// The output pane's own menu works on the definition of its line.
void TTarnwickMainForm::ConnectFixesPane() {
    auto* pane = new QMenu(EditorEx1);
    Connected(AddItem(pane, QStringLiteral("mnuPaneLocalise"), QStringLiteral("この関数の未宣言変数をローカル変数に追加")),
              [this] { PaneLocaliseClick(); });
    Connected(AddItem(pane, QStringLiteral("mnuPaneDropUnused"), QStringLiteral("この関数の未使用ローカル変数を削除")),
              [this] { PaneDropUnusedClick(); });
    EditorEx1->SetPopupMenu(pane);
}

// ---------------------------------------------------------------- slips

void TTarnwickMainForm::mnuSlipsClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    StoreReturnPoint(*editor);
    const TDocumentLines lines(editor->Rows());
    const TSlipReport report = CodeSlipReport(FindCodeSlips(lines.Lines()));
    ShowInOutputPane(report.Lines);
    if (!report.Message.empty()) Message(SjisToQString(report.Message));
}

void TTarnwickMainForm::mnuSlipsFixClick() {
    TEditorEx* editor = WritableEditor();
    if (!editor) return;
    const TLineEdits edits = [&] {
        const TDocumentLines lines(editor->Rows());
        return FixCodeSlips(lines.Lines());
    }();
    if (edits.empty()) {
        Message(QString::fromUtf8(kNoSlipsMessage));
        return;
    }
    editor->EditLines(edits);
}

// ---------------------------------------------------------------- variables

void TTarnwickMainForm::FixVariables(TEditorEx* editor, int definitionLine, TVariableFix fix, bool recheck) {
    if (definitionLine < 0) {
        Message(QString::fromUtf8(kNoDefinitionMessage));
        return;
    }
    // The names the check leaves out are the ones its last run was told to.
    const TExclusionSettings settings = ReadExclusionSettings(IniFile(setup_.SettingsPath.toStdString()).Read());
    const TExclusionSet exclusions(exclusionList_);
    const TVariableFixResult result = [&] {
        const TDocumentLines lines(editor->Rows());
        return FixDefinitionVariables(lines.Lines(), definitionLine, fix, exclusions, settings);
    }();
    if (!result.Edits.empty()) editor->EditLines(result.Edits);
    if (recheck) {
        const TDocumentLines lines(editor->Rows());
        ShowInOutputPane(VariableCheck(lines.Lines(), exclusions, settings).Lines);
    }
    if (!result.Message.empty()) Message(SjisToQString(result.Message));
}

namespace {
int CaretDefinition(TEditorEx& editor) {
    const TDocumentLines lines(editor.Rows());
    return DefinitionAroundLine(lines.Lines(), editor.LineIndexOfRow(editor.Row()));
}
}  // namespace

void TTarnwickMainForm::mnuLocaliseClick() {
    if (TEditorEx* editor = WritableEditor()) FixVariables(editor, CaretDefinition(*editor), TVariableFix::Localise, false);
}

void TTarnwickMainForm::mnuDropUnusedClick() {
    if (TEditorEx* editor = WritableEditor()) FixVariables(editor, CaretDefinition(*editor), TVariableFix::DropUnused, false);
}

namespace {
// The definition the output pane's caret line belongs to, in `editor`.
int PaneDefinition(TEditorEx& pane, TEditorEx& editor) {
    const TDocumentLines report(pane.Rows());
    const int line = ReportLineOwner(report.Lines(), pane.LineIndexOfRow(pane.Row()));
    if (line < 0 || line >= editor.Lines().Count()) return -1;
    const TDocumentLines lines(editor.Rows());
    return DefinitionAroundLine(lines.Lines(), line);
}
}  // namespace

void TTarnwickMainForm::PaneLocaliseClick() {
    if (TEditorEx* editor = WritableEditor())
        FixVariables(editor, PaneDefinition(*EditorEx1, *editor), TVariableFix::Localise, true);
}

void TTarnwickMainForm::PaneDropUnusedClick() {
    if (TEditorEx* editor = WritableEditor())
        FixVariables(editor, PaneDefinition(*EditorEx1, *editor), TVariableFix::DropUnused, true);
}

}  // namespace quodle
