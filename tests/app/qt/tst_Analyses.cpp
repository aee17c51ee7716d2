// The LISP analyses in the real main window: bracket count, the
// user-function lists in TForm5, the variable check with TForm7, the output
// pane's jumps and the exclusion-list editor TForm9, all through the
// scripted dialog seam.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cerrno>

#include "app/IniFile.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "lisp/qt/ExclusionListEditor.h"
#include "lisp/qt/PickListWindow.h"
#include "lisp/qt/VariableCheckOptions.h"
#include "support/qt/MainFormFixture.h"
#include "text/EditorStrings.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

// The lines of an editor, as the window shows them.
QStringList LinesOf(TEditorEx* editor) {
    QStringList lines;
    for (int i = 0; i < editor->Lines().Count(); ++i) lines << FromSjis(editor->Lines().Get(i));
    return lines;
}

QStringList ItemTexts(const TForm5& form) {
    QStringList texts;
    for (int i = 0; i < form.ListBox1->count(); ++i) texts << form.ListBox1->item(i)->text();
    return texts;
}

QList<int> ItemData(const TForm5& form) {
    QList<int> data;
    for (int i = 0; i < form.ListBox1->count(); ++i) data << form.ListBox1->item(i)->data(Qt::UserRole).toInt();
    return data;
}

void DoubleClickItem(TForm5& form, int index) {
    QListWidgetItem* item = form.ListBox1->item(index);
    const QRect rect = form.ListBox1->visualItemRect(item);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(form.ListBox1->viewport(), Qt::LeftButton, {}, rect.center());
}

// A LISP source with nested and commented definitions (line numbers are
// 1-based in the comments).
const char* const kFunctions =
    "(setq limit 10)\r\n"                 // 1
    "\r\n"                                // 2
    ";; draws a box\r\n"                  // 3
    ";; from two corners\r\n"             // 4
    "(defun b (p1 p2 / x)\r\n"            // 5
    "  (defun c (n) (1+ n))\r\n"          // 6
    "  (setq y (c p1)))\r\n"              // 7
    "(defun a (v) (b v v))\r\n"           // 8
    "(defun c:run () (a 1) (a 2))\r\n"    // 9
    "(defun z () 0)\r\n";                 // 10

}  // namespace

class TestAnalyses : public QObject, TMainFormFixture {
    Q_OBJECT

    QString JogaiPath() const { return Path(QStringLiteral("bin/JogaiList.txt")); }

    TTarnwickMainForm* Create(const QStringList& arguments = {}) {
        TTarnwickMainForm* w = NewWindow(arguments);
        w->resize(800, 600);
        if (!Show(w)) qWarning("window not active");
        return w;
    }
    // A window whose active document holds `text` (UTF-8 here).
    TTarnwickMainForm* CreateWith(const QString& text) {
        TTarnwickMainForm* w = Create();
        w->ActiveEditor()->Lines().SetText(Utf8ToCp932(text.toStdString()));
        return w;
    }
    // The next modal window gets `handler`, which sees it shown.
    template <class Form, class Handler>
    void OnModal(Handler handler) {
        dialogs_->modals.push_back([handler](QDialog& dialog) {
            auto* form = qobject_cast<Form*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->show();
            QTest::qWait(1);
            return handler(*form);
        });
    }
    static QString Panel(TTarnwickMainForm* w, int i) { return w->StatusPanels()->PanelText(i); }
    static void Trigger(TTarnwickMainForm* w, const char* action) { w->Action(QString::fromLatin1(action))->trigger(); }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void menuItemsEnabled() {
        TTarnwickMainForm* w = Create();
        for (const char* name : {"mnuCountBrackets", "N3", "N76", "CountKakko1", "N74", "N72", "N71", "N78", "N85"})
            QVERIFY2(w->Action(QString::fromLatin1(name))->isEnabled(), name);
    }

    // ------------------------------------------------------------ F4

