// The main window and the files under its documents: what is no regular
// file is refused, never read; a file another program changed is neither
// overwritten nor left stale without a word.
#include <QAction>
#include <QDir>
#include <QPointer>
#include <QtTest>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

QStringList Captions(const TTarnwickMainForm* w) {
    QStringList captions;
    for (int i = 0; i < w->PageControl()->PageCount(); ++i) captions << w->PageControl()->Caption(i);
    return captions;
}

// Another program rewrites the file (with a length of its own, so that
// the change shows even within one tick of the file system's clock).
void RewriteElsewhere(const QString& path, const QString& text) {
    WriteSjisFile(path, text);
}

// A click on a tab, as the user chooses it.
void ClickTab(TTarnwickMainForm* w, int index) {
    QTest::mouseClick(w->PageControl()->TabBand(), Qt::LeftButton, Qt::NoModifier,
                      w->PageControl()->TabRect(index).center());
}

QString CannotRead(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルを読み込めませんでした．\n") + path + QStringLiteral("\n") + reason;
}

}  // namespace

class TestDocumentFiles : public QObject, TMainFormFixture {
    Q_OBJECT

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    // A named pipe nobody writes to, a device that never ends and a folder,
    // each under an accepted name, given on the command line, chosen in the
    // open dialog, dropped and reopened: refused with the reason, no tab.
    void specialFiles_areRefusedWithTheirReason() {
        const QString pipe = Path("pipe.lsp"), zero = Path("zero.lsp"), folder = Path("folder.lsp");
        QVERIFY(::mkfifo(pipe.toUtf8().constData(), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
        QVERIFY(QDir().mkdir(folder));
        WriteSjisFile(Path("real.lsp"), "(setq a 1)\r\n");
        QVERIFY(QFile::link(Path("real.lsp"), Path("link.lsp")));

        TTarnwickMainForm* w = Create({pipe, zero, folder, Path("link.lsp")});
        const QString notAFile = QStringLiteral("通常のファイルではありません");
        const QStringList refused{CannotRead(pipe, notAFile), CannotRead(zero, notAFile),
                                  CannotRead(folder, QStringLiteral("ファイルではなくフォルダーです"))};
        QCOMPARE(Messages(), refused);
        // A link to a regular file is that file.
        QCOMPARE(Captions(w), (QStringList{"New File", "link.lsp"}));

        dialogs_->files.push_back(pipe);
        w->Action(QStringLiteral("mnuOpen"))->trigger();
        w->OpenFiles({zero});
        w->Reopen(pipe);
        QCOMPARE(Messages().mid(3), (QStringList{refused[0], refused[1], refused[0]}));
        QCOMPARE(Captions(w), (QStringList{"New File", "link.lsp"}));
    }

    // What follows a Ctrl+Z is told at opening, never shown, and written
    // back after the text by a save.
    void ctrlZ_theBytesAfterItAreToldAndWrittenBack() {
        const QString z = Path("z.lsp");
        const QByteArray bytes("(setq a 1)\r\n(setq b 2)\x1a\r\n(defun c:important ()\r\n (princ \"x\")\r\n)\r\n");
        {
            QFile f(z);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        TTarnwickMainForm* w = Create({z});
        QCOMPARE(Messages(), QStringList{QStringLiteral("2 行目の Ctrl+Z (1AH) から後ろの 43 バイトは表示していません．\n"
                                                        "保存するときは，この部分を元のまま書き戻します．")});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(editor->Lines().Count(), 2);
        Type(editor, "x");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QFile f(z);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "x" + bytes);
    }

    // A readable file that cannot be written (a read-only file system, or no
    // permission) opens read-only, with the reason; it is no missing file.
    void unwritableFile_opensReadOnlyWithTheReason() {
        const QString folder = Path("ro");
        QVERIFY(QDir().mkdir(folder));
        const QString a = folder + QStringLiteral("/a.lsp");
        WriteSjisFile(a, "(princ)\r\n");
        QString reason;
        if (::geteuid() == 0) {
            // Root writes anything it may open: a read-only mount of the
            // folder, in a mount namespace of this test's own.
            const QByteArray f = folder.toUtf8();
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount(f.constData(), f.constData(), nullptr, MS_BIND, nullptr) != 0 ||
                ::mount(nullptr, f.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
                QSKIP("no read-only mount can be made here");
            reason = QStringLiteral("読み取り専用のファイルシステムです");
        } else {
            QVERIFY(QFile::setPermissions(a, QFile::ReadOwner));
            reason = QStringLiteral("アクセスが許可されていません");
        }
        TTarnwickMainForm* w = Create({a});
        if (::geteuid() == 0) ::umount2(folder.toUtf8().constData(), MNT_DETACH);
        QCOMPARE(Messages(), QStringList{QStringLiteral("このファイルには書き込めないため，読み取り専用で開きました．\n") + a +
                                         QStringLiteral("\n") + reason});
        QCOMPARE(Captions(w), (QStringList{"New File", "a.lsp"}));
        QVERIFY(w->ActiveEditor()->ReadOnly());
        QCOMPARE(w->ActiveEditor()->Lines().Get(0), std::string("(princ)"));
    }

    // Saving over a file another program changed since it was read asks
    // first; No keeps the document modified and their file as it is. The
    // close questions do the same and keep what was not written.
    void save_asksBeforeOverwritingAFileChangedOnDisk() {
        const QString a = Path("a.lsp");
        WriteSjisFile(a, "(old)\r\n");
        TTarnwickMainForm* w = Create({a});
        TEditorEx* editor = w->ActiveEditor();
        Type(editor, "mine ");
        RewriteElsewhere(a, "(theirs changed)\r\n");
        dialogs_->answers = {false};
        w->Action(QStringLiteral("mnuSave"))->trigger();
        const QString question = a + QStringLiteral(" はほかのプログラムで変更されています．\n上書きしますか？");
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{question});
        QCOMPARE(ReadSjisFile(a), QStringLiteral("(theirs changed)\r\n"));
        QVERIFY(editor->Modified());

        dialogs_->answers = {true};
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadSjisFile(a), QStringLiteral("mine (old)\r\n"));
        QVERIFY(!editor->Modified());
        // What the program wrote itself is no change: no question.
        Type(editor, "x");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question).size(), 2);
        QCOMPARE(ReadSjisFile(a), QStringLiteral("mine x(old)\r\n"));

