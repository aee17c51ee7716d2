// 関数・変数 → プロジェクト解析... and 関数の呼び出し箇所...: asks for a
// folder, hands it to the whole-project analysis (project/qt) with the open
// documents' unsaved texts, shows its report (or the calls of the function at
// the caret) in the output pane, and opens the file a double click on a
// report line leads to.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressBar>

#include "app/ExclusionSettings.h"
#include "app/IniFile.h"
#include "app/qt/CaretLine.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/ProgressBarSink.h"
#include "app/qt/StatusPanels.h"
#include "base/qt/ProgressWindow.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "lisp/ReferenceLists.h"
#include "lisp/UserFunctions.h"
#include "project/qt/ProjectPane.h"
#include "text/EditorPositions.h"
#include "text/EditorStrings.h"

namespace quodle {

void TTarnwickMainForm::mnuProjectAnalysisClick() {
    RunProjectPane(ProjectCaption(), [](TProjectPane& pane, const QString& folder, TProjectOptions options,
                                        const TProjectTexts& texts, TProgressSink* progress) {
        return pane.Run(folder, std::move(options), texts, progress);
    });
}

void TTarnwickMainForm::mnuProjectCallsClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const TCaretLine caret = CaretLineOf(*editor);
    const std::string name = CaretInCommentOrString(*editor, caret) ? std::string()
                                                                    : std::string(NameAround(caret.Text, caret.Offset));
    if (name.empty()) {
        Message(NoFunctionNameText());
        return;
    }
    RunProjectPane(CallsCaption(), [&](TProjectPane& pane, const QString& folder, TProjectOptions options,
                                       const TProjectTexts& texts, TProgressSink* progress) {
        return pane.RunCalls(folder, name, std::move(options), texts, progress);
    });
}

void TTarnwickMainForm::RunProjectPane(const QString& caption, const TProjectPaneRun& run) {
    // The active document's folder; the open dialog's for a new document.
    const int active = PageControl1->ActivePageIndex();
    const QString activePath = active >= 0 && active < tabPaths_.size() ? tabPaths_[active] : QString();
    const QString initial = FileExists(activePath) ? QFileInfo(activePath).absolutePath() : OpenDialog1.InitialDir;
    const std::optional<QString> folder = setup_.Dialogs->FolderName(this, ProjectFolderCaption(), initial);
    if (!folder) return;

    TProjectOptions options;
    options.BuiltinFunctions = ReferenceFunctionNames(functionList_);
    options.VariableExclusions = TExclusionSet(exclusionList_);
    options.VariableSettings = ReadExclusionSettings(IniFile(setup_.SettingsPath.toStdString()).Read());
    // What the user sees is analysed: an edited document as it stands.
    TProjectTexts texts;
    for (int i = 0; i < PageControl1->PageCount() && i < tabPaths_.size(); ++i) {
        const auto* page = qobject_cast<TDocumentPage*>(PageControl1->Page(i));
        if (page && page->Editor() && page->Editor()->Modified() && FileExists(tabPaths_[i]))
            texts.emplace(tabPaths_[i].toStdString(), page->Editor()->Lines().Text());
    }

    // Function names in the files' variable checks stand between "|" and "(".
    SetPaneBrackets("|", "(");
    EditorEx1->Lines().Clear();
    QElapsedTimer timer;
    timer.start();
    TProgressBarSink bar(ProgressBar1);
    if (!projectPane_) projectPane_ = std::make_shared<TProjectPane>();
    try {
        const TProjectReport* report = nullptr;
        {
            // A folder tree can be as large as a disk: the user may stop it.
            TStoppableProgress progress(bar, this, caption, ProjectAnalysingText());
            report = run(*projectPane_, *folder, std::move(options), texts, &progress);
        }
        ProgressBar1->setValue(0);
        if (!report) {
            StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, StoppedText());
            return;
        }
        ShowInOutputPane(report->Lines);
        ShowElapsed(timer);
        if (!report->Message.empty()) Message(SjisToQString(report->Message));
    } catch (const FileError& e) {
        ProgressBar1->setValue(0);
        Message(ProjectFolderFailedText(e));
    }
}

bool TTarnwickMainForm::ProjectPaneJump(int paneLine) {
    if (!projectPane_) return false;
    const std::optional<TProjectPane::TPlace> place =
        projectPane_->PlaceOf(paneLine, EditorEx1->Lines().Get(paneLine));
    if (!place) return false;
    if (const int open = FindOpenTab(place->Path); open >= 0) {
        SelectTab(open);
        TabChange();
    } else {
        if (!MayOpen(place->Path)) return true;
        OpenFileIntoNewTab(place->Path);
    }
    TEditorEx* editor = ActiveEditor();
    if (!editor || place->Line >= editor->Lines().Count()) return true;
    const TCellPos cell = editor->CellOfOffset(LinePosToRowOffset(editor->Rows(), place->Line, place->Offset));
    GoToRow(editor, cell.Row);
    editor->SetCol(cell.Col);
    editor->setFocus();
    return true;
}

}  // namespace quodle
