#include "print/qt/PrintCommands.h"

#include "base/qt/FontSubstitutes.h"
#include "print/qt/PrintPreviewWindow.h"

namespace quodle {

namespace {

bool PrintLines(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host) {
    std::optional<QString> pdf;
    if (!info.HasPrinter()) {
        pdf = host.PdfFileName(owner);
        if (!pdf) return false;
    }
    printer.SetFileName(host.FileName());
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), host.Lines(), pages, kPrintProgressText, &host.Progress(owner)))
        return false;
    if (!pdf) return SendPages(printer, pages, info.Printer());
    try {
        WritePdf(printer, pages, info.Printer(), pdf->toStdString());
    } catch (const FileError& e) {
        host.PdfNotWritten(owner, e);
        return false;
    }
    return true;
}

}  // namespace

bool PreviewLines(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host) {
    printer.SetFileName(host.FileName());
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), host.Lines(), pages, kPreviewProgressText, &host.Progress(owner)))
        return false;
    TFormStringsPrinterPreview preview(owner, pages, [&] { return ConfirmAndPrint(owner, printer, info, host); });
    host.ExecModal(preview);
    return true;
}

bool ConfirmAndPrint(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host) {
    return host.ConfirmPrint(owner) && PrintLines(owner, printer, info, host);
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
