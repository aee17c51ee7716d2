// ロード: the load command and the target menu on the real main window, with
// the in-process desktop, and once through X11 into the stand-in CAD program.
#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

#include "app/IniFile.h"
#include "app/qt/ToolImages.h"
#include "cad/x11/X11Desktop.h"
#include "editor/qt/EditorEx.h"
#include "support/XServer.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

const QString kNotice = QStringLiteral("変更されているため、テンポラリファイルに保存後ロードします.");

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

std::string Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<missing>");
}

}  // namespace

class TestLoadCommand : public QObject, TMainFormFixture {
    Q_OBJECT

    QAction* Item(TTarnwickMainForm* w, const char* name) const { return w->Action(QString::fromLatin1(name)); }
    QToolButton* Button(TTarnwickMainForm* w) const { return w->findChild<QToolButton*>(QStringLiteral("ToolButton20")); }
    void AddAutoCad() {
        fakeDesktop_->AddTopLevel("AutoCAD 2009", "Afx:00400000:8:1", 5);
        fakeDesktop_->AddTopLevel("AutoCAD テキスト ウィンドウ", "Afx:00400000:b:1", 5);
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void targets_exactlyOneCheckedAndTheButtonFollows() {
        TTarnwickMainForm* w = Create();
        QToolButton* button = Button(w);
        QVERIFY(button);
        QCOMPARE(button->defaultAction(), Item(w, "CAD1"));
        QVERIFY(Item(w, "CAD1")->isEnabled());
        const struct {
            const char* item;
            const char* caption;
            const char* hint;
            int image;
        } targets[] = {
            {"ZwCAD2", "ZwCADへロード", "ZwCADへロード(f9)", imgLoadZwCad},
            {"IntelliCADIJCAD2", "IntelliCADへロード", "Intelli/IJCADへロード(f9)", imgLoadIntelliCad},
            {"BricsCAD1", "BricsCADへロード", "BricsCADへロード(f9)", imgLoadBricsCad},
            {"AutoCAD200420092", "AutoCADへロード", "AutoCAD/LTへロード(f9)", imgLoadAutoCad},
        };
        for (const auto& t : targets) {
            Item(w, t.item)->trigger();
            for (const char* name : {"AutoCAD200420092", "IntelliCADIJCAD2", "ZwCAD2", "BricsCAD1"})
                QCOMPARE(Item(w, name)->isChecked(), QByteArray(name) == t.item);
            QCOMPARE(Item(w, "CAD1")->text(), QString::fromUtf8(t.caption));
            QCOMPARE(button->toolTip(), QString::fromUtf8(t.hint));
            QCOMPARE(Picture(button->icon()), Picture(ToolImage(t.image)));
            QCOMPARE(Picture(Item(w, "CAD1")->icon()), Picture(ToolImage(t.image)));
        }
        // Choosing the checked item again keeps it checked.
        Item(w, "AutoCAD200420092")->trigger();
        QVERIFY(Item(w, "AutoCAD200420092")->isChecked());
    }

    void f9_loadsTheSavedFileIntoTheTarget() {
        WriteSjisFile(Path(QStringLiteral("ソフト.lsp")), QStringLiteral("(princ)\n"));
        AddAutoCad();
        TTarnwickMainForm* w = Create({Path(QStringLiteral("ソフト.lsp"))});
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F9);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(fakeDesktop_->log.size(), std::size_t(3));
        const std::string path = Utf8ToCp932(Path(QStringLiteral("ソフト.lsp")).toStdString());
        QCOMPARE(fakeDesktop_->log[1], "record 1 ansi \x03(load \"" + path + "\")(princ)\r" + std::string(1, '\0'));

        // The button does the same; without a window the target is reported.
        fakeDesktop_->log.clear();
        w->BricsCAD1Click();
        Button(w)->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("BricsCADが見つかりません.")});
        QVERIFY(fakeDesktop_->log.empty());
    }

    void f9_modifiedDocumentGoesThroughTheTemporaryFile() {
        AddAutoCad();
        TTarnwickMainForm* w = Create();
        TEditorEx* e = w->ActiveEditor();
        Type(e, QStringLiteral("(defun c:x ()"));
        QTest::keyClick(e, Qt::Key_Return);
        Type(e, QStringLiteral("\"表\")"));
        QTest::keyClick(e, Qt::Key_F9);
        QCOMPARE(Messages(), QStringList{kNotice});
        // The whole text as the program saves it: Shift-JIS, CR LF.
        QCOMPARE(Bytes(Path(QStringLiteral("bin/temp.lsp"))), Utf8ToCp932("(defun c:x ()\r\n\"表\")"));
        QVERIFY(e->Modified());
        QCOMPARE(w->TabPaths().front(), QStringLiteral("New File"));
        const std::string temp = Path(QStringLiteral("bin/temp.lsp")).toStdString();
        QCOMPARE(fakeDesktop_->log.at(1), "record 1 ansi \x03(load \"" + temp + "\")(princ)\r" + std::string(1, '\0'));
    }

    void f9_failuresAreReportedAndNothingIsSent() {
        AddAutoCad();
        TTarnwickMainForm* w = Create();
        // Unmodified and never saved.
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F9);
        QCOMPARE(Messages(), QStringList{QStringLiteral("New Fileが見つかりません.")});
        delete w;

        // A temporary file that cannot be written stops the load.
        QVERIFY(QDir(Path(QStringLiteral("bin"))).mkdir(QStringLiteral("temp.lsp")));
        dialogs_->calls.clear();
        w = Create();
        Type(w->ActiveEditor(), QStringLiteral("x"));
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F9);
        QCOMPARE(Messages().size(), 2);
        QCOMPARE(Messages().front(), kNotice);
        QVERIFY2(Messages().back().startsWith(QStringLiteral("ファイルを保存できませんでした．")), qPrintable(Messages().back()));
        QVERIFY(fakeDesktop_->log.empty());
    }

    void settings_noTargetCheckedMeansNoLoad() {
        QFile ini(IniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[CAD]\nACAD=0\nICAD=0\nZCAD=0\nBCAD=0\n");
        ini.close();
        WriteSjisFile(Path(QStringLiteral("a.lsp")), QStringLiteral("(princ)"));
        AddAutoCad();
        TTarnwickMainForm* w = Create({Path(QStringLiteral("a.lsp"))});
        QCOMPARE(Button(w)->toolTip(), QStringLiteral("ターゲットCADへロード(F9)"));
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F9);
        QCOMPARE(Messages(), QStringList());
        QVERIFY(fakeDesktop_->log.empty());
        w->IntelliCADIJCAD2Click();
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(IniFile(IniPath().toStdString()).Read().Value("CAD", "ICAD"), std::optional<std::string>("1"));
    }

    // The whole road on X11: F9 in the editor, the stand-in records what arrives.
    void f9_intoTheStandInOnX11() {
        TXvfb server;
        TStandInCad cad(server.Display(), "bcad", Path(QStringLiteral("received")).toStdString());
        TX11Desktop desktop(server.Display());
        cadDesktop_ = &desktop;
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("My Tools/ソフト")));
        const QString file = Path(QStringLiteral("My Tools/ソフト/tool.lsp"));
        WriteSjisFile(file, QStringLiteral("(princ \"表\")"));
        TTarnwickMainForm* w = Create({file});
        w->BricsCAD1Click();
        QTest::keyClick(w->ActiveEditor(), Qt::Key_F9);
        QCOMPARE(Messages(), QStringList());
        const std::string expected = "(load \"" + file.toStdString() + "\")(princ)\r";
        QCOMPARE(cad.WaitForReceived(expected.size()), expected);
        delete w;
    }
};

QTEST_MAIN(TestLoadCommand)
#include "tst_LoadCommand.moc"
