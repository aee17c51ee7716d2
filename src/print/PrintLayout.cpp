#include "print/PrintLayout.h"

#include <algorithm>
#include <cmath>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

int TabStopWidth(std::size_t column, int tab) { return tab - static_cast<int>(column % static_cast<std::size_t>(tab)); }

// The expanded text with its kinds and, for every expanded byte, the
// source byte of the character it came from.
struct TExpansion {
    std::string Text;
    std::string Kinds;
    std::vector<std::uint32_t> Source;

    TExpansion(std::string_view text, int tab) {
        tab = std::max(tab, 1);
        Text.reserve(text.size());
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t length = CharLengthAt(text, i);
            const auto b = static_cast<unsigned char>(text[i]);
            if (b == '\t') {
                const int width = TabStopWidth(Text.size(), tab);
                for (int k = 0; k < width; ++k) Push(' ', k == 0 ? '2' : '3', i);
            } else if (length == 2) {
                Push(text[i], '4', i);
                Push(text[i + 1], '5', i);
            } else {
                Push(text[i], b > 0x20 ? '1' : '2', i);
            }
            i += length;
        }
    }
    void Push(char c, char kind, std::size_t source) {
        Text += c;
        Kinds += kind;
        Source.push_back(static_cast<std::uint32_t>(source));
    }
    // A row may end before p: not inside a character or a tab's expansion.
    bool Boundary(std::size_t p) const { return p == 0 || p >= Text.size() || (Kinds[p] != '5' && Kinds[p] != '3'); }
    std::size_t Next(std::size_t p) const {
        do ++p;
        while (!Boundary(p));
        return p;
    }
    std::size_t Prev(std::size_t p) const {
        do --p;
        while (!Boundary(p));
        return p;
    }
    // A word break may fall after a blank or a double-byte character.
    bool BreakAfter(std::size_t p) const { return p > 0 && (Kinds[p - 1] == '2' || Kinds[p - 1] == '3' || Kinds[p - 1] == '5'); }
};

// Longer lines are wrapped a window at a time, the window growing while a
// row would take all of it, so the rows are the same as from the whole line.
constexpr std::size_t kWrapWindow = 4096;

}  // namespace

std::string ExpandPrintTabs(std::string_view text, int tab) { return TExpansion(text, tab).Text; }
std::string PrintKinds(std::string_view text, int tab) { return TExpansion(text, tab).Kinds; }

void WrapPrintLine(std::string_view line, int lineIndex, const TPrintWrap& wrap, const TPrintMeasure& measure,
                   std::vector<TPrintRow>& rows) {
    std::size_t from = 0;
    std::size_t window = kWrapWindow;
    for (;;) {
        std::string_view rest = line.substr(from);
        const bool windowed = rest.size() > window;
        if (windowed) {
            std::size_t cut = 0;
            while (cut < window) cut += CharLengthAt(rest, cut);
            rest = rest.substr(0, cut);
        }
        const TExpansion x(rest, wrap.TabSpaceCount);
        const long long width = x.Text.empty() ? 0 : measure(x.Text);
        if (!windowed && (x.Text.empty() || width <= wrap.Width)) {
            rows.push_back({x.Text, lineIndex, false});
            return;
        }
        auto prefixWidth = [&](std::size_t n) { return measure(std::string_view(x.Text).substr(0, n)); };
        const std::size_t size = x.Text.size();
        // Start from an even share of the line per row, then fit exactly.
        const long long needed = wrap.Width > 0 ? (width + wrap.Width - 1) / wrap.Width : static_cast<long long>(size);
        std::size_t n = std::max<std::size_t>(1, size / static_cast<std::size_t>(std::max(1LL, needed)));
        while (n > 0 && !x.Boundary(n)) --n;
        const std::size_t first = x.Next(0);
        n = std::max(n, first);
        while (n < size && prefixWidth(n) < wrap.Width) n = x.Next(n);
        while (n > first && prefixWidth(n) > wrap.Width) n = x.Prev(n);
        if (windowed && n >= size) {
            window *= 2;
            continue;
        }
        std::size_t rowEnd = n;
        std::size_t consumed = n < size ? x.Source[n] : rest.size();
        // A break at a blank or after a blank or a double-byte character is
        // a word break already.
        const bool wordBoundary = n < size && (x.BreakAfter(n) || x.Kinds[n] == '2');
        if (wrap.WordBreak && n < size && !wordBoundary) {
            std::size_t m = n;
            while (m > 0 && !(x.Boundary(m) && x.BreakAfter(m))) --m;
            if (m > 0) rowEnd = m, consumed = x.Source[m];
        } else if (n < size && rest[x.Source[n]] == '\t') {
            // A tab at the break goes with this row, with the part of its
            // expansion that still fits.
            std::size_t e = n;
            while (e < size && (e == n || x.Kinds[e] == '3') && prefixWidth(e + 1) <= wrap.Width) ++e;
            if (e > n) rowEnd = e, consumed = x.Source[n] + 1;
        }
        from += consumed;
        const bool more = from < line.size();
        rows.push_back({x.Text.substr(0, rowEnd), lineIndex, more});
        if (!more) return;
    }
}

