#pragma once
// Rendering of the strings printer: lines laid out into rows, rows drawn
// page by page into recorded pictures, and the pictures sent to a printer.
#include <QPainter>
#include <QPrinter>
#include <QSize>
#include <QString>
#include <filesystem>

#include "base/Clock.h"
#include "base/LineList.h"
#include "print/PrintLayout.h"
#include "print/StringsPrinter.h"
#include "print/qt/PageSpool.h"
#include "print/qt/PrintProgress.h"

namespace quodle {

inline const QString kPreviewProgressText = QStringLiteral("プレビューを作成中");
inline const QString kPrintProgressText = QStringLiteral("印刷中");

struct TRenderedPages {
    TMetaFileList Pages;
    QSize PageSize;         // printable area in printer pixels
    TPaperOffsets Offsets;  // unprintable border
    double ScreenRatio = 1.0;
};

// The pages the lines take, laid out as RenderPages lays them out, with
// nothing drawn.
std::size_t CountPages(const TStringsPrinter& printer, const TPrintDevice& device, TLineList lines);

// Draws every page. False when the user stopped it (no page is kept) or a
// page could not be kept.
bool RenderPages(const TStringsPrinter& printer, const TPrintDevice& device, TLineList lines, TRenderedPages& out,
                 const QString& progressText, TPrintProgress* progress, const TClock& clock = SystemClock());

// Replays a page stretched over `area` of the painter's device. A picture
// scales itself from its own resolution to the device's; that is undone
// here, as the pages are recorded in the printer's pixels.
void DrawPageOn(QPainter& painter, const TRenderedPages& pages, std::size_t index, const QRectF& area);

// Sends the pages the page range and parity select, each stretched over the
// printable area, one sheet per page and no blank sheet after the last.
// False when the job could not be opened.
bool SendPages(const TStringsPrinter& printer, const TRenderedPages& pages, QPrinter& device);

// The same pages as a PDF file at `path`, laid out as `settings` lays out a
// page, saved the way documents are saved: made whole in memory, written
// to a temporary file that replaces the target only once every byte
// reached the disk. Throws FileError; a failure leaves any earlier file.
void WritePdf(const TStringsPrinter& printer, const TRenderedPages& pages, const QPrinter& settings,
              const std::filesystem::path& path);

}  // namespace quodle
