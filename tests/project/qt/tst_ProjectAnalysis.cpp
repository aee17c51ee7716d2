// プロジェクト解析... in the real main window: the folder asked for through
// the dialog seam, the report in the output pane (the command line's text),
// the status bar and progress bar, unsaved documents analysed as they
// stand, and double clicks that open a file or select its tab at the place.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"
#include "text/EditorStrings.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

QStringList LinesOf(TEditorEx* editor) {
    QStringList lines;
    for (int i = 0; i < editor->Lines().Count(); ++i) lines << FromSjis(editor->Lines().Get(i));
    return lines;
}

// Copies a folder of the test data, sub-folders too.
bool CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), to + QLatin1Char('/') + name)) return false;
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!CopyFolder(source.filePath(name), to + QLatin1Char('/') + name)) return false;
    return true;
}

}  // namespace

class TestProjectAnalysis : public QObject, TMainFormFixture {
    Q_OBJECT

    QString project_;

    TTarnwickMainForm* Create(const QStringList& arguments = {}) {
        TTarnwickMainForm* w = NewWindow(arguments);
        w->resize(900, 700);
        if (!Show(w)) qWarning("window not active");
        return w;
    }
    void Run(TTarnwickMainForm* w, const QString& folder) {
        dialogs_->folders.push_back(folder);
        w->Action(QStringLiteral("mnuProjectAnalysis"))->trigger();
    }
    void DoubleClickPaneLine(TTarnwickMainForm* w, const QString& text) {
        TEditorEx* pane = w->OutputPane();
        const int row = static_cast<int>(LinesOf(pane).indexOf(text));
        QVERIFY2(row >= 0, qPrintable(text));
        pane->SetTopRow(row);
        const QPoint at(pane->TextLeft() + 4, pane->TextTop() + 2);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, at);
    }
    // The command line's report of the same fixture, but for the folder line.
    static QStringList CliReport() {
        QFile file(QStringLiteral(QUODLE_TEST_DATA "/project/expected/basic.txt"));
        if (!file.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }

private slots:
    void init() {
        InitFixture();
        // The reference lists the program reads at start-up.
        for (const char* name : {"AutoLISPFunction.txt", "JogaiList.txt"})
            QVERIFY(QFile::copy(QStringLiteral(QUODLE_TEST_DATA "/../../data/") + QLatin1String(name),
                                Path(QStringLiteral("bin/")) + QLatin1String(name)));
        project_ = Path(QStringLiteral("basic"));
        QVERIFY(CopyFolder(QStringLiteral(QUODLE_TEST_DATA "/project/basic"), project_));
    }
    void cleanup() { CleanupFixture(); }

    void reportAsTheCommandLinePrintsIt() {
        TTarnwickMainForm* w = Create({project_ + QStringLiteral("/draw.lsp")});
        Run(w, project_);
        // The folder dialog opened at the active document's folder.
        QCOMPARE(dialogs_->calls.back().kind, TKind::Folder);
        QCOMPARE(dialogs_->calls.back().text, project_);
        QStringList shown = LinesOf(w->OutputPane());
        QStringList expected = CliReport();
        QVERIFY(expected.size() > 10);
        QCOMPARE(shown.size(), expected.size());
        QCOMPARE(shown[1], QStringLiteral(" フォルダー : ") + project_);
        shown.removeAt(1);
        expected.removeAt(1);
        QCOMPARE(shown, expected);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\dsec$"))
                    .match(w->StatusPanels()->PanelText(5))
                    .hasMatch());
        QCOMPARE(w->ProgressBar()->value(), 0);
        QVERIFY(Messages().isEmpty());
    }

    void doubleClickOpensTheFileAtThePlace() {
        TTarnwickMainForm* w = Create({project_ + QStringLiteral("/util.lsp")});
        Run(w, project_);
        // A finding in a file not open yet: a new tab, the caret on the name
        // (after a double-byte character: display column 16, byte 16).
        DoubleClickPaneLine(w, QStringLiteral("    8:16| drwline (呼び出し 1 回)"));
        QCOMPARE(w->TabPaths().size(), 3);  // "New File", util.lsp, main.lsp
        QCOMPARE(QFileInfo(w->TabPaths().last()).fileName(), QStringLiteral("main.lsp"));
        TEditorEx* main = w->ActiveEditor();
        QCOMPARE(main->Row(), 7);
        QCOMPARE(main->Col(), 16);
        QCOMPARE(main->TopRow(), 7);
        QVERIFY(main->hasFocus());

        // Another place in an open file selects its tab; a line of a file's
        // variable check leads to its definition's line.
        DoubleClickPaneLine(w, QStringLiteral("       4| scale-pt( p  / f )"));
        QCOMPARE(w->TabPaths().size(), 3);
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        QCOMPARE(w->ActiveEditor()->Row(), 3);
        // The other place of a duplicate definition.
        DoubleClickPaneLine(w, QStringLiteral("\t\t\tutil.lsp  2:1"));
        QCOMPARE(w->ActiveEditor()->Row(), 1);
        QCOMPARE(w->ActiveEditor()->Col(), 0);
        // A heading leads nowhere.
        DoubleClickPaneLine(w, QStringLiteral("[ 重複定義 ]"));
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        QVERIFY(Messages().isEmpty());

        // Once another report has the pane, its lines are that report's.
        w->OutputPane()->Lines().SetText(Utf8ToCp932("    8:16| drwline (呼び出し 1 回)\r\n"));
        DoubleClickPaneLine(w, QStringLiteral("    8:16| drwline (呼び出し 1 回)"));
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
    }

    void unsavedDocumentIsAnalysedAsItStands() {
        TTarnwickMainForm* w = Create({project_ + QStringLiteral("/draw.lsp")});
        // drwline is defined in the editor, not on disk, and calls orphan.
        w->ActiveEditor()->Lines().Add("(defun drwline (p) (orphan p))");
        QVERIFY(w->ActiveEditor()->Modified());
        Run(w, project_);
        QStringList expected = CliReport();
        for (const char* gone : {" main.lsp", "    8:16| drwline (呼び出し 1 回)", "[ 未使用関数 ]", " draw.lsp", "    11:1| orphan (呼び出しなし)"})
            QVERIFY(expected.removeOne(QString::fromUtf8(gone)));
        expected[1] = QStringLiteral(" フォルダー : ") + project_;
        QCOMPARE(LinesOf(w->OutputPane()), expected);
    }

    void callsOfTheFunctionAtTheCaret() {
        TTarnwickMainForm* w = Create({project_ + QStringLiteral("/util.lsp")});
        TEditorEx* util = w->ActiveEditor();
        // On "scale-pt" of its definition; the open text adds a call of it.
        util->Lines().Add("(scale-pt '(1 2))");
        util->SetRow(3);
        util->SetCol(9);
        dialogs_->folders.push_back(project_);
        w->Action(QStringLiteral("mnuProjectCalls"))->trigger();
        QCOMPARE(LinesOf(w->OutputPane()),
                 (QStringList{QStringLiteral("■ 関数の呼び出し箇所 ******************************"),
                              QStringLiteral(" フォルダー : ") + project_,
                              QStringLiteral(" 関数 : scale-pt (呼び出し 2 回)"),
                              QStringLiteral("*********************************************** ■"),
                              QStringLiteral(" draw.lsp"),
                              QStringLiteral("    3:12| (mapcar 'scale-pt (list p))"),
                              QStringLiteral(" util.lsp"),
                              QStringLiteral("    14:2| (scale-pt '(1 2))")}));
        // A call leads to its place, in a file not open yet too.
        DoubleClickPaneLine(w, QStringLiteral("    3:12| (mapcar 'scale-pt (list p))"));
        QCOMPARE(QFileInfo(w->TabPaths().last()).fileName(), QStringLiteral("draw.lsp"));
        QCOMPARE(w->ActiveEditor()->Row(), 2);
        QCOMPARE(w->ActiveEditor()->Col(), 11);
        QVERIFY(Messages().isEmpty());

        // No name at the caret, or a word of a comment: said, and no folder
        // asked for.
        w->ActiveEditor()->SetRow(5);
        w->ActiveEditor()->SetCol(0);
        const auto asked = dialogs_->calls.size();
        w->Action(QStringLiteral("mnuProjectCalls"))->trigger();
        w->ActiveEditor()->SetRow(6);
        w->ActiveEditor()->SetCol(6);
        w->Action(QStringLiteral("mnuProjectCalls"))->trigger();
        QCOMPARE(Messages(), QStringList(2, QStringLiteral("カーソル位置に関数名がありません．")));
        QCOMPARE(dialogs_->calls.size(), asked + 2);  // the messages only
        // A name nobody calls.
        w->ActiveEditor()->SetRow(10);
        w->ActiveEditor()->SetCol(8);
        dialogs_->folders.push_back(project_);
        w->Action(QStringLiteral("mnuProjectCalls"))->trigger();
        QCOMPARE(Messages().last(), QStringLiteral("関数 orphan を呼び出している箇所はありません．"));
        // A built-in's calls are not counted, so not listed either.
        w->ActiveEditor()->SetRow(3);
        w->ActiveEditor()->SetCol(5);
        dialogs_->folders.push_back(project_);
        w->Action(QStringLiteral("mnuProjectCalls"))->trigger();
        QCOMPARE(Messages().last(), QStringLiteral("princ は組み込み関数のため，呼び出し箇所は調べません．"));
    }

    void nothingToReport() {
        const QString clean = Path(QStringLiteral("clean"));
        QVERIFY(QDir().mkpath(clean));
        WriteSjisFile(clean + QStringLiteral("/a.lsp"), QStringLiteral("(defun c:go () (princ))\r\n"));
        TTarnwickMainForm* w = Create();
        Run(w, clean);
        QCOMPARE(Messages(), QStringList{QStringLiteral("報告することはありません．")});
        QCOMPARE(LinesOf(w->OutputPane()).size(), 4);

        // Cancel does nothing; a folder that is gone says so.
        w->Action(QStringLiteral("mnuProjectAnalysis"))->trigger();  // no answer scripted: cancelled
        dialogs_->unscripted = 0;
        Run(w, Path(QStringLiteral("gone")));
        QCOMPARE(Messages().size(), 2);
        QVERIFY(Messages().last().startsWith(QStringLiteral("フォルダーを読み込めませんでした．\n")));
    }
};

QTEST_MAIN(TestProjectAnalysis)
#include "tst_ProjectAnalysis.moc"
