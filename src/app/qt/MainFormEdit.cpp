// The 編集 menu items that forward to the active editor, and their states:
// each time the menu opens they show what the editor can do; while it is
// closed they stay enabled so that their keys reach the commands, which
// check the same conditions themselves. Also the whole-document white-space
// conversions.
#include <QAction>
#include <QMenu>

#include "app/qt/MainForm.h"
#include "editor/LineConversions.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

namespace {
// The items whose enabled state follows the editor while the menu is open.
constexpr const char* kEditItems[] = {"mnuUndo",      "mnuRedo",         "mnuCut",        "mnuCopy",
                                      "mnuPaste",     "mnuBoxPaste",     "mnuIndent",     "mnuUnindent",
                                      "mnuTabIndent", "mnuTabUnindent",  "mnuTabIndent2", "mnuTabUnindent2"};
}  // namespace

void TTarnwickMainForm::CreateEditItems(QMenu* edit) {
    // An item whose command acts on the active editor, if there is one.
    auto item = [&](const char* name, const char* caption, const char* shortcut, auto command) {
        QAction* action = AddItem(edit, QString::fromLatin1(name), QString::fromUtf8(caption),
                                  shortcut ? QString::fromLatin1(shortcut) : QString());
        connect(action, &QAction::triggered, this, [this, command] {
            if (TEditorEx* editor = ActiveEditor()) command(*editor);
        });
        return action;
    };
    auto ifSelected = [](void (TEditor::*op)()) {
        return [op](TEditorEx& e) {
            if (e.Selected()) (e.*op)();
        };
    };
    item("mnuUndo", "元に戻す", "Ctrl+Z", [](TEditorEx& e) { e.Undo(); });
    item("mnuRedo", "<コマンド> やり直し", "Shift+Ctrl+Z", [](TEditorEx& e) { e.Redo(); });
    edit->addSeparator();
    item("mnuCut", "切り取り", "Ctrl+X", [](TEditorEx& e) { e.CutToClipboard(); });
    item("mnuCopy", "コピー", "Ctrl+C", [](TEditorEx& e) { e.CopyToClipboard(); });
    item("mnuPaste", "貼り付け", "Ctrl+V", [](TEditorEx& e) { e.PasteFromClipboard(); });
    item("mnuBoxPaste", "Box貼り付け", "Ctrl+B", [](TEditorEx& e) { e.BoxPasteFromClipboard(); });
    edit->addSeparator();
    item("mnuSelectAll", "すべて選択", "Ctrl+A", [](TEditorEx& e) { e.SelectAll(); });
    item("mnuDeleteRow", "１行削除", "Ctrl+Y", [](TEditorEx& e) { e.DeleteRowAt(e.Row()); });
    item("mnuBoxMode", "矩形選択モード", "Ctrl+K", [](TEditorEx& e) {
        e.SetSelectionMode(e.SelectionMode() == selStream ? selBox : selStream);
    })->setCheckable(true);
    edit->addSeparator();
    item("mnuIndent", "インデント", "Shift+Ctrl+I", ifSelected(&TEditor::IndentSelection));
    item("mnuUnindent", "アンインデント", "Shift+Ctrl+U", ifSelected(&TEditor::UnindentSelection));
    item("mnuTabIndent", "タブインデント", "Shift+Ctrl+T", ifSelected(&TEditor::TabIndentSelection));
    item("mnuTabUnindent", "タブアンインデント", "Shift+Ctrl+G", ifSelected(&TEditor::TabUnindentSelection));
    edit->addSeparator();
    item("mnuTabIndent2", "タブインデント", nullptr, ifSelected(&TEditor::TabIndentSelection));
    item("mnuTabUnindent2", "タブアンインデント", nullptr, ifSelected(&TEditor::TabUnindentSelection));
    edit->addSeparator();
    item("mnuOverwrite", "上書き", "Ins", [this](TEditorEx& e) {
        e.SetOverwriteMode(!e.OverwriteMode());
        RefreshOverwritePanel(&e);
    })->setCheckable(true);
    item("mnuReadOnly", "Read Only", nullptr, [](TEditorEx& e) { e.SetReadOnly(!e.ReadOnly()); })->setCheckable(true);

    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateEditMenu(); });
    connect(edit, &QMenu::aboutToHide, this, [this] {
        for (const char* name : kEditItems) Action(QString::fromLatin1(name))->setEnabled(true);
    });
}

void TTarnwickMainForm::UpdateEditMenu() {
    TEditorEx* editor = ActiveEditor();
    const bool selected = editor && editor->SelLength() > 0;
    // A read-only text refuses every edit: the items that edit show it.
    const bool writable = editor && !editor->ReadOnly();
    const bool clip = TEditor::ClipboardHasText();
    Action(QStringLiteral("mnuCopy"))->setEnabled(selected);
    for (const char* name : {"mnuCut", "mnuIndent", "mnuUnindent", "mnuTabIndent", "mnuTabUnindent", "mnuTabIndent2",
                             "mnuTabUnindent2"})
        Action(QString::fromLatin1(name))->setEnabled(selected && writable);
    Action(QStringLiteral("mnuPaste"))->setEnabled(clip && writable);
    Action(QStringLiteral("mnuBoxPaste"))->setEnabled(clip && writable);
    Action(QStringLiteral("mnuUndo"))->setEnabled(editor && editor->CanUndo());
    Action(QStringLiteral("mnuRedo"))->setEnabled(editor && editor->CanRedo());
    Action(QStringLiteral("mnuOverwrite"))->setChecked(editor && editor->OverwriteMode());
    Action(QStringLiteral("mnuReadOnly"))->setChecked(editor && editor->ReadOnly());
    Action(QStringLiteral("mnuBoxMode"))->setChecked(editor && editor->SelectionMode() == selBox);
}

// Every line converted; the caret keeps its row and column and the view its
// top row, and one undo brings the text back.
namespace {
auto Conversion(TWhiteSpaceConversion conversion) {
    return [conversion](TLineList lines, TEditorEx& editor) {
        return ConvertWhiteSpace(lines, conversion, editor.Layout());
    };
}
}  // namespace

void TTarnwickMainForm::mnuTabToSpaceClick() { EditActiveLines(Conversion(wcTabsToBlanks)); }

void TTarnwickMainForm::mnuLeadSpaceToTabClick() { EditActiveLines(Conversion(wcLeadBlanksToTabs)); }

void TTarnwickMainForm::mnuRunSpaceToTabClick() { EditActiveLines(Conversion(wcRunsToTabs)); }

void TTarnwickMainForm::mnuSpaceToTabClick() { EditActiveLines(Conversion(wcBlanksToTabs)); }

void TTarnwickMainForm::mnuZenkakuSpaceClick() { EditActiveLines(Conversion(wcFullWidthBlanks)); }

}  // namespace quodle
