// The 編集 menu of the main window on the active document editor: each item
// forwards to the editor, the menu's states follow the editor each time it
// opens, and the status panels show overwrite and box mode.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
// GCC sees an uninitialised optional in the fake's file answers where
// there is none (it inlines differently in this program).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "support/qt/MainFormFixture.h"
#pragma GCC diagnostic pop

using namespace quodle;
using namespace quodle::testing;

class TestEditMenu : public QObject, TMainFormFixture {
    Q_OBJECT

    QPointer<TTarnwickMainForm> window_;
    TEditorEx* editor_ = nullptr;

    QAction* Item(const char* name) const { return window_->Action(QString::fromLatin1(name)); }
    QMenu* EditMenu() const { return window_->menuBar()->findChild<QMenu*>(QStringLiteral("mnuEdit")); }
    // Opens the 編集 menu the way the user does, so its states are set.
    void OpenMenu() { emit EditMenu()->aboutToShow(); }
    void CloseMenu() { emit EditMenu()->aboutToHide(); }
    void Load(const QString& text, int row = 0, int col = 0) { LoadText(*editor_, text, row, col); }

private slots:
    void init() {
        InitFixture();
        window_ = NewWindow();
        QVERIFY(Show(window_));
        editor_ = window_->ActiveEditor();
        QVERIFY(editor_);
        editor_->setFocus();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { CleanupFixture(); }

    void statesFollowTheEditorWhenTheMenuOpens() {
        Load("abc\r\ndef");
        OpenMenu();
        for (const char* name : {"mnuUndo", "mnuRedo", "mnuCut", "mnuCopy", "mnuPaste", "mnuBoxPaste", "mnuIndent",
                                 "mnuUnindent", "mnuTabIndent", "mnuTabUnindent", "mnuTabIndent2", "mnuTabUnindent2"})
            QVERIFY2(!Item(name)->isEnabled(), name);
        QVERIFY(!Item("mnuBoxMode")->isChecked());
        CloseMenu();
        // Closed, the items take their keys again.
        QVERIFY(Item("mnuIndent")->isEnabled());

        editor_->InsertText("x");
        editor_->SelectAll();
        editor_->SetSelectionMode(selStream);
        QGuiApplication::clipboard()->setText(QStringLiteral("t"));
        editor_->SetOverwriteMode(true);
        OpenMenu();
        for (const char* name : {"mnuUndo", "mnuCut", "mnuCopy", "mnuPaste", "mnuBoxPaste", "mnuIndent", "mnuTabUnindent2"})
            QVERIFY2(Item(name)->isEnabled(), name);
        QVERIFY(!Item("mnuRedo")->isEnabled());
        QVERIFY(Item("mnuOverwrite")->isChecked());
        QVERIFY(!Item("mnuReadOnly")->isChecked());
        CloseMenu();
    }

    void readOnly_noPathChangesTheText() {
        Load("", 0, 0);
        QTest::keyClicks(editor_, QStringLiteral("ab"));
        QTest::keyClick(editor_, Qt::Key_Return);
        QTest::keyClicks(editor_, QStringLiteral("cd"));
        QTest::keyClick(editor_, Qt::Key_Z, Qt::ControlModifier);
        const QString text = TextOf(*editor_);
        QCOMPARE(text, QStringLiteral("ab\r\nc"));
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        Item("mnuReadOnly")->trigger();
        QVERIFY(editor_->ReadOnly());
        editor_->Select({0, 0}, {1, 1});
        const auto unchanged = [&](const QString& path) {
            QVERIFY2(TextOf(*editor_) == text, qPrintable(path + ": " + TextOf(*editor_)));
            QVERIFY2(editor_->Selected(), qPrintable(path));
        };
        // The menu, whose items also have keys of the window (Ctrl+Y).
        for (const char* name : {"mnuUndo", "mnuRedo", "mnuCut", "mnuPaste", "mnuBoxPaste", "mnuDeleteRow", "mnuIndent",
                                 "mnuUnindent", "mnuTabIndent", "mnuTabUnindent", "mnuTabUnindent2"}) {
            Item(name)->trigger();
            unchanged(QString::fromLatin1(name));
        }
        // The keys of the editor and of the window.
        const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
            {Qt::Key_B, Qt::ControlModifier}, {Qt::Key_Return, {}}, {Qt::Key_Backspace, {}}, {Qt::Key_Delete, {}},
            {Qt::Key_Tab, {}}, {Qt::Key_Q, {}}};
        for (const auto& [key, modifiers] : keys) {
            QTest::keyClick(editor_, key, modifiers);
            unchanged(QKeySequence(key | modifiers).toString());
        }
        // The input method and the editor's own commands.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("漢字"));
        QApplication::sendEvent(editor_, &commit);
        unchanged(QStringLiteral("input method"));
        editor_->InsertText("typed");
        editor_->ClearSelection();
        editor_->CommentSelection();
        unchanged(QStringLiteral("commands"));
        // The menu shows what cannot be done.
        OpenMenu();
        for (const char* name : {"mnuUndo", "mnuRedo", "mnuCut", "mnuPaste", "mnuBoxPaste", "mnuIndent", "mnuTabUnindent2"})
            QVERIFY2(!Item(name)->isEnabled(), name);
        QVERIFY(Item("mnuCopy")->isEnabled());
        QVERIFY(Item("mnuReadOnly")->isChecked());
        CloseMenu();
        // Writable again, the history is whole.
        Item("mnuReadOnly")->trigger();
        QTest::keyClick(editor_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab\r\ncd"));
    }

    void readOnly_holdsForBothPanesOfASplitTab() {
        Load("(a)\r\n", 0, 0);
        Item("mnuReadOnly")->trigger();
        window_->Action(QStringLiteral("mnuSplit"))->trigger();
        QList<TEditorEx*> panes = window_->PageControl()->ActivePage()->findChildren<TEditorEx*>();
        QCOMPARE(panes.size(), 2);
        for (TEditorEx* pane : panes) {
            QVERIFY(pane->ReadOnly());
            QTest::keyClicks(pane, QStringLiteral("x"));
            QTest::keyClick(pane, Qt::Key_Y, Qt::ControlModifier);
        }
        QCOMPARE(TextOf(*editor_), QStringLiteral("(a)\r\n"));
    }

    void itemsForwardToTheActiveEditor_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected");
        QTest::newRow("インデント") << "mnuIndent" << " ab\r\n cd\r\nef";
        QTest::newRow("アンインデント") << "mnuUnindent" << "ab\r\ncd\r\nef";
        QTest::newRow("タブインデント") << "mnuTabIndent" << "\tab\r\n\tcd\r\nef";
        QTest::newRow("タブインデント (second)") << "mnuTabIndent2" << "\tab\r\n\tcd\r\nef";
        QTest::newRow("タブアンインデント") << "mnuTabUnindent" << "ab\r\ncd\r\nef";
        QTest::newRow("タブアンインデント (second)") << "mnuTabUnindent2" << "ab\r\ncd\r\nef";
        QTest::newRow("切り取り") << "mnuCut" << "ef";
        QTest::newRow("１行削除") << "mnuDeleteRow" << "ab\r\ncd\r\n";
    }
    void itemsForwardToTheActiveEditor() {
        QFETCH(QString, item);
        Load("ab\r\ncd\r\nef", 0, 0);
        // Rows 0 and 1: the selection ends at the start of row 2.
        editor_->Select({0, 0}, {2, 0});
        window_->Action(item)->trigger();
        QTEST(TextOf(*editor_), "expected");
    }

