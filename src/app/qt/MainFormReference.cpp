// The reference lists at work in the document editors: Tab on a selection,
// Ctrl+Space completion, system-variable names drawn in bold inside strings,
// システム変数を大文字に, the pointer hints and the double-click actions.
// What to do is decided by the engine (lisp/PointerActions.h and friends);
// this file gathers the input and carries the decision out.
#include <optional>

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>

#include "app/qt/CaretLine.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/EventHook.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/ProgressBarSink.h"
#include "app/qt/Shell.h"
#include "app/qt/StatusPanels.h"
#include "base/qt/QtColor.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "lisp/DocumentLines.h"
#include "lisp/PointerActions.h"
#include "lisp/SystemVariables.h"
#include "lisp/UserFunctions.h"
#include "lisp/qt/PickListWindow.h"
#include "syntax/HyphenFountain.h"

namespace quodle {

namespace {

bool Checked(const QAction* action) { return action && action->isChecked(); }

}  // namespace

// What was read from a document for the pointer: valid for one revision of
// its rows. The lines view the rows, so they go when the rows change.
struct TTarnwickMainForm::TDocumentCache {
    std::weak_ptr<TEditorScreenStrings> Rows;
    std::uint64_t Revision = 0;
    std::unique_ptr<TDocumentLines> Lines;
    std::unique_ptr<TDefinitionIndex> Definitions;  // made when first asked for
};

TDocumentPlace TTarnwickMainForm::PlaceIn(TEditorEx* editor, int row, int col) {
    const std::shared_ptr<TEditorScreenStrings> rows = editor->RowList();
    if (!documentCache_) documentCache_ = std::make_shared<TDocumentCache>();
    TDocumentCache& cache = *documentCache_;
    if (cache.Rows.lock() != rows || cache.Revision != rows->Revision() || !cache.Lines) {
        cache.Definitions.reset();
        cache.Lines = std::make_unique<TDocumentLines>(*rows);
        cache.Rows = rows;
        cache.Revision = rows->Revision();
    }
    TDocumentPlace place{cache.Lines->Lines(), static_cast<std::size_t>(std::max(0, editor->LineIndexOfRow(row))),
                         static_cast<std::size_t>(std::max(0, editor->OffsetInLine(row, col))), nullptr};
    place.Definitions = [&cache]() -> const TDefinitionIndex& {
        if (!cache.Definitions) cache.Definitions = std::make_unique<TDefinitionIndex>(cache.Lines->Lines());
        return *cache.Definitions;
    };
    return place;
}

void TTarnwickMainForm::ConnectReferenceEvents(TEditorEx* editor) {
    // Addresses go to the desktop unless the setup brings a shell of its own.
    if (!shell_) {
        desktopShell_ = std::make_unique<TDesktopShell>();
        shell_ = setup_.Shell ? setup_.Shell : desktopShell_.get();
    }
    new TEventHook(editor, [this, editor](QEvent* event) {
        // Any key may move the text under the hint (Ctrl+Home, Ctrl+Z): it
        // goes. The override comes first, also for the window's shortcuts.
        if (event->type() == QEvent::ShortcutOverride) HideHint();
        return event->type() == QEvent::KeyPress && EditorKeyPress(editor, *static_cast<QKeyEvent*>(event));
    });
    // So does a view that scrolls under it.
    connect(editor, &TEditor::TopRowChange, this, [this] { HideHint(); });
    connect(editor, &TEditor::TopColChange, this, [this] { HideHint(); });
    new TEventHook(editor->viewport(), [this, editor](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // The press before it has put the caret on the clicked token.
            EditorDoubleClick(editor);
            return true;
        }
        if (event->type() == QEvent::Leave || event->type() == QEvent::MouseButtonPress) HideHint();
        return false;
    });
    connect(editor, &TEditor::MouseMove, this,
            [this, editor](const QPoint& pos, Qt::KeyboardModifiers modifiers) { EditorMouseMove(editor, pos, modifiers); });
    connect(editor, &TEditor::DrawLine, this,
            [this, editor](QPainter* painter, const QByteArray& row, int x, int y, int index, const QRect& rect, bool) {
                HighlightSystemVariables(editor, painter, row, x, y, index, rect);
            });
}

