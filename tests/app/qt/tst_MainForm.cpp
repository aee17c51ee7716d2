// The real main window, driven through its menus, keys and the scripted
// dialog seam, with its settings file in a temporary folder.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/IniFile.h"
#include "app/OpenMenuList.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"

#include <QLabel>
#include "support/qt/DragInput.h"
#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"
#include "syntax/HyphenFountain.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

const QString kCannotOpen = QStringLiteral("ファイルが存在しないか使用中です．");
const QString kAlreadyOpen = QStringLiteral("すでに開かれています．");

QStringList Captions(const TTarnwickMainForm* w) {
    QStringList captions;
    for (int i = 0; i < w->PageControl()->PageCount(); ++i) captions << w->PageControl()->Caption(i);
    return captions;
}

QStringList ReopenCaptions(const TTarnwickMainForm* w) {
    QStringList captions;
    for (QAction* a : w->ReopenMenu()->actions()) captions << a->text();
    return captions;
}

}  // namespace

class TestMainForm : public QObject, TMainFormFixture {
    Q_OBJECT

    void WriteFile(const QString& name, const QString& utf8Text) { WriteSjisFile(Path(name), utf8Text); }
    QString ReadFile(const QString& name) const { return ReadSjisFile(Path(name)); }
    void WriteIni(const QString& text) {
        QFile f(IniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    std::optional<std::string> IniValue(const char* section, const char* key) const {
        return IniFile(IniPath().toStdString()).Read().Value(section, key);
    }

    // Closes a window through its close box and lets it be destroyed.
    static bool CloseAndDestroy(TTarnwickMainForm* w) {
        QPointer<TTarnwickMainForm> guard(w);
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return guard.isNull();
    }
    // Runs `action` while writes into the test folder fail: the folder is
    // read-only, and since a privileged user writes there anyway, a
    // file-size limit stops the write for everyone.
    template <class Action>
    void WithFailingWrites(Action action) {
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner);
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        if (::geteuid() == 0) {
            struct rlimit small = old;
            small.rlim_cur = 2;
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        action();
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    static QString FailedWriteReason() {
        return ::geteuid() == 0 ? QStringLiteral("ファイルが大きすぎます") : QStringLiteral("アクセスが許可されていません");
    }
    void OpenThroughDialog(TTarnwickMainForm* w, const QString& path) {
        dialogs_->files.push_back(path);
        w->Action(QStringLiteral("mnuOpen"))->trigger();
    }

    // A window of 800 x 600 showing a.lsp, 200 lines of (setq vN N).
    TTarnwickMainForm* CreateWithLongFile() {
        QString text;
        for (int i = 1; i <= 200; ++i) text += QStringLiteral("(setq v%1 %1)\r\n").arg(i);
        WriteFile("a.lsp", text);
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        w->resize(800, 600);
        return w;
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("accepted extensions only") << QStringList{"a.LSP", "b.txt", "c.exe"}
                                                  << QStringList{"New File", "a.LSP", "b.txt"} << QStringList{};
        QTest::newRow("missing file") << QStringList{"gone.lsp", "a.LSP"} << QStringList{"New File", "a.LSP"}
                                      << QStringList{kCannotOpen};
        QTest::newRow("file locked by another program")
            << QStringList{"locked.lsp", "b.txt"} << QStringList{"New File", "b.txt"} << QStringList{kCannotOpen};
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        for (const char* name : {"a.LSP", "b.txt", "c.exe", "locked.lsp"}) WriteFile(QString::fromLatin1(name), "x\r\n");
        const int holder = ::open(Path(QStringLiteral("locked.lsp")).toUtf8().constData(), O_RDWR);
        QVERIFY(holder >= 0 && ::flock(holder, LOCK_EX | LOCK_NB) == 0);
        QStringList absolute;
        for (const QString& a : arguments) absolute << Path(a);
        TTarnwickMainForm* w = Create(absolute);
        ::close(holder);
        QTEST(Captions(w), "captions");
        QTEST(Messages(), "messages");
        QCOMPARE(w->PageControl()->ActivePageIndex(), w->PageControl()->PageCount() - 1);
        QCOMPARE(w->windowTitle(), w->TabPaths().constLast());
        if (arguments.contains(QStringLiteral("b.txt"))) QCOMPARE(w->windowTitle(), Path(QStringLiteral("b.txt")));
    }

    void open_fillsEmptyTabThenAddsTabs() {
        WriteFile("x.lsp", "(setq a 1)\r\n");
        WriteFile("y.lsp", "(setq b 2)\r\n");
        TTarnwickMainForm* w = Create();
        OpenThroughDialog(w, Path("x.lsp"));
        QCOMPARE(Captions(w), QStringList{"x.lsp"});
        QCOMPARE(w->TabPaths(), QStringList{Path("x.lsp")});
        QCOMPARE(w->windowTitle(), Path("x.lsp"));
        QCOMPARE(TextOf(*w->ActiveEditor()), QStringLiteral("(setq a 1)\r\n"));
        QCOMPARE(w->OpenDialogState().InitialDir, dir_->path());

        OpenThroughDialog(w, Path("y.lsp"));
        QCOMPARE(Captions(w), (QStringList{"x.lsp", "y.lsp"}));
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        QCOMPARE(w->StatusPanels()->PanelText(1), QString());

        // The same file again: the message, and its tab comes forward.
        OpenThroughDialog(w, Path("x.lsp"));
        QCOMPARE(Messages(), QStringList{kAlreadyOpen});
        QCOMPARE(w->PageControl()->ActivePageIndex(), 0);
        QCOMPARE(w->PageControl()->PageCount(), 2);
        QCOMPARE(w->windowTitle(), Path("x.lsp"));

        // The dialogs offer the classic filter and the .lsp default.
        const TFileDialogState& shown = dialogs_->calls.front().state;
        QCOMPARE(shown.Filter, QStringLiteral("AutoLISPファイル(*.lsp)|*.lsp|テキストファイル(*.txt)|*.txt|DXFファイル(*.dxf)|"
                                              "*.dxf|DCLファイル(*.dcl)|*.dcl|SCRファイル(*.scr)|*.scr"));
        QCOMPARE(shown.DefaultExt, QStringLiteral("lsp"));
    }

    void open_theSameFileIsKnownByIdentityNotByLetterCase() {
        WriteFile("A.lsp", "(upper)\r\n");
        WriteFile("a.lsp", "(lower)\r\n");
        QVERIFY(QFile::link(Path("A.lsp"), Path("link.lsp")));
        TTarnwickMainForm* w = Create({Path("A.lsp")});
        // A file whose name differs only in case is another file.
        OpenThroughDialog(w, Path("a.lsp"));
        QVERIFY(Messages().isEmpty());
        QCOMPARE(Captions(w), (QStringList{"New File", "A.lsp", "a.lsp"}));
        QCOMPARE(w->TabPaths(), (QStringList{"New File", Path("A.lsp"), Path("a.lsp")}));
        // Ctrl+S in each tab writes that tab's own file.
        Type(w->ActiveEditor(), "2");
        Key(w->ActiveEditor(), Qt::Key_S, Qt::ControlModifier);
        w->PageControl()->SetActivePageIndex(1);
        w->TabChange();
        Type(w->ActiveEditor(), "1");
        Key(w->ActiveEditor(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadFile("A.lsp"), QStringLiteral("1(upper)\r\n"));
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("2(lower)\r\n"));

        // A link to an open file is that file: its tab comes forward.
        OpenThroughDialog(w, Path("link.lsp"));
        QCOMPARE(Messages(), QStringList{kAlreadyOpen});
        QCOMPARE(w->PageControl()->PageCount(), 3);
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        // The reopen list holds one entry per file, too.
        w->ReopenMenu()->actions().constLast()->trigger();
        QCOMPARE(Messages(), (QStringList{kAlreadyOpen, kAlreadyOpen}));
        QCOMPARE(ReopenCaptions(w), (QStringList{Path("a.lsp"), Path("A.lsp")}));
    }

    void dropFiles_opensAcceptedFilesInNewTabs() {
        for (const char* name : {"a.lsp", "b.exe", "locked.scr", "c.DCL"}) WriteFile(QString::fromLatin1(name), "x\r\n");
        const int holder = ::open(Path(QStringLiteral("locked.scr")).toUtf8().constData(), O_RDWR);
        QVERIFY(holder >= 0 && ::flock(holder, LOCK_EX | LOCK_NB) == 0);
        TTarnwickMainForm* w = Create();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Path("a.lsp")), QUrl::fromLocalFile(Path("b.exe")),
                      QUrl::fromLocalFile(Path("locked.scr")), QUrl::fromLocalFile(Path("c.DCL"))});
        // A drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->ActiveEditor()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->ActiveEditor()->viewport(), &drop);
        ::close(holder);
        QCOMPARE(Captions(w), (QStringList{"New File", "a.lsp", "c.DCL"}));
        QCOMPARE(Messages(), QStringList{kCannotOpen});
        QCOMPARE(w->windowTitle(), Path("c.DCL"));
    }

