// 印刷 in the main window: the settings dialog opens on the printer the
// settings file described, its changes reach the settings file at
// shutdown, and a preview shows the active document.
#include <QAction>
#include <QFileInfo>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/qt/MainForm.h"
#include "print/qt/PrintPreviewWindow.h"
#include "print/qt/PrintSettingsDialog.h"
#include "print/qt/PrinterInfo.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

class TestPrintCommand : public QObject, TMainFormFixture {
    Q_OBJECT

    TStringsPrinter StoredPrinter() const {
        TStringsPrinter printer;
        printer.Restore(settings::ReadPrintBlob(IniFile(IniPath().toStdString())));
        return printer;
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    void settingsComeFromAndGoToTheSettingsFile() {
        TStringsPrinter stored = TStringsPrinter::Design();
        stored.SetPrintMode(pmBWFontStyle);
        stored.SetMarginLeft(30);
        IniFile ini(IniPath().toStdString());
        settings::WritePrintBlob(ini, stored.Save());
        WriteSjisFile(Path(QStringLiteral("a.lsp")), QStringLiteral("(princ \"印刷\")\r\n"));

        TTarnwickMainForm* w = Create({Path(QStringLiteral("a.lsp"))});
        bool shown = false;
        bool previewed = false;
        dialogs_->modals.push_back([&](QDialog& dialog) {
            auto& form = dynamic_cast<TForm10&>(dialog);
            [&] {
                QCOMPARE(form.windowTitle(), QStringLiteral("印刷設定"));
                QCOMPARE(form.RadioGroup1->checkedId(), 1);
                QCOMPARE(form.SpinEdit1->value(), 30);
                form.SpinEdit3->setValue(25);
                form.Button2->click();  // プレビュー: the next modal window
                shown = true;
            }();
            form.Button4->click();
            return form.result();
        });
        dialogs_->modals.push_back([&](QDialog& dialog) {
            auto& preview = dynamic_cast<TFormStringsPrinterPreview&>(dialog);
            [&] {
                QCOMPARE(preview.Label1->text(), QStringLiteral("  1 /   1"));
                previewed = true;
            }();
            return int(QDialog::Rejected);
        });
        w->Action(QStringLiteral("N92"))->trigger();
        QVERIFY(shown);
        QVERIFY(previewed);
        QCOMPARE(w->StringsPrinter().MarginTop(), 25);
        QCOMPARE(w->StringsPrinter().FileName(), Path(QStringLiteral("a.lsp")).toStdString());
        delete w;
        const TStringsPrinter saved = StoredPrinter();
        QCOMPARE(saved.MarginTop(), 25);
        QCOMPARE(saved.MarginLeft(), 30);
        QCOMPARE(saved.PrintMode(), pmBWFontStyle);
    }

    // Without a printer every print asks for its PDF file, proposing the
    // document's name in its folder; replacing a file asks first, and No
    // leaves the file and the settings dialog as they were.
    void printToFile_asksEveryTimeAndBeforeReplacing() {
        if (TStringsPrinterInfo().HasPrinter()) QSKIP("a printer is installed: the pages would go to it");
        WriteSjisFile(Path(QStringLiteral("a.lsp")), QStringLiteral("(princ \"印刷\")\r\n"));
        TTarnwickMainForm* w = Create({Path(QStringLiteral("a.lsp"))});
        const QString pdf = Path(QStringLiteral("a.pdf"));
        int printed = 0;
        const auto print = [&](bool expectClosed) {
            dialogs_->modals.push_back([&, expectClosed](QDialog& dialog) {
                auto& form = dynamic_cast<TForm10&>(dialog);
                form.Button3->click();  // 印刷
                [&] { QCOMPARE(form.result() == QDialog::Accepted, expectClosed); }();
                if (!expectClosed) form.Button4->click();
                ++printed;
                return form.result();
            });
            w->Action(QStringLiteral("N92"))->trigger();
        };
        dialogs_->answers = {true};  // 印刷しますか？
        dialogs_->files = {pdf};
        print(true);
        QVERIFY(QFile::exists(pdf));
        const QFileInfo first(pdf);
        dialogs_->answers = {true, false};  // print, then do not replace
        dialogs_->files = {pdf};
        print(false);
        QCOMPARE(printed, 2);
        QCOMPARE(QFileInfo(pdf).lastModified(), first.lastModified());
        QStringList saveDirs, saveNames;
        for (const auto& call : dialogs_->calls)
            if (call.kind == TKind::Save) {
                saveDirs << call.state.InitialDir;
                saveNames << call.state.InitialFile;
            }
        QCOMPARE(saveNames, (QStringList{QStringLiteral("a.pdf"), QStringLiteral("a.pdf")}));
        QCOMPARE(saveDirs, (QStringList{dir_->path(), dir_->path()}));
        QCOMPARE(dialogs_->Texts(TKind::Question),
                 (QStringList{QStringLiteral("印刷しますか？"), QStringLiteral("印刷しますか？"),
                              pdf + QStringLiteral("はすでに存在します．\n置き換えしますか？")}));
        // The print question has a caption of its own.
        std::erase_if(dialogs_->calls, [](const auto& c) { return c.text == QStringLiteral("印刷しますか？"); });
    }
};

QTEST_MAIN(TestPrintCommand)
#include "tst_PrintCommand.moc"
