#include "editor/EditorLayout.h"

#include <algorithm>

#include "editor/RowMarks.h"

namespace quodle {

namespace {
constexpr int kMaxLeftbarDigits = 8;
constexpr int kLeftbarEdgeWidth = 2;
constexpr int kRulerHeight = 10;  // one more with its edge
}  // namespace

int TEditorGeometry::VisibleColumns(int windowWidth, int scrollBarWidth) const {
    const int room = windowWidth - TextLeft - CellWidth / 2 - scrollBarWidth;
    return std::max(1, room / std::max(1, CellWidth));
}

TEditorGeometry ComputeGeometry(const TLayoutSettings& s, const TFontCell& font, int largestNumber) {
    const TEditorMarginProp margin = s.Margin.Clamped();
    const TEditorImagebarProp imagebar = s.Imagebar.Clamped();
    const TEditorLeftbarProp leftbar = s.Leftbar.Clamped();
    const TEditorRulerProp ruler = s.Ruler.Clamped();
    TEditorGeometry g;
    g.CellWidth = std::max(1, font.AverageWidth + margin.Character);
    g.RowHeight = std::max(1, font.Height + font.ExternalLeading + margin.Line + (s.Underline ? 1 : 0));
    if (imagebar.Visible)
        g.ImagebarWidth = imagebar.LeftMargin + imagebar.DigitWidth + imagebar.MarkWidth + imagebar.RightMargin;
    int digits = 1;
    for (int n = std::max(0, largestNumber); n >= 10 && digits < kMaxLeftbarDigits; n /= 10) ++digits;
    g.LeftbarDigits = std::clamp(digits, leftbar.Column, kMaxLeftbarDigits);
    if (leftbar.Visible)
        g.LeftbarWidth = leftbar.LeftMargin + g.LeftbarDigits * g.CellWidth + leftbar.RightMargin + kLeftbarEdgeWidth;
    if (ruler.Visible) g.RulerHeight = kRulerHeight + (ruler.Edge ? 1 : 0);
    g.TextLeft = margin.Left + g.ImagebarWidth + g.LeftbarWidth;
    g.TextTop = margin.Top + g.RulerHeight;
    return g;
}

int LastTextRow(const TEditorStringList& rows) {
    const int count = rows.Count();
    if (count == 0) return 0;
    return rows.RowEnding(count - 1) == reNoBreak ? count - 1 : count;
}

int LeftbarLargestNumber(const TEditorLeftbarProp& leftbar, const TEditorStringList& rows) {
    const int last = LastTextRow(rows);
    const int index = leftbar.ShowNumberMode == nmLine ? rows.RowToLine(last) : last;
    return leftbar.ZeroBase ? index : index + 1;
}

std::string LeftbarNumber(const TEditorLeftbarProp& leftbar, const TEditorStringList& rows, int row, int digits) {
    if (!leftbar.ShowNumber || row < 0 || row > LastTextRow(rows)) return {};
    int index = row;
    if (leftbar.ShowNumberMode == nmLine) {
        if (row > 0 && row <= rows.Count() && rows.RowEnding(row - 1) == reWrapped) return {};
        index = rows.RowToLine(row);
    }
    std::string number = std::to_string(leftbar.ZeroBase ? index : index + 1);
    if (static_cast<int>(number.size()) < digits)
        number.insert(0, static_cast<std::size_t>(digits) - number.size(), leftbar.ZeroLead ? '0' : ' ');
    return number;
}

std::vector<TMarkPicture> ImagebarPictures(std::uint16_t marks, const TEditorImagebarProp& bar) {
    const TEditorImagebarProp imagebar = bar.Clamped();
    std::vector<TMarkPicture> pictures;
    for (int mark = 0; mark < kNumberedMarkCount; ++mark) {
        if (marks & MarkBit(mark)) {
            pictures.push_back({true, mark, imagebar.LeftMargin});
            break;
        }
    }
    for (int mark = kNumberedMarkCount; mark < kRowMarkCount; ++mark)
        if (marks & MarkBit(mark))
            pictures.push_back({false, mark - kNumberedMarkCount, imagebar.LeftMargin + imagebar.DigitWidth});
    return pictures;
}

}  // namespace quodle
