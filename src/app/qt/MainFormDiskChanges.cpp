// A document's file changed on disk by another program: the window asks
// before overwriting it, and offers to read it again when the document's tab
// or the window comes back to the user.
#include <QApplication>

#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

namespace {

TDocumentPage* PageOf(const QWidget* editor) {
    for (QWidget* w = editor ? editor->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* page = qobject_cast<TDocumentPage*>(w)) return page;
    return nullptr;
}

}  // namespace

void TTarnwickMainForm::RememberDiskState(TEditorEx* editor, const QString& path,
                                          const std::optional<FileStamp>& stamp) {
    if (TDocumentPage* own = PageOf(editor)) own->SetDiskStamp(stamp);
    // A second window on the same text and the same file has read or
    // written the same thing.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<TTarnwickMainForm*>(top);
        if (!form) continue;
        for (int i = 0; i < form->tabPaths_.size(); ++i) {
            auto* page = qobject_cast<TDocumentPage*>(form->PageControl1->Page(i));
            if (page && form->tabPaths_[i] == path && page->Editor()->RowList() == editor->RowList())
                page->SetDiskStamp(stamp);
        }
    }
}

bool TTarnwickMainForm::MayOverwrite(int index) {
    const auto* page = qobject_cast<TDocumentPage*>(PageControl1->Page(index));
    if (!page || !page->DiskStamp()) return true;
    // A file deleted meanwhile loses nothing by being written again.
    const std::optional<FileStamp> now = StampOf(tabPaths_[index].toStdString());
    return !now || *now == *page->DiskStamp() || Ask(OverwriteChangedText(tabPaths_[index]));
}

void TTarnwickMainForm::CheckDiskChange() {
    const int index = PageControl1->ActivePageIndex();
    auto* page = qobject_cast<TDocumentPage*>(PageControl1->Page(index));
    TEditorEx* editor = ActiveEditor();
    if (checkingDisk_ || closingTabs_ || !page || !editor || !page->DiskStamp()) return;
    const QString path = tabPaths_[index];
    const std::optional<FileStamp> now = StampOf(path.toStdString());
    if (!now || *now == *page->DiskStamp() || now == page->KeptStamp()) return;
    // The question's own window hands the activation back when it closes.
    checkingDisk_ = true;
    const bool reload = Ask(ReloadChangedText(path, editor->Modified()));
    checkingDisk_ = false;
    if (!reload) {
        page->SetKeptStamp(*now);
        return;
    }
    ReadAgain(editor, path, TReadEncoding::Detect);
}

void TTarnwickMainForm::ReadAgain(TEditorEx* editor, const QString& path, TReadEncoding encoding) {
    const int row = editor->Row(), topRow = editor->TopRow();
    const std::string before = editor->Lines().Text();
    if (!LoadInto(editor, path, encoding)) {
        // What could not be read replaces nothing.
        editor->Lines().SetText(before);
        return;
    }
    editor->SetTopRow(topRow);
    editor->SetRow(row);
    Refresh();
}

}  // namespace quodle