// ---------------------------------------------------------------- keys

bool TTarnwickMainForm::EditorKeyPress(TEditorEx* editor, const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers();
    if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) && editor->Selected()) {
        // The selected rows move by a tab; the selection stays.
        if (editor->ReadOnly()) return true;
        if (key.key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier)) editor->TabUnindentSelection();
        else editor->TabIndentSelection();
        return true;
    }
    if (key.key() != Qt::Key_Space || !(mods & Qt::ControlModifier) || (mods & Qt::ShiftModifier)) return false;
    if (FunctionList().empty()) return true;
    const TCaretLine caret = CaretLineOf(*editor);
    std::string token;
    TTokenKind kind = tokEnd;
    editor->TokenAtCaret(token, kind);
    if (const std::optional<TReferencePick> pick =
            CompletionPick(caret.Text, caret.Offset, kind, FunctionList(), SysVarList()))
        ShowReferencePick(editor, *pick);
    return true;
}

void TTarnwickMainForm::ShowReferencePick(TEditorEx* editor, const TReferencePick& pick) {
    TForm5 form(this);
    form.SetCaption(pick.SystemList ? QStringLiteral("system") : QStringLiteral("func"));
    std::vector<TPickItem> items;
    items.reserve(pick.Lines.size());
    for (const std::string& line : pick.Lines) items.push_back({line, 0});
    form.AddItems(items);
    form.MakePickList();
    if (setup_.Dialogs->ExecModal(form) != QDialog::Accepted) return;
    if (const std::optional<TPickItem> item = form.SelectedItem()) InsertPickedName(editor, *item, pick.SystemList);
}

void TTarnwickMainForm::InsertPickedName(TEditorEx* editor, const TPickItem& item, bool systemVariable) {
    // Detail lines name nothing.
    if (item.Text.empty() || item.Text.front() == ' ' || editor->ReadOnly()) return;
    const TCaretLine caret = CaretLineOf(*editor);
    if (caret.Index >= editor->Lines().Count()) return;
    const TPickedLine picked = systemVariable ? InsertSystemVariable(caret.Text, caret.Offset, item.Text)
                                              : InsertFunctionName(caret.Text, caret.Offset, item.Text);
    editor->Lines().Put(caret.Index, picked.Line);
    StoreReturnPoint(*editor);
    // After the name: a caret left inside it would split it at the next key.
    const TRowOffset at = LinePosToRowOffset(editor->Rows(), caret.Index, static_cast<int>(picked.Caret));
    editor->PlaceCaret(at.Row, at.Offset);
}

// ---------------------------------------------------------------- system variables

const TSystemVariableWords& TTarnwickMainForm::SystemVariableWords() {
    if (!systemVariableWords_) {
        systemVariableWords_ = std::make_unique<TSystemVariableWords>(HyphenFountain1->ReserveWordList2().Items());
        // Any change of the tokenizer may have been one of its word list.
        HyphenFountain1->Subscribe(&systemVariableWords_, [this](TNotifyPersistent&) { systemVariableWords_.reset(); });
    }
    return *systemVariableWords_;
}

void TTarnwickMainForm::HighlightSystemVariables(TEditorEx* editor, QPainter* painter, const QByteArray& row, int x,
                                                 int y, int index, const QRect& rect) {
    if (!Checked(Action(QStringLiteral("N63")))) return;
    const TSystemVariableWords& words = SystemVariableWords();
    if (words.Empty()) return;
    // A byte takes a cell at least: names opened after the last cell shown
    // are not looked for (a row may be megabytes long).
    const int cell = std::max(1, editor->CellWidth());
    const std::size_t shown = static_cast<std::size_t>(std::max(0, rect.right() - x) / cell + 1);
    std::vector<TQuotedName> names;
    words.Find(std::string_view(row.constData(), static_cast<std::size_t>(row.size())), names, shown);
    if (names.empty()) return;
    std::vector<std::pair<int, int>> ranges;
    ranges.reserve(names.size());
    for (const TQuotedName& name : names)
        ranges.emplace_back(static_cast<int>(name.Offset), static_cast<int>(name.Offset + name.Length));
    editor->RedrawRowChars(*painter, index, y, ranges, ToQColor(HyphenFountain1->Reserve2().Color(), Qt::blue), true);
}

