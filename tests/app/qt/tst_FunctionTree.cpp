// The function catalogue in the output pane and the command/function tree
// in the left panel of the real main window: what they show, the comment
// box, the jumps (also in a split tab) and the panel's buttons.
#include <QAction>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "base/Clock.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"
#include "text/EditorStrings.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

class TFixedClock final : public TClock {
public:
    TLocalTime Now() const override { return {2026, 12, 9, 2, 8, 21}; }
};

// Line numbers (1-based) in the comments.
const char* const kSource =
    "(setq limit 10)\r\n"               // 1
    ";; 図形ツール\r\n"                 // 2
    "\r\n"                              // 3
    ";;\r\n"                            // 4
    ";; draws a box\r\n"                // 5
    ";   in model space\r\n"            // 6
    "(defun util (a b / c)\r\n"         // 7
    "  (defun sub (x) x)\r\n"           // 8
    "  (sub a))\r\n"                    // 9
    "(defun c:Draw () (util 1 2))\r\n"  // 10
    "(defun 作図 () nil)\r\n";          // 11

QStringList PaneLines(TTarnwickMainForm* w) {
    QStringList lines;
    TEditorEx* pane = w->OutputPane();
    for (int i = 0; i < pane->Lines().Count(); ++i) lines << FromSjis(pane->Lines().Get(i));
    return lines;
}

// Each node as its indented text and data, depth first.
QStringList Shape(const QTreeWidgetItem* item, const QString& indent = {}) {
    QStringList shape{indent + item->text(0) + QLatin1Char(' ') + item->data(0, Qt::UserRole).toString()};
    for (int i = 0; i < item->childCount(); ++i) shape += Shape(item->child(i), indent + QStringLiteral("  "));
    return shape;
}

}  // namespace

class TestFunctionTree : public QObject, TMainFormFixture {
    Q_OBJECT

    TFixedClock fixedClock_;

