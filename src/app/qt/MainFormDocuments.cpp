// Documents and tabs: new, open, reopen, drop, save, save as, close, split,
// the second window, the close questions, the caption and the status panels.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>

#include "app/DocumentRules.h"
#include "app/OpenMenuList.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "base/FileIdentity.h"
#include "base/FileIo.h"
#include "base/Text.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "search/qt/EditorSearch.h"
#include "syntax/HyphenFountain.h"
#include "text/ReadAhead.h"
#include "text/TextFile.h"

namespace quodle {

namespace {

constexpr int kSecondWindowOffset = 30;

QString NewFilePath() { return QString::fromUtf8(kNewFilePath.data(), static_cast<qsizetype>(kNewFilePath.size())); }
QString FileName(const QString& path) { return QString::fromStdString(FileNamePart(path.toStdString())); }
TDocumentPage* PageOf(const TPageControl* pages, int index) { return qobject_cast<TDocumentPage*>(pages->Page(index)); }

}  // namespace

bool TTarnwickMainForm::FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

// ----------------------------------------------------------- editors and tabs

TEditorEx* TTarnwickMainForm::ActiveEditor() const {
    const TDocumentPage* page = PageOf(PageControl1, PageControl1->ActivePageIndex());
    if (!page) return nullptr;
    const std::vector<TEditorEx*> editors = page->Editors();
    for (TEditorEx* editor : editors)
        if (editor->hasFocus()) return editor;
    return editors.empty() ? nullptr : editors.back();
}

TEditorEx* TTarnwickMainForm::TabOriginalEditor() const {
    const TDocumentPage* page = PageOf(PageControl1, PageControl1->ActivePageIndex());
    return page ? page->Editor() : nullptr;
}

QString TTarnwickMainForm::ActiveFileName() const {
    const int index = PageControl1->ActivePageIndex();
    return index >= 0 && index < tabPaths_.size() ? FileName(tabPaths_[index]) : QString();
}

QWidget* TTarnwickMainForm::CreateDocumentPage(TEditorEx** editorOut) {
    auto* page = new TDocumentPage;
    auto* editor = new TEditorEx(page);
    page->SetEditor(editor);
    ConnectEditorEvents(editor);
    *editorOut = editor;
    return page;
}

void TTarnwickMainForm::PrepareEditor(TEditorEx* editor) {
    AssignTo(EditorExProp1, *editor);
    editor->SetFountain(HyphenFountain1);
    editor->SetFindMarkSearch(FindMarkSearch());
}

void TTarnwickMainForm::ConnectEditorEvents(TEditorEx* editor) {
    // Every pane on the text moves its caret after an edit (undo and redo
    // too), in no set order: the panel shows the active editor's.
    connect(editor, &TEditor::CaretMoved, this, [this] { RefreshPositionPanel(ActiveEditor()); });
    connect(editor, &TEditor::CaretMoved, this, [this, editor] { ShowTokenKind(editor); });
    connect(editor, &TEditor::Change, this, [this, editor] {
        RefreshModifiedPanel(editor);
        // A command that edits the selected lines keeps the selection as it
        // was, but not what it holds: the count would tell of the old text.
        if (editor == ActiveEditor() && editor->Selected()) SelectionCount(editor, true);
    });
    connect(editor, &TEditor::Enter, this, [this, editor] { RefreshSelectionModePanel(editor); });
    connect(editor, &TEditor::SelectionModeChange, this, [this, editor] { RefreshSelectionModePanel(editor); });
    connect(editor, &TEditor::OverwriteModeChange, this, [this, editor] { RefreshOverwritePanel(editor); });
    connect(editor, &TEditor::SelectionChange, this, [this, editor](bool selected) { SelectionCount(editor, selected); });
    connect(editor, &TOleddEditor::DropFiles, this, [this](const QStringList& paths) { OpenFiles(paths); });
    ConnectReferenceEvents(editor);
    // Said once the key or input-method event that brought the text is over.
    connect(
        editor, &TEditor::Unencodable, this, [this](const QString& characters) { Message(UnencodableText(characters)); },
        Qt::QueuedConnection);
}

void TTarnwickMainForm::SelectTab(int index) { PageControl1->SetActivePageIndex(index); }

int TTarnwickMainForm::FindOpenTab(const QString& path) const {
    for (int i = 0; i < tabPaths_.size(); ++i)
        if (tabPaths_[i] != NewFilePath() && SameFile(tabPaths_[i].toStdString(), path.toStdString())) return i;
    return -1;
}

void TTarnwickMainForm::SetDialogFolders(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    OpenDialog1.InitialDir = folder;
    SaveDialog1.InitialDir = folder;
}

void TTarnwickMainForm::MarkSaved(TEditorEx* editor) {
    for (TEditorClient* client : editor->Rows().Editors())
        if (auto* viewer = dynamic_cast<TEditor*>(client)) viewer->SetModified(false);
}

bool TTarnwickMainForm::IsSplit(int tabIndex) const {
    const TDocumentPage* page = PageOf(PageControl1, tabIndex);
    return page && page->IsSplit();
}

void TTarnwickMainForm::RemoveTab(int index) {
    TDocumentPage* page = PageOf(PageControl1, index);
    if (!page) return;
    page->Unsplit();
    PageControl1->TakePage(index);
    tabPaths_.removeAt(index);
    delete page;
}

// ----------------------------------------------------------- refresh

void TTarnwickMainForm::Refresh() {
    const int index = PageControl1->ActivePageIndex();
    const QString path = index >= 0 && index < tabPaths_.size() ? tabPaths_[index] : QString();
    if (index >= 0) setWindowTitle(path);
    if (TEditorEx* editor = ActiveEditor()) {
        RefreshModifiedPanel(editor);
        RefreshOverwritePanel(editor);
        RefreshSelectionModePanel(editor);
        RefreshPositionPanel(editor);
        RefreshFormatPanel(editor);
        ShowTokenKind(editor);
    }
    Panel4->setFixedWidth(!SpeedButton1->text().isEmpty() && SpeedButton1->text() == FileName(path)
                              ? kTreePanelWidth
                              : kCollapsedPanelWidth);
}

void TTarnwickMainForm::TabChange() {
    if (TEditorEx* editor = ActiveEditor()) editor->setFocus();
    Refresh();
}

void TTarnwickMainForm::RefreshPositionPanel(TEditorEx* editor) {
    if (!editor) return;
    int first = editor->Row() + 1;
    int second = editor->Col() + 1;
    if (positionMode_ == TPositionMode::LinesChar) {
        first = editor->LineIndexOfRow(editor->Row()) + 1;
        second = editor->OffsetInLine(editor->Row(), editor->Col()) + 1;
    }
    StatusBar1->SetPanelText(0, PositionPanelText(first, second));
}

void TTarnwickMainForm::RefreshModifiedPanel(TEditorEx* editor) {
    if (editor) StatusBar1->SetPanelText(1, editor->Modified() ? QStringLiteral("変更あり") : QString());
}

void TTarnwickMainForm::RefreshOverwritePanel(TEditorEx* editor) {
    if (editor) StatusBar1->SetPanelText(2, editor->OverwriteMode() ? QStringLiteral("上書") : QStringLiteral("挿入"));
}

void TTarnwickMainForm::RefreshSelectionModePanel(TEditorEx* editor) {
    if (editor) StatusBar1->SetPanelText(3, editor->SelectionMode() == selBox ? QStringLiteral("矩形選択") : QString());
}

void TTarnwickMainForm::SetPositionMode(TPositionMode mode) {
    Action(QStringLiteral("RowCol1"))->setChecked(mode == TPositionMode::RowCol);
    Action(QStringLiteral("LinesChar1"))->setChecked(mode == TPositionMode::LinesChar);
    if (mode == positionMode_) return;
    positionMode_ = mode;
    RefreshPositionPanel(ActiveEditor());
}

// ----------------------------------------------------------- new and open

QStringList TTarnwickMainForm::StartupPaths(const QStringList& arguments) {
    QStringList paths;
    for (const QString& argument : arguments)
        if (IsAcceptedExtension(argument.toStdString())) paths << QFileInfo(argument).absoluteFilePath();
    return paths;
}

std::unique_ptr<TReadAhead> TTarnwickMainForm::ReadAhead(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(path.toStdString());
    return std::make_unique<TReadAhead>(std::move(files));
}

void TTarnwickMainForm::OpenStartupDocuments(const QStringList& paths, TReadAhead* readAhead) {
    readAhead_ = readAhead;
    NewDocument();
    for (const QString& path : paths)
        if (MayOpen(path)) OpenFileIntoNewTab(path);
    readAhead_ = nullptr;
}

void TTarnwickMainForm::NewDocument() {
    tabPaths_ << NewFilePath();
    TEditorEx* editor = nullptr;
    QWidget* page = CreateDocumentPage(&editor);
    SelectTab(PageControl1->AddPage(page, NewFilePath()));
    PrepareEditor(editor);
    editor->setFocus();
    Refresh();
}

bool TTarnwickMainForm::MayOpen(const QString& path) {
    // A folder, a device or a pipe is refused with its reason; reading it
    // could never end, or never make a document.
    if (const auto notAFile = NotADocumentFile(path.toStdString())) {
        Message(LoadFailedText(*notAFile));
        return false;
    }
    if (!ExclusiveOpenTest(path.toStdString())) {
        Message(CannotOpenText());
        return false;
    }
    return true;
}

bool TTarnwickMainForm::LoadInto(TEditorEx* editor, const QString& path, TReadEncoding encoding) {
    const std::string file = path.toStdString();
    std::optional<FileStamp> stamp;
    TLoadResult loaded;
    try {
        if (readAhead_ && encoding == TReadEncoding::Detect && readAhead_->Holds(file)) {
            loaded = editor->Lines().LoadFrom(
                [&](TheStringList& rows) { return readAhead_->TakeInto(file, rows, stamp); });
        } else {
            // Taken first: a change while the file is read shows as a change.
            stamp = StampOf(file);
            loaded = editor->Lines().LoadFromFile(file, encoding);
        }
    } catch (const EFileError& e) {
        Message(LoadFailedText(e));
        return false;
    }
    MarkSaved(editor);
    RememberDiskState(editor, path, stamp);
    if (loaded.Problem) Message(LoadProblemText(*loaded.Problem));
    if (const std::optional<FileError> why = WhyNotWritable(path.toStdString())) {
        editor->SetReadOnly(true);
        Message(NotWritableText(*why));
    }
    if (loaded.TailSize > 0) Message(CtrlZTailText(loaded.TailLine, loaded.TailSize));
    return true;
}

void TTarnwickMainForm::OpenFileIntoNewTab(const QString& path, bool pushReopen) {
    if (TEditorEx* active = ActiveEditor()) Assign(EditorExProp1, *active);
    const int previous = PageControl1->ActivePageIndex();
    tabPaths_ << path;
    TEditorEx* editor = nullptr;
    QWidget* page = CreateDocumentPage(&editor);
    const int index = PageControl1->AddPage(page, FileName(path));
    SelectTab(index);
    if (!LoadInto(editor, path)) {
        // A file that vanished or cannot be read leaves no tab behind.
        RemoveTab(index);
        SelectTab(previous);
        TabChange();
        return;
    }
    PrepareEditor(editor);
    editor->setFocus();
    if (pushReopen) reopenList_->Push(path.toStdString());
    Refresh();
    SetDialogFolders(path);
}

void TTarnwickMainForm::OpenWithDialog() {
    const std::optional<QString> chosen = setup_.Dialogs->OpenFileName(this, OpenDialog1);
    if (!chosen || !FileExists(*chosen)) return;
    const QString path = *chosen;
    if (const int open = FindOpenTab(path); open >= 0) {
        Message(AlreadyOpenText());
        SelectTab(open);
        if (TEditorEx* editor = ActiveEditor()) editor->setFocus();
        Refresh();
        tabPaths_[open] = path;
        SetDialogFolders(path);
        return;
    }
    if (!MayOpen(path)) return;
    TEditorEx* active = ActiveEditor();
    if (!active || active->Lines().Count() != 0) {
        OpenFileIntoNewTab(path);
        return;
    }
    // An empty document takes the file in its own tab.
    const int index = PageControl1->ActivePageIndex();
    if (!LoadInto(active, path)) return;
    reopenList_->Push(path.toStdString());
    Refresh();
    PageControl1->SetCaption(index, FileName(path));
    tabPaths_[index] = path;
    setWindowTitle(path);
    SetDialogFolders(path);
}

void TTarnwickMainForm::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!IsAcceptedExtension(path.toStdString())) continue;
        if (!MayOpen(path)) continue;
        OpenFileIntoNewTab(path);
    }
}