    void countBrackets_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("caretRow");
        QTest::newRow("string and comment brackets")
            << "(setq a \"(\") ; )" << "( 1 = 1 )" << "括弧数 ： ( 1 = 1 )\n括弧数は一致しています．" << 0;
        QTest::newRow("block comment over lines")
            << "(a\r\n;| ( (\r\n ) \r\n |; b)" << "( 1 = 1 )" << "括弧数 ： ( 1 = 1 )\n括弧数は一致しています．" << 1;
        QTest::newRow("more opening")
            << "(a)\r\n(b" << "( 2 > 1 )" << "括弧数 ： ( 2 > 1 )\n最終一致行 ： 1\nこれより後ろの行で括弧数が合っていません．"
            << 0;
        QTest::newRow("more closing")
            << "(a))\r\n(b)" << "( 2 < 3 )" << "括弧数 ： ( 2 < 3 )\n最終一致行 ： 2\nこれより前の行で括弧数が合っていません．"
            << 1;
        QTest::newRow("empty") << "" << "( 0 = 0 )" << "括弧はありません．" << 0;
    }
    void countBrackets() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        TTarnwickMainForm* w = CreateWith(text);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(1);
        Trigger(w, "mnuCountBrackets");
        QTEST(Panel(w, 4), "panel");
        QCOMPARE(Messages(), QStringList{message});
        QTEST(editor->Row(), "caretRow");
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$")).match(Panel(w, 5)).hasMatch());
        QCOMPARE(w->ProgressBar()->value(), 0);
    }

    void countBrackets_balanceAtTop() {
        // Many lines after the last balanced one: that line is scrolled to the top.
        QString text = QStringLiteral("(a)\r\n(b\r\n");
        for (int i = 0; i < 100; ++i) text += QStringLiteral("x\r\n");
        TTarnwickMainForm* w = CreateWith(text);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(90);
        Trigger(w, "mnuCountBrackets");
        QCOMPARE(editor->Row(), 0);
        QCOMPARE(editor->TopRow(), 0);
    }

    // ------------------------------------------------------------ Ctrl+[ and the selection count

    void selectBracket_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("message");
        const QString notBracket = QStringLiteral("カーソル位置の文字が、( または、) ではありません．");
        QTest::newRow("last closing") << "(a (b) c)" << 0 << 8 << "(a (b) c)" << " ( = 1行 : 1桁" << "";
        QTest::newRow("inner opening") << "(a (b) c)" << 0 << 3 << "(b)" << " ) = 1行 : 6桁" << "";
        QTest::newRow("over lines, tab") << "(defun f ()\r\n\t(g))" << 0 << 0 << "(defun f ()\r\n\t(g))"
                                         << " ) = 2行 : 8桁" << "";
        QTest::newRow("not a bracket") << "(a (b) c)" << 0 << 1 << "" << "a" << notBracket;
        QTest::newRow("bracket in a string") << "(a \"(\")" << 0 << 4 << "" << "(" << notBracket;
        QTest::newRow("no partner") << "(a" << 0 << 0 << "" << "(" << "対応する括弧が見つかりません．";
        QTest::newRow("empty line: nothing") << "(a\r\n\r\nb)" << 1 << 0 << "" << "-" << "";
    }
    void selectBracket() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, row);
        QFETCH(int, col);
        TTarnwickMainForm* w = CreateWith(text);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(row);
        editor->SetCol(col);
        w->StatusPanels()->SetPanelText(5, QStringLiteral("-"));
        QTest::keyClick(editor, Qt::Key_BracketLeft, Qt::ControlModifier);
        QTEST(FromSjis(editor->SelText()), "selected");
        QTEST(Panel(w, 5), "panel");
        QCOMPARE(Messages(), message.isEmpty() ? QStringList{} : QStringList{message});
    }

    void selectionCount() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(a (b) \"(\" ; )\r\n;| ) |; (c\r\n"));
        TEditorEx* editor = w->ActiveEditor();
        Trigger(w, "mnuCountBrackets");
        const QString whole = Panel(w, 4);
        QCOMPARE(whole, QStringLiteral("( 3 > 1 )"));
        w->StatusPanels()->SetPanelText(4, QString());
        editor->SelectAll();
        QCOMPARE(Panel(w, 4), whole);
        QCOMPARE(Messages().size(), 1);  // F4's own message only
        editor->Select({0, 3}, {0, 6});  // "(b)"
        QCOMPARE(Panel(w, 4), QStringLiteral("( 1 = 1 )"));
        // From the ")" after b to the end of the next row: the string, the
        // comment and the block comment hold the other brackets.
        editor->Select({0, 5}, {1, 10});
        QCOMPARE(Panel(w, 4), QStringLiteral("( 1 = 1 )"));
        // A selection that ends at the start of a row stops before it.
        editor->Select({0, 0}, {1, 0});
        QCOMPARE(Panel(w, 4), QStringLiteral("( 2 > 1 )"));
        // Commenting the selected line keeps the selection; its brackets no
        // longer count. Undo leaves no selection and no count.
        Trigger(w, "mnuCommentAdd");
        QVERIFY(editor->Selected());
        QCOMPARE(Panel(w, 4), QStringLiteral("( 0 = 0 )"));
        Trigger(w, "mnuUndo");
        QVERIFY(!editor->Selected());
        QCOMPARE(Panel(w, 4), QString());
        editor->Select({0, 0}, {1, 0});
        editor->Deselect();
        QCOMPARE(Panel(w, 4), QString());
        QCOMPARE(w->ProgressBar()->value(), 0);
        QCOMPARE(w->ProgressBar()->maximum(), 100);
    }
    // ------------------------------------------------------------ user functions

    void jumpList_orderAndJump() {
        TTarnwickMainForm* w = CreateWith(QString::fromLatin1(kFunctions));
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(8);
        QStringList shown;
        QList<int> data;
        QString memo;
        bool memoVisible = false;
        bool closeVisible = true;
        OnModal<TForm5>([&](TForm5& form) {
            shown = ItemTexts(form);
            data = ItemData(form);
            memoVisible = form.Memo1->isVisible();
            closeVisible = form.BitBtn1->isVisible();
            DoubleClickItem(form, 1);  // b
            memo = form.Memo1->toPlainText();
            return form.result();
        });
        Trigger(w, "CountKakko1");
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("ユーザー関数ジャンプ"));
        QCOMPARE(shown, (QStringList{"a", "b", "  + c", "c:run", "z"}));
        QCOMPARE(data, (QList<int>{8, 5, 6, 9, 10}));
        QVERIFY(memoVisible);
        QVERIFY(!closeVisible);
        QCOMPARE(memo, QStringLiteral(";; draws a box\n;; from two corners\n(defun b (p1 p2 / ...)"));
        // The comment block comes into view with the definition (the blank
        // line above it does not end the block).
        QCOMPARE(editor->TopRow(), 1);
        QCOMPARE(editor->Row(), 4);
        QCOMPARE(w->ReturnPoint().row, 8);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$")).match(Panel(w, 5)).hasMatch());
        Trigger(w, "mnuJumpBack");
        QCOMPARE(editor->Row(), 8);
    }

    void jumpList_keys() {
        TTarnwickMainForm* w = CreateWith(QString::fromLatin1(kFunctions));
        TEditorEx* editor = w->ActiveEditor();
        // Esc closes without a jump; Enter jumps to the selected item.
        OnModal<TForm5>([](TForm5& form) {
            QTest::keyClick(form.ListBox1, Qt::Key_Escape);
            return form.result();
        });
        Trigger(w, "N74");
        QCOMPARE(editor->Row(), 0);
        OnModal<TForm5>([](TForm5& form) {
            form.ListBox1->setCurrentRow(3);
            QTest::keyClick(form.ListBox1, Qt::Key_Return);
            return form.result();
        });
        Trigger(w, "N74");
        QCOMPARE(editor->Row(), 8);
    }

    void jumpList_inASplitTabStoresTheFocusedPanesPoint() {
        TTarnwickMainForm* w = CreateWith(QString::fromLatin1(kFunctions));
        TEditorEx* lower = w->ActiveEditor();
        Trigger(w, "mnuSplit");
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QVERIFY(upper && upper != lower);
        upper->SetRow(2);
        lower->setFocus();
        lower->SetRow(8);
        OnModal<TForm5>([](TForm5& form) {
            DoubleClickItem(form, 1);  // b
            return form.result();
        });
        Trigger(w, "CountKakko1");
        QCOMPARE(lower->Row(), 4);
        QCOMPARE(upper->Row(), 2);
        QCOMPARE(w->ReturnPoint().row, 8);
    }

    void useCountsAndUnused() {
        TTarnwickMainForm* w = CreateWith(QString::fromLatin1(kFunctions));
        QStringList counts, unused;
        QString countsCaption;
        OnModal<TForm5>([&](TForm5& form) {
            counts = ItemTexts(form);
            countsCaption = form.windowTitle();
            return int(QDialog::Rejected);
        });
        Trigger(w, "N71");
        OnModal<TForm5>([&](TForm5& form) {
            unused = ItemTexts(form);
            return int(QDialog::Rejected);
        });
        Trigger(w, "N72");
        QCOMPARE(countsCaption, QStringLiteral("ユーザー関数使用数"));
        QCOMPARE(counts, (QStringList{"a     [  1]", "b     [  1]", "  + c", "z     [  0]"}));
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("未使用ユーザー関数"));
        QCOMPARE(unused, QStringList{"z"});
        QVERIFY(Messages().isEmpty());
    }

    void userFunctionMessages_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("jump list, none") << "CountKakko1" << "(setq a 1)" << "ユーザー関数はありません．";
        QTest::newRow("use counts, commands only") << "N71" << "(defun c:x () 1)" << "ユーザー関数はありません．";
        QTest::newRow("unused, none") << "N72" << "(defun f () 1)\r\n(f)" << "未使用のユーザー関数はありません．";
        QTest::newRow("search, no match") << "N78" << "(defun abc () 1)\r\n(set" << "set で始まるユーザー関数はありません．";
    }
    void userFunctionMessages() {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, message);
        TTarnwickMainForm* w = CreateWith(text);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(editor->Lines().Count() - 1);
        editor->SetCol(100);
        w->Action(action)->trigger();
        QCOMPARE(Messages(), QStringList{message});
    }

    void search_insertsPickedName() {
        TTarnwickMainForm* w = CreateWith(
            QStringLiteral("\r\n;; sets the layer\r\n(defun setlayer (name) name)\r\n(defun SetColor (c / x) c)\r\n"
                           "(defun other () 1)\r\n(setl)"));
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(5);
        editor->SetCol(5);  // after "setl"
        QStringList shown;
        QString caption;
        bool memoVisible = true;
        QSize size;
        OnModal<TForm5>([&](TForm5& form) {
            shown = ItemTexts(form);
            caption = form.windowTitle();
            memoVisible = form.Memo1->isVisible();
            size = form.size();
            DoubleClickItem(form, 0);
            return form.result();
        });
        QTest::keyClick(editor, Qt::Key_Space, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(caption, QStringLiteral("func"));
        QCOMPARE(shown, (QStringList{"setlayer name)", "   sets the layer"}));
        QVERIFY(!memoVisible);
        QCOMPARE(size, QSize(580, 160));
        QCOMPARE(LinesOf(editor).constLast(), QStringLiteral("(setlayer )"));
        QCOMPARE(editor->Row(), 5);
        QCOMPARE(editor->Col(), 10);  // after the name, ready for its argument
    }

    void search_leavesAReadOnlyTextAsItIs() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun setlayer (name) name)\r\n(setl)"));
        TEditorEx* editor = w->ActiveEditor();
        editor->SetReadOnly(true);
        editor->SetRow(1);
        editor->SetCol(5);
        OnModal<TForm5>([&](TForm5& form) {
            DoubleClickItem(form, 0);
            return form.result();
        });
        Trigger(w, "N78");
        QCOMPARE(dialogs_->calls.size(), std::size_t{1});
        QCOMPARE(LinesOf(editor), (QStringList{"(defun setlayer (name) name)", "(setl)"}));
    }

    void search_insideStringDoesNothing() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun setlayer (name) name)\r\n(princ \"setl\")"));
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(1);
        editor->SetCol(10);
        Trigger(w, "N78");
        QCOMPARE(dialogs_->calls.size(), std::size_t{0});
    }

    // ------------------------------------------------------------ variables

    void variableCheck_sameAsCli() {
        QVERIFY(QFile::copy(QStringLiteral(QUODLE_TEST_DATA "/lisp/varcheck.jogai.txt"), JogaiPath()));
        TTarnwickMainForm* w = Create({QStringLiteral(QUODLE_TEST_DATA "/lisp/varcheck.lsp")});
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(3);
        bool star = false, gb = false, other = true;
        OnModal<TForm7>([&](TForm7& form) {
            star = form.CheckBox1->isChecked();
            gb = form.CheckBox2->isChecked();
            other = form.CheckBox3->isChecked();
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N3");
        QVERIFY(star && gb && !other);
        QFile expected(QStringLiteral(QUODLE_TEST_DATA "/lisp/expected/varcheck.check.txt"));
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QStringList want = QString::fromUtf8(expected.readAll()).split(QLatin1Char('\n'));
        want.removeLast();
        QCOMPARE(LinesOf(w->OutputPane()), want);
        QCOMPARE(w->ReturnPoint().row, 3);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$")).match(Panel(w, 5)).hasMatch());
        QCOMPARE(w->ProgressBar()->value(), 0);
        QCOMPARE(w->ProgressBar()->maximum(), 100);
        QVERIFY(Messages().isEmpty());
        QCOMPARE(IniFile(IniPath().toStdString()).Read().Value("Except", "Check1"), std::optional<std::string>("1"));

        // A double click on a heading moves the document there; on a name
        // line it does nothing.
        TEditorEx* pane = w->OutputPane();
        const auto clickRow = [pane](int row) {
            const QPoint at(pane->TextLeft() + 4, pane->TextTop() + (row - pane->TopRow()) * pane->RowHeight() + 2);
            // As the system delivers it: a click, then the second press as a double click.
            QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, at);
        };
        pane->SetTopRow(6);
        clickRow(7);  // "      19| c:DBOX( / h oldos pt1 pt2 w )"
        QCOMPARE(editor->TopRow(), 18);
        QCOMPARE(editor->Row(), 18);
        clickRow(8);  // a section line
        QCOMPARE(editor->TopRow(), 18);
        // Enter on a heading jumps as well.
        pane->SetRow(2);
        QTest::keyClick(pane, Qt::Key_Return);
        QCOMPARE(editor->TopRow(), 7);
        QCOMPARE(LinesOf(pane).size(), want.size());
        Trigger(w, "mnuJumpBack");
        QCOMPARE(editor->Row(), 3);
    }

    void variableCheck_settingsSavedToExcept() {
        WriteSjisFile(IniPath(), QStringLiteral("[Except]\nCheck1=0\nCheck3=1\nString3=lo\n"));
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun f () (setq *glob* 1 gb_x 2 GB_y 3 local 4 lo2 5))"));
        QString shownPrefix;
        bool shownStar = true;
        bool movedToOk = false;
        OnModal<TForm7>([&](TForm7& form) {
            shownStar = form.CheckBox1->isChecked();
            shownPrefix = form.Edit1->text();
            form.CheckBox1->setChecked(true);
            form.CheckBox2->setChecked(false);
            // Enter in the prefix field moves to OK; Enter there accepts.
            form.Edit1->setFocus();
            form.Edit1->setText(QStringLiteral("loc"));
            QTest::keyClick(form.Edit1, Qt::Key_Return);
            movedToOk = form.isVisible() && form.Button1->hasFocus();
            QTest::keyClick(form.Button1, Qt::Key_Return);
            return form.result();
        });
        Trigger(w, "N3");
        QVERIFY(!shownStar);
        QVERIFY(movedToOk);
        QCOMPARE(shownPrefix, QStringLiteral("lo"));
        const IniDocument ini = IniFile(IniPath().toStdString()).Read();
        QCOMPARE(ini.Value("Except", "Check1"), std::optional<std::string>("1"));
        QCOMPARE(ini.Value("Except", "Check2"), std::optional<std::string>("0"));
        QCOMPARE(ini.Value("Except", "Check3"), std::optional<std::string>("1"));
        QCOMPARE(ini.Value("Except", "String3"), std::optional<std::string>("loc"));
        QCOMPARE(LinesOf(w->OutputPane()),
                 (QStringList{"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tgb_x GB_y lo2 "}));
    }

    void variableCheck_settingsThatCannotBeWritten() {
        // A folder holds the settings file's name: no one can write it.
        QVERIFY(QDir().mkdir(IniPath()));
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun f () (setq *glob* 1 gb_x 2 GB_y 3 local 4 lo2 5))"));
        OnModal<TForm7>([](TForm7& form) {
            form.CheckBox1->setChecked(true);
            form.CheckBox2->setChecked(false);
            form.CheckBox3->setChecked(true);
            form.Edit1->setText(QStringLiteral("loc"));
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N3");
        QCOMPARE(Messages(), QStringList{QStringLiteral("設定ファイルに書き込めませんでした．\n") + IniPath() +
                                         QStringLiteral("\nファイルではなくフォルダーです")});
        QVERIFY(QFileInfo(IniPath()).isDir());
        // The check still runs with what was chosen.
        QCOMPARE(LinesOf(w->OutputPane()),
                 (QStringList{"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tgb_x GB_y lo2 "}));
    }

    void variableCheck_cancelAndEmpty() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun f (a / b) (setq b a))"));
        w->OutputPane()->Lines().SetText("old\r\n");
        OnModal<TForm7>([](TForm7& form) {
            QTest::mouseClick(form.Button2, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N3");
        QCOMPARE(LinesOf(w->OutputPane()), QStringList{"old"});
        QVERIFY(!QFile::exists(IniPath()));
        // Nothing to report: the pane is cleared and the message shown.
        OnModal<TForm7>([](TForm7&) { return int(QDialog::Accepted); });
        Trigger(w, "N3");
        QCOMPARE(LinesOf(w->OutputPane()), QStringList{});
        w->ActiveEditor()->Lines().Clear();
        Trigger(w, "N3");  // no text: no dialog
        QCOMPARE(Messages(), (QStringList{"未使用変数、未宣言変数はありません．", "未使用変数、未宣言変数はありません．"}));
    }

    void variableList() {
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(setq top 1)\r\n(defun f (a / b) (setq b a))\r\n"));
        Trigger(w, "N76");
        QCOMPARE(LinesOf(w->OutputPane()),
                 (QStringList{"       0l [ Global ]", "\t\t\t  top ", "       2| f( a )", "\t\t\t[ Loc ]", "\t\t\t\tb ",
                              "\t\t\t[ Var ]", "\t\t\t\ta b "}));
        w->ActiveEditor()->Lines().SetText("(princ)");
        Trigger(w, "N76");
        QCOMPARE(Messages(), QStringList{"変数はありません．"});
    }

    // ------------------------------------------------------------ exclusion list

    void exclusionListEditor() {
        WriteSjisFile(JogaiPath(), QStringLiteral("setq\r\nprinc\r\n"));
        TTarnwickMainForm* w = CreateWith(QStringLiteral("(defun f () (setq 変数 1 other 2))"));
        QString shown;
        OnModal<TForm9>([&](TForm9& form) {
            shown = form.Memo1->toPlainText();
            form.Memo1->setPlainText(QStringLiteral("setq\nprinc\n変数\n"));
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N85");
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("変数名除外リスト"));
        QCOMPARE(shown, QStringLiteral("setq\nprinc"));
        QCOMPARE(ReadSjisFile(JogaiPath()), QStringLiteral("setq\r\nprinc\r\n変数\r\n"));
        QCOMPARE(w->ExclusionList(), (std::vector<std::string>{"SETQ", "PRINC", Utf8ToCp932("変数")}));
        // The next check leaves the new name out.
        OnModal<TForm7>([](TForm7&) { return int(QDialog::Accepted); });
        Trigger(w, "N3");
        QCOMPARE(LinesOf(w->OutputPane()), (QStringList{"       1| f()", "\t\t\t[ Global ]", "\t\t\t\tother "}));

        // 取り消し changes nothing.
        OnModal<TForm9>([](TForm9& form) {
            form.Memo1->setPlainText(QStringLiteral("x"));
            QTest::mouseClick(form.Button2, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N85");
        QCOMPARE(ReadSjisFile(JogaiPath()), QStringLiteral("setq\r\nprinc\r\n変数\r\n"));
    }

    void exclusionListEditor_saveFails_data() {
        QTest::addColumn<bool>("retry");
        QTest::newRow("then cancelled") << false;
        QTest::newRow("then saved again") << true;
    }
    void exclusionListEditor_saveFails() {
        QFETCH(bool, retry);
        WriteSjisFile(JogaiPath(), QStringLiteral("setq\r\n"));
        TTarnwickMainForm* w = Create();
        const QString jogai = JogaiPath();
        OnModal<TForm9>([jogai](TForm9& form) {
            form.Memo1->setPlainText(QStringLiteral("setq\n変数\n"));
            // Meanwhile a folder has taken the file's name: no one can write it.
            if (!QFile::remove(jogai) || !QDir().mkdir(jogai)) return int(QDialog::Rejected);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            return form.result();
        });
        QString shownAgain;
        bool reopenedAfterMessage = false;
        OnModal<TForm9>([&](TForm9& form) {
            shownAgain = form.Memo1->toPlainText();
            reopenedAfterMessage = Messages().size() == 1;
            if (!retry) {
                QTest::mouseClick(form.Button2, Qt::LeftButton);
                return form.result();
            }
            QDir().rmdir(jogai);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            return form.result();
        });
        Trigger(w, "N85");
        QCOMPARE(Messages(), QStringList{QStringLiteral("ファイルを保存できませんでした．\n") + jogai +
                                         QStringLiteral("\nファイルではなくフォルダーです")});
        // The window came back with the edited lines.
        QVERIFY(reopenedAfterMessage);
        QCOMPARE(shownAgain, QStringLiteral("setq\n変数\n"));
        if (retry) {
            QCOMPARE(ReadSjisFile(jogai), QStringLiteral("setq\r\n変数\r\n"));
            QCOMPARE(w->ExclusionList(), (std::vector<std::string>{"SETQ", Utf8ToCp932("変数")}));
        } else {
            // Nothing saved, and the list in use is the one before.
            QVERIFY(QFileInfo(jogai).isDir());
            QCOMPARE(w->ExclusionList(), std::vector<std::string>{"SETQ"});
        }
    }

    void exclusionListEditor_missingFile() {
        TTarnwickMainForm* w = Create();
        Trigger(w, "N85");
        QCOMPARE(dialogs_->calls.size(), std::size_t{0});
    }
};

QTEST_MAIN(TestAnalyses)
#include "tst_Analyses.moc"
