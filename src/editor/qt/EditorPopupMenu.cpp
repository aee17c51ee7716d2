#include "editor/qt/EditorPopupMenu.h"

#include <QRegularExpression>

#include "editor/RowMarks.h"
#include "editor/qt/Editor.h"

namespace quodle {

TEditorPopupMenu::TEditorPopupMenu(TEditor* editor) : QMenu(editor), editor_(editor) {
    setObjectName(QStringLiteral("EditorPopupMenu"));
    markSet_ = addMenu(QStringLiteral("マーク設定"));
    markJump_ = addMenu(QStringLiteral("マークジャンプ"));
    for (int n = 0; n < 10; ++n) {
        QAction* set = Add(markSet_, QString::number(n), QStringLiteral("Shift+Ctrl+%1").arg(n));
        set->setCheckable(true);
        connect(set, &QAction::triggered, this, [this, n] { ToggleRowMark(editor_->Rows(), editor_->Row(), n); });
        QAction* jump = Add(markJump_, QString::number(n), QStringLiteral("Ctrl+%1").arg(n));
        jump->setCheckable(true);
        connect(jump, &QAction::triggered, this, [this, n] { editor_->JumpToRowMark(n); });
    }
    addSeparator();
    undo_ = Add(this, QStringLiteral("元に戻す(&U)"), QStringLiteral("Ctrl+Z"));
    redo_ = Add(this, QStringLiteral("やり直し(&R)"), QStringLiteral("Shift+Ctrl+Z"));
    addSeparator();
    cut_ = Add(this, QStringLiteral("切り取り(&T)"), QStringLiteral("Ctrl+X"));
    copy_ = Add(this, QStringLiteral("コピー(&C)"), QStringLiteral("Ctrl+C"));
    paste_ = Add(this, QStringLiteral("貼り付け(&P)"), QStringLiteral("Ctrl+V"));
    boxPaste_ = Add(this, QStringLiteral("Box貼り付け(&B)"), QStringLiteral("Ctrl+B"));
    delete_ = Add(this, QStringLiteral("削除(&D)"), QString());
    addSeparator();
    selectAll_ = Add(this, QStringLiteral("すべて選択(&A)"), QStringLiteral("Ctrl+A"));
    addSeparator();
    boxMode_ = Add(this, QStringLiteral("Box選択モード(&K)"), QStringLiteral("Ctrl+K"));
    boxMode_->setCheckable(true);

    connect(undo_, &QAction::triggered, editor_, &TEditor::Undo);
    connect(redo_, &QAction::triggered, editor_, &TEditor::Redo);
    connect(cut_, &QAction::triggered, editor_, &TEditor::CutToClipboard);
    connect(copy_, &QAction::triggered, editor_, &TEditor::CopyToClipboard);
    connect(paste_, &QAction::triggered, editor_, &TEditor::PasteFromClipboard);
    connect(boxPaste_, &QAction::triggered, editor_, &TEditor::BoxPasteFromClipboard);
    connect(delete_, &QAction::triggered, editor_, &TEditor::ClearSelection);
    connect(selectAll_, &QAction::triggered, editor_, &TEditor::SelectAll);
    connect(boxMode_, &QAction::triggered, this, [this] {
        editor_->SetSelectionMode(editor_->SelectionMode() == selStream ? selBox : selStream);
    });
    connect(this, &QMenu::aboutToShow, this, &TEditorPopupMenu::UpdateItems);
}

// The key is shown as written; the editor handles it itself, so the item
// carries no shortcut that could clash with the window's.
QAction* TEditorPopupMenu::Add(QMenu* menu, const QString& caption, const QString& shortcut) {
    QAction* action = menu->addAction(shortcut.isEmpty() ? caption : caption + QLatin1Char('\t') + shortcut);
    action->setObjectName(caption);
    return action;
}

QAction* TEditorPopupMenu::Item(const QString& caption) const {
    for (QAction* a : actions()) {
        QString text = a->text().section(QLatin1Char('\t'), 0, 0);
        text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
        if (text == caption || a->text().section(QLatin1Char('\t'), 0, 0) == caption) return a;
    }
    return nullptr;
}

void TEditorPopupMenu::UpdateItems() {
    const bool writable = !editor_->ReadOnly();
    const bool selected = editor_->Selected();
    const bool clip = TEditor::ClipboardHasText();
    const std::uint16_t inUse = editor_->Rows().MarksInUse();
    for (int n = 0; n < 10; ++n) {
        markSet_->actions()[n]->setChecked(inUse & (1u << n));
        markJump_->actions()[n]->setChecked(inUse & (1u << n));
    }
    undo_->setEnabled(editor_->CanUndo() && writable);
    redo_->setEnabled(editor_->CanRedo() && writable);
    cut_->setEnabled(selected && writable);
    copy_->setEnabled(selected);
    paste_->setEnabled(clip && writable);
    boxPaste_->setEnabled(clip && writable);
    delete_->setEnabled(selected && writable);
    selectAll_->setEnabled(editor_->Rows().Count() > 0);
    boxMode_->setChecked(editor_->SelectionMode() == selBox);
}

}  // namespace quodle