void TTarnwickMainForm::Reopen(const QString& path) {
    if (!FileExists(path)) {
        if (reopenList_->Contains(path.toStdString()) && Ask(ReopenMissingText(path)))
            reopenList_->Remove(path.toStdString());
        return;
    }
    if (const int open = FindOpenTab(path); open >= 0) {
        Message(AlreadyOpenText());
        SelectTab(open);
        if (TEditorEx* editor = ActiveEditor()) editor->setFocus();
        Refresh();
        return;
    }
    if (!MayOpen(path)) return;
    reopenList_->Push(path.toStdString());
    OpenFileIntoNewTab(path, false);
}

void TTarnwickMainForm::RebuildReopenMenu() {
    // An entry may be rebuilt away while its own click is running.
    for (QAction* item : reopenMenu_->actions()) {
        reopenMenu_->removeAction(item);
        item->deleteLater();
    }
    for (const std::string& entry : reopenList_->Items()) {
        const QString path = QString::fromStdString(entry);
        QAction* item = reopenMenu_->addAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { Reopen(path); });
    }
}

// ----------------------------------------------------------- save

bool TTarnwickMainForm::WriteDocument(TEditorEx* editor, const QString& path,
                                      const std::optional<QString>& backupPath, const QString& backupFailureText,
                                      int backupStep) {
    // Nothing is written that would not read back as the text shows.
    if (editor->Rows().SaveBlocked()) {
        Message(SaveBlockedText());
        return false;
    }
    int badLine = 0;
    const std::optional<std::string> bytes = editor->Rows().FileBytes(&badLine);
    if (!bytes) {
        Message(NoUtf8FormText(badLine));
        return false;
    }
    if (backupPath) ProgressBar1->setValue(backupStep);
    ProgressBar1->setValue(100);
    SaveOutcome outcome;
    try {
        std::optional<std::filesystem::path> backup;
        if (backupPath) backup = backupPath->toStdString();
        outcome = SaveFileAtomically(path.toStdString(), *bytes, backup);
    } catch (const FileError& e) {
        ProgressBar1->setValue(0);
        Message(SaveFailedText(e));
        return false;
    }
    ProgressBar1->setValue(0);
    RememberDiskState(editor, path, outcome.stamp);
    if (outcome.backupError) Message(backupFailureText);
    return true;
}