    // A window with kSource open from "tools.lsp".
    TTarnwickMainForm* CreateWithSource(const char* source = kSource) {
        WriteSjisFile(Path(QStringLiteral("tools.lsp")), QString::fromUtf8(source));
        clock_ = &fixedClock_;
        TTarnwickMainForm* w = NewWindow({Path(QStringLiteral("tools.lsp"))});
        w->resize(800, 600);
        if (!Show(w)) qWarning("window not active");
        return w;
    }
    static QTreeWidget* Tree(TTarnwickMainForm* w) { return w->findChild<QTreeWidget*>(QStringLiteral("TreeView1")); }
    static QPlainTextEdit* Memo(TTarnwickMainForm* w) {
        return w->findChild<QWidget*>(QStringLiteral("Panel4"))->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    }
    static QToolButton* Button(TTarnwickMainForm* w, const char* name) {
        return w->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    static int PanelWidth(TTarnwickMainForm* w) { return w->findChild<QWidget*>(QStringLiteral("Panel4"))->width(); }
    // The node with `text`, found anywhere in the tree.
    static QTreeWidgetItem* Node(TTarnwickMainForm* w, const QString& text) {
        const QList<QTreeWidgetItem*> found = Tree(w)->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    static QPoint Center(TTarnwickMainForm* w, QTreeWidgetItem* node) {
        return Tree(w)->visualItemRect(node).center();
    }
    static void ClickNode(TTarnwickMainForm* w, const QString& text) {
        QTest::mouseClick(Tree(w)->viewport(), Qt::LeftButton, {}, Center(w, Node(w, text)));
    }
    static void DoubleClickNode(TTarnwickMainForm* w, const QString& text) {
        const QPoint at = Center(w, Node(w, text));
        QTest::mouseClick(Tree(w)->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(Tree(w)->viewport(), Qt::LeftButton, {}, at);
    }
    static TDocumentPage* ActivePage(TTarnwickMainForm* w) {
        return qobject_cast<TDocumentPage*>(w->PageControl()->Page(w->PageControl()->ActivePageIndex()));
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void catalogue_intoTheOutputPane() {
        TTarnwickMainForm* w = CreateWithSource();
        QVERIFY(w->Action(QStringLiteral("N88"))->isEnabled());
        w->Action(QStringLiteral("N88"))->trigger();
        const QString hyphens(50, QLatin1Char('-'));
        QCOMPARE(PaneLines(w),
                 (QStringList{QStringLiteral("■ LISP関数カタログ ******************************"),
                              QStringLiteral(" ファイル : tools.lsp"),
                              QStringLiteral(" 作成日時 : ") + FromSjis(ShortDateLongTime(fixedClock_.Now())),
                              QStringLiteral("*********************************************** ■"), hyphens,
                              QStringLiteral("■c:Draw "), hyphens, QStringLiteral("■util a b"),
                              QStringLiteral("\tdraws a box"), QStringLiteral("\tin model space"), hyphens,
                              QStringLiteral("■作図 ")}));
        QCOMPARE(w->ProgressBar()->value(), 0);
        QVERIFY(Messages().isEmpty());

        // Without definitions the pane is cleared and stays empty, silently.
        w->ActiveEditor()->Lines().SetText("(princ)");
        w->Action(QStringLiteral("N88"))->trigger();
        QCOMPARE(w->OutputPane()->Lines().Count(), 0);
        QVERIFY(Messages().isEmpty());
    }

    void tree_commandsFunctionsAndNested() {
        TTarnwickMainForm* w = CreateWithSource();
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kCollapsedPanelWidth);
        QVERIFY(w->Action(QStringLiteral("N89"))->isEnabled());
        QCOMPARE(w->Action(QStringLiteral("N89"))->shortcut(), QKeySequence(Qt::Key_F6));
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F6);
        QTreeWidget* tree = Tree(w);
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(Shape(tree->topLevelItem(0)) + Shape(tree->topLevelItem(1)),
                 (QStringList{QStringLiteral("Command 0"), QStringLiteral("  c:Draw 10"), QStringLiteral("Function 0"),
                              QStringLiteral("  util 7"), QStringLiteral("    sub 8"), QStringLiteral("  作図 11")}));
        QVERIFY(tree->topLevelItem(0)->icon(0).isNull());
        QVERIFY(!Node(w, QStringLiteral("util"))->icon(0).isNull());
        QVERIFY(!Node(w, QStringLiteral("sub"))->icon(0).isNull());
        QCOMPARE(Button(w, "SpeedButton1")->text(), QStringLiteral("tools.lsp"));
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kTreePanelWidth);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$"))
                    .match(w->StatusPanels()->PanelText(5))
                    .hasMatch());
        QCOMPARE(w->ProgressBar()->value(), 0);

        // Another tab hides the panel; coming back shows it again.
        w->NewDocument();
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kCollapsedPanelWidth);
        w->PageControl()->SetActivePageIndex(1);
        w->TabChange();
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kTreePanelWidth);
    }

    void tree_noDefinitionsLeavesThePanel() {
        TTarnwickMainForm* w = CreateWithSource();
        w->Action(QStringLiteral("N89"))->trigger();
        w->ActiveEditor()->Lines().SetText("(princ)");
        w->Action(QStringLiteral("N89"))->trigger();
        QCOMPARE(Messages(), QStringList{QStringLiteral("ユーザー関数はありません．")});
        QVERIFY(Node(w, QStringLiteral("util")));
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kTreePanelWidth);
    }

    void comment_byClickKeyAndRoot() {
        TTarnwickMainForm* w = CreateWithSource();
        w->Action(QStringLiteral("N89"))->trigger();
        ClickNode(w, QStringLiteral("util"));
        QCOMPARE(Memo(w)->toPlainText(),
                 QStringLiteral(";;\n;; draws a box\n;   in model space\n(defun util (a b / ...)"));
        ClickNode(w, QStringLiteral("Function"));
        QCOMPARE(Memo(w)->toPlainText(), QString());
        // Keys move the selection; the release shows the node's comment.
        ClickNode(w, QStringLiteral("util"));
        QTest::keyClick(Tree(w), Qt::Key_Down);
        QCOMPARE(Tree(w)->currentItem()->text(0), QStringLiteral("sub"));
        QCOMPARE(Memo(w)->toPlainText(), QStringLiteral("(defun sub (x) x)"));  // code right above
    }

    void jump_storesTheReturnPoint() {
        QString source;
        for (int i = 0; i < 200; ++i) source += QStringLiteral("(princ)\r\n");
        source += QStringLiteral("(setq a 1)\r\n\r\n;; the one\r\n\r\n;; below\r\n(defun far (x) x)\r\n");  // 201..206
        TTarnwickMainForm* w = CreateWithSource(source.toUtf8().constData());
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(5);
        w->Action(QStringLiteral("N89"))->trigger();
        DoubleClickNode(w, QStringLiteral("far"));
        QCOMPARE(editor->TopRow(), 201);  // blank lines do not end the comments above
        QCOMPARE(editor->Row(), 205);
        QCOMPARE(w->ReturnPoint().row, 5);
        QCOMPARE(w->ReturnPoint().topRow, 0);
        w->JumpBack();
        QCOMPARE(editor->Row(), 5);

        // Enter jumps too; a root does nothing.
        ClickNode(w, QStringLiteral("far"));
        QTest::keyClick(Tree(w), Qt::Key_Return);
        QCOMPARE(editor->Row(), 205);
        editor->SetRow(7);
        editor->SetTopRow(0);
        DoubleClickNode(w, QStringLiteral("Command"));
        QCOMPARE(editor->Row(), 7);
        QCOMPARE(editor->TopRow(), 0);
    }

    void jump_inASplitTabMovesTheFirstEditor() {
        QString source;
        for (int i = 0; i < 120; ++i) source += QStringLiteral("(princ)\r\n");
        source += QStringLiteral("(defun far (x) x)\r\n");  // 121
        TTarnwickMainForm* w = CreateWithSource(source.toUtf8().constData());
        w->ToggleSplit();
        TDocumentPage* page = ActivePage(w);
        QVERIFY(page && page->IsSplit());
        TEditorEx* first = page->Editor();
        TEditorEx* upper = page->Upper();
        first->SetRow(first->TopRow() + 2);
        upper->SetRow(3);
        upper->setFocus();
        const int firstRow = first->Row();
        const int firstTop = first->TopRow();
        w->Action(QStringLiteral("N89"))->trigger();
        DoubleClickNode(w, QStringLiteral("far"));
        QCOMPARE(first->Row(), 120);
        QCOMPARE(first->TopRow(), 120);
        QCOMPARE(upper->Row(), 3);
        // Commands and the position panel follow the moved editor.
        QCOMPARE(w->ActiveEditor(), first);
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("  121 行:   1 桁"));
        // The place to go back to is the moved editor's.
        QCOMPARE(w->ReturnPoint().row, firstRow);
        QCOMPARE(w->ReturnPoint().topRow, firstTop);
    }

    void hover_selectsAndFocuses() {
        TTarnwickMainForm* w = CreateWithSource();
        w->Action(QStringLiteral("N89"))->trigger();
        w->ActiveEditor()->setFocus();
        const QPoint at = Center(w, Node(w, QStringLiteral("sub")));
        QMouseEvent move(QEvent::MouseMove, at, Tree(w)->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(Tree(w)->viewport(), &move);
        QCOMPARE(Tree(w)->currentItem(), Node(w, QStringLiteral("sub")));
        QVERIFY(Tree(w)->hasFocus());
    }

    void buttons_closeAndRebuild() {
        TTarnwickMainForm* w = CreateWithSource();
        w->Action(QStringLiteral("N89"))->trigger();
        ClickNode(w, QStringLiteral("util"));
        QTest::mouseClick(Button(w, "SpeedButton2"), Qt::LeftButton);
        QCOMPARE(Button(w, "SpeedButton1")->text(), QString());
        QCOMPARE(Tree(w)->topLevelItemCount(), 0);
        QCOMPARE(Memo(w)->toPlainText(), QString());
        QCOMPARE(PanelWidth(w), TTarnwickMainForm::kCollapsedPanelWidth);

        // The title builds the tree again from the document as it is now.
        w->Action(QStringLiteral("N89"))->trigger();
        w->ActiveEditor()->Lines().SetText("(defun only () 1)");
        QTest::mouseClick(Button(w, "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(Shape(Tree(w)->topLevelItem(1)), (QStringList{QStringLiteral("Function 0"), QStringLiteral("  only 1")}));
    }
};

QTEST_MAIN(TestFunctionTree)
#include "tst_FunctionTree.moc"