    void reopen_missingFileAsksToRemove_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("yes removes") << true << QStringList{"/nowhere/kept.lsp"};
        QTest::newRow("no keeps") << false << QStringList{"/nowhere/gone.lsp", "/nowhere/kept.lsp"};
    }
    void reopen_missingFileAsksToRemove() {
        QFETCH(bool, answer);
        WriteIni("[OpenMenuItems]\nCount=2\nItem0=/nowhere/gone.lsp\nItem1=/nowhere/kept.lsp\n");
        TTarnwickMainForm* w = Create();
        QCOMPARE(ReopenCaptions(w), (QStringList{"/nowhere/gone.lsp", "/nowhere/kept.lsp"}));
        dialogs_->answers.push_back(answer);
        w->ReopenMenu()->actions().constFirst()->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 QStringList{QStringLiteral("/nowhere/gone.lsp が見つかりません．\n履歴から削除しますか．")});
        QTEST(ReopenCaptions(w), "remaining");
        QCOMPARE(w->PageControl()->PageCount(), 1);
    }

    void reopenList_keepsTwelveMostRecentFirst() {
        QString ini = QStringLiteral("[OpenMenuItems]\nCount=12\n");
        for (int i = 0; i < 12; ++i) {
            WriteFile(QStringLiteral("f%1.lsp").arg(i), "x\r\n");
            ini += QStringLiteral("Item%1=%2\n").arg(i).arg(Path(QStringLiteral("f%1.lsp").arg(i)));
        }
        WriteIni(ini);
        WriteFile("new.lsp", "y\r\n");
        TTarnwickMainForm* w = Create();
        OpenThroughDialog(w, Path("new.lsp"));
        QStringList expected{Path("new.lsp")};
        for (int i = 0; i < 11; ++i) expected << Path(QStringLiteral("f%1.lsp").arg(i));
        QCOMPARE(ReopenCaptions(w), expected);

        // Reopening an entry moves it to the front without growing the list.
        w->ReopenMenu()->actions().at(5)->trigger();
        QCOMPARE(w->windowTitle(), Path("f4.lsp"));
        expected.move(5, 0);
        QCOMPARE(ReopenCaptions(w), expected);
        // Reopening a file already open only brings its tab forward.
        w->ReopenMenu()->actions().at(1)->trigger();
        QCOMPARE(Messages(), QStringList{kAlreadyOpen});
        QCOMPARE(ReopenCaptions(w), expected);
        QCOMPARE(w->TabPaths().at(w->PageControl()->ActivePageIndex()), Path("new.lsp"));

        QVERIFY(CloseAndDestroy(w));
        QCOMPARE(IniValue("OpenMenuItems", "Count"), std::optional<std::string>("12"));
        QCOMPARE(IniValue("OpenMenuItems", "Item0"), std::optional<std::string>(Path("f4.lsp").toStdString()));
    }

    void save_keepsPreviousContentInBackup() {
        WriteFile("a.lsp", "one\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* editor = w->ActiveEditor();
        Key(editor, Qt::Key_End);
        Type(editor, "2");
        QCOMPARE(w->StatusPanels()->PanelText(1), QStringLiteral("変更あり"));
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("one2\r\n"));
        QCOMPARE(ReadFile("a.~lsp"), QStringLiteral("one\r\n"));
        QCOMPARE(w->StatusPanels()->PanelText(1), QString());
        QCOMPARE(w->ProgressBar()->value(), 0);

        Type(editor, "3");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("one23\r\n"));
        QCOMPARE(ReadFile("a.~lsp"), QStringLiteral("one2\r\n"));
        QVERIFY(dialogs_->calls.empty());

        // Without the backup option no backup is touched.
        w->Action(QStringLiteral("mnuBackup"))->trigger();
        Type(editor, "4");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("one234\r\n"));
        QCOMPARE(ReadFile("a.~lsp"), QStringLiteral("one2\r\n"));
    }

    void save_failureKeepsDocumentModifiedAndOldFile() {
        WriteFile("a.lsp", "old\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* editor = w->ActiveEditor();
        Type(editor, "new ");
        WithFailingWrites([&] { w->Action(QStringLiteral("mnuSave"))->trigger(); });
        QCOMPARE(Messages(),
                 QStringList{QStringLiteral("ファイルを保存できませんでした．\n") + Path("a.lsp") + "\n" + FailedWriteReason()});
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("old\r\n"));
        QVERIFY(editor->Modified());
        QCOMPARE(w->StatusPanels()->PanelText(1), QStringLiteral("変更あり"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.lsp"});
    }

    void saveAs_asksBeforeReplacingAndUsesCurrentExtensionForBackup() {
        WriteFile("a.txt", "text\r\n");
        WriteFile("b.lsp", "old b\r\n");
        TTarnwickMainForm* w = Create({Path("a.txt")});
        dialogs_->files = {Path("b.lsp"), Path("b.lsp")};
        dialogs_->answers = {false, true};
        w->Action(QStringLiteral("mnuSaveAs"))->trigger();
        QCOMPARE(ReadFile("b.lsp"), QStringLiteral("old b\r\n"));
        w->Action(QStringLiteral("mnuSaveAs"))->trigger();
        const QString question = Path("b.lsp") + QStringLiteral("はすでに存在します．\n置き換えしますか？");
        QCOMPARE(dialogs_->Texts(TKind::Question), (QStringList{question, question}));
        // .txt preselects the second file type.
        QCOMPARE(dialogs_->calls.front().state.FilterIndex, 2);
        QCOMPARE(ReadFile("b.lsp"), QStringLiteral("text\r\n"));
        QCOMPARE(ReadFile("b.~txt"), QStringLiteral("old b\r\n"));
        QCOMPARE(Captions(w), (QStringList{"New File", "b.lsp"}));
        QCOMPARE(w->windowTitle(), Path("b.lsp"));
    }

    void closeWindow_asksFromLastTabToFirst() {
        WriteFile("a.lsp", "a\r\n");
        WriteFile("b.lsp", "b\r\n");
        WriteFile("c.lsp", "c\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp"), Path("b.lsp"), Path("c.lsp")});
        for (int tab : {1, 3}) {
            w->PageControl()->SetActivePageIndex(tab);
            w->TabChange();
            Type(w->ActiveEditor(), "!");
        }
        dialogs_->answers = {true, false};
        QVERIFY(CloseAndDestroy(w));
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 (QStringList{QStringLiteral("c.lsp は変更されています．保存しますか？"),
                              QStringLiteral("a.lsp は変更されています．保存しますか？")}));
        QCOMPARE(ReadFile("c.lsp"), QStringLiteral("!c\r\n"));
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("a\r\n"));
        QCOMPARE(ReadFile("c.~lsp"), QStringLiteral("<missing>"));
    }

    void closeWindow_failedWriteKeepsWindowOpen() {
        WriteFile("a.lsp", "a\r\n");
        WriteFile("b.lsp", "b\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp"), Path("b.lsp")});
        Type(w->ActiveEditor(), "!");
        dialogs_->answers = {true, true};
        QPointer<TTarnwickMainForm> guard(w);
        // Closing one tab and closing the window both keep what failed.
        WithFailingWrites([&] { w->Action(QStringLiteral("mnuClose"))->trigger(); });
        QCOMPARE(w->PageControl()->PageCount(), 3);
        WithFailingWrites([&] { w->close(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard.isNull());
        const QString failure = QStringLiteral("ファイルを保存できませんでした．\n") + Path("b.lsp") + "\n" + FailedWriteReason();
        QCOMPARE(Messages(), (QStringList{failure, failure}));
        QVERIFY(w->ActiveEditor()->Modified());
        QCOMPARE(w->windowTitle(), Path("b.lsp"));
        QCOMPARE(ReadFile("b.lsp"), QStringLiteral("b\r\n"));
    }

    void closeTab_asksAndSelectsPrecedingTab() {
        WriteFile("a.lsp", "a\r\n");
        WriteFile("b.lsp", "b\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp"), Path("b.lsp")});
        Type(w->ActiveEditor(), "!");
        dialogs_->answers = {true};
        w->Action(QStringLiteral("mnuClose"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{QStringLiteral("b.lsp は変更されています.保存しますか？")});
        QCOMPARE(ReadFile("b.lsp"), QStringLiteral("!b\r\n"));
        QCOMPARE(Captions(w), (QStringList{"New File", "a.lsp"}));
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        QCOMPARE(w->windowTitle(), Path("a.lsp"));

        // Closing the first tab selects the new first one.
        w->PageControl()->SetActivePageIndex(0);
        w->Action(QStringLiteral("mnuClose"))->trigger();
        QCOMPARE(Captions(w), QStringList{"a.lsp"});
        QCOMPARE(w->TabPaths(), QStringList{Path("a.lsp")});
        QCOMPARE(w->PageControl()->ActivePageIndex(), 0);

        // The only tab closes the window.
        QPointer<TTarnwickMainForm> guard(w);
        w->Action(QStringLiteral("mnuClose"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    void split_bothPanesEditOneText() {
        WriteFile("a.lsp", "(a)\r\n(b)\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* lower = w->ActiveEditor();
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        auto editors = w->PageControl()->ActivePage()->findChildren<TEditorEx*>();
        QCOMPARE(editors.size(), 2);
        TEditorEx* upper = editors[0] == lower ? editors[1] : editors[0];
        QVERIFY(&upper->Lines().Rows() == &lower->Lines().Rows());
        upper->setFocus();
        QCOMPARE(w->ActiveEditor(), upper);
        Type(upper, "x");
        QCOMPARE(TextOf(*lower), QStringLiteral("x(a)\r\n(b)\r\n"));
        lower->setFocus();
        Key(lower, Qt::Key_Down);
        Type(lower, "y");
        QCOMPARE(TextOf(*upper), QStringLiteral("x(a)\r\ny(b)\r\n"));
        // Without focus in either pane, commands act on the upper one.
        w->PageControl()->setFocus();
        QCOMPARE(w->ActiveEditor(), upper);
        // Saving from one pane leaves neither pane modified.
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("x(a)\r\ny(b)\r\n"));
        QVERIFY(!upper->Modified());
        QVERIFY(!lower->Modified());

        w->Action(QStringLiteral("mnuSplit"))->trigger();
        QCOMPARE(w->PageControl()->ActivePage()->findChildren<TEditorEx*>().size(), 1);
        QCOMPARE(TextOf(*w->ActiveEditor()), QStringLiteral("x(a)\r\ny(b)\r\n"));
    }

    // A selection dragged from one pane to the other moves within the one
    // text (Ctrl copies), one undo step each.
    void split_dragBetweenPanesMovesWithinTheText() {
        WriteFile("a.lsp", "(a)\r\n(b)\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* lower = w->ActiveEditor();
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QVERIFY(upper);
        lower->setFocus();
        lower->Select({0, 0}, {0, 3});
        {
            TScriptedDrag drag(*upper, {CellPoint(*upper, 1, 3)});
            DragFrom(*lower, CellPoint(*lower, 0, 1));
            QCOMPARE(drag.result, Qt::MoveAction);
        }
        QCOMPARE(TextOf(*lower), QStringLiteral("\r\n(b)(a)\r\n"));
        QVERIFY(!lower->Selected());
        // The pane that took the drop is the one commands act on.
        QCOMPARE(w->ActiveEditor(), upper);
        w->Action(QStringLiteral("mnuUndo"))->trigger();
        QCOMPARE(TextOf(*lower), QStringLiteral("(a)\r\n(b)\r\n"));

        lower->Select({1, 0}, {1, 3});
        {
            TScriptedDrag drag(*upper, {CellPoint(*upper, 0, 0)}, Qt::ControlModifier);
            DragFrom(*lower, CellPoint(*lower, 1, 1));
            QCOMPARE(drag.result, Qt::CopyAction);
        }
        QCOMPARE(TextOf(*upper), QStringLiteral("(b)(a)\r\n(b)\r\n"));
        w->Action(QStringLiteral("mnuUndo"))->trigger();
        QCOMPARE(TextOf(*upper), QStringLiteral("(a)\r\n(b)\r\n"));
    }

    void split_positionPanelFollowsTheFocusedPaneThroughUndo() {
        WriteFile("a.lsp", "(a)\r\n(b)\r\n(c)\r\n(d)\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* lower = w->ActiveEditor();
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QVERIFY(upper);
        upper->SetRow(1);
        lower->setFocus();
        lower->SetRow(3);
        lower->SetCol(3);
        Type(lower, "xy");
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    4 行:   6 桁"));
        // Both panes move their carets; the panel shows the focused one's.
        for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
            Key(lower, Qt::Key_Z, modifiers);
            QCOMPARE(w->StatusPanels()->PanelText(0),
                     QString::asprintf("%5d 行:%4d 桁", lower->Row() + 1, lower->Col() + 1));
        }
        QCOMPARE(TextOf(*upper), QStringLiteral("(a)\r\n(b)\r\n(c)\r\n(d)xy\r\n"));
        w->Action(QStringLiteral("mnuUndo"))->trigger();
        QCOMPARE(lower->Row(), 3);
        QCOMPARE(w->StatusPanels()->PanelText(0),
                 QString::asprintf("%5d 行:%4d 桁", lower->Row() + 1, lower->Col() + 1));
        upper->setFocus();
        w->Action(QStringLiteral("mnuRedo"))->trigger();
        QCOMPARE(w->StatusPanels()->PanelText(0),
                 QString::asprintf("%5d 行:%4d 桁", upper->Row() + 1, upper->Col() + 1));
    }

    // Six-digit line numbers and the last column fit the position panel in
    // the window's design size, in whatever font the bar has.
    void positionPanel_holdsSixDigitLines() {
        TTarnwickMainForm* w = Create();
        TEditorEx* editor = w->ActiveEditor();
        std::string text;
        for (int i = 0; i < 374643; ++i) text += "x\r\n";
        editor->Lines().SetText(text);
        editor->SetRow(374642);
        for (const QFont& font : {QFont(QStringLiteral("IPAGothic"), 10), QFont(QStringLiteral("DejaVu Sans"), 12)}) {
            w->StatusPanels()->setFont(font);
            QApplication::processEvents();
            for (const QString& shown : {w->StatusPanels()->PanelText(0), PositionPanelText(999999, 1001)}) {
                auto* panel = w->StatusPanels()->findChild<QLabel*>(QStringLiteral("StatusPanel0"));
                QVERIFY(panel);
                QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("374643 行:   1 桁"));
                QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(shown),
                         qPrintable(font.family() + QLatin1Char(' ') + shown));
            }
        }
    }

    // The lower pane goes on where the upper one stops; the caret and the
    // focus stay on the screen line where the user saw them, and unsplitting
    // keeps what the pane the user worked in showed.
    void split_caretStaysInSight() {
        TTarnwickMainForm* w = CreateWithLongFile();
        TEditorEx* lower = w->ActiveEditor();
        lower->SetTopRow(10);
        lower->SetRow(12);
        lower->SetCol(4);
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QVERIFY(upper);
        QVERIFY(upper->VisibleRowCount() > 3);
        QCOMPARE(upper->TopRow(), 10);
        QCOMPARE(lower->TopRow(), 10 + upper->VisibleRowCount());
        QCOMPARE(w->ActiveEditor(), upper);
        QCOMPARE(upper->Row(), 12);
        QCOMPARE(upper->Col(), 4);
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("   13 行:   5 桁"));

        // A caret below what the upper pane shows stays in the lower one.
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        TEditorEx* single = w->ActiveEditor();
        QCOMPARE(single->TopRow(), 10);
        QCOMPARE(single->Row(), 12);
        single->SetTopRow(0);
        single->SetRow(150);
        const int top = single->TopRow();
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QCOMPARE(upper->TopRow(), top);
        QCOMPARE(w->ActiveEditor(), single);
        QVERIFY(single->Row() >= single->TopRow() && single->Row() < single->TopRow() + single->VisibleRowCount());
    }

    // An edit and its undo in one pane leave the other pane where it was.
    void split_undoInOnePaneLeavesTheOtherWhereItWas() {
        TTarnwickMainForm* w = CreateWithLongFile();
        TEditorEx* lower = w->ActiveEditor();
        const auto text = TextOf(*lower);
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        TEditorEx* upper = qobject_cast<TDocumentPage*>(w->PageControl()->ActivePage())->Upper();
        QVERIFY(upper);
        const int lowerTop = lower->TopRow();
        QVERIFY(lowerTop > 3);
        upper->setFocus();
        upper->SetRow(3);
        Type(upper, "xy");
        QCOMPARE(lower->TopRow(), lowerTop);
        for (int i = 0; i < 2; ++i) w->Action(QStringLiteral("mnuUndo"))->trigger();
        QCOMPARE(TextOf(*lower), text);
        QCOMPARE(lower->TopRow(), lowerTop);
        QCOMPARE(upper->Row(), 3);
    }

    void secondWindow_showsAndEditsTheSameText() {
        WriteFile("a.lsp", "(a)\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TTarnwickMainForm* second = w->OpenSecondWindow();
        QVERIFY(second);
        QCOMPARE(Captions(second), QStringList{"a.lsp"});
        QCOMPARE(second->windowTitle(), Path("a.lsp"));
        QCOMPARE(second->Action(QStringLiteral("mnuExit"))->text(), QStringLiteral("すべて閉じる"));
        QCOMPARE(second->pos(), w->pos() + QPoint(30, 30));
        QCOMPARE(TextOf(*second->ActiveEditor()), QStringLiteral("(a)\r\n"));
        Type(second->ActiveEditor(), "z");
        QCOMPARE(TextOf(*w->ActiveEditor()), QStringLiteral("z(a)\r\n"));
        // Closing the second window leaves the first one and its text.
        dialogs_->answers = {false};
        QVERIFY(CloseAndDestroy(second));
        QCOMPARE(TextOf(*w->ActiveEditor()), QStringLiteral("z(a)\r\n"));

        // Closing the first window closes every other one, each asking
        // about its own documents.
        second = w->OpenSecondWindow();
        QPointer<TTarnwickMainForm> secondGuard(second);
        dialogs_->calls.clear();
        dialogs_->answers = {false, false};
        QVERIFY(CloseAndDestroy(w));
        QVERIFY(secondGuard.isNull());
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 (QStringList{QStringLiteral("a.lsp は変更されています．保存しますか？"),
                              QStringLiteral("a.lsp は変更されています．保存しますか？")}));
        QCOMPARE(ReadFile("a.lsp"), QStringLiteral("(a)\r\n"));
    }

    void tabs_drawnByTheProgramAndChosenByClick() {
        WriteFile("a.lsp", "(a)\r\n");
        WriteIni("[Color]\nTitleBk=clYellow\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        auto* band = w->PageControl()->TabBand();
        const QImage image = band->grab().toImage();
        const QRect selected = w->PageControl()->TabRect(1);
        const QRect other = w->PageControl()->TabRect(0);
        // Points left of the captions.
        const auto inside = [](const QRect& r) { return QPoint(r.left() + 3, r.center().y()); };
        QCOMPARE(image.pixelColor(inside(selected)), QColor(Qt::yellow));
        QCOMPARE(image.pixelColor(inside(other)), band->palette().color(QPalette::Window));
        QTest::mouseClick(band, Qt::LeftButton, Qt::NoModifier, other.center());
        QCOMPARE(w->PageControl()->ActivePageIndex(), 0);
        QCOMPARE(w->windowTitle(), QStringLiteral("New File"));
        QCOMPARE(w->ActiveEditor()->hasFocus(), true);
        const QImage after = band->grab().toImage();
        QCOMPARE(after.pixelColor(inside(other)), QColor(Qt::yellow));
    }

    void manyTabs_windowKeepsItsDesignSizeAndEveryTabStaysReachable() {
        QStringList files;
        for (int i = 0; i < 80; ++i) {
            const QString name = QStringLiteral("document%1.lsp").arg(i);
            WriteFile(name, "x\r\n");
            files << Path(name);
        }
        TTarnwickMainForm* w = Create(files);
        QCOMPARE(w->size(), QSize(543, 407));
        TPageControl* pages = w->PageControl();
        QWidget* band = pages->TabBand();
        // The tabs take at most half of the control; the rest scroll.
        QVERIFY2(band->height() <= pages->height() / 2, qPrintable(QString::number(band->height())));
        QVERIFY(pages->TabScrollBar()->isVisible());
        QVERIFY(pages->ActivePage()->height() >= pages->height() / 2);
        // The selected tab shows next to the pages; scrolled up, the first
        // tab shows and a click selects it.
        QVERIFY(band->rect().contains(pages->TabRect(80)));
        QVERIFY(!band->rect().intersects(pages->TabRect(0)));
        pages->TabScrollBar()->setValue(0);
        QVERIFY(band->rect().contains(pages->TabRect(0)));
        QTest::mouseClick(band, Qt::LeftButton, Qt::NoModifier, pages->TabRect(0).center());
        QCOMPARE(pages->ActivePageIndex(), 0);
        QVERIFY(band->rect().contains(pages->TabRect(0)));
        // A wider window needs fewer rows: with room for all, no scrolling.
        w->resize(1200, 700);
        QTRY_VERIFY(!pages->TabScrollBar()->isVisible());
        for (int i = 0; i <= 80; ++i) QVERIFY(band->rect().contains(pages->TabRect(i)));
    }

    // Every modal window (a message, a file dialog, a prompt, a pick list)
    // hands the keyboard back to the editor that had it, so the window's
    // shortcuts work at once without a click into it.
    void modalWindows_giveTheKeyboardBack() {
        TTarnwickMainForm* w = Create();
        TEditorEx* editor = w->ActiveEditor();
        editor->Lines().SetText("(defun c:a () (princ))\r\n");
        editor->setFocus();
        const struct {
            const char* what;
            std::function<void()> show;
        } modals[] = {
            {"message", [&] { w->Action(QStringLiteral("mnuMarkNext"))->trigger(); }},  // no marks
            {"save dialog", [&] {
                 dialogs_->files.push_back(std::nullopt);
                 w->Action(QStringLiteral("mnuSaveAs"))->trigger();
             }},
            {"line-number prompt", [&] {
                 dialogs_->lineNumbers.push_back(std::nullopt);
                 w->Action(QStringLiteral("mnuJumpLine"))->trigger();
             }},
            {"open dialog", [&] {
                 dialogs_->files.push_back(std::nullopt);
                 w->Action(QStringLiteral("mnuOpen"))->trigger();
             }},
            {"pick list", [&] {
                 dialogs_->modals.push_back([](QDialog&) { return int(QDialog::Rejected); });
                 w->Action(QStringLiteral("CountKakko1"))->trigger();
             }},
        };
        int tabs = w->PageControl()->PageCount();
        for (const auto& modal : modals) {
            const std::size_t before = dialogs_->calls.size();
            modal.show();
            QVERIFY2(dialogs_->calls.size() > before, modal.what);
            QVERIFY2(QApplication::focusWidget() == editor, modal.what);
            // A shortcut of the window, sent where the keyboard now goes.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
            QVERIFY2(w->PageControl()->PageCount() == ++tabs, modal.what);
            w->PageControl()->SetActivePageIndex(0);
            w->TabChange();
            editor->setFocus();
        }
    }

    void statusPanels_positionInBothModes() {
        WriteFile("a.lsp", "\tx\r\nあい\r\n");
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    1 行:   1 桁"));
        QCOMPARE(w->StatusPanels()->PanelText(2), QStringLiteral("挿入"));
        // At the design size the panels do not all fit; the position is never the one cut.
        QCOMPARE(w->size(), QSize(543, 407));
        QTRY_VERIFY(w->StatusPanels()->findChild<QLabel*>(QStringLiteral("StatusPanel0"))->width() >= 100);
        Key(editor, Qt::Key_End);
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    1 行:   6 桁"));
        w->Action(QStringLiteral("LinesChar1"))->trigger();
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    1 行:   3 桁"));
        Key(editor, Qt::Key_Down);
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    2 行:   5 桁"));
        w->Action(QStringLiteral("RowCol1"))->trigger();
        QCOMPARE(w->StatusPanels()->PanelText(0), QStringLiteral("    2 行:   5 桁"));
    }

    void mouseWheel_anywhereScrollsTheActiveEditor() {
        QString text;
        for (int i = 0; i < 100; ++i) text += QStringLiteral("line\r\n");
        WriteFile("a.lsp", text);
        TTarnwickMainForm* w = Create({Path("a.lsp")});
        QWidget* pane = w->OutputPane()->viewport();
        QWheelEvent down(QPointF(5, 5), pane->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane, &down);
        QApplication::sendEvent(pane, &down);
        QCOMPARE(w->ActiveEditor()->TopRow(), 2);
        QWheelEvent up(QPointF(5, 5), pane->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->ActiveEditor()->viewport(), &up);
        QCOMPARE(w->ActiveEditor()->TopRow(), 1);
        QCOMPARE(w->OutputPane()->TopRow(), 0);
    }

    void settings_defaultsWithoutFile() {
        TTarnwickMainForm* w = Create();
        QCOMPARE(w->size(), QSize(543, 407));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w->pos(), QPoint((screen.width() - 543) / 2, (screen.height() - 407) / 2));
        for (const char* on : {"AutoCAD200420092", "N58", "N75", "N63", "mnuBackup"})
            QVERIFY2(w->Action(QString::fromLatin1(on))->isChecked(), on);
        for (const char* off : {"IntelliCADIJCAD2", "ZwCAD2", "BricsCAD1"})
            QVERIFY2(!w->Action(QString::fromLatin1(off))->isChecked(), off);
        QCOMPARE(w->Template().Caret.TabSpaceCount, 4);
        QCOMPARE(w->Template().Font.Name, std::string("ＭＳ ゴシック"));
        QCOMPARE(w->windowTitle(), QStringLiteral("New File"));
        QCOMPARE(w->Action(QStringLiteral("CAD1"))->toolTip(), QStringLiteral("AutoCAD/LTへロード(f9)"));
    }

    void settings_roundTrip() {
        WriteIni("[Form]\nLeft=10\nTop=20\nWidth=999\nHeight=888\n[CAD]\nACAD=1\nBCAD=1\nCAPT=BricsCADへロード\n"
                 "[Editor]\nTabSpaceCount=8\n[Color]\nComment=clGreen\n[Hint]\nShowHint=0\n[Print]\npara_c=1\npara_d0=0A0B\n");
        TTarnwickMainForm* w = Create();
        QCOMPARE(w->pos(), QPoint(10, 20));
        QCOMPARE(w->size(), QSize(543, 407));  // Width and Height are not read back
        QVERIFY(w->Action(QStringLiteral("AutoCAD200420092"))->isChecked());
        QVERIFY(w->Action(QStringLiteral("BricsCAD1"))->isChecked());
        QCOMPARE(w->Action(QStringLiteral("CAD1"))->toolTip(), QStringLiteral("BricsCADへロード(f9)"));
        QCOMPARE(w->Action(QStringLiteral("CAD1"))->text(), QStringLiteral("BricsCADへロード"));
        QVERIFY(!w->Action(QStringLiteral("N58"))->isChecked());
        QCOMPARE(w->Template().Caret.TabSpaceCount, 8);
        QCOMPARE(w->Fountain1()->Colors().Comment().Color(), clGreen);
        QCOMPARE(w->Fountain1()->Reserve().Color(), clBlack);

        w->move(30, 40);
        w->Action(QStringLiteral("ZwCAD2"))->trigger();
        QVERIFY(CloseAndDestroy(w));
        QCOMPARE(IniValue("Form", "Left"), std::optional<std::string>("30"));
        QCOMPARE(IniValue("Form", "Top"), std::optional<std::string>("40"));
        QCOMPARE(IniValue("Form", "Width"), std::optional<std::string>("543"));
        QCOMPARE(IniValue("Form", "Height"), std::optional<std::string>("407"));
        QCOMPARE(IniValue("CAD", "ACAD"), std::optional<std::string>("0"));
        QCOMPARE(IniValue("CAD", "ZCAD"), std::optional<std::string>("1"));
        QCOMPARE(IniValue("CAD", "CAPT"), std::optional<std::string>("ZwCADへロード"));
        QCOMPARE(IniValue("Hint", "ShowHint"), std::optional<std::string>("0"));
        QCOMPARE(IniValue("BackupFile", "Check"), std::optional<std::string>("1"));
        QCOMPARE(IniValue("Print", "para_d0"), std::optional<std::string>("0A0B"));
        QCOMPARE(IniValue("OpenMenuItems", "Count"), std::optional<std::string>("0"));
        // The settings dialog's sections are never written at shutdown.
        QCOMPARE(IniValue("Font", "Name"), std::optional<std::string>());

        // A maximised window leaves the position keys as they were.
        w = Create();
        w->showMaximized();
        QVERIFY(w->isMaximized());
        QVERIFY(CloseAndDestroy(w));
        QCOMPARE(IniValue("Form", "Left"), std::optional<std::string>("30"));
        QCOMPARE(IniValue("Form", "Width"), std::optional<std::string>("543"));
    }

    void wordLists_fromTheProgramFolder() {
        const std::pair<const char*, const char*> files[] = {
            {"bin/JogaiList.txt", "gb_tmp\r\nAbc\r\n"},
            {"bin/AutoLISPReserved.txt", "setq\r\nmyreserved\r\n"},
            {"bin/AutoCADSysVar.txt", "CLAYER\r\n\tcurrent layer\r\n"},
        };
        for (const auto& [name, text] : files) {
            QFile f(Path(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        TTarnwickMainForm* w = Create();
        QCOMPARE(w->ExclusionList(), (std::vector<std::string>{"GB_TMP", "ABC"}));
        QCOMPARE(w->SysVarList(), (std::vector<std::string>{"CLAYER", "\tcurrent layer"}));
        QVERIFY(w->FunctionList().empty());
        QCOMPARE(w->Fountain1()->ReserveWordList().Items(), (std::vector<std::string>{"myreserved", "setq"}));
        // Without its file the second list keeps the design words.
        QVERIFY(w->Fountain1()->ReserveWordList2().Contains("CLAYER"));
    }

    void returnPoint_backGoesToStoredPlaceAndForgetsAPointOutsideTheText() {
        QString text;
        for (int i = 0; i < 80; ++i) text += QStringLiteral("(line %1)\r\n").arg(i);
        WriteFile("r.lsp", text);
        TTarnwickMainForm* w = Create({Path("r.lsp")});
        TEditorEx* e = w->ActiveEditor();
        // Right after start-up the point is the first line.
        e->SetTopRow(30);
        e->SetRow(40);
        w->Action(QStringLiteral("mnuJumpBack"))->trigger();
        QCOMPARE(e->Row(), 0);
        QCOMPARE(e->TopRow(), 0);

        e->SetTopRow(20);
        e->SetRow(25);
        w->StoreReturnPoint(*e);
        e->SetRow(70);
        w->JumpBack();
        QCOMPARE(e->TopRow(), 20);
        QCOMPARE(e->Row(), 25);
        // Going back does not change the point: a second time stays there.
        w->JumpBack();
        QCOMPARE(e->Row(), 25);

        e->SetRow(79);
        w->StoreReturnPoint(*e);
        e->Lines().BeginUpdate();
        while (e->Lines().Count() > 10) e->Lines().Delete(e->Lines().Count() - 1);
        e->Lines().EndUpdate();
        w->JumpBack();
        QCOMPARE(w->ReturnPoint().row, -1);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_MainForm.moc"