bool TTarnwickMainForm::SaveActive() {
    TEditorEx* editor = ActiveEditor();
    const int index = PageControl1->ActivePageIndex();
    if (!editor) return false;
    const QString path = tabPaths_[index];
    if (path == NewFilePath()) return SaveActiveAs() == TSaveResult::Saved;
    if (!MayOverwrite(index)) return false;
    std::optional<QString> backup;
    if (BackupEnabled()) backup = QString::fromStdString(BackupPath(path.toStdString(), path.toStdString()));
    if (!WriteDocument(editor, path, backup, backup ? BackupFailedText(*backup) : QString(), 20)) return false;
    MarkSaved(editor);
    RefreshModifiedPanel(editor);
    return true;
}

TTarnwickMainForm::TSaveResult TTarnwickMainForm::SaveActiveAs() {
    TEditorEx* editor = ActiveEditor();
    const int index = PageControl1->ActivePageIndex();
    if (!editor || editor->Lines().Count() == 0) return TSaveResult::Cancelled;
    const QString current = tabPaths_[index];
    const std::string extension = AsciiUpper(ExtensionOf(current.toStdString()));
    const std::pair<const char*, int> types[] = {{".TXT", 2}, {".DXF", 3}, {".DCL", 4}, {".SCR", 5}};
    for (const auto& [ext, filterIndex] : types)
        if (extension == ext) SaveDialog1.FilterIndex = filterIndex;
    const std::optional<QString> chosen = setup_.Dialogs->SaveFileName(this, SaveDialog1);
    if (!chosen) return TSaveResult::Cancelled;
    const QString path = *chosen;
    if (FileExists(path) && !Ask(ReplaceExistingText(path))) return TSaveResult::Cancelled;
    std::optional<QString> backup;
    if (BackupEnabled()) backup = QString::fromStdString(BackupPath(path.toStdString(), current.toStdString()));
    if (!WriteDocument(editor, path, backup, BakFailedText(), 30)) return TSaveResult::Failed;
    tabPaths_[index] = path;
    PageControl1->SetCaption(index, FileName(path));
    MarkSaved(editor);
    Refresh();
    SetDialogFolders(path);
    return TSaveResult::Saved;
}

