// The main window and the files under its documents: what is no regular
// file is refused, never read.
#include <QAction>
#include <QDir>
#include <QtTest>
#include <sys/stat.h>

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
};

QTEST_MAIN(TestDocumentFiles)
#include "tst_DocumentFiles.moc"
