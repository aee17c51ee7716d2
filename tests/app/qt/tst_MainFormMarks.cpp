// The マーク and ジャンプ commands of the main window on a real window, with
// the line-number prompt answered through the dialog seam.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/LineNumberDialog.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "editor/RowMarks.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {
const QString kNoMarks = QStringLiteral("マークは設定されていません．");
const QString kAllInUse = QStringLiteral("すでに9個のマークが使われています．");
}  // namespace

class TestMainFormMarks : public QObject, TMainFormFixture {
    Q_OBJECT

    TTarnwickMainForm* w_ = nullptr;

    // A window with one document of `lines` lines "(line N)".
    TEditorEx* Open(int lines) {
        const QString path = Path(QStringLiteral("m.lsp"));
        QString text;
        for (int i = 0; i < lines; ++i) text += QStringLiteral("(line %1)\r\n").arg(i);
        WriteSjisFile(path, text);
        w_ = Create({path});
        return w_->ActiveEditor();
    }
    void Trigger(const char* name) { w_->Action(QString::fromLatin1(name))->trigger(); }
    // Rows carrying the mark.
    static QList<int> RowsWith(const TEditorEx* e, int mark) {
        QList<int> rows;
        for (int r = 0; r < e->Rows().Count(); ++r)
            if (e->Rows().RowMarksOf(r) & MarkBit(mark)) rows << r;
        return rows;
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() {
        w_ = nullptr;
        CleanupFixture();
    }

    void toggle_setsLowestFreeNumberAndKeepsExtraMarks() {
        TEditorEx* e = Open(40);
        for (const char* item : {"mnuMarkToggle", "mnuMarkNext", "mnuMarkPrevious", "mnuMarkClear", "mnuJumpLine",
                                 "mnuJumpTop", "mnuJumpEnd", "rm10", "rm15"})
            QVERIFY2(w_->Action(QString::fromLatin1(item))->isEnabled(), item);
        for (int row : {3, 4, 5}) {
            e->SetRow(row);
            Trigger("mnuMarkToggle");
        }
        QCOMPARE(RowsWith(e, 0), QList<int>{3});
        QCOMPARE(RowsWith(e, 1), QList<int>{4});
        QCOMPARE(RowsWith(e, 2), QList<int>{5});
        e->SetRow(4);
        Trigger("mnuMarkToggle");
        e->SetRow(9);
        Trigger("mnuMarkToggle");
        QCOMPARE(RowsWith(e, 1), QList<int>{9});

        // The extra marks by their shortcuts, from the hidden menu.
        e->SetRow(12);
        QTest::keyClick(e, Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(e->Rows().RowMarksOf(12), MarkBit(12));
        // A row with only an extra mark counts as marked: toggling there
        // changes nothing.
        Trigger("mnuMarkToggle");
        QCOMPARE(e->Rows().RowMarksOf(12), MarkBit(12));
        QTest::keyClick(e, Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(e->Rows().RowMarksOf(12), 0);

        for (int row = 20; row < 27; ++row) {
            e->SetRow(row);
            Trigger("mnuMarkToggle");
        }
        QCOMPARE(Messages(), QStringList{});
        e->SetRow(30);
        Trigger("mnuMarkToggle");
        QCOMPARE(Messages(), QStringList{kAllInUse});
        QCOMPARE(e->Rows().RowMarksOf(30), 0);
    }

    void nextAndPrevious_goRoundAndReportNoMarks() {
        TEditorEx* e = Open(60);
        e->SetRow(20);
        Trigger("mnuMarkNext");
        Trigger("mnuMarkPrevious");
        QCOMPARE(Messages(), (QStringList{kNoMarks, kNoMarks}));
        QCOMPARE(e->Row(), 20);

        // A single mark on the caret row: nothing happens, no message.
        Trigger("mnuMarkToggle");
        Trigger("mnuMarkNext");
        Trigger("mnuMarkPrevious");
        QCOMPARE(Messages().size(), 2);
        QCOMPARE(e->Row(), 20);

        e->SetRow(45);
        Trigger("rm14");
        e->SetRow(5);
        Trigger("mnuMarkToggle");
        // Each jump makes the marked row the first visible row.
        Trigger("mnuMarkNext");
        QCOMPARE(e->Row(), 20);
        QCOMPARE(e->TopRow(), 20);
        Trigger("mnuMarkNext");
        QCOMPARE(e->Row(), 45);
        Trigger("mnuMarkNext");
        QCOMPARE(e->Row(), 5);
        QCOMPARE(e->TopRow(), 5);
        Trigger("mnuMarkPrevious");
        QCOMPARE(e->Row(), 45);
        Trigger("mnuMarkPrevious");
        QCOMPARE(e->Row(), 20);
        QCOMPARE(Messages().size(), 2);
    }

    void clear_removesNumberedMarksOnly() {
        TEditorEx* e = Open(30);
        e->SetRow(2);
        Trigger("rm10");
        Trigger("mnuMarkClear");
        QCOMPARE(Messages(), QStringList{kNoMarks});
        Trigger("mnuMarkToggle");  // the row has mark 10: nothing set
        e->SetRow(7);
        Trigger("mnuMarkToggle");
        e->SetRow(8);
        Trigger("mnuMarkToggle");
        Trigger("mnuMarkClear");
        QCOMPARE(Messages(), QStringList{kNoMarks});
        QCOMPARE(e->Rows().RowMarksOf(2), MarkBit(10));
        QCOMPARE(e->Rows().RowMarksOf(7), 0);
        QCOMPARE(e->Rows().RowMarksOf(8), 0);
        QCOMPARE(e->Rows().MarksInUse(), MarkBit(10));
    }

    void marks_followTheirRowsThroughEdits() {
        TEditorEx* e = Open(30);
        e->SetRow(10);
        Trigger("mnuMarkToggle");
        e->Lines().Delete(10);
        QCOMPARE(RowsWith(e, 0), QList<int>{10});
        e->SetRow(10);
        e->SetCol(0);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(RowsWith(e, 0), QList<int>{11});
        QCOMPARE(e->Lines().Get(11), std::string("(line 11)"));
    }

    void lineNumber_jumpsWithinRangeAndReportsTheRange() {
        TEditorEx* e = Open(80);
        e->SetRow(7);
        dialogs_->lineNumbers = {QStringLiteral("50"), QStringLiteral("0"), std::nullopt, QStringLiteral(""),
                                 QStringLiteral("80"), QStringLiteral("81")};
        Trigger("mnuJumpLine");
        QCOMPARE(e->Row(), 49);
        QCOMPARE(e->TopRow(), 49);
        QCOMPARE(w_->ReturnPoint().row, 7);
        Trigger("mnuJumpLine");  // 0
        Trigger("mnuJumpLine");  // cancelled
        Trigger("mnuJumpLine");  // empty
        const QString range = QStringLiteral("行番号が正しくありません．\n範囲は(0～80)です．");
        QCOMPARE(Messages(), (QStringList{range, range}));
        QCOMPARE(e->Row(), 49);
        QCOMPARE(w_->ReturnPoint().row, 7);
        Trigger("mnuJumpLine");  // 80: the last line
        QCOMPARE(e->Row(), 79);
        QCOMPARE(w_->ReturnPoint().row, 49);
        Trigger("mnuJumpLine");  // 81
        QCOMPARE(Messages().size(), 3);
        QCOMPARE(dialogs_->Texts(TKind::LineNumber).size(), 6);

        // The keys of the jump menu reach the window through the editor.
        QTest::keyClick(e, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(e->Row(), 49);
        QVERIFY(!e->Selected());
        QTest::keyClick(e, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(e->Row(), 79);
        QCOMPARE(w_->ReturnPoint().row, 49);
        // Back goes to the stored place, and a second time stays there.
        Trigger("mnuJumpBack");
        QCOMPARE(e->Row(), 49);
        QCOMPARE(e->TopRow(), 49);
        Trigger("mnuJumpBack");
        QCOMPARE(e->Row(), 49);
    }

    void topAndEnd_storeTheReturnPoint() {
        TEditorEx* e = Open(200);
        e->SetTopRow(90);
        e->SetRow(100);
        Trigger("mnuJumpEnd");
        QCOMPARE(e->Row(), 199);
        QVERIFY(e->TopRow() > 100);
        QVERIFY(e->TopRow() + e->VisibleRowCount() > 199);
        QCOMPARE(w_->ReturnPoint().row, 100);
        QCOMPARE(w_->ReturnPoint().topRow, 90);
        Trigger("mnuJumpTop");
        QCOMPARE(e->Row(), 0);
        QCOMPARE(e->TopRow(), 0);
        QCOMPARE(w_->ReturnPoint().row, 199);
        Trigger("mnuJumpBack");
        QCOMPARE(e->Row(), 199);
    }

    void lineNumber_inASplitTabStoresTheFocusedPanesPoint() {
        TEditorEx* lower = Open(100);
        Trigger("mnuSplit");
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w_->PageControl()->ActivePage())->Upper();
        QVERIFY(upper && upper != lower);
        upper->SetRow(5);
        lower->setFocus();
        lower->SetTopRow(35);
        lower->SetRow(40);
        // The prompt takes the focus while it is up; the point is the lower
        // pane's, taken before.
        dialogs_->lineNumbers = {QStringLiteral("70")};
        Trigger("mnuJumpLine");
        QCOMPARE(lower->Row(), 69);
        QCOMPARE(upper->Row(), 5);
        QCOMPARE(w_->ReturnPoint().row, 40);
        QCOMPARE(w_->ReturnPoint().topRow, 35);
        lower->setFocus();
        Trigger("mnuJumpBack");
        QCOMPARE(lower->Row(), 40);
        QCOMPARE(lower->TopRow(), 35);
        QCOMPARE(upper->Row(), 5);
    }

    void returnPoint_isSharedByAllTabs() {
        TEditorEx* first = Open(60);
        first->SetTopRow(25);
        first->SetRow(30);
        Trigger("mnuJumpTop");
        w_->NewDocument();
        TEditorEx* second = w_->ActiveEditor();
        QVERIFY(second != first);
        QString text;
        for (int i = 0; i < 50; ++i) text += QStringLiteral("x\r\n");
        second->Lines().SetText(text.toStdString());
        Trigger("mnuJumpBack");
        QCOMPARE(second->Row(), 30);
        QCOMPARE(second->TopRow(), 25);
        // A point beyond this document's rows is forgotten.
        second->Lines().SetText("a\r\nb\r\n");
        Trigger("mnuJumpBack");
        QCOMPARE(w_->ReturnPoint().row, -1);
    }

    void positionPanel_countsLinesAcrossWrappedRows() {
        TEditorEx* e = Open(3);
        e->Lines().SetText(std::string(50, 'a') + "\r\n(b)\r\n");
        TWrapOptionValues wrap;
        wrap.WrapByte = 20;
        e->SetWrapOption(wrap);
        e->SetWordWrap(true);
        QCOMPARE(e->Rows().Count(), 4);
        e->SetRow(2);
        e->SetCol(5);
        QCOMPARE(w_->StatusPanels()->PanelText(0), QStringLiteral("    3 行:   6 桁"));
        Trigger("LinesChar1");
        QCOMPARE(w_->StatusPanels()->PanelText(0), QStringLiteral("    1 行:  46 桁"));
        e->SetRow(3);
        e->SetCol(0);
        QCOMPARE(w_->StatusPanels()->PanelText(0), QStringLiteral("    2 行:   1 桁"));
        e->SetRow(0);
        // 行番号へ counts lines too: line 2 is the row after the wrapped line.
        dialogs_->lineNumbers = {QStringLiteral("2")};
        Trigger("mnuJumpLine");
        QCOMPARE(e->Row(), 3);
    }

    void lineNumberPrompt_takesDigitsAndBackspaceOnly() {
        QWidget owner;
        TLineNumberDialog dialog(&owner);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("行番号ジャンプ"));
        QVERIFY(dialog.windowFlags().testFlag(Qt::Tool));
        QLineEdit* edit = dialog.Edit();
        QTest::keyClicks(edit, QStringLiteral("1a2- 4"));
        QKeyEvent wide(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("３"));
        QApplication::sendEvent(edit, &wide);
        QCOMPARE(dialog.Text(), QStringLiteral("124"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_9);
        QCOMPARE(dialog.Text(), QStringLiteral("129"));
        QApplication::clipboard()->setText(QStringLiteral("77"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(dialog.Text(), QStringLiteral("129"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        dialog.setResult(0);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestMainFormMarks)
#include "tst_MainFormMarks.moc"
