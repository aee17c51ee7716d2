// The code fixes' menu items (lisp/qt/CodeFixCommands does the work): the
// handlers pick the editor and the definition and show what there is to show.
#include <QMenu>

#include "app/ExclusionSettings.h"
#include "app/IniFile.h"
#include "app/qt/MainForm.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "lisp/qt/CodeFixCommands.h"

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
    const TSlipReport report = SlipReportOf(*editor);
    ShowInOutputPane(report.Lines);
    if (!report.Message.empty()) Message(SjisToQString(report.Message));
}

void TTarnwickMainForm::mnuSlipsFixClick() {
    TEditorEx* editor = WritableEditor();
    if (!editor) return;
    if (!FixSlipsIn(*editor)) {
        Message(QString::fromUtf8(kNoSlipsMessage));
        return;
    }
    // A list in the pane would name slips that are gone: what is left is listed.
    ShowInOutputPane(SlipReportOf(*editor).Lines);
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
    const TVariableFixResult result = FixVariablesIn(*editor, definitionLine, fix, exclusions, settings);
    if (recheck) ShowInOutputPane(VariableCheckLinesOf(*editor, exclusions, settings));
    if (!result.Message.empty()) Message(SjisToQString(result.Message));
}

void TTarnwickMainForm::mnuLocaliseClick() {
    if (TEditorEx* editor = WritableEditor()) FixVariables(editor, CaretDefinition(*editor), TVariableFix::Localise, false);
}

void TTarnwickMainForm::mnuDropUnusedClick() {
    if (TEditorEx* editor = WritableEditor()) FixVariables(editor, CaretDefinition(*editor), TVariableFix::DropUnused, false);
}

void TTarnwickMainForm::PaneLocaliseClick() {
    if (TEditorEx* editor = WritableEditor())
        FixVariables(editor, PaneDefinition(*EditorEx1, *editor), TVariableFix::Localise, true);
}

void TTarnwickMainForm::PaneDropUnusedClick() {
    if (TEditorEx* editor = WritableEditor())
        FixVariables(editor, PaneDefinition(*EditorEx1, *editor), TVariableFix::DropUnused, true);
}

}  // namespace quodle
