// The main window with UTF-8 files and kept line breaks: what was read is
// shown in the status bar and written back alike; the 文字コード menu
// changes it; a file that Shift-JIS cannot hold opens read-only, is said
// so of, and is never written over.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestFileFormat : public QObject, TMainFormFixture {
    Q_OBJECT

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void utf8File_isEditedAndSavedAsUtf8() {
        const QString a = Path("a.lsp");
        const QByteArray file = QStringLiteral("; 図形を選択\n(princ \"ｶﾅ\")\n").toUtf8();
        WriteBytes(a, file);
        TTarnwickMainForm* w = Create({a});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("UTF-8 LF"));
        QCOMPARE(QString::fromStdString(Cp932ToUtf8(editor->Lines().Get(0))), QStringLiteral("; 図形を選択"));
        QVERIFY(!editor->ReadOnly());
        Type(editor, "x");
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadBytes(a), "x" + file);
        QVERIFY(Messages().isEmpty());

        // The menu: UTF-8 with the mark and CR LF from now on.
        w->Action(QStringLiteral("mnuEncodingUtf8Bom"))->trigger();
        w->Action(QStringLiteral("mnuBreakCrLf"))->trigger();
        QVERIFY(editor->Modified());
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("UTF-8 BOM CR+LF"));
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadBytes(a), QByteArray("\xEF\xBB\xBF") +
                                   QStringLiteral("x; 図形を選択\r\n(princ \"ｶﾅ\")\r\n").toUtf8());
        // Back to Shift-JIS: the file holds the program's own bytes.
        w->Action(QStringLiteral("mnuEncodingSjis"))->trigger();
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ReadSjisFile(a), QStringLiteral("x; 図形を選択\r\n(princ \"ｶﾅ\")\r\n"));
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("SJIS CR+LF"));
        // A new document is Shift-JIS with CR LF.
        w->NewDocument();
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("SJIS CR+LF"));
    }

    void characterWithoutShiftJisForm_opensReadOnlyAndIsNeverWritten() {
        const QString a = Path("emoji.lsp");
        const QByteArray file = QStringLiteral("(princ)\n; 顔 😀\n").toUtf8();
        WriteBytes(a, file);
        TTarnwickMainForm* w = Create({a});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(Messages(), QStringList{QStringLiteral(
                                 "2 行目の文字 「😀」(U+1F600) は Shift-JIS で扱えません．\n"
                                 "内容を守るため読み取り専用で開きました．この文字は「〓」で表示され，このままでは保存できません．")});
        QVERIFY(editor->ReadOnly());
        Type(editor, "x");
        QVERIFY(!editor->Modified());
        // Read Only lifted by hand: edits go in, the save is still refused.
        w->Action(QStringLiteral("mnuReadOnly"))->trigger();
        Type(editor, "x");
        QVERIFY(editor->Modified());
        w->Action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(Messages().mid(1), QStringList{SaveBlockedText()});
        QCOMPARE(ReadBytes(a), file);
        QVERIFY(editor->Modified());
        // The close question's Yes cannot write it either: the tab stays.
        w->NewDocument();
        w->PageControl()->SetActivePageIndex(1);
        w->TabChange();
        dialogs_->answers = {true};
        w->Action(QStringLiteral("mnuClose"))->trigger();
        QCOMPARE(w->PageControl()->PageCount(), 3);
        QCOMPARE(ReadBytes(a), file);
    }

    // A file read in the wrong encoding is read again in the one the user
    // names, after asking when that loses changes; the format items alone
    // would only change how it is written.
    void reopenInEncoding_readsTheBytesAgain() {
        const QString a = Path("kana.lsp");
        const QByteArray sjis("(princ \"\xC6\xAD\")\r\n");  // ﾆｭ, or U+01AD as UTF-8
        WriteBytes(a, sjis);
        TTarnwickMainForm* w = Create({a});
        TEditorEx* editor = w->ActiveEditor();
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("SJIS CR+LF"));
        QCOMPARE(TextOf(*editor), QStringLiteral("(princ \"ﾆｭ\")\r\n"));
        QVERIFY(Messages().isEmpty() && !editor->ReadOnly());
        editor->SetRow(1);

        w->Action(QStringLiteral("mnuReopenUtf8"))->trigger();
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("UTF-8 CR+LF"));
        QCOMPARE(TextOf(*editor), QStringLiteral("(princ \"〓\")\r\n"));
        QVERIFY(editor->ReadOnly());
        QCOMPARE(Messages().size(), 1);
        QVERIFY(Messages().constFirst().contains(QStringLiteral("(U+01AD)")));
        QCOMPARE(editor->Row(), 1);  // the caret stays

        w->Action(QStringLiteral("mnuReopenSjis"))->trigger();
        QCOMPARE(TextOf(*editor), QStringLiteral("(princ \"ﾆｭ\")\r\n"));
        QVERIFY(!editor->ReadOnly() && !editor->Modified());
        QCOMPARE(w->StatusPanels()->PanelText(TStatusPanels::kFormatPanel), QStringLiteral("SJIS CR+LF"));

        // Modified: asked first; No keeps the changes.
        Type(editor, "x");
        dialogs_->answers = {false};
        w->Action(QStringLiteral("mnuReopenUtf8"))->trigger();
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 QStringList{QStringLiteral("kana.lsp は変更されています．\n開き直すと編集中の変更は失われます．開き直しますか？")});
        QVERIFY(editor->Modified());
        QVERIFY(TextOf(*editor).contains(QLatin1Char('x')));
        dialogs_->answers = {true};
        w->Action(QStringLiteral("mnuReopenSjis"))->trigger();
        QCOMPARE(TextOf(*editor), QStringLiteral("(princ \"ﾆｭ\")\r\n"));
        QVERIFY(!editor->Modified());
        QCOMPARE(ReadBytes(a), sjis);

        // A document that never came from a file has nothing to read again.
        auto* menu = w->findChild<QMenu*>(QStringLiteral("mnuEncoding"));
        QVERIFY(menu);
        emit menu->aboutToShow();
        QVERIFY(w->Action(QStringLiteral("mnuReopenSjis"))->isEnabled());
        w->NewDocument();
        emit menu->aboutToShow();
        QVERIFY(!w->Action(QStringLiteral("mnuReopenSjis"))->isEnabled());
        QVERIFY(!w->Action(QStringLiteral("mnuReopenUtf8"))->isEnabled());
    }
};

QTEST_MAIN(TestFileFormat)
#include "tst_FileFormat.moc"
