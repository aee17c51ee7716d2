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

void TTarnwickMainForm::mnuFindClick() {
    // The editor is taken before the dialog takes the focus from it.
    TEditorEx* editor = ActiveEditor();
    // A refused dialog leaves nothing to search again.
    findString_.clear();
    searchOptions_ = 0;
    TFormSearch form(searchStore_, this);
    setup_.Dialogs->ExecModal(form);
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
    TEditorSearchResult found;
    bool stopped = false;
    {
        TSearchProgress progress(this, SearchCaption(), SearchingText());
        found = EditorSearch(*editor, QStringToSjis(findString_), searchOptions_, progress.Watch());
        stopped = progress.Stopped();
    }
    switch (found.Kind) {
    case TEditorSearchResult::srShown:
        return true;
    case TEditorSearchResult::srNone:
        // Stopped is not "not found": the text past the place reached is unknown.
        if (stopped) StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, StoppedText());
        else Message(NotFoundText(findString_));
        return false;
    case TEditorSearchResult::srPastShownCells:
        // The text is there: the user decides whether to see it, since
        // wrapping forgets the undo steps. Without it nothing moves.
        if (!Ask(PastShownCellsText(findString_, editor->Rows().RowToLine(found.Match.Start.Row) + 1))) return false;
        ShowByWrapping(*editor, found.Match);
        RefreshLayoutSwitches();
        return true;
    }
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
}

void TTarnwickMainForm::ReplaceLoop(TEditorEx& editor) {
    const std::string find = QStringToSjis(findString_);
    const std::string replacement = QStringToSjis(replaceString_);
    const bool backward = !HasOption(searchOptions_, sfDown);
    std::int64_t replaced = 0;
    for (bool atHit = false;; atHit = true) {
        if (HasOption(searchOptions_, sfReplaceAll) && !HasOption(searchOptions_, sfReplaceConfirm)) {
            // The rest in one edit, one undo step, matches past the shown
            // cells too (a name renamed everywhere but in a long line would
            // break the code); the user is told how many, and how many of
            // them cannot be seen.
            const std::uint64_t limit = ReplaceAllLimit();
            TReplaceAll all;
            std::int64_t pastShownCells = 0;
            {
                TSearchProgress progress(this, ReplaceCaption(), ReplacingText());
                all = ReplaceAllMatches(editor, find, replacement, searchOptions_, atHit, limit, progress.Watch(),
                                        &pastShownCells);
            }
            // Stopped or refused, nothing more was replaced.
            if (all.End == TReplaceEnd::Stopped) StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, StoppedText());
            else if (all.End == TReplaceEnd::TooLarge) Message(ReplaceTooLargeText(all.Bytes, limit));
            else if (replaced + all.Count == 0) Message(NotFoundText(findString_));
            else Message(ReplacedCountText(replaced + all.Count, pastShownCells));
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
                ++replaced;
                break;
            case TReplaceAnswer::All:
                // This match and the rest without asking.
                searchOptions_ |= sfReplaceAll;
                searchOptions_ &= static_cast<TSearchOptions>(~sfReplaceConfirm);
                continue;
            }
        } else {
            ReplaceHit(editor, replacement, backward);
            ++replaced;
        }
        if (!HasOption(searchOptions_, sfReplaceAll)) return;
    }
}

}  // namespace quodle
