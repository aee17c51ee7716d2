// The extra marks of TEditorEx: row tints, blank and tab symbols, find-string
// occurrences, the bracket pair at the caret and the vertical lines.
#include <QPainter>
#include <algorithm>

#include "base/ShiftJis.h"
#include "base/qt/QtColor.h"
#include "editor/EditorCaret.h"
#include "editor/RowMarks.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

TColor TEditorEx::RowTintOf(int row) const {
    if (row > quodle::LastCaretRow(Rows())) return clNone;
    return RowTint(exMarks_, Rows().RowMarksOf(row), row == Row(), DisplayedRowNumber(row, Leftbar().ZeroBase));
}

void TEditorEx::PaintRowOverlay(QPainter& p, int row, int y) {
    if (exMarks_.SpaceMark.Visible || exMarks_.DBSpaceMark.Visible || exMarks_.TabMark.Visible)
        PaintBlankMarks(p, row, y);
    if (exMarks_.FindMark.Visible && !findString_.empty() && findMarkSearch_) PaintFindMarks(p, row, y);
    if (exMarks_.ParenMark.Visible) PaintParenMark(p, row, y);
}

void TEditorEx::PaintBlankMarks(QPainter& p, int row, int y) {
    const std::string_view text = Rows().View(row);
    const TCellLayout layout = Layout();
    const int cell = CellWidth(), height = RowHeight();
    const int textLeft = TextLeft();
    const int visibleEnd = std::min(TopCol() + VisibleColCount() + 1, kMaxMappedCells);
    p.save();
    p.setClipRect(QRect(textLeft, y, viewport()->width() - textLeft, height));
    p.setBrush(Qt::NoBrush);
    int column = 0;
    for (std::size_t i = 0; i < text.size() && column < visibleEnd;) {
        const std::size_t length = CharLengthAt(text, i);
        const auto b = static_cast<unsigned char>(text[i]);
        const int cells = b == '\t' ? TabWidthAt(column, layout) : static_cast<int>(length);
        const int x = textLeft + (column - TopCol()) * cell;
        if (column + cells > TopCol()) {
            if (b == ' ' && exMarks_.SpaceMark.Visible) {
                p.setPen(ToQColor(exMarks_.SpaceMark.Color, Qt::gray));
                p.drawRect(x, y + 1, cell - 1, height - 3);
            } else if (length == 2 && b == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40 &&
                       exMarks_.DBSpaceMark.Visible) {
                p.setPen(ToQColor(exMarks_.DBSpaceMark.Color, Qt::gray));
                const int right = x + 2 * cell - 1, bottom = y + height - 2;
                if (column >= TopCol()) {
                    p.drawRect(x, y + 1, 2 * cell - 1, height - 3);
                } else {
                    // Only its second cell is in view: the frame is open on the left.
                    p.drawLine(x + cell, y + 1, right, y + 1);
                    p.drawLine(right, y + 1, right, bottom);
                    p.drawLine(x + cell, bottom, right, bottom);
                }
            } else if (b == '\t' && exMarks_.TabMark.Visible) {
                p.setPen(ToQColor(exMarks_.TabMark.Color, Qt::gray));
                const int middle = y + height / 2;
                const int tip = x + cell - 1;
                const int head = std::max(3, height / 8);
                p.drawLine(x + 1, middle, tip, middle);
                p.drawLine(tip, middle, tip - head, middle - head);
                p.drawLine(tip, middle, tip - head, middle + head);
            }
        }
        column += cells;
        i += length;
    }
    p.restore();
}

void TEditorEx::PaintFindMarks(QPainter& p, int row, int y) {
    const int first = Rows().LineStartRow(row);
    int rowStart = 0;
    for (int r = first; r < row; ++r) rowStart += static_cast<int>(Rows().View(r).size());
    const int rowEnd = rowStart + static_cast<int>(Rows().View(row).size());
    std::vector<std::pair<int, int>> hits;
    findMarkSearch_(LineString(row), findString_, exSearchOptions_, hits);
    const QColor fore = ToQColor(exMarks_.Hit.Color, ToQColor(font_.Color, Qt::black));
    const QColor back = ToQColor(exMarks_.Hit.BkColor, ToQColor(color_, Qt::white));
    const QColor underline = ToQColor(exMarks_.FindMark.Color, Qt::gray);
    const TEditorAttributeArray map(Rows().View(row), Layout());
    const int textLeft = TextLeft();
    for (const auto& [begin, end] : hits) {
        const int from = std::max(begin, rowStart) - rowStart;
        const int to = std::min(end, rowEnd) - rowStart;
        if (from >= to) continue;
        RedrawChars(p, row, y, from, to, fore, back, exMarks_.Hit.Style.Contains(fsBold));
        const int x0 = std::max(textLeft, textLeft + (map.OffsetToColumn(from) - TopCol()) * CellWidth());
        const int x1 = textLeft + (map.OffsetToColumn(to) - TopCol()) * CellWidth();
        if (x1 > x0) p.fillRect(x0, y + RowHeight() - 1, x1 - x0, 1, underline);
    }
}

const TEditorEx::TBracketPair& TEditorEx::BracketPair() {
    if (!bracketPair_) {
        bracketPair_ = TBracketPair{};
        int row = Row(), offset = CaretCol();
        if (row < Rows().Count() && offset < static_cast<int>(Rows().View(row).size()) &&
            FindMatchingBracket(row, offset))
            *bracketPair_ = {Row(), CaretCol(), row, offset};
    }
    return *bracketPair_;
}

void TEditorEx::PaintParenMark(QPainter& p, int row, int y) {
    const TBracketPair& pair = BracketPair();
    const QColor back = ToQColor(exMarks_.ParenMark.Color, Qt::gray);
    for (const auto& [r, offset] : {std::pair{pair.Row1, pair.Offset1}, std::pair{pair.Row2, pair.Offset2}}) {
        if (r != row) continue;
        const int length = static_cast<int>(CharLengthAt(Rows().View(row), static_cast<std::size_t>(offset)));
        RedrawChars(p, row, y, offset, offset + length, Qt::red, back, true);
    }
}

void TEditorEx::PaintTextOverlay(QPainter& p) {
    const int textLeft = TextLeft(), textTop = TextTop();
    for (const TVerticalLine& line : verticalLines_) {
        if (!line.Visible || line.Position() < TopCol() || line.Position() > TopCol() + VisibleColCount()) continue;
        const int x = textLeft + (line.Position() - TopCol()) * CellWidth();
        p.fillRect(x, textTop, 1, viewport()->height() - textTop, ToQColor(line.Color, Qt::black));
    }
}

}  // namespace quodle