void TTarnwickMainForm::N66Click() {
    const TSystemVariableWords& words = SystemVariableWords();
    if (words.Empty()) return;
    QElapsedTimer timer;
    timer.start();
    // All of it is one edit, so one undo step; the caret stays.
    std::optional<TUpcaseResult> result;
    EditActiveLines([&](TLineList lines, TEditorEx&) {
        TProgressBarSink progress(ProgressBar1);
        result = UpcaseSystemVariables(lines, words, &progress);
        return LineEditsOf(lines, result->Replacements);
    });
    if (!result) return;
    ShowElapsed(timer);
    ProgressBar1->setValue(0);
    if (const std::string message = UpcaseMessage(*result); !message.empty()) Message(SjisToQString(message));
}

// ---------------------------------------------------------------- the pointer

void TTarnwickMainForm::EditorMouseMove(TEditorEx* editor, const QPoint& pos, Qt::KeyboardModifiers modifiers) {
    if (!Checked(Action(QStringLiteral("N58"))) || (modifiers & Qt::ControlModifier)) return;
    // Over the margins and the selection the editor's own pointer stays.
    if (editor->AreaAt(pos) != TEditor::paText) return;
    std::string token;
    TTokenKind kind = tokEnd;
    editor->TokenAt(pos, true, token, kind);
    const TCellPos cell = editor->CellAt(pos);
    const TPointerHint hint = PointerHint(kind, token, {FunctionList(), SysVarList()},
                                          Checked(Action(QStringLiteral("N75"))), PlaceIn(editor, cell.Row, cell.Col));
    switch (hint.Pointer) {
    case TPointerHint::hpArrow: editor->viewport()->setCursor(Qt::ArrowCursor); break;
    case TPointerHint::hpHand: editor->viewport()->setCursor(Qt::PointingHandCursor); break;
    case TPointerHint::hpText: editor->viewport()->setCursor(Qt::IBeamCursor); break;
    case TPointerHint::hpUnchanged: break;
    }
    if (hint.Action == TPointerHint::haShow) ShowHint(SjisToQString(hint.Text));
    else if (hint.Action == TPointerHint::haHide) HideHint();
}

void TTarnwickMainForm::EditorDoubleClick(TEditorEx* editor) {
    std::string token;
    TTokenKind kind = tokEnd;
    editor->TokenAtCaret(token, kind);
    const TDocumentPlace place = PlaceIn(editor, editor->Row(), editor->Col());
    const TDoubleClickAction action = DoubleClickAction(kind, token, {FunctionList(), SysVarList()}, place);
    if (action.Status) StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, SjisToQString(*action.Status));
    switch (action.Kind) {
    case TDoubleClickAction::daSelectBracket:
        mnuSelectBracketClick();
        return;
    case TDoubleClickAction::daPickList:
        ShowReferencePick(editor, action.Pick);
        return;
    case TDoubleClickAction::daOpen:
        HideHint();
        shell_->Open(SjisToQString(action.Target));
        return;
    case TDoubleClickAction::daDefinition:
        break;
    case TDoubleClickAction::daNothing:
        return;
    }
    const auto* page = qobject_cast<const TDocumentPage*>(PageControl1->Page(PageControl1->ActivePageIndex()));
    if (page && page->IsSplit()) {
        // The other pane shows the definition with its comments.
        TEditorEx* other = page->Editor() == editor ? page->Upper() : page->Editor();
        other->SetTopRow(other->Lines().LineToRow(static_cast<int>(action.Block.Start)));
        other->SetRow(other->Lines().LineToRow(static_cast<int>(action.Block.End)));
        return;
    }
    // The listed lines have no heading to colour between "|" and "(".
    SetPaneBrackets("(", "(");
    std::string text;
    for (const std::string& line : DefinitionListing(place.Lines, action.Block)) text += line + "\r\n";
    EditorEx1->Lines().SetText(text);
    EditorEx1->SetTopRow(0);
    EditorEx1->SetRow(0);
    EditorEx1->SetCol(0);
}

}  // namespace quodle
