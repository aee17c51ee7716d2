// 印刷 in the main window: the settings dialog opens on the printer the
// settings file described, its changes reach the settings file at
// shutdown, and a preview shows the active document.
#include <QAction>
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
};

QTEST_MAIN(TestPrintCommand)
#include "tst_PrintCommand.moc"
