// The デバッグ menu, the conversions of the 編集 menu and the 設定 items
// with an action, on the real main window: each command is one undo step
// that brings the caret back, keeps the view, and leaves a Read Only text
// alone.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"
#include "lisp/qt/VariableNamePrompt.h"
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "support/qt/MainFormFixture.h"
#pragma GCC diagnostic pop

using namespace quodle;
using namespace quodle::testing;

class TestDebugMenu : public QObject, TMainFormFixture {
    Q_OBJECT

    QPointer<TTarnwickMainForm> window_;
    TEditorEx* editor_ = nullptr;

    void Trigger(const char* name) { window_->Action(QString::fromLatin1(name))->trigger(); }
    void Load(const QString& text, int row = 0, int col = 0) { LoadText(*editor_, text, row, col); }
    QString Text() const { return TextOf(*editor_); }
    QPoint Caret() const { return {editor_->Col(), editor_->Row()}; }
    // The prompt's answer: the name typed and Enter, or 取消.
    void AnswerPrompt(const QString& name, bool ok = true) {
        dialogs_->modals.push_back([name, ok](QDialog& dialog) {
            auto* prompt = qobject_cast<TVariableNamePrompt*>(&dialog);
            if (!prompt) return int(QDialog::Rejected);
            QTest::keyClicks(prompt->Edit1, name);
            if (ok) QTest::keyClick(prompt->Edit1, Qt::Key_Return);
            else prompt->Button2->click();
            return dialog.result();
        });
    }

private slots:
    void init() {
        InitFixture();
        window_ = NewWindow();
        QVERIFY(Show(window_));
        editor_ = window_->ActiveEditor();
        QVERIFY(editor_);
        editor_->setFocus();
    }
    void cleanup() { CleanupFixture(); }

    void itemsAndToolButtonsAreEnabledWithTheirHints() {
        for (const char* name : {"mnuCommentAdd", "mnuCommentDelete", "mnuWatchAdd", "mnuWatchComment", "mnuWatchUncomment",
                                 "mnuWatchDelete", "mnuBreakAdd", "mnuBreakComment", "mnuBreakUncomment", "mnuBreakDelete",
                                 "mnuTabToSpace", "mnuLeadSpaceToTab", "mnuRunSpaceToTab", "mnuSpaceToTab",
                                 "mnuZenkakuSpace", "mnuShowTokenKind", "mnuScrollTest"})
            QVERIFY2(window_->Action(QString::fromLatin1(name))->isEnabled(), name);
        const std::pair<const char*, const char*> hints[] = {
            {"mnuWatchAdd", "変数表示行を追加"}, {"mnuWatchDelete", "変数表示行を全削除"},
            {"mnuBreakAdd", "ブレーク行を追加"}, {"mnuBreakDelete", "ブレーク行を全削除"},
            {"mnuCommentAdd", "コメント追加(Ctrl+Ins)"}, {"mnuCommentDelete", "コメント削除(Ctrl+Del)"}};
        auto* bar = window_->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        for (const auto& [name, hint] : hints) {
            QAction* action = window_->Action(QString::fromLatin1(name));
            QCOMPARE(action->toolTip(), QString::fromUtf8(hint));
            QVERIFY(bar->widgetForAction(action)->isEnabled());
        }
        QVERIFY(window_->Action(QStringLiteral("mnuShowTokenKind"))->isCheckable());
        QVERIFY(!window_->Action(QStringLiteral("mnuShowTokenKind"))->isChecked());
    }