// ----------------------------------------------------------- close

void TTarnwickMainForm::CloseActive() {
    TEditorEx* editor = ActiveEditor();
    const int index = PageControl1->ActivePageIndex();
    if (!editor) return;
    if (editor->Modified() && PageControl1->PageCount() > 1 && Ask(CloseTabModifiedText(PageControl1->Caption(index)))) {
        // Only a write that failed keeps the tab; a cancelled dialog does not.
        if (FileExists(tabPaths_[index])) {
            if (!MayOverwrite(index) || !WriteDocument(editor, tabPaths_[index], std::nullopt, QString(), 0)) return;
            MarkSaved(editor);
        } else if (SaveActiveAs() == TSaveResult::Failed) {
            return;
        }
    }
    if (PageControl1->PageCount() == 1) {
        close();
        return;
    }
    RemoveTab(index);
    SelectTab(std::max(0, index - 1));
    TabChange();
}

bool TTarnwickMainForm::CloseAllTabsForShutdown() {
    for (int index = PageControl1->PageCount() - 1; index >= 0; --index) {
        SelectTab(index);
        TabChange();
        TEditorEx* editor = ActiveEditor();
        if (!editor || !editor->Modified()) continue;
        if (!Ask(CloseWindowModifiedText(PageControl1->Caption(index)))) continue;
        if (FileExists(tabPaths_[index])) {
            if (!MayOverwrite(index) || !WriteDocument(editor, tabPaths_[index], std::nullopt, QString(), 0))
                return false;
            MarkSaved(editor);
            continue;
        }
        const std::optional<QString> chosen = setup_.Dialogs->SaveFileName(this, SaveDialog1);
        if (!chosen) continue;
        if (!WriteDocument(editor, *chosen, std::nullopt, QString(), 0)) return false;
        tabPaths_[index] = *chosen;
        PageControl1->SetCaption(index, FileName(*chosen));
        MarkSaved(editor);
        Refresh();
        SetDialogFolders(*chosen);
    }
    return true;
}