        // Closing the tab: Yes to saving, No to overwriting keeps the tab.
        Type(editor, "y");
        RewriteElsewhere(a, "(theirs again)\r\n");
        w->NewDocument();
        w->PageControl()->SetActivePageIndex(1);
        w->TabChange();
        dialogs_->answers = {true, false};
        w->Action(QStringLiteral("mnuClose"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question).mid(2),
                 (QStringList{QStringLiteral("a.lsp は変更されています.保存しますか？"), question}));
        QCOMPARE(Captions(w), (QStringList{"New File", "a.lsp", "New File"}));
        // Closing the window likewise keeps it open.
        QPointer<TTarnwickMainForm> guard(w);
        dialogs_->answers = {true, false};
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard.isNull());
        QCOMPARE(ReadSjisFile(a), QStringLiteral("(theirs again)\r\n"));
        QVERIFY(w->ActiveEditor()->Modified());

        // A file deleted meanwhile is simply written again.
        QVERIFY(QFile::remove(a));
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadSjisFile(a), QStringLiteral("mine xy(old)\r\n"));
        QCOMPARE(dialogs_->Texts(TKind::Question).size(), 6);
    }

    // When the user comes back to a tab (or to the window) whose file
    // changed on disk, the program offers to read it again, once per change.
    void activation_offersToReadAChangedFileAgain() {
        const QString a = Path("a.lsp"), b = Path("b.lsp");
        WriteSjisFile(a, "(a)\r\n(second)\r\n");
        WriteSjisFile(b, "(b)\r\n");
        TTarnwickMainForm* w = Create({a, b});
        RewriteElsewhere(a, "(a changed)\r\n(second)\r\n");
        dialogs_->answers = {true};
        ClickTab(w, 1);
        const QString reload = a + QStringLiteral(" はほかのプログラムで変更されました．\n読み込み直しますか？");
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{reload});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(TextOf(*editor), QStringLiteral("(a changed)\r\n(second)\r\n"));
        QVERIFY(!editor->Modified());

        // Kept: not offered again for that change, but saving over it asks.
        editor->SetRow(1);
        Type(editor, "k");
        RewriteElsewhere(a, "(a changed twice)\r\n");
        dialogs_->answers = {false};
        ClickTab(w, 2);
        ClickTab(w, 1);
        ClickTab(w, 2);
        ClickTab(w, 1);
        const QString reloadModified = a + QStringLiteral(" はほかのプログラムで変更されました．\n"
                                                          "読み込み直すと編集中の変更は失われます．\n読み込み直しますか？");
        QCOMPARE(dialogs_->Texts(TKind::Question).mid(1), QStringList{reloadModified});
        QCOMPARE(TextOf(*editor), QStringLiteral("(a changed)\r\nk(second)\r\n"));
        dialogs_->answers = {true};
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question).mid(2),
                 QStringList{a + QStringLiteral(" はほかのプログラムで変更されています．\n上書きしますか？")});
        QCOMPARE(ReadSjisFile(a), QStringLiteral("(a changed)\r\nk(second)\r\n"));

        // The window coming back counts as the tab coming back.
        RewriteElsewhere(a, "(from the window)\r\n");
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        dialogs_->answers = {true};
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(dialogs_->Texts(TKind::Question).size(), 4);
        QCOMPARE(dialogs_->Texts(TKind::Question).last(), reload);
        QCOMPARE(TextOf(*editor), QStringLiteral("(from the window)\r\n"));
    }

    // A second window on the same document: what one window wrote is no
    // change to the other.
    void secondWindow_sharesWhatWasWritten() {
        const QString a = Path("a.lsp");
        WriteSjisFile(a, "(a)\r\n");
        TTarnwickMainForm* w = Create({a});
        TTarnwickMainForm* second = w->OpenSecondWindow();
        Type(w->ActiveEditor(), "1");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        Type(second->ActiveEditor(), "2");
        second->Action(QStringLiteral("mnuSave"))->trigger();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{});
        QCOMPARE(ReadSjisFile(a), QStringLiteral("21(a)\r\n"));
        // And a change by another program is one to both.
        TTarnwickMainForm* third = w->OpenSecondWindow();
        RewriteElsewhere(a, "(theirs)\r\n");
        Type(third->ActiveEditor(), "3");
        dialogs_->answers = {false};
        third->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 QStringList{a + QStringLiteral(" はほかのプログラムで変更されています．\n上書きしますか？")});
        QCOMPARE(ReadSjisFile(a), QStringLiteral("(theirs)\r\n"));
    }
};

QTEST_MAIN(TestDocumentFiles)
#include "tst_DocumentFiles.moc"