    void commentKeysActOnTheCaretLineOrTheSelection() {
        Load("  (a)\r\n;;(b)\r\n(c)", 0, 3);
        QTest::keyClick(editor_, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(Text(), QStringLiteral(";  (a)\r\n;;(b)\r\n(c)"));
        QVERIFY(!editor_->OverwriteMode());
        editor_->SetRow(1);
        QTest::keyClick(editor_, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Text(), QStringLiteral(";  (a)\r\n;(b)\r\n(c)"));
        // Undo: one step each, the caret back where it was.
        editor_->SetRow(2);
        Trigger("mnuUndo");
        QCOMPARE(Text(), QStringLiteral(";  (a)\r\n;;(b)\r\n(c)"));
        QCOMPARE(Caret(), QPoint(3, 1));
        Trigger("mnuUndo");
        QCOMPARE(Text(), QStringLiteral("  (a)\r\n;;(b)\r\n(c)"));
        QCOMPARE(Caret(), QPoint(3, 0));
        // A selection from the start of row 1 to the start of row 3 comments rows 1 and 2.
        Load("a\r\nb\r\nc\r\nd", 0, 0);
        editor_->Select({1, 0}, {3, 0});
        Trigger("mnuCommentAdd");
        QCOMPARE(Text(), QStringLiteral("a\r\n;b\r\n;c\r\nd"));
        QVERIFY(editor_->Selected());
        Trigger("mnuCommentDelete");
        QCOMPARE(Text(), QStringLiteral("a\r\nb\r\nc\r\nd"));
        // Nothing to comment in an empty text.
        Load("");
        Trigger("mnuCommentAdd");
        QCOMPARE(Text(), QString());
        QVERIFY(!editor_->CanUndo());
    }

    void watchLineThroughThePrompt() {
        Load("(defun f (x)\r\n\t  (setq y (* x 2))\r\n)", 1, 5);
        editor_->SetTopRow(0);
        AnswerPrompt(QStringLiteral("y"));
        Trigger("mnuWatchAdd");
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("変数表示"));
        QCOMPARE(Text(), QStringLiteral("(defun f (x)\r\n\t  (princ \"\\n[pv1]y=\")(princ y);DEBUG_PV1\r\n"
                                        "\t  (setq y (* x 2))\r\n)"));
        // The caret stays on its text, which moved down a row.
        QCOMPARE(Caret(), QPoint(5, 2));
        // Cancel changes nothing; the next number follows the largest.
        AnswerPrompt(QStringLiteral("z"), false);
        Trigger("mnuWatchAdd");
        AnswerPrompt(QStringLiteral("z"));
        Trigger("mnuWatchAdd");
        QCOMPARE(editor_->Lines().Get(2), std::string("\t  (princ \"\\n[pv2]z=\")(princ z);DEBUG_PV2"));
        Trigger("mnuBreakAdd");
        QCOMPARE(editor_->Lines().Get(3), std::string("\t  (getstring \"\\n[bp1]Press Enter to continue...\");DEBUG_BP1"));
        QCOMPARE(editor_->Lines().Count(), 6);
        // One undo takes back the break line and puts the caret where it was.
        Trigger("mnuUndo");
        QCOMPARE(editor_->Lines().Count(), 5);
        QCOMPARE(Caret(), QPoint(5, 3));
    }

