// libFuzzer target for the page layout of printing: print settings as a
// damaged settings file may hold them, a device and a font of any size,
// character widths of any kind and lines of any bytes. Every line must come
// out whole in its rows (blanks aside: a tab may be cut at a row's end), no
// row wider than the wrap width unless it holds one character (blanks at its
// end aside), every
// printed row placed once on a page in a column of the page, line numbers
// counting up one by one, and the headers made of any format.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "base/ShiftJis.h"
#include "print/PrintLayout.h"

namespace {

using namespace quodle;

constexpr const char* kNumbers[] = {
    "ColumnCount", "ColumnSpace", "FirstLineNumber", "FirstPageNumber", "FooterAlign", "HeaderAlign",
    "LastLine",    "LastPage",    "LineNumber",      "LineRangeOption", "MarginBottom",  "MarginLeft",
    "MarginRight", "MarginTop",   "MarginLine",      "PageOption",      "PrintMode",     "RangeOption",
    "StartLine",   "StartPage",   "TabSpaceCount",   "WordBreak",       "Font.Style",    "Font.Size",
};

// A settings blob with numbers anywhere in their type's range, and texts of
// any bytes for the header, the footer and the file name.
std::string Settings(FuzzedDataProvider& in) {
    std::string stored;
    for (const char* name : kNumbers)
        if (in.ConsumeBool()) stored += std::string(name) + "=" + std::to_string(in.ConsumeIntegral<int>()) + "\n";
    for (const char* name : {"Header", "Footer", "FileName"})
        if (in.ConsumeBool()) stored += std::string(name) + "=" + in.ConsumeRandomLengthString(40) + "\n";
    return stored;
}

class TFixedClock : public TClock {
public:
    TLocalTime Now() const override { return {2026, 12, 9, 2, 8, 21}; }
};

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c != ' ' && c != '\t') out += c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TStringsPrinter printer = TStringsPrinter::Design();
    printer.Restore(Settings(in));
    TPrintDevice device;
    device.Dpi = in.ConsumeIntegralInRange(0, 9600);
    device.ScreenDpi = in.ConsumeIntegralInRange(1, 600);
    device.PrintableWidth = in.ConsumeIntegralInRange(0, 200000);
    device.PrintableHeight = in.ConsumeIntegralInRange(0, 200000);
    device.PaperWidthMm = in.ConsumeIntegralInRange(1, 2000);
    device.PaperHeightMm = in.ConsumeIntegralInRange(1, 2000);
    TPrintFontMetrics font;
    font.RowHeight = in.ConsumeIntegralInRange(0, 100000);
    font.AverageWidth = in.ConsumeIntegralInRange(0, 20000);
    // Additive widths, a byte at a time, zero allowed.
    std::array<long long, 256> widths{};
    const int widthKind = in.ConsumeIntegralInRange(0, 2);
    for (long long& w : widths) w = widthKind == 0 ? 10 : in.ConsumeIntegralInRange(0, widthKind == 1 ? 3 : 4000);
    const TPrintMeasure measure = [&](std::string_view bytes) {
        long long total = 0;
        for (const char c : bytes) total += widths[static_cast<unsigned char>(c)];
        return total;
    };
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const std::vector<std::string> lines =
        fuzz::SplitAtLineFeeds(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());

    const TPageGeometry geometry = ComputePageGeometry(printer, device, font, lines.size(), in.ConsumeBool());
    TPagePlan plan;
    if (!PlanPages(printer, lines, geometry, measure, plan, nullptr)) std::abort();
    // Each line whole in its rows, in order; rows no wider than allowed.
    std::size_t r = 0;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        std::string joined;
        do {
            if (r >= plan.Rows.size() || plan.Rows[r].Line != static_cast<int>(line)) std::abort();
            const std::string& text = plan.Rows[r].Text;
            if (text.empty() && !lines[line].empty()) std::abort();
            // Blanks at a row's end print as nothing (a tab alone may be
            // wider than the row); a row holds at least one character.
            const std::string_view shown = std::string_view(text).substr(0, text.find_last_not_of(' ') + 1);
            if (!shown.empty() && measure(shown) > geometry.WrapWidth && shown.size() > CharLengthAt(shown, 0)) std::abort();
            joined += text;
        } while (plan.Rows[r++].Wrapped);
        if (WithoutBlanks(joined) != WithoutBlanks(lines[line])) std::abort();
    }
    if (r != plan.Rows.size() || plan.Pages.empty()) std::abort();
    // Every printed row once, on its page, numbered one after another.
    std::size_t next = 0;
    int lastNumber = printer.FirstLineNumber() - 1;
    for (std::size_t page = 0; page < plan.Pages.size(); ++page) {
        ForEachPageRow(printer, plan, geometry, page, [&](std::size_t row, int column, int y, int number) {
            while (next < plan.Rows.size() && !RowInLineRange(printer, plan.Rows[next])) ++next;
            if (row != next++ || column < 0 || column >= geometry.ColumnCount || y < geometry.RowsTop) std::abort();
            if (number != 0) {
                if (number != lastNumber + 1) std::abort();
                lastNumber = number;
            }
        });
        FormatHeaderText(printer.Header(), printer.FileName(), plan.Pages[page].PageNumber, TFixedClock());
    }
    while (next < plan.Rows.size() && !RowInLineRange(printer, plan.Rows[next])) ++next;
    if (next != plan.Rows.size()) std::abort();
    const std::vector<int> numbers = PrintedPageNumbers(printer, plan.Pages.size());
    if (numbers.size() != plan.Pages.size()) std::abort();
    for (const int n : numbers)
        if (n != -1 && n < 1) std::abort();
    return 0;
}