int MillimetresToPixels(const TPrintDevice& device, int mm) {
    const int dpi = device.Dpi > 0 ? device.Dpi : device.ScreenDpi;
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

double ScreenToPrinterRatio(const TPrintDevice& device) {
    return device.Dpi > 0 ? static_cast<double>(device.ScreenDpi) / device.Dpi : 1.0;
}

TPaperOffsets PaperOffsets(const TPrintDevice& device) {
    if (device.Dpi <= 0 || device.PrintableWidth <= 0 || device.PrintableHeight <= 0) return {};
    const int paperWidth = MillimetresToPixels(device, device.PaperWidthMm);
    const int paperHeight = MillimetresToPixels(device, device.PaperHeightMm);
    TPaperOffsets o;
    o.Left = std::max(0, (paperWidth - device.PrintableWidth) / 2);
    o.Top = std::max(0, (paperHeight - device.PrintableHeight) / 2);
    o.Right = std::max(0, paperWidth - device.PrintableWidth - o.Left);
    o.Bottom = std::max(0, paperHeight - device.PrintableHeight - o.Top);
    return o;
}

int DecimalDigits(long long n) {
    int digits = 1;
    for (n = n < 0 ? -n : n; n >= 10; n /= 10) ++digits;
    return digits;
}

int TPageGeometry::RowsPerColumn() const { return std::max(1, (RowsBottom - RowsTop) / std::max(1, RowAdvance)); }

TPageGeometry ComputePageGeometry(const TStringsPrinter& printer, const TPrintDevice& device,
                                  const TPrintFontMetrics& font, std::size_t lineCount, bool italic) {
    TPageGeometry g;
    auto mm = [&](int value) { return MillimetresToPixels(device, value); };
    g.PageWidth = device.PrintableWidth > 0 ? device.PrintableWidth : mm(device.PaperWidthMm);
    g.PageHeight = device.PrintableHeight > 0 ? device.PrintableHeight : mm(device.PaperHeightMm);
    const TPaperOffsets offsets = PaperOffsets(device);
    g.TextLeft = std::max(0, mm(printer.MarginLeft()) - offsets.Left);
    g.TextTop = std::max(0, mm(printer.MarginTop()) - offsets.Top);
    g.TextRight = std::min(g.PageWidth, g.PageWidth + offsets.Right - mm(printer.MarginRight()));
    g.TextBottom = std::min(g.PageHeight, g.PageHeight + offsets.Bottom - mm(printer.MarginBottom()));
    const int band = 3 * font.RowHeight / 2;
    g.HeaderTop = g.TextTop;
    g.HeaderHeight = printer.HeaderAlign() != haNone && !printer.Header().empty() ? band : 0;
    g.FooterHeight = printer.FooterAlign() != haNone && !printer.Footer().empty() ? band : 0;
    g.FooterTop = g.TextBottom - g.FooterHeight;
    g.StripWidth = printer.LineNumber() ? (DecimalDigits(static_cast<long long>(lineCount)) + 2) * font.AverageWidth : 0;
    g.ColumnCount = printer.ColumnCount();
    const int space = mm(printer.ColumnSpace());
    g.ColumnWidth =
        (g.TextRight - (g.TextLeft + g.StripWidth) - (space + g.StripWidth) * (g.ColumnCount - 1)) / g.ColumnCount;
    g.ColumnShift = space + g.StripWidth + g.ColumnWidth;
    g.RowsTop = g.HeaderTop + g.HeaderHeight;
    g.RowsBottom = g.FooterTop;
    g.RowAdvance = std::max(1, font.RowHeight + mm(printer.MarginLine()));
    const bool slanted = italic || printer.Font().Style.Contains(fsBold) || printer.Font().Style.Contains(fsItalic);
    g.WrapWidth = g.ColumnWidth - (slanted ? font.AverageWidth : 0);
    return g;
}

std::string FormatHeaderText(std::string_view format, std::string_view fileName, int page, const TClock& clock) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (++i == format.size()) break;
        switch (format[i]) {
        case 'f': out += fileName; break;
        case 'F': {
            const std::size_t slash = fileName.find_last_of("/\\");
            out += slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
            break;
        }
        case 'p': out += std::to_string(page); break;
        case 'y': out += std::to_string(clock.Now().Year); break;
        case 'm': out += std::to_string(clock.Now().Month); break;
        case 'd': out += std::to_string(clock.Now().Day); break;
        case 't': {
            const TLocalTime t = clock.Now();
            char text[32];
            std::snprintf(text, sizeof text, "%d:%02d:%02d", t.Hour, t.Minute, t.Second);
            out += text;
            break;
        }
        default: out += format[i]; break;
        }
    }
    return out;
}

