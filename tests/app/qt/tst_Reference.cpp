// The reference lists in the real main window: Ctrl+Space completion, Tab
// on a selection, system variables drawn in bold inside strings,
// システム変数を大文字に, pointer hints and double-click actions, with word
// lists of the test's own in the program folder.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/Shell.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"
#include "lisp/qt/PickListWindow.h"
#include "support/qt/FakeShell.h"
#include "support/qt/MainFormFixture.h"
#include "syntax/HyphenFountain.h"
#include "text/EditorStrings.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

QStringList ItemTexts(const TForm5& form) {
    QStringList texts;
    for (int i = 0; i < form.ListBox1->count(); ++i) texts << form.ListBox1->item(i)->text();
    return texts;
}

// What a pick list looked like when it was shown.
struct TShownPick {
    QString caption;
    QStringList items;
    int current = -1;
    QSize size;
    bool frameless = false;
};

}  // namespace

class TestReference : public QObject, TMainFormFixture {
    Q_OBJECT

    TFakeShell shell_;

    void WriteLists(bool functions = true) {
        if (functions)
            WriteSjisFile(Path(QStringLiteral("bin/AutoLISPFunction.txt")),
                          QStringLiteral("getangle [pt] [msg])\r\n\t角度を入力させます。\r\n"
                                         "getvar varname)\r\n\tシステム変数の値を返します。\r\n"
                                         "princ [expr [file-desc]])\r\n\t式を表示します。\r\n"));
        WriteSjisFile(Path(QStringLiteral("bin/AutoCADSysVar.txt")),
                      QStringLiteral("CMDECHO [整数型]\r\n\tコマンドの表示です。\r\n"
                                     "OSMODE [整数型]\r\n\tオブジェクトスナップです。\r\n"));
        WriteSjisFile(Path(QStringLiteral("bin/HiliteWordList.txt")), QStringLiteral("CMDECHO\r\nOSMODE\r\n"));
    }
    TTarnwickMainForm* CreateWith(const QString& text, bool functions = true) {
        WriteLists(functions);
        TTarnwickMainForm* w = NewWindow();
        w->resize(800, 600);
        if (!Show(w)) qWarning("window not active");
        LoadText(*w->ActiveEditor(), text);
        return w;
    }
    // The next modal window: recorded, then its item `pick` double-clicked
    // (or cancelled when -1).
    void PickOnShow(TShownPick& shown, int pick) {
        dialogs_->modals.push_back([&shown, pick](QDialog& dialog) {
            auto& form = dynamic_cast<TForm5&>(dialog);
            form.show();
            QTest::qWait(1);
            shown = {form.windowTitle(), ItemTexts(form), form.ListBox1->currentRow(), form.size(),
                     bool(form.windowFlags() & Qt::FramelessWindowHint)};
            if (pick < 0) return int(QDialog::Rejected);
            const QRect rect = form.ListBox1->visualItemRect(form.ListBox1->item(pick));
            QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(form.ListBox1->viewport(), Qt::LeftButton, {}, rect.center());
            return form.result();
        });
    }
    // Ctrl+Space with the caret at `col` of the first line; the list shown
    // gets `pick` as PickOnShow does.
    TShownPick Complete(TEditorEx* editor, int col, int pick) {
        TShownPick shown;
        editor->SetCol(col);
        PickOnShow(shown, pick);
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        return shown;
    }
    static void MoveTo(TEditorEx* editor, int row, int col, Qt::KeyboardModifiers mods = {}) {
        QWidget* vp = editor->viewport();
        const QPoint at = CellPoint(*editor, row, col);
        QMouseEvent move(QEvent::MouseMove, at, vp->mapToGlobal(at), Qt::NoButton, Qt::NoButton, mods);
        QApplication::sendEvent(vp, &move);
    }
    static QString HintOf(TTarnwickMainForm* w) {
        return w->HintWindow() && w->HintWindow()->isVisible() ? w->HintWindow()->text() : QString();
    }
    // As the system delivers it: a click, then the second press as a double click.
    static void DoubleClick(TEditorEx* editor, int row, int col) {
        const QPoint at = CellPoint(*editor, row, col);
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(editor->viewport(), Qt::LeftButton, {}, at);
    }
    // Pixels of `color` in the cells [from, to) of a row as the editor draws it.
    static int PixelsOf(TEditorEx* editor, int row, int from, int to, QColor color) {
        const QImage image = editor->viewport()->grab().toImage();
        const int dpr = static_cast<int>(image.devicePixelRatio());
        const QPoint start = CellPoint(*editor, row, from);
        int count = 0;
        for (int x = start.x() - 1; x < start.x() - 1 + (to - from) * editor->CellWidth(); ++x)
            for (int y = start.y() - editor->RowHeight() / 2; y < start.y() + editor->RowHeight() / 2; ++y)
                if (image.pixelColor(x * dpr, y * dpr) == color) ++count;
        return count;
    }

private slots:
    void init() {
        InitFixture();
        shell_.opened.clear();
        shellSeam_ = &shell_;
    }
    void cleanup() { CleanupFixture(); }

