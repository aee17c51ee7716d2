// Printing end to end: pages rendered and written to PDF, read back with
// poppler's tools (text, page count, pixels); the settings dialog, the
// preview and stopping from the progress window.
#include <QButtonGroup>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <unistd.h>

#include "base/ShiftJis.h"
#include "print/qt/PrintCommands.h"
#include "print/qt/PrintPreviewWindow.h"
#include "print/qt/PrintProgressWindow.h"
#include "print/qt/PrintSettingsDialog.h"
#include "syntax/HyphenFountain.h"
#include "syntax/ProgramFountains.h"

using namespace quodle;

namespace {

class TScriptedProgress final : public TPrintProgress {
public:
    int stopAt = -1;  // the update that reports a stop; -1 never
    int updates = 0;
    bool open = false;
    void Start(const QString& text) override {
        open = true;
        started = text;
    }
    bool Update(const QString&, int, int) override { return updates++ != stopAt; }
    void Finish() override { open = false; }
    QString started;
};

class TFakeHost final : public TPrintHost {
public:
    std::vector<std::string> lines;
    std::string fileName = "/src/テスト.lsp";
    bool answer = true;
    int questions = 0;
    QString pdf;
    std::function<int(QDialog&)> modal;
    TScriptedProgress progress;

    TLineList Lines() override { return lines; }
    std::string FileName() override { return fileName; }
    bool ConfirmPrint(QWidget*) override {
        ++questions;
        return answer;
    }
    int ExecModal(QDialog& dialog) override { return modal ? modal(dialog) : QDialog::Rejected; }
    bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    std::optional<QString> PdfFileName(QWidget*) override {
        ++pdfQuestions;
        if (pdf.isEmpty()) return std::nullopt;
        return pdf;
    }
    void PdfNotWritten(QWidget*, const FileError& error) override { failures << QString::fromStdString(error.what()); }
    int pdfQuestions = 0;
    QStringList failures;
    TPrintProgress& Progress(QWidget*) override { return progress; }
};

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The document's pages in a PDF file, as pdftotext reads them.
QStringList PdfPages(const QString& pdf) {
    QStringList pages = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// Page 1 of the PDF as an image at a low resolution.
QImage FirstPageImage(const QString& pdf, const QString& prefix) {
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"),
                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

int CountPixels(const QImage& image, const std::function<bool(QColor)>& test) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

}  // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::shared_ptr<THyphenFountain> fountain_ = CreateHyphenFountain1();

    TStringsPrinter Printer() const {
        TStringsPrinter p = TStringsPrinter::Design();
        p.SetFountain(fountain_);
        return p;
    }

    // Renders and writes the lines to a PDF file named `name`.
    QString PrintToPdf(TStringsPrinter& printer, const std::vector<std::string>& lines, const QString& name) {
        TStringsPrinterInfo info;
        const QString pdf = dir_.filePath(name);
        info.SetPdfOutput();
        TRenderedPages pages;
        [&] { QVERIFY(RenderPages(printer, info.Device(), lines, pages, kPrintProgressText, nullptr)); }();
        WritePdf(printer, pages, info.Printer(), pdf.toStdString());
        return pdf;
    }

private slots:
    void pagesCarryHeaderFooterNumbersAndRealJapaneseText() {
        TStringsPrinter printer = Printer();
        printer.SetFileName("/src/テスト.lsp");
        std::vector<std::string> lines;
        for (int i = 1; i <= 150; ++i)
            lines.push_back(Utf8ToCp932("(setq a " + std::to_string(i) + ") ; 日本語のコメント"));
        const QStringList pages = PdfPages(PrintToPdf(printer, lines, QStringLiteral("doc.pdf")));
        QVERIFY(pages.size() >= 3);
        for (int i = 0; i < pages.size(); ++i) {
            const QStringList rows = pages[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY(rows.size() >= 2);
            QVERIFY2(rows.front().trimmed() == QStringLiteral("/src/テスト.lsp"), qPrintable(rows.front()));
            QCOMPARE(rows.back().trimmed(), QString::number(i + 1));
        }
        QVERIFY(pages[0].contains(QStringLiteral("1:(setq a 1) ; 日本語のコメント")));
        QVERIFY(pages.back().contains(QStringLiteral("150:(setq a 150) ; 日本語のコメント")));
    }

    void aWrappedLineIsNumberedOnItsFirstRowOnly() {
        TStringsPrinter printer = Printer();
        printer.SetHeaderAlign(haNone);
        printer.SetFooterAlign(haNone);
        std::string kana;
        for (int i = 0; i < 150; ++i) kana += Utf8ToCp932("あ");
        const QStringList pages = PdfPages(PrintToPdf(printer, {"(princ)", kana, "(princ)"}, QStringLiteral("w.pdf")));
        QCOMPARE(pages.size(), 1);
        const QStringList rows = pages[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(rows.size() >= 2);
        QVERIFY(rows.size() >= 5);
        QVERIFY(rows[0].trimmed().startsWith(QStringLiteral("1:")));
        QVERIFY(rows[1].trimmed().startsWith(QStringLiteral("2:あ")));
        // Continuation rows: only whole characters, no number.
        int kanaSeen = rows[1].count(QStringLiteral("あ"));
        for (int r = 2; r < rows.size() - 1; ++r) {
            QVERIFY2(rows[r].trimmed().startsWith(QStringLiteral("あ")), qPrintable(rows[r]));
            kanaSeen += rows[r].count(QStringLiteral("あ"));
        }
        QCOMPARE(kanaSeen, 150);
        QVERIFY(rows.back().trimmed().startsWith(QStringLiteral("3:")));
    }

    void commentsInTheirColourOrBlack() {
        fountain_->Colors().Comment().SetColor(clRed);
        const std::vector<std::string> lines(40, "; a comment drawn in the comment colour, line after line");
        auto reddish = [](QColor c) { return c.red() > 150 && c.green() < 110 && c.blue() < 110; };
        auto dark = [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; };
        TStringsPrinter color = Printer();
        const QImage inColor = FirstPageImage(PrintToPdf(color, lines, QStringLiteral("c.pdf")), dir_.filePath("c"));
        QVERIFY(!inColor.isNull());
        QVERIFY(CountPixels(inColor, reddish) > 100);
        TStringsPrinter mono = Printer();
        mono.SetPrintMode(pmBW);
        const QImage inBlack = FirstPageImage(PrintToPdf(mono, lines, QStringLiteral("m.pdf")), dir_.filePath("m"));
        QCOMPARE(CountPixels(inBlack, reddish), 0);
        QVERIFY(CountPixels(inBlack, dark) > 100);
        fountain_->Colors().Comment().SetColor(clGray);
    }

    // Depth colours in colour-token mode only; a line range starts at the
    // depth its first line has in the whole text.
    void bracketsInTheirDepthColours() {
        const std::string pairs = "(a) (b) (c) (d) (e) (f) (g) (h) (i) (j) (k) (l) (m) (n) (o) (p)";
        const std::vector<std::string> lines(30, pairs);
        // The first colour of the cycle is a blue, the second an amber; at
        // this resolution brackets are pale blends of them with the paper.
        auto bluish = [](QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 30; };
        auto amber = [](QColor c) { return c.red() > c.blue() + 40 && c.green() > c.blue() + 15 && c.red() > c.green() + 15; };
        TStringsPrinter depth = Printer();
        depth.SetBracketDepthColors(true);
        const QImage on = FirstPageImage(PrintToPdf(depth, lines, QStringLiteral("d.pdf")), dir_.filePath("d"));
        QVERIFY(!on.isNull());
        QVERIFY(CountPixels(on, bluish) > 100);
        QCOMPARE(CountPixels(on, amber), 0);
        TStringsPrinter plain = Printer();
        const QImage off = FirstPageImage(PrintToPdf(plain, lines, QStringLiteral("p.pdf")), dir_.filePath("p"));
        QCOMPARE(CountPixels(off, bluish), 0);
        depth.SetPrintMode(pmBWFontStyle);
        const QImage mono = FirstPageImage(PrintToPdf(depth, lines, QStringLiteral("b.pdf")), dir_.filePath("b"));
        QCOMPARE(CountPixels(mono, bluish), 0);

        depth.SetPrintMode(pmColorToken);
        std::vector<std::string> nested{"(defun c:f ()"};
        nested.insert(nested.end(), 30, pairs);
        depth.SetLineRangeOption(roLimited);
        depth.SetStartLine(2);
        depth.SetLastLine(31);
        const QImage inside = FirstPageImage(PrintToPdf(depth, nested, QStringLiteral("r.pdf")), dir_.filePath("r"));
        QVERIFY(CountPixels(inside, amber) > 100);
        QCOMPARE(CountPixels(inside, bluish), 0);
    }

    void stoppingLeavesNothingHalfSent() {
        TStringsPrinter printer = Printer();
        TStringsPrinterInfo info;
        info.SetPdfOutput();
        TFakeHost host;
        host.lines.assign(500, "(princ)");
        host.pdf = dir_.filePath(QStringLiteral("stopped.pdf"));
        host.progress.stopAt = 3;
        QVERIFY(!ConfirmAndPrint(nullptr, printer, info, host));  // Yes, then stopped: the dialog stays
        QVERIFY(!QFile::exists(host.pdf));
        QCOMPARE(host.progress.started, QStringLiteral("印刷中"));
        QVERIFY(!host.progress.open);
        // No: nothing is rendered at all.
        host.answer = false;
        host.progress.updates = 0;
        QVERIFY(!ConfirmAndPrint(nullptr, printer, info, host));
        QCOMPARE(host.progress.updates, 0);
        // Not stopped: the file is there.
        host.answer = true;
        host.progress.stopAt = -1;
        QVERIFY(ConfirmAndPrint(nullptr, printer, info, host));
        QVERIFY(QFile::exists(host.pdf));
    }

    // A print stopped from the progress window, or without a PDF file
    // named, comes back to the window it was started from, unchanged; one
    // that went out closes it.
    void stoppedPrintKeepsItsWindowOpen() {
        TStringsPrinter printer = Printer();
        TStringsPrinterInfo info;
        info.SetPdfOutput();
        TFakeHost host;
        host.lines.assign(300, "(princ)");
        host.pdf = dir_.filePath(QStringLiteral("dialog.pdf"));
        TForm10 form(nullptr, printer, info, host);
        form.show();
        form.SpinEdit1->setValue(25);
        host.progress.stopAt = 2;
        form.Button3->click();
        QCOMPARE(host.questions, 1);
        QVERIFY(form.isVisible());
        QCOMPARE(form.SpinEdit1->value(), 25);
        QVERIFY(!QFile::exists(host.pdf));
        host.progress.stopAt = -1;
        form.Button3->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(host.pdf));

        // The preview likewise.
        QFile::remove(host.pdf);
        bool stayed = false;
        host.modal = [&](QDialog& dialog) {
            auto& preview = dynamic_cast<TFormStringsPrinterPreview&>(dialog);
            preview.show();
            host.progress.updates = 0;
            host.progress.stopAt = 1;
            preview.SpeedButton9->click();
            stayed = preview.isVisible() && !QFile::exists(host.pdf);
            host.progress.stopAt = -1;
            preview.SpeedButton9->click();
            return preview.result();
        };
        QVERIFY(PreviewLines(nullptr, printer, info, host));
        QVERIFY(stayed);
        QVERIFY(QFile::exists(host.pdf));
    }

    // Enter never stops a print; "中止", Esc and the close box do.
    void progressWindowStopsOnlyWhenAskedTo() {
        const struct {
            const char* what;
            std::function<void(TFormStringsPrinterProgress&)> act;
            bool stops;
        } cases[] = {
            {"Enter", [](TFormStringsPrinterProgress& w) { QTest::keyClick(&w, Qt::Key_Return); }, false},
            {"Enter on the button",
             [](TFormStringsPrinterProgress& w) { QTest::keyClick(w.Button1, Qt::Key_Enter); }, false},
            {"中止", [](TFormStringsPrinterProgress& w) { w.Button1->click(); }, true},
            {"Esc", [](TFormStringsPrinterProgress& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
            {"close box", [](TFormStringsPrinterProgress& w) { w.close(); }, true},
        };
        for (const auto& c : cases) {
            TFormStringsPrinterProgress window(nullptr);
            window.Start(QStringLiteral("印刷中"));
            window.Button1->setFocus();
            c.act(window);
            QCOMPARE(window.Update(QStringLiteral("印刷中"), 10, 1), !c.stops);
            QVERIFY2(window.isVisible(), c.what);  // gone only when the rendering ends
            window.Finish();
        }
    }

    // Every print to a file asks for its name anew; a PDF that cannot be
    // written is told, leaves the dialog open and the earlier file whole.
    void everyPrintAsksForItsFileAndAFailedOneKeepsTheOld() {
        TStringsPrinter printer = Printer();
        TStringsPrinterInfo info;
        info.SetPdfOutput();
        TFakeHost host;
        host.lines.assign(120, "(princ \"old\")");
        host.pdf = dir_.filePath(QStringLiteral("first.pdf"));
        QVERIFY(ConfirmAndPrint(nullptr, printer, info, host));
        host.lines.assign(2, "(princ \"new\")");
        host.pdf = dir_.filePath(QStringLiteral("second.pdf"));
        QVERIFY(ConfirmAndPrint(nullptr, printer, info, host));
        QCOMPARE(host.pdfQuestions, 2);
        QVERIFY(PdfPages(dir_.filePath(QStringLiteral("first.pdf"))).size() >= 2);
        QCOMPARE(PdfPages(dir_.filePath(QStringLiteral("second.pdf"))).size(), 1);

        QFile old(dir_.filePath(QStringLiteral("first.pdf")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray before = old.readAll();
        old.close();
        QFile::setPermissions(dir_.filePath(QStringLiteral("first.pdf")), QFile::ReadOwner);
        host.pdf = dir_.filePath(QStringLiteral("first.pdf"));
        const bool root = ::geteuid() == 0;
        if (!root) {
            QVERIFY(!ConfirmAndPrint(nullptr, printer, info, host));
            QCOMPARE(host.failures.size(), 1);
            QVERIFY2(host.failures[0].endsWith(QStringLiteral("first.pdf: Permission denied")), qPrintable(host.failures[0]));
        }
        QFile::setPermissions(dir_.filePath(QStringLiteral("first.pdf")), QFile::ReadOwner | QFile::WriteOwner);
        host.pdf = QStringLiteral("/dev/full");
        QVERIFY(!ConfirmAndPrint(nullptr, printer, info, host));
        QCOMPARE(host.failures.size(), root ? 1 : 2);
        QCOMPARE(host.failures.back(), QStringLiteral("/dev/full: Not a regular file"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), before);
    }

    void settingsDialogAppliesEveryControlAtOnce() {
        TStringsPrinter printer = Printer();
        printer.SetPrintMode(pmBWFontStyle);
        TStringsPrinterInfo info;
        TFakeHost host;
        TForm10 form(nullptr, printer, info, host);
        QCOMPARE(form.windowTitle(), QStringLiteral("印刷設定"));
        QCOMPARE(form.RadioGroup1->checkedId(), 1);
        QCOMPARE(form.RadioGroup1->checkedButton()->text(), QStringLiteral("モノクロ（強調）"));
        QCOMPARE(form.Label6->text(), info.PrinterName());
        if (!info.HasPrinter()) {
            QCOMPARE(form.Label6->text(), QStringLiteral("不明"));
            QCOMPARE(form.Label7->text(), QStringLiteral("DMPAPER_A4 縦"));
        }
        QCOMPARE(form.SpinEdit1->value(), 20);
        QCOMPARE(form.Edit1->text(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(form.Edit2->text(), QStringLiteral("10"));
        form.SpinEdit1->setValue(33);
        form.SpinEdit5->setValue(3);
        form.CheckBox1->click();
        form.RadioGroup1->button(3)->click();
        form.SpinEdit6->setValue(5);
        QCOMPARE(form.SpinEdit6->value(), 4);
        form.Button4->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(printer.MarginLeft(), 33);
        QCOMPARE(printer.MarginLine(), 3);
        QVERIFY(!printer.LineNumber());
        QCOMPARE(printer.PrintMode(), pmThreeColor);
        QCOMPARE(printer.TabSpaceCount(), 4);
        for (int i = 0; i < 4; ++i) QCOMPARE(TForm10::ModeIndex(TForm10::IndexMode(i)), i);
    }

    void previewPagesAndZoom() {
        TStringsPrinter printer = Printer();
        TStringsPrinterInfo info;
        TFakeHost host;
        host.lines.assign(3, "(princ)");
        bool checked = false;
        // The checks run inside the modal window; a failed one leaves
        // `checked` false.
        std::function<void(QDialog&)> inspect;
        host.modal = [&](QDialog& dialog) {
            inspect(dialog);
            return int(QDialog::Rejected);
        };
        inspect = [&](QDialog& dialog) {
            auto& preview = dynamic_cast<TFormStringsPrinterPreview&>(dialog);
            QCOMPARE(preview.windowTitle(), QStringLiteral("印刷プレビュー"));
            QCOMPARE(preview.Label1->text(), QStringLiteral("  1 /   1"));
            for (QToolButton* b : {preview.SpeedButton1, preview.SpeedButton2, preview.SpeedButton3,
                                   preview.SpeedButton4})
                QVERIFY(!b->isEnabled());
            checked = true;
        };
        QVERIFY(PreviewLines(nullptr, printer, info, host));
        QVERIFY(checked);
        QCOMPARE(host.progress.started, QStringLiteral("プレビューを作成中"));

        host.lines.assign(400, "(princ)");
        checked = false;
        inspect = [&](QDialog& dialog) {
            auto& preview = dynamic_cast<TFormStringsPrinterPreview&>(dialog);
            preview.resize(700, 600);
            preview.show();
            preview.SpeedButton3->click();
            QCOMPARE(preview.CurrentPage(), 1);
            for (QToolButton* b : {preview.SpeedButton1, preview.SpeedButton2, preview.SpeedButton3,
                                   preview.SpeedButton4})
                QVERIFY(b->isEnabled());
            preview.SpeedButton4->click();
            QVERIFY(!preview.SpeedButton3->isEnabled());
            preview.SpeedButton6->click();
            QCOMPARE(preview.Image1->width(),
                     preview.ScrollBox1->width() - preview.ScrollBox1->verticalScrollBar()->sizeHint().width());
            // Portrait paper: taller than wide.
            QVERIFY(preview.Image1->height() > preview.Image1->width());
            preview.SpeedButton7->click();
            const TPrintDevice device = info.Device();
            QCOMPARE(preview.Image1->width(),
                     qRound(MillimetresToPixels(device, device.PaperWidthMm) * ScreenToPrinterRatio(device)));
            preview.SpeedButton5->click();
            QCOMPARE(preview.Image1->height(), preview.ScrollBox1->height() -
                                                   preview.ScrollBox1->horizontalScrollBar()->sizeHint().height());
            checked = true;
        };
        QVERIFY(PreviewLines(nullptr, printer, info, host));
        QVERIFY(checked);
        // Stopped while rendering: no preview.
        host.progress.stopAt = 0;
        host.progress.updates = 0;
        checked = false;
        QVERIFY(!PreviewLines(nullptr, printer, info, host));
        QVERIFY(!checked);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_Printing.moc"