// ----------------------------------------------------------- split and second window

void TTarnwickMainForm::ToggleSplit() {
    const int index = PageControl1->ActivePageIndex();
    TDocumentPage* page = PageOf(PageControl1, index);
    if (!page) return;
    if (page->IsSplit()) {
        Unsplit(index);
        return;
    }
    TEditorEx* lower = page->Editor();
    lower->setFocus();
    const int caretRow = lower->Row();
    const bool caretShown = caretRow >= lower->TopRow() && caretRow < lower->TopRow() + lower->VisibleRowCount();
    auto* upper = new TEditorEx(page);
    Assign(EditorExProp1, *lower);
    PrepareEditor(upper);
    ConnectEditorEvents(upper);
    page->Split(upper);
    upper->AttachRowList(lower->RowList());
    upper->SetModified(lower->Modified());
    upper->SetTopRow(lower->TopRow());
    upper->SetTopCol(lower->TopCol());
    lower->SetTopRow(upper->TopRow() + upper->VisibleRowCount());
    // The lower pane now goes on below the upper one. A caret that was in
    // sight stays so: on the rows the upper pane took over it moves there
    // with the focus; past the lower pane's last row, that pane scrolls to it.
    if (!caretShown) return;
    if (caretRow < upper->TopRow() + upper->VisibleRowCount()) {
        upper->SetRow(caretRow);
        upper->SetCol(lower->Col());
        upper->setFocus();
        Refresh();
    } else if (caretRow >= lower->TopRow() + lower->VisibleRowCount()) {
        lower->SetTopRow(caretRow - lower->VisibleRowCount() + 1);
    }
}

void TTarnwickMainForm::Unsplit(int tabIndex) {
    TDocumentPage* page = PageOf(PageControl1, tabIndex);
    if (!page || !page->IsSplit()) return;
    // The remaining pane shows what the one the user worked in showed.
    TEditorEx* upper = page->Upper();
    TEditorEx* lower = page->Editor();
    if (!lower->hasFocus()) {
        lower->SetTopRow(upper->TopRow());
        lower->SetTopCol(upper->TopCol());
        lower->SetRow(upper->Row());
        lower->SetCol(upper->Col());
    }
    page->Unsplit();
    TabChange();
}

TTarnwickMainForm* TTarnwickMainForm::OpenSecondWindow() {
    TEditorEx* active = ActiveEditor();
    const int index = PageControl1->ActivePageIndex();
    if (!active) return nullptr;
    auto* window = new TTarnwickMainForm(setup_, this);
    TEditorEx* editor = nullptr;
    QWidget* page = window->CreateDocumentPage(&editor);
    // The same file as this window last read or wrote it.
    if (const TDocumentPage* own = PageOf(PageControl1, index))
        qobject_cast<TDocumentPage*>(page)->SetDiskStamp(own->DiskStamp());
    window->tabPaths_ << tabPaths_[index];
    window->SelectTab(window->PageControl1->AddPage(page, FileName(tabPaths_[index])));
    window->move(pos() + QPoint(kSecondWindowOffset, kSecondWindowOffset));
    window->Action(QStringLiteral("mnuExit"))->setText(QStringLiteral("すべて閉じる"));
    window->show();
    Assign(EditorExProp1, *active);
    PrepareEditor(editor);
    editor->AttachRowList(active->RowList());
    // The text may already hold changes that only this window can still save.
    editor->SetModified(active->Modified());
    window->TabChange();
    return window;
}

}  // namespace quodle
