#include "print/qt/PrintCommands.h"

#include "base/qt/FontSubstitutes.h"
#include "print/qt/PrintPreviewWindow.h"

namespace quodle {

namespace {

bool PrintLines(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host) {
    if (!info.HasPrinter() && info.Printer().outputFileName().isEmpty()) {
        const std::optional<QString> path = host.PdfFileName(owner);
        if (!path) return false;
        info.SetPdfOutput(*path);
    }
    printer.SetFileName(host.FileName());
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), host.Lines(), pages, kPrintProgressText, &host.Progress(owner)))
        return false;
    return SendPages(printer, pages, info.Printer());
}

}  // namespace

bool PreviewLines(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host) {
    printer.SetFileName(host.FileName());
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), host.Lines(), pages, kPreviewProgressText, &host.Progress(owner)))
        return false;
    // The preview stays open unless the pages went out.
    TFormStringsPrinterPreview preview(owner, pages, [&] {
        bool printed = false;
        ConfirmAndPrint(owner, printer, info, host, &printed);
        return printed;
    });
    host.ExecModal(preview);
    return true;
}

bool ConfirmAndPrint(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host,
                     bool* printed) {
    if (printed) *printed = false;
    if (!host.ConfirmPrint(owner)) return false;
    const bool sent = PrintLines(owner, printer, info, host);
    if (printed) *printed = sent;
    return true;
}

QFont ToQFont(const TPrintFont& font) {
    RegisterFontSubstitutes();
    QFont f(QString::fromStdString(font.Name));
    f.setPointSize(std::max(1, font.Size));
    f.setBold(font.Style.Contains(fsBold));
    f.setItalic(font.Style.Contains(fsItalic));
    f.setUnderline(font.Style.Contains(fsUnderline));
    f.setStrikeOut(font.Style.Contains(fsStrikeOut));
    return f;
}

TPrintFont FromQFont(const QFont& font, TColor color) {
    TFontStyles style;
    if (font.bold()) style = style | fsBold;
    if (font.italic()) style = style | fsItalic;
    if (font.underline()) style = style | fsUnderline;
    if (font.strikeOut()) style = style | fsStrikeOut;
    return {font.family().toStdString(), std::max(1, font.pointSize()), color, style};
}

}  // namespace quodle