    void withoutSelectionTheIndentItemsDoNothing() {
        Load("ab", 0, 1);
        Item("mnuIndent")->trigger();
        Item("mnuTabUnindent2")->trigger();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab"));
        QVERIFY(!editor_->CanUndo());
    }

    void clipboardUndoAndSelectionItems() {
        Load("ab\r\ncd", 0, 0);
        Item("mnuSelectAll")->trigger();
        Item("mnuCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
        editor_->SetRow(1);
        editor_->SetCol(2);
        Item("mnuPaste")->trigger();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab\r\ncdab\r\ncd"));
        Item("mnuUndo")->trigger();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab\r\ncd"));
        Item("mnuRedo")->trigger();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab\r\ncdab\r\ncd"));
        QGuiApplication::clipboard()->setText(QStringLiteral("X\r\nY"));
        editor_->SetRow(0);
        editor_->SetCol(1);
        Item("mnuBoxPaste")->trigger();
        QCOMPARE(TextOf(*editor_), QStringLiteral("aXb\r\ncYdab\r\ncd"));
    }

    void pasteOfACharacterWithoutAShiftJisFormIsRefusedAndSaid() {
        Load("ab", 0, 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("x\u200B😀"));
        Item("mnuPaste")->trigger();
        QTRY_COMPARE(Messages(), QStringList{QStringLiteral(
                                     "「\u200B」(U+200B)、「😀」(U+1F600) はShift-JISで表せないため、入力できません．")});
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab"));
    }

    void overwriteAndBoxModeShowInTheStatusPanels() {
        TStatusPanels* panels = window_->StatusPanels();
        QCOMPARE(panels->PanelText(2), QStringLiteral("挿入"));
        QTest::keyClick(editor_, Qt::Key_Insert);
        QVERIFY(editor_->OverwriteMode());
        QCOMPARE(panels->PanelText(2), QStringLiteral("上書"));
        Item("mnuOverwrite")->trigger();
        QVERIFY(!editor_->OverwriteMode());
        QCOMPARE(panels->PanelText(2), QStringLiteral("挿入"));
        QCOMPARE(panels->PanelText(3), QString());
        Item("mnuBoxMode")->trigger();
        QCOMPARE(editor_->SelectionMode(), selBox);
        QCOMPARE(panels->PanelText(3), QStringLiteral("矩形選択"));
        // The editor's own key does the same.
        QTest::keyClick(editor_, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(panels->PanelText(3), QString());
        Item("mnuReadOnly")->trigger();
        QVERIFY(editor_->ReadOnly());
        QTest::keyClicks(editor_, QStringLiteral("abc"));
        QCOMPARE(TextOf(*editor_), QString());
    }

    void editorKeysWinOverTheWindowShortcuts() {
        // Ctrl+Z in the editor undoes once, not twice through the menu too.
        Load("", 0, 0);
        editor_->setFocus();
        QTest::keyClicks(editor_, QStringLiteral("ab"));
        QTest::keyClick(editor_, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("a"));
    }
};

QTEST_MAIN(TestEditMenu)
#include "tst_EditMenu.moc"
