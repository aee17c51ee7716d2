#pragma once
// Page layout of the strings printer: character kinds, rows wrapped to the
// column width, page geometry, header and footer texts and the page plan.
// Widths come from a measuring function, so the layout is the same for any
// device and testable without one.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "base/LineList.h"
#include "print/StringsPrinter.h"

namespace quodle {

// Each TAB replaced by spaces up to the next multiple of `tab` from the
// start of the string; double-byte characters are copied whole.
std::string ExpandPrintTabs(std::string_view text, int tab);
// One kind per byte of the tab-expanded text: '1' printable single byte,
// '2' a space or control character, '4'/'5' lead and trail of a
// double-byte character, and a TAB as one '2' followed by a '3' for every
// further space of its expansion.
std::string PrintKinds(std::string_view text, int tab);

// Width of tab-expanded Shift-JIS bytes in device units.
using TPrintMeasure = std::function<long long(std::string_view)>;

struct TPrintRow {
    std::string Text;  // tab-expanded
    int Line = 0;      // 0-based source line
    bool Wrapped = false;  // the line goes on in the next row
};

struct TPrintWrap {
    long long Width = 0;  // wrap width
    int TabSpaceCount = 8;
    bool WordBreak = true;
};

// A source line as rows no wider than the wrap width, appended to `rows`.
void WrapPrintLine(std::string_view line, int lineIndex, const TPrintWrap& wrap, const TPrintMeasure& measure,
                   std::vector<TPrintRow>& rows);

// What the device tells about itself; zero resolution when it cannot be asked.
struct TPrintDevice {
    int Dpi = 0;            // printer dots per inch (horizontal)
    int ScreenDpi = 96;
    int PrintableWidth = 0;   // printer pixels; 0 when unknown
    int PrintableHeight = 0;
    int PaperWidthMm = 210;   // as the paper lies (landscape swapped)
    int PaperHeightMm = 297;
};

int MillimetresToPixels(const TPrintDevice& device, int mm);
// Screen dots per inch over the printer's; 1 when the printer is unknown.
double ScreenToPrinterRatio(const TPrintDevice& device);

struct TPaperOffsets {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
// The unprintable border in printer pixels, split evenly.
TPaperOffsets PaperOffsets(const TPrintDevice& device);

struct TPrintFontMetrics {
    int RowHeight = 0;     // text height plus external leading
    int AverageWidth = 0;
};

struct TPageGeometry {
    int PageWidth = 0, PageHeight = 0;  // printable area
    int TextLeft = 0, TextTop = 0, TextRight = 0, TextBottom = 0;
    int HeaderTop = 0, HeaderHeight = 0;  // empty band: height 0
    int FooterTop = 0, FooterHeight = 0;
    int StripWidth = 0;  // line numbers at the left of each column
    int ColumnWidth = 0;
    int ColumnShift = 0;  // from one column to the next
    int ColumnCount = 1;
    int RowsTop = 0, RowsBottom = 0;
    int RowAdvance = 1;
    long long WrapWidth = 0;
    // Rows that fit one column (at least one).
    int RowsPerColumn() const;
    // Left edge of the text of column k (0-based), after its strip.
    int ColumnLeft(int k) const { return TextLeft + StripWidth + k * ColumnShift; }
};

// Decimal digits of n (1 for 0).
int DecimalDigits(long long n);

TPageGeometry ComputePageGeometry(const TStringsPrinter& printer, const TPrintDevice& device,
                                  const TPrintFontMetrics& font, std::size_t lineCount, bool italic);

// "%f" file name, "%F" without folder, "%p" page, "%y" "%m" "%d" date, "%t"
// time (H:MM:SS); "%" and any other character gives that character, and a
// lone "%" at the end is dropped.
std::string FormatHeaderText(std::string_view format, std::string_view fileName, int page, const TClock& clock);

// The laid-out rows and where each page begins.
struct TPagePlan {
    struct TPageStart {
        std::size_t Row = 0;      // first row index of the page (into Rows)
        int LineCounter = 0;      // last line number printed before the page
        int PageNumber = 0;
    };
    std::vector<TPrintRow> Rows;
    std::vector<TPageStart> Pages;  // at least one
};

// Whether row r is printed at all (line range).
bool RowInLineRange(const TStringsPrinter& printer, const TPrintRow& row);

// Lays out every line and splits the rows into pages. `keepGoing(done,
// total)` is asked after each line; false stops and returns false.
bool PlanPages(const TStringsPrinter& printer, TLineList lines, const TPageGeometry& geometry,
               const TPrintMeasure& measure, TPagePlan& plan,
               const std::function<bool(std::size_t, std::size_t)>& keepGoing);

// The place of each row of page `page`: visit(rowIndex, column, y, number)
// where number is the line number to print or 0 for none.
void ForEachPageRow(const TStringsPrinter& printer, const TPagePlan& plan, const TPageGeometry& geometry,
                    std::size_t page,
                    const std::function<void(std::size_t row, int column, int y, int number)>& visit);

// The page numbers sent to the printer, by page index: -1 for a page not
// printed (outside the page range, below 1, or of the wrong parity).
std::vector<int> PrintedPageNumbers(const TStringsPrinter& printer, std::size_t pageCount);

}  // namespace quodle
