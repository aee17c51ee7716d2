// 検索: the find and replace dialogs, finding again in either direction and
// the replace loop with its confirmation. The searching itself is the
// engine's, on the active editor.
#include "app/qt/MainForm.h"
#include "app/qt/StatusPanels.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "search/qt/EditorSearch.h"
#include "search/qt/FormReplace.h"
#include "search/qt/SearchMessages.h"
#include "search/qt/SearchProgress.h"

namespace quodle {

namespace {

constexpr int kCommandPanel = 5;

}  // namespace

void TTarnwickMainForm::mnuFindClick() {
    // The editor is taken before the dialog takes the focus from it.
    TEditorEx* editor = ActiveEditor();
    // A refused dialog leaves nothing to search again.
    findString_.clear();
    searchOptions_ = 0;
    TFormSearch form(searchStore_, this);
    setup_.Dialogs->ExecModal(form);
    // The keyboard back to this window, whose F3 must work at once (without
    // a window manager nobody else hands it back).
    activateWindow();
    if (!form.Accepted()) return;
    findString_ = form.FindText();
    searchOptions_ = form.Options();
    if (editor != nullptr) StoreReturnPoint(*editor);
    SearchStep(editor);
}

void TTarnwickMainForm::mnuFindForwardClick() {
    if (findString_.isEmpty()) return;
    searchOptions_ |= sfDown;
    SearchStep(ActiveEditor());
}

void TTarnwickMainForm::mnuFindBackwardClick() {
    if (findString_.isEmpty()) return;
    searchOptions_ &= static_cast<TSearchOptions>(~sfDown);
    SearchStep(ActiveEditor());
}

bool TTarnwickMainForm::SearchStep(TEditorEx* editor) {
    if (editor == nullptr) return false;
    bool stopped = false;
    {
        TSearchProgress progress(this, SearchCaption(), SearchingText());
        if (EditorSearch(*editor, QStringToSjis(findString_), searchOptions_, progress.Watch())) return true;
        stopped = progress.Stopped();
    }
    // Stopped is not "not found": the text past the place reached is unknown.
    if (stopped) StatusBar1->SetPanelText(kCommandPanel, StoppedText());
    else Message(NotFoundText(findString_));
    return false;
}

void TTarnwickMainForm::mnuReplaceClick() {
    TEditorEx* editor = ActiveEditor();
    // Said before the dialog asks for anything: nothing can be replaced.
    if (editor != nullptr && editor->ReadOnly()) {
        Message(ReadOnlyReplaceText());
        return;
    }
    findString_.clear();
    replaceString_.clear();
    searchOptions_ = 0;
    TFormReplace form(searchStore_, this);
    setup_.Dialogs->ExecModal(form);
    activateWindow();
    if (!form.Accepted()) return;
    findString_ = form.FindText();
    replaceString_ = form.ReplaceText();
    searchOptions_ = form.Options();
    if (editor == nullptr) return;
    // A caret as wide as the hit cannot show what is about to be replaced:
    // the hit is drawn instead while the command runs.
    struct TStyleGuard {
        TEditorEx* editor;
        THitStyle style;
        ~TStyleGuard() { editor->SetHitStyle(style); }
    } guard{editor, editor->HitStyle()};
    if (guard.style == hsCaret) editor->SetHitStyle(hsDraw);
    ReplaceLoop(*editor);
    activateWindow();
}

void TTarnwickMainForm::ReplaceLoop(TEditorEx& editor) {
    const std::string find = QStringToSjis(findString_);
    const std::string replacement = QStringToSjis(replaceString_);
    const bool backward = !HasOption(searchOptions_, sfDown);
    for (bool atHit = false;; atHit = true) {
        if (HasOption(searchOptions_, sfReplaceAll) && !HasOption(searchOptions_, sfReplaceConfirm)) {
            // The rest in one edit, one undo step; the search after it finds
            // nothing more and says so, as every replace-all run ends.
            const std::uint64_t limit = ReplaceAllLimit();
            TReplaceAll all;
            {
                TSearchProgress progress(this, ReplaceCaption(), ReplacingText());
                all = ReplaceAllMatches(editor, find, replacement, searchOptions_, atHit, limit, progress.Watch());
            }
            // Stopped or refused, nothing was replaced.
            if (all.End == TReplaceEnd::Stopped) StatusBar1->SetPanelText(kCommandPanel, StoppedText());
            else if (all.End == TReplaceEnd::TooLarge) Message(ReplaceTooLargeText(all.Bytes, limit));
            else SearchStep(&editor);
            return;
        }
        if (!SearchStep(&editor)) return;
        if (HasOption(searchOptions_, sfReplaceConfirm)) {
            const QRect caret = editor.CaretRect();
            const QRect onScreen(editor.viewport()->mapToGlobal(caret.topLeft()), caret.size());
            switch (setup_.Dialogs->ConfirmReplace(this, ConfirmReplaceText(findString_, replaceString_), onScreen)) {
            case TReplaceAnswer::Cancel:
                return;
            case TReplaceAnswer::No:
                break;
            case TReplaceAnswer::Yes:
                ReplaceHit(editor, replacement, backward);
                break;
            case TReplaceAnswer::All:
                // This match and the rest without asking.
                searchOptions_ |= sfReplaceAll;
                searchOptions_ &= static_cast<TSearchOptions>(~sfReplaceConfirm);
                continue;
            }
        } else {
            ReplaceHit(editor, replacement, backward);
        }
        if (!HasOption(searchOptions_, sfReplaceAll)) return;
    }
}

}  // namespace quodle
