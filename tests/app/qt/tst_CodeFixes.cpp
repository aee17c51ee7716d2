// The code fixes in the real main window: full-width slips listed in the
// output pane and replaced, a definition's locals made and tidied at the
// caret and from the variable check's line in the pane; each edit one undo
// step, refusals and nothing-to-do as messages.
#include <QAction>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "lisp/CodeSlips.h"
#include "lisp/VariableFixes.h"
#include "support/qt/EditorLines.h"
#include "support/qt/MainFormFixture.h"
#include "text/EditorStrings.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

class TestCodeFixes : public QObject, TMainFormFixture {
    Q_OBJECT

    TTarnwickMainForm* CreateWith(const QStringList& lines) {
        TTarnwickMainForm* w = NewWindow();
        w->resize(800, 600);
        if (!Show(w)) qWarning("window not active");
        w->ActiveEditor()->Lines().SetText(Utf8ToCp932(lines.join(QStringLiteral("\r\n")).toStdString()));
        return w;
    }
    static void Trigger(TTarnwickMainForm* w, const char* action) { w->Action(QString::fromLatin1(action))->trigger(); }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void slips_listedFixedAndUndone() {
        const QStringList doc = {QStringLiteral("(defun c:A (/ p)"), QStringLiteral("  (setq p（getpoint \"点（全角）\"）)"),
                                 QStringLiteral("  (princ　p)) ; 注（全角）")};
        TTarnwickMainForm* w = CreateWith(doc);
        Trigger(w, "mnuSlips");
        QCOMPARE(EditorLines(w->OutputPane()),
                 QStringList({QStringLiteral("       2|  10桁目  （ → ("), QStringLiteral("       2|  27桁目  ） → )"),
                              QStringLiteral("       3|   9桁目  全角空白 → 空白")}));
        QVERIFY(Messages().isEmpty());

        TEditorEx* editor = w->ActiveEditor();
        Trigger(w, "mnuSlipsFix");
        QCOMPARE(EditorLines(editor), QStringList({doc[0], QStringLiteral("  (setq p(getpoint \"点（全角）\"))"),
                                               QStringLiteral("  (princ p)) ; 注（全角）")}));
        QVERIFY(EditorLines(w->OutputPane()).join(QString()).isEmpty());  // the fixed slips are no longer listed
        Trigger(w, "mnuUndo");
        QCOMPARE(EditorLines(editor), doc);
        Trigger(w, "mnuRedo");
        Trigger(w, "mnuSlips");
        Trigger(w, "mnuSlipsFix");
        QCOMPARE(Messages(), QStringList({Text(kNoSlipsMessage), Text(kNoSlipsMessage)}));
    }

    void localise_atTheCaretsDefinition() {
        const QStringList doc = {QStringLiteral("(defun f (a)"), QStringLiteral("  (setq 点 a))"),
                                 QStringLiteral("(defun g (/ tmp) (setq x 1))")};
        TTarnwickMainForm* w = CreateWith(doc);
        TEditorEx* editor = w->ActiveEditor();
        editor->SetRow(1);
        Trigger(w, "mnuLocalise");
        QCOMPARE(EditorLines(editor), QStringList({QStringLiteral("(defun f (a / 点)"), doc[1], doc[2]}));
        editor->SetRow(2);
        Trigger(w, "mnuDropUnused");
        QCOMPARE(EditorLines(editor).last(), QStringLiteral("(defun g () (setq x 1))"));
        Trigger(w, "mnuUndo");
        QCOMPARE(EditorLines(editor).last(), doc[2]);
        Trigger(w, "mnuUndo");
        QCOMPARE(EditorLines(editor), doc);
        QVERIFY(Messages().isEmpty());
    }

    void localise_refusalsAndNothingToDo_data() {
        QTest::addColumn<QStringList>("doc");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("comment in the head") << QStringList({QStringLiteral("(defun f (a ; 引数"), QStringLiteral("  ) (setq b 1))")})
                                             << 0 << Text(kHeadHasCommentMessage);
        QTest::newRow("outside definitions") << QStringList({QStringLiteral("(setq b 1)")}) << 0 << Text(kNoDefinitionMessage);
        QTest::newRow("nothing to add") << QStringList({QStringLiteral("(defun f (/ b) (setq b 1))")}) << 0
                                        << Text(kNothingToLocaliseMessage);
    }
    void localise_refusalsAndNothingToDo() {
        QFETCH(QStringList, doc);
        QFETCH(int, row);
        QFETCH(QString, message);
        TTarnwickMainForm* w = CreateWith(doc);
        w->ActiveEditor()->SetRow(row);
        Trigger(w, "mnuLocalise");
        QCOMPARE(EditorLines(w->ActiveEditor()), doc);
        QCOMPARE(Messages(), QStringList{message});
        QVERIFY(!w->ActiveEditor()->CanUndo());
    }

    void localise_fromTheVariableChecksLine() {
        const QStringList doc = {QStringLiteral("(defun f (a)"), QStringLiteral("  (setq pt a ss a))"),
                                 QStringLiteral("(defun g (/ tmp)"), QStringLiteral("  (setq x 1))")};
        TTarnwickMainForm* w = CreateWith(doc);
        dialogs_->modals.push_back([](QDialog&) { return int(QDialog::Accepted); });
        Trigger(w, "N3");
        TEditorEx* pane = w->OutputPane();
        const QStringList report = EditorLines(pane);
        const int gHeading = static_cast<int>(report.indexOf(QStringLiteral("       3| g( / tmp )")));
        QVERIFY2(gHeading > 0, qPrintable(report.join(u'\n')));
        // A name line under the heading stands for its definition.
        pane->SetRow(gHeading + 2);
        Trigger(w, "mnuPaneLocalise");
        QCOMPARE(EditorLines(w->ActiveEditor())[2], QStringLiteral("(defun g (/ tmp x)"));
        pane->SetRow(static_cast<int>(EditorLines(pane).indexOf(QStringLiteral("       3| g( / tmp x )"))));
        Trigger(w, "mnuPaneDropUnused");
        QCOMPARE(EditorLines(w->ActiveEditor())[2], QStringLiteral("(defun g (/ x)"));
        // The pane shows the check again: g is gone from it, f stays.
        QVERIFY(!EditorLines(pane).join(u'\n').contains(QStringLiteral("| g(")));
        QVERIFY(EditorLines(pane).join(u'\n').contains(QStringLiteral("| f(")));
        pane->SetRow(0);
        Trigger(w, "mnuPaneLocalise");
        QCOMPARE(EditorLines(w->ActiveEditor())[0], QStringLiteral("(defun f (a / pt ss)"));
        QCOMPARE(EditorLines(pane), QStringList());
        QVERIFY(Messages().isEmpty());
    }
};

QTEST_MAIN(TestCodeFixes)
#include "tst_CodeFixes.moc"