    void thePromptWindow() {
        TVariableNamePrompt prompt(window_);
        QCOMPARE(prompt.windowTitle(), QStringLiteral("変数表示"));
        QVERIFY(prompt.windowFlags() & Qt::Tool);
        QVERIFY(!prompt.Edit1->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(prompt.Button1->text(), QStringLiteral("OK"));
        QCOMPARE(prompt.Button2->text(), QStringLiteral("取消"));
        QStringList labels;
        for (const QLabel* label : prompt.findChildren<QLabel*>()) labels << label->text();
        QCOMPARE(labels, QStringList{QStringLiteral("変数名")});
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QCOMPARE(prompt.minimumSize(), prompt.maximumSize());
        QVERIFY((prompt.geometry().center() - prompt.screen()->availableGeometry().center()).manhattanLength() <= 4);
    }

    void groupCommandsAreOneStepEach() {
        const QString doc = QStringLiteral(
            "(defun f ()\r\n"
            "  (princ \"\\n[pv1]a=\")(princ a);DEBUG_PV1\r\n"
            "  (getstring \"\\n[bp1]Press Enter to continue...\");DEBUG_BP1\r\n"
            "  (setq b 1) ; 後で ;DEBUG_PV を消す\r\n"
            ")");
        Load(doc, 4, 1);
        Trigger("mnuWatchComment");
        QCOMPARE(editor_->Lines().Get(1).substr(0, 3), std::string(";  "));
        QCOMPARE(editor_->Lines().Get(3).substr(0, 3), std::string(";  "));
        QCOMPARE(editor_->Lines().Get(2).substr(0, 3), std::string("  ("));
        Trigger("mnuWatchUncomment");
        QCOMPARE(Text(), doc);
        Trigger("mnuBreakComment");
        Trigger("mnuBreakUncomment");
        QCOMPARE(Text(), doc);
        Trigger("mnuWatchDelete");
        QCOMPARE(editor_->Lines().Count(), 3);
        // The caret followed its line up two rows.
        QCOMPARE(Caret(), QPoint(1, 2));
        Trigger("mnuBreakDelete");
        QCOMPARE(Text(), QStringLiteral("(defun f ()\r\n)"));
        Trigger("mnuUndo");
        Trigger("mnuUndo");
        QCOMPARE(Text(), doc);
        QCOMPARE(Caret(), QPoint(1, 4));
    }

    void conversionsKeepTheCaretAndTheViewAndUndoWhole() {
        QString doc;
        for (int i = 0; i < 300; ++i) doc += QStringLiteral("\t(setq v%1 1)\r\n").arg(i);
        Load(doc, 105, 6);
        editor_->SetTopRow(100);
        const QString before = Text();
        Trigger("mnuTabToSpace");
        QCOMPARE(editor_->Lines().Get(150), std::string("    (setq v150 1)"));
        QCOMPARE(Caret(), QPoint(6, 105));
        QCOMPARE(editor_->TopRow(), 100);
        editor_->SetRow(3);
        Trigger("mnuUndo");
        QCOMPARE(Text(), before);
        QCOMPARE(Caret(), QPoint(6, 105));
        Trigger("mnuRedo");
        Trigger("mnuLeadSpaceToTab");
        QCOMPARE(Text(), before);
        Load(QStringLiteral("         x\r\n　あ"), 0, 0);
        Trigger("mnuRunSpaceToTab");
        QCOMPARE(editor_->Lines().Get(0), std::string("\t\t x"));
        Trigger("mnuZenkakuSpace");
        QCOMPARE(Text(), QStringLiteral("\t\t x\r\n  あ"));
        Load(QStringLiteral("ab  cd"), 0, 0);
        Trigger("mnuSpaceToTab");
        QCOMPARE(Text(), QStringLiteral("ab\tcd"));
        // A conversion that changes nothing leaves no step.
        Load(QStringLiteral("x"), 0, 0);
        Trigger("mnuZenkakuSpace");
        QVERIFY(!editor_->CanUndo());
    }

    void readOnlyTextIsLeftAlone() {
        const QString doc = QStringLiteral("\t(a);DEBUG_PV1\r\n;(b);DEBUG_BP1");
        Load(doc, 0, 0);
        editor_->SetReadOnly(true);
        for (const char* name : {"mnuCommentAdd", "mnuCommentDelete", "mnuWatchComment", "mnuWatchUncomment",
                                 "mnuWatchDelete", "mnuBreakAdd", "mnuBreakComment", "mnuBreakUncomment",
                                 "mnuBreakDelete", "mnuTabToSpace", "mnuLeadSpaceToTab", "mnuRunSpaceToTab",
                                 "mnuSpaceToTab", "mnuZenkakuSpace", "mnuWatchAdd"})
            Trigger(name);
        QCOMPARE(Text(), doc);
        // Not even the prompt came up.
        QVERIFY(dialogs_->calls.empty());
    }

    void tokenKindShowsInPanelFiveWhileChecked() {
        TStatusPanels* panels = window_->StatusPanels();
        Load(QStringLiteral("(setq s \"文字\") ; note"), 0, 0);
        editor_->SetCol(10);
        QCOMPARE(panels->PanelText(5), QString());
        Trigger("mnuShowTokenKind");
        QVERIFY(window_->Action(QStringLiteral("mnuShowTokenKind"))->isChecked());
        editor_->SetCol(1);
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Ank] setq"));
        editor_->SetCol(10);
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Quotation] \"文字\""));
        editor_->SetCol(18);
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Comment] ; note"));
        editor_->SetCol(0);
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Symbol] ("));
        // A new tab shows its own caret's token at once, and so does the way back.
        Trigger("mnuNew");
        QCOMPARE(panels->PanelText(5), QStringLiteral("[EOF] "));
        window_->PageControl()->SetActivePageIndex(0);
        window_->TabChange();
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Symbol] ("));
        Trigger("mnuShowTokenKind");
        editor_->SetCol(10);
        QCOMPARE(panels->PanelText(5), QStringLiteral("[Symbol] ("));
    }

    void scrollTestStepsToTheEndAndShowsTheTime() {
        TStatusPanels* panels = window_->StatusPanels();
        QString doc;
        for (int i = 0; i < 200; ++i) doc += QStringLiteral("line %1\r\n").arg(i);
        Load(doc);
        Trigger("mnuScrollTest");
        QCOMPARE(editor_->TopRow(), editor_->Rows().Count() - editor_->VisibleRowCount());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$")).match(panels->PanelText(5)).hasMatch());
        // A text that fits in the view is only timed.
        Load(QStringLiteral("a\r\nb"));
        panels->SetPanelText(5, QString());
        Trigger("mnuScrollTest");
        QCOMPARE(editor_->TopRow(), 0);
        QVERIFY(panels->PanelText(5).endsWith(QStringLiteral("sec")));
    }
};

QTEST_MAIN(TestDebugMenu)
#include "tst_DebugMenu.moc"