    // ------------------------------------------------------------ Ctrl+Space

    void completion_functionIsInsertedAsOneUndoStep() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(setq a (getv))"));
        TEditorEx* editor = w->ActiveEditor();
        const TShownPick shown = Complete(editor, 13, 0);  // after "getv"
        QCOMPARE(shown.caption, QStringLiteral("func"));
        QCOMPARE(shown.items, (QStringList{"getvar varname)", "  システム変数の値を返します。"}));
        QCOMPARE(shown.current, 0);
        QCOMPARE(shown.size, QSize(580, 160));
        QVERIFY(shown.frameless);
        QCOMPARE(TextOf(*editor), QStringLiteral("(setq a (getvar ))"));
        // The caret after the name and its blank: what is typed next is the
        // argument, not a split of the name.
        QCOMPARE(editor->Col(), 16);
        editor->Undo();
        QCOMPARE(TextOf(*editor), QStringLiteral("(setq a (getv))"));
        QVERIFY(!editor->CanUndo());
        Complete(editor, 13, 0);
        Type(editor, "\"osmode\"");
        QCOMPARE(TextOf(*editor), QStringLiteral("(setq a (getvar \"osmode\"))"));
    }

    void completion_systemVariableInAString() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(getvar \"os\")"));
        TEditorEx* editor = w->ActiveEditor();
        const TShownPick shown = Complete(editor, 11, 0);
        QCOMPARE(shown.caption, QStringLiteral("system"));
        QCOMPARE(shown.items, (QStringList{"OSMODE [整数型]", "  オブジェクトスナップです。"}));
        QCOMPARE(TextOf(*editor), QStringLiteral("(getvar \"OSMODE\")"));
        QCOMPARE(editor->Col(), 15);  // before the closing quote
    }

    void completion_detailLineOrCancelInsertsNothing() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(getv)"));
        TEditorEx* editor = w->ActiveEditor();
        Complete(editor, 5, 1);
        Complete(editor, 5, -1);
        QCOMPARE(TextOf(*editor), QStringLiteral("(getv)"));
        // Nothing matches: no list at all.
        LoadText(*editor, QStringLiteral("(zz)"), 0, 3);
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(dialogs_->calls.size(), std::size_t{2});
    }

    void completion_needsTheFunctionList() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(getvar \"os\")"), false);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetCol(11);
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(dialogs_->calls.empty());
        // The key is taken: no blank typed.
        QCOMPARE(TextOf(*editor), QStringLiteral("(getvar \"os\")"));
    }

    // ------------------------------------------------------------ Tab on a selection

    void tabIndentsAndUnindentsTheSelection() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(a)\r\n(b)\r\n(c)"));
        TEditorEx* editor = w->ActiveEditor();
        editor->Select({0, 1}, {1, 2});
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(TextOf(*editor), QStringLiteral("\t(a)\r\n\t(b)\r\n(c)"));
        QVERIFY(editor->Selected());
        QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(TextOf(*editor), QStringLiteral("(a)\r\n(b)\r\n(c)"));
        // Without a selection Tab types a tab as ever.
        editor->Deselect();
        editor->SetRow(2);
        editor->SetCol(0);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(TextOf(*editor), QStringLiteral("(a)\r\n(b)\r\n\t(c)"));
        // A read-only document keeps its text.
        editor->SetReadOnly(true);
        editor->Select({0, 0}, {1, 0});
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(TextOf(*editor), QStringLiteral("(a)\r\n(b)\r\n\t(c)"));
    }

    // ------------------------------------------------------------ system variables

    void systemVariablesAreDrawnInBoldInStrings() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(setvar \"osmode\" 0) ; \"osmode\"\r\n(setvar \"osmode\" 1)"));
        TEditorEx* editor = w->ActiveEditor();
        const QColor lime(0, 255, 0);
        w->Fountain1()->Reserve2().SetColor(clLime);
        QVERIFY(PixelsOf(editor, 0, 9, 15, lime) > 0);
        QCOMPARE(PixelsOf(editor, 0, 23, 29, lime), 0);  // in the comment
        QCOMPARE(PixelsOf(editor, 0, 1, 7, lime), 0);    // not in a string
        // A selected name takes the selection's colours.
        editor->Select({1, 0}, {1, 19});
        QCOMPARE(PixelsOf(editor, 1, 9, 15, lime), 0);
        QVERIFY(PixelsOf(editor, 0, 9, 15, lime) > 0);
        w->Action(QStringLiteral("N63"))->trigger();
        QCOMPARE(PixelsOf(editor, 0, 9, 15, lime), 0);
    }

    void upcaseSystemVariables() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(setvar \"osmode\" 0) (setvar \"cmdecho\" 0)\r\n"
                                                         "(princ)\r\n(getvar \"OSMODE\")"));
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(1);
        editor->SetCol(3);
        QVERIFY(w->Action(QStringLiteral("N66"))->isEnabled());
        w->Action(QStringLiteral("N66"))->trigger();
        QCOMPARE(TextOf(*editor), QStringLiteral("(setvar \"OSMODE\" 0) (setvar \"CMDECHO\" 0)\r\n"
                                                 "(princ)\r\n(getvar \"OSMODE\")"));
        QCOMPARE(Messages(), QStringList{"システム変数 3個のうち、2個を大文字に変換しました."});
        QCOMPARE(editor->Row(), 1);
        QCOMPARE(editor->Col(), 3);
        QVERIFY(editor->Modified());
        editor->Undo();
        QCOMPARE(TextOf(*editor), QStringLiteral("(setvar \"osmode\" 0) (setvar \"cmdecho\" 0)\r\n"
                                                 "(princ)\r\n(getvar \"OSMODE\")"));
        QVERIFY(!editor->CanUndo());
        w->Action(QStringLiteral("N66"))->trigger();
        w->Action(QStringLiteral("N66"))->trigger();
        QCOMPARE(Messages().constLast(), QStringLiteral("システム変数 3個は、すでに大文字です."));
        LoadText(*editor, QStringLiteral("(princ \"x\")"));
        w->Action(QStringLiteral("N66"))->trigger();
        QCOMPARE(Messages().size(), 3);
    }

    // ------------------------------------------------------------ hints

    void hintsByTokenKind() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(princ (getvar \"osmode\"))\r\n"
                                                         ";; draws\r\n(defun draw (a / b)\r\n  (draw a))\r\n"
                                                         "www.example.jp x\r\n(getvar \"osm\")"));
        TEditorEx* editor = w->ActiveEditor();
        MoveTo(editor, 0, 3);
        QCOMPARE(HintOf(w), QStringLiteral(" (princ [expr [file-desc]])\n   式を表示します。"));
        QCOMPARE(editor->viewport()->cursor().shape(), Qt::ArrowCursor);
        MoveTo(editor, 0, 18);
        QCOMPARE(HintOf(w), QStringLiteral(" OSMODE [整数型]\n   オブジェクトスナップです。"));
        MoveTo(editor, 3, 4);
        QCOMPARE(HintOf(w), QStringLiteral(";; draws\n(defun draw (a)"));
        // What was read from the document goes with its next change.
        editor->Lines().Put(1, Utf8ToCp932(";; paints"));
        MoveTo(editor, 3, 4);
        QCOMPARE(HintOf(w), QStringLiteral(";; paints\n(defun draw (a)"));
        MoveTo(editor, 4, 2);
        QCOMPARE(HintOf(w), QStringLiteral("ダブルクリックでオープン"));
        QCOMPARE(editor->viewport()->cursor().shape(), Qt::PointingHandCursor);
        MoveTo(editor, 0, 0);  // a bracket
        QCOMPARE(HintOf(w), QString());
        QCOMPARE(editor->viewport()->cursor().shape(), Qt::IBeamCursor);
        // A string that only begins a variable's name names none.
        MoveTo(editor, 5, 10);
        QCOMPARE(HintOf(w), QString());
        // Ctrl held: nothing at all.
        MoveTo(editor, 0, 3, Qt::ControlModifier);
        QCOMPARE(HintOf(w), QString());
        // User functions switched off; hints switched off.
        w->Action(QStringLiteral("N75"))->trigger();
        MoveTo(editor, 3, 4);
        QCOMPARE(HintOf(w), QString());
        w->Action(QStringLiteral("N58"))->trigger();
        MoveTo(editor, 0, 3);
        QCOMPARE(HintOf(w), QString());
    }

    // A key or a view that moves takes the hint away: it would point at
    // text that is no longer under it.
    void hint_goesWithAKeyOrAScroll() {
        QString text;
        for (int i = 0; i < 80; ++i) text += QStringLiteral("(princ %1)\r\n").arg(i);
        TTarnwickMainForm* w = CreateWith(text);
        TEditorEx* editor = w->ActiveEditor();
        const struct {
            const char* what;
            std::function<void()> act;
        } moves[] = {
            {"PageDown", [editor] { QTest::keyClick(editor, Qt::Key_PageDown); }},
            {"Ctrl+Home", [editor] { QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier); }},
            {"Ctrl+Z", [editor] { QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier); }},
            {"a plain key", [editor] { QTest::keyClick(editor, Qt::Key_Right); }},
            {"a scroll", [editor] { editor->ScrollRows(3); }},
            {"a sideways scroll", [editor] { editor->SetTopCol(2); }},
        };
        for (const auto& move : moves) {
            editor->SetTopRow(0);
            editor->SetTopCol(0);
            MoveTo(editor, 0, 3);
            QVERIFY2(!HintOf(w).isEmpty(), move.what);
            move.act();
            QVERIFY2(HintOf(w).isEmpty(), move.what);
        }
    }

    // ------------------------------------------------------------ double clicks

    void doubleClick_addressesGoToTheDesktop() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("http://www.example.jp/a info@example.jp"));
        TEditorEx* editor = w->ActiveEditor();
        DoubleClick(editor, 0, 5);
        DoubleClick(editor, 0, 28);
        QCOMPARE(shell_.opened, (QStringList{"http://www.example.jp/a", "mailto:info@example.jp"}));
        QCOMPARE(w->StatusPanels()->PanelText(5), QStringLiteral("info@example.jp"));
    }

    void doubleClick_pickListsAndBrackets() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(setq a (getvar \"cmd\"))"));
        TEditorEx* editor = w->ActiveEditor();
        TShownPick shown;
        PickOnShow(shown, -1);
        DoubleClick(editor, 0, 11);  // getvar
        QCOMPARE(shown.caption, QStringLiteral("func"));
        QCOMPARE(shown.items.first(), QStringLiteral("getvar varname)"));
        QCOMPARE(w->StatusPanels()->PanelText(5), QStringLiteral("getvar"));
        PickOnShow(shown, 0);
        DoubleClick(editor, 0, 18);  // "cmd"
        QCOMPARE(shown.caption, QStringLiteral("system"));
        QCOMPARE(TextOf(*editor), QStringLiteral("(setq a (getvar \"CMDECHO\"))"));
        DoubleClick(editor, 0, 0);  // the first bracket
        QCOMPARE(editor->SelText(), Utf8ToCp932("(setq a (getvar \"CMDECHO\"))"));
    }

    void doubleClick_definitionInThePaneOrTheOtherHalf() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(princ)\r\n;; one\r\n;; two\r\n(defun myfunc (a / b)\r\n"
                                                         "  a)\r\n\r\n(myfunc 1)"));
        TEditorEx* editor = w->ActiveEditor();
        DoubleClick(editor, 6, 3);
        QCOMPARE(w->StatusPanels()->PanelText(5), QStringLiteral("(myfunc"));
        QCOMPARE(TextOf(*w->OutputPane()),
                 QStringLiteral("       2|;; one\r\n       3|;; two\r\n       4|(defun myfunc (a)\r\n"));
        // Split: the other half shows the comments, its caret on the header.
        w->ToggleSplit();
        auto* page = qobject_cast<TDocumentPage*>(w->PageControl()->Page(w->PageControl()->ActivePageIndex()));
        QVERIFY(page && page->IsSplit());
        TEditorEx* lower = page->Editor();
        DoubleClick(lower, 6, 3);
        QCOMPARE(page->Upper()->TopRow(), 1);
        QCOMPARE(page->Upper()->Row(), 3);
    }
};

QTEST_MAIN(TestReference)
#include "tst_Reference.moc"