bool RowInLineRange(const TStringsPrinter& printer, const TPrintRow& row) {
    if (printer.LineRangeOption() != roLimited) return true;
    const int line = row.Line + 1;
    return line >= printer.StartLine() && line <= printer.LastLine();
}

namespace {

int FirstPageCounter(const TStringsPrinter& printer) {
    return printer.RangeOption() == roLimited ? printer.FirstPageNumber() - printer.StartPage() + 1
                                              : printer.FirstPageNumber();
}

bool StartsLine(const std::vector<TPrintRow>& rows, std::size_t r) { return r == 0 || !rows[r - 1].Wrapped; }

}  // namespace

bool PlanPages(const TStringsPrinter& printer, TLineList lines, const TPageGeometry& geometry,
               const TPrintMeasure& measure, TPagePlan& plan,
               const std::function<bool(std::size_t, std::size_t)>& keepGoing) {
    plan = {};
    const TPrintWrap wrap{geometry.WrapWidth, printer.TabSpaceCount(), printer.WordBreak()};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (keepGoing && !keepGoing(i, lines.size())) return false;
        WrapPrintLine(lines[i], static_cast<int>(i), wrap, measure, plan.Rows);
    }
    const std::size_t perPage =
        static_cast<std::size_t>(geometry.RowsPerColumn()) * static_cast<std::size_t>(geometry.ColumnCount);
    int counter = printer.FirstLineNumber() - 1;
    int page = FirstPageCounter(printer);
    plan.Pages.push_back({0, counter, page});
    std::size_t placed = 0;
    for (std::size_t r = 0; r < plan.Rows.size(); ++r) {
        if (!RowInLineRange(printer, plan.Rows[r])) continue;
        if (placed == perPage) {
            plan.Pages.push_back({r, counter, ++page});
            placed = 0;
        }
        ++placed;
        if (StartsLine(plan.Rows, r)) ++counter;
    }
    return true;
}

void ForEachPageRow(const TStringsPrinter& printer, const TPagePlan& plan, const TPageGeometry& geometry,
                    std::size_t page,
                    const std::function<void(std::size_t row, int column, int y, int number)>& visit) {
    const std::size_t begin = plan.Pages[page].Row;
    const std::size_t end = page + 1 < plan.Pages.size() ? plan.Pages[page + 1].Row : plan.Rows.size();
    const int perColumn = geometry.RowsPerColumn();
    int counter = plan.Pages[page].LineCounter;
    int slot = 0;
    for (std::size_t r = begin; r < end; ++r) {
        if (!RowInLineRange(printer, plan.Rows[r])) continue;
        int number = 0;
        if (StartsLine(plan.Rows, r)) {
            ++counter;
            if (printer.LineNumber()) number = counter;
        }
        visit(r, slot / perColumn, geometry.RowsTop + (slot % perColumn) * geometry.RowAdvance, number);
        ++slot;
    }
}

std::vector<int> PrintedPageNumbers(const TStringsPrinter& printer, std::size_t pageCount) {
    std::vector<int> numbers;
    const int first = FirstPageCounter(printer);
    for (std::size_t i = 0; i < pageCount; ++i) {
        const int index = static_cast<int>(i);
        const int number = first + index;
        const bool inRange =
            printer.RangeOption() == roWhole || (index + 1 >= printer.StartPage() && index + 1 <= printer.LastPage());
        const bool parity = printer.PageOption() == poBoth || (printer.PageOption() == poOdd && number % 2 == 1) ||
                            (printer.PageOption() == poEven && number % 2 == 0);
        numbers.push_back(inRange && number >= 1 && parity ? number : -1);
    }
    return numbers;
}

}  // namespace quodle
