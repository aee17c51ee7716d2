#include "print/qt/PrinterInfo.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPrinterInfo>
#include <QScreen>
#include <cmath>

namespace quodle {

namespace {

constexpr int kA4 = 9;

int ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
}

}  // namespace

TStringsPrinterInfo::TStringsPrinterInfo() : printer_(QPrinter::HighResolution) {
    if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinters().isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setPageSize(QPageSize(QPageSize::A4));
    }
    // A PDF page has no unprintable border.
    if (printer_.outputFormat() == QPrinter::PdfFormat) printer_.setFullPage(true);
}

bool TStringsPrinterInfo::HasPrinter() const {
    return printer_.outputFormat() == QPrinter::NativeFormat && !printer_.printerName().isEmpty();
}

QString TStringsPrinterInfo::PrinterName() const { return HasPrinter() ? printer_.printerName() : kUnknownPrinter; }

int TStringsPrinterInfo::PaperCode() const {
    const int code = printer_.pageLayout().pageSize().windowsId();
    return code > 0 ? code : kA4;
}

std::vector<TPaperItem> TStringsPrinterInfo::Papers() const {
    std::vector<TPaperItem> papers;
    if (!HasPrinter()) return papers;
    for (const QPageSize& size : QPrinterInfo(printer_).supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        papers.push_back({size.name().toStdString(), static_cast<int>(std::floor(mm.width() + 0.5)),
                          static_cast<int>(std::floor(mm.height() + 0.5)), size.windowsId()});
    }
    return papers;
}

TPaperItem TStringsPrinterInfo::Paper() const {
    const std::vector<TPaperItem> papers = Papers();
    return FindPaper(papers, PaperCode());
}

bool TStringsPrinterInfo::Landscape() const { return printer_.pageLayout().orientation() == QPageLayout::Landscape; }

QString TStringsPrinterInfo::PaperCaption() const {
    return QString::fromStdString(Paper().Name) + (Landscape() ? QStringLiteral(" 横") : QStringLiteral(" 縦"));
}

TPrintDevice TStringsPrinterInfo::Device() const {
    TPrintDevice device;
    device.ScreenDpi = ScreenDpi();
    device.Dpi = printer_.resolution();
    const QRect printable = printer_.pageLayout().paintRectPixels(device.Dpi);
    device.PrintableWidth = printable.width();
    device.PrintableHeight = printable.height();
    // The paper as the printer lays it out: the classic table's sizes are
    // not all true to the paper, and a wrong size would shift the text.
    const QSizeF mm = printer_.pageLayout().fullRect(QPageLayout::Millimeter).size();
    TPaperItem paper{"", static_cast<int>(std::lround(mm.width())), static_cast<int>(std::lround(mm.height())), 0};
    device.PaperWidthMm = paper.Width;  // already as the paper lies
    device.PaperHeightMm = paper.Height;
    return device;
}

void TStringsPrinterInfo::SetPdfOutput() {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setFullPage(true);
}

}  // namespace quodle
