#pragma once
// The printer the pages go to, and what it tells about itself: its name,
// paper, orientation and resolution. Without an installed printer the
// pages go to a PDF file and the name reads "不明".
#include <QPrinter>
#include <QString>
#include <vector>

#include "print/PaperTable.h"
#include "print/PrintLayout.h"

namespace quodle {

inline const QString kUnknownPrinter = QStringLiteral("不明");

class TStringsPrinterInfo {
public:
    TStringsPrinterInfo();

    QPrinter& Printer() { return printer_; }
    // Whether a printer (not a PDF file) is selected.
    bool HasPrinter() const;
    QString PrinterName() const;
    // The paper code of the selected paper; 9 (A4) when it has none.
    int PaperCode() const;
    // The papers the selected printer lists (empty for a PDF file).
    std::vector<TPaperItem> Papers() const;
    TPaperItem Paper() const;
    bool Landscape() const;
    // "name 横" or "name 縦".
    QString PaperCaption() const;
    // Resolution, printable area and paper as the layout needs them.
    TPrintDevice Device() const;
    // Lays the pages out for a PDF file instead of the printer (WritePdf
    // writes it).
    void SetPdfOutput();

private:
    QPrinter printer_;
};

}  // namespace quodle
