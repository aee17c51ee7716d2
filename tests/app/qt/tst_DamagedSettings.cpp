// The real main window started with damaged settings files: every key at
// the extremes a hand, a crash or another program could leave there. Each
// must leave a program that opens on the screen, shows and edits a
// document, and writes nothing back that would open it off-screen.
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QtTest>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/WindowPlacement.h"
#include "app/qt/MainForm.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

// Every key the program reads from the settings file.
const std::pair<const char*, std::vector<const char*>> kKeys[] = {
    {"Form", {"Left", "Top", "Width", "Height"}},
    {"CAD", {"ACAD", "ICAD", "ZCAD", "BCAD", "CAPT"}},
    {"Font", {"Name", "Size", "Color", "BkColor"}},
    {"LeftBar", {"Color", "BkColor"}},
    {"Color", {"Reserve", "Reserve2", "Comment", "String", "Select", "SelectBk", "Title", "TitleBk"}},
    {"Editor", {"AutoIndent", "TabIndent", "SoftTab", "TabSpaceCount", "MarginLine"}},
    {"Hint", {"ShowHint", "ShowUser"}},
    {"SysVar", {"ShowBold"}},
    {"BackupFile", {"Check"}},
    {"OpenMenuItems", {"Count", "Item0", "Item1", "Item11", "Item12", "Item13"}},
    {"Except", {"Check1", "Check2", "Check3", "String3"}},
    {"Print", {"para_c", "para_d0", "para_d1"}},
};

QByteArray EveryKey(const QByteArray& value) {
    QByteArray ini;
    for (const auto& [section, keys] : kKeys) {
        ini += "[" + QByteArray(section) + "]\n";
        for (const char* key : keys) ini += QByteArray(key) + "=" + value + "\n";
    }
    return ini;
}

}  // namespace

class TestDamagedSettings : public QObject, TMainFormFixture {
    Q_OBJECT

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void anyValueLeavesAUsableProgram_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("every key 0") << EveryKey("0");
        QTest::newRow("every key -1") << EveryKey("-1");
        QTest::newRow("every key the least int") << EveryKey("-2147483648");
        QTest::newRow("every key the largest int") << EveryKey("2147483647");
        QTest::newRow("every key past int") << EveryKey("99999999999");
        QTest::newRow("every key garbage") << EveryKey("\x01]x[=\xFF\x80");
        QTest::newRow("every key 100000 characters") << EveryKey(QByteArray(100000, 'x'));
        QTest::newRow("tab width") << QByteArray("[Editor]\nTabSpaceCount=2147483647\n");
        QTest::newRow("font size") << QByteArray("[Font]\nSize=2147483647\n");
        QTest::newRow("font and line spacing") << QByteArray("[Font]\nSize=5000\n[Editor]\nMarginLine=100000\n");
        QTest::newRow("right of the screen") << QByteArray("[Form]\nLeft=5000\nTop=100\n");
        QTest::newRow("far left") << QByteArray("[Form]\nLeft=-100000\nTop=100\n");
    }
    void anyValueLeavesAUsableProgram() {
        QFETCH(QByteArray, ini);
        QFile file(IniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        WriteSjisFile(Path("t.lsp"), "\tx\r\n(setq a 1)\r\n");
        QPointer<TTarnwickMainForm> w = Create({Path("t.lsp")});

        // On the screen, where its title bar can be grabbed.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect band = QRect(w->pos(), QSize(w->width(), 32)).intersected(screen);
        QVERIFY2(band.width() >= 64 && band.height() == 32, qPrintable(QStringLiteral("at %1,%2").arg(w->x()).arg(w->y())));
        // The document shows rows and takes keys; a tab takes a sane width.
        TEditorEx* editor = w->ActiveEditor();
        QVERIFY(editor->RowHeight() > 0 && editor->RowHeight() <= editor->viewport()->height());
        QVERIFY(editor->VisibleRowCount() >= 1);
        editor->SetRow(0);
        Key(editor, Qt::Key_End);
        QVERIFY2(editor->Col() >= 2 && editor->Col() <= 33, qPrintable(QString::number(editor->Col())));
        Type(editor, "y");
        QCOMPARE(TextOf(*editor), QStringLiteral("\txy\r\n(setq a 1)\r\n"));
        // A longer list is read whole, but never past the key's range.
        QVERIFY(w->ReopenMenu()->actions().size() <= settings::kMaxReadReopenEntries);

        // Closing writes a position the next start opens on the screen.
        dialogs_->answers.push_back(false);  // do not save t.lsp
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
        const IniDocument written = IniFile(IniPath().toStdString()).Read();
        const auto left = ParseDecimal(written.Value("Form", "Left").value_or(""));
        const auto top = ParseDecimal(written.Value("Form", "Top").value_or(""));
        QVERIFY(left && top);
        const TScreenRect screens[] = {{screen.x(), screen.y(), screen.width(), screen.height()}};
        const TWindowOrigin origin{*left, *top};
        QCOMPARE(PlaceWindow(origin, TTarnwickMainForm::kDesignWidth, TTarnwickMainForm::kDesignHeight, screens).left,
                 origin.left);
        QCOMPARE(PlaceWindow(origin, TTarnwickMainForm::kDesignWidth, TTarnwickMainForm::kDesignHeight, screens).top,
                 origin.top);
    }
};

QTEST_MAIN(TestDamagedSettings)
#include "tst_DamagedSettings.moc"
