// The hit: the match a search found, shown the way the editor's HitStyle
// says — selected, drawn in the hit colours, or under a wide caret.
#include <QPainter>

#include "base/qt/QtColor.h"
#include "editor/qt/Editor.h"

namespace quodle {

void TEditor::SetHitStyle(THitStyle style) {
    if (style == hitStyle_) return;
    ClearHit();
    hitStyle_ = style;
}

void TEditor::ShowHit(TRowOffset start, std::int64_t length) {
    ClearHit();
    const TRowOffset end = PositionOfTextOffset(*rows_, start.Offset + length, start.Row);
    if (hitStyle_ == hsSelect) {
        SetSelectionMode(selStream);
        Select(CellOfOffset(start), CellOfOffset(end));
        return;
    }
    Deselect();
    const TCellPos cell = CellOfOffset(start);
    SetCaret(cell.Row, cell.Col);
    hitStart_ = start;
    hitLength_ = std::max<std::int64_t>(0, length);
    hitCell_ = {row_, col_};
    InvalidateRows(start.Row, end.Row);
}

void TEditor::SelectHit() {
    if (hitLength_ == 0) return;
    const TRowOffset start = hitStart_;
    const TRowOffset end = PositionOfTextOffset(*rows_, start.Offset + hitLength_, start.Row);
    ClearHit();
    SetSelectionMode(selStream);
    Select(CellOfOffset(start), CellOfOffset(end));
}

void TEditor::ClearHit() {
    if (hitLength_ == 0) return;
    const int last = PositionOfTextOffset(*rows_, hitStart_.Offset + hitLength_, hitStart_.Row).Row;
    hitLength_ = 0;
    InvalidateRows(hitStart_.Row, last);
}

std::pair<int, int> TEditor::HitBytesOfRow(int row) const {
    if (hitLength_ == 0 || row < hitStart_.Row) return {0, 0};
    std::int64_t offset = hitStart_.Offset, left = hitLength_;
    for (int r = hitStart_.Row; r < row && left > 0; ++r) {
        const std::int64_t bytes = static_cast<std::int64_t>(rows_->View(r).size()) + (RowEndingOf(r) == reBreak ? 2 : 0);
        left -= std::max<std::int64_t>(0, bytes - offset);
        offset = 0;
    }
    if (left <= 0 || row >= rows_->Count()) return {0, 0};
    const auto size = static_cast<std::int64_t>(rows_->View(row).size());
    return {static_cast<int>(std::min(offset, size)), static_cast<int>(std::min(offset + left, size))};
}

void TEditor::PaintHit(QPainter& p, int row, int y) {
    if (hitStyle_ != hsDraw) return;
    const auto [from, to] = HitBytesOfRow(row);
    if (from >= to) return;
    const auto* fountain = dynamic_cast<const TEditorFountain*>(&ActiveFountain());
    const TEditorColor& hit = (fountain ? *fountain : *view_).Colors().Hit();
    // Hit colours left unset show as the selection does.
    const QColor fore = ToQColor(hit.Color(), ToQColor(select_.Color, Qt::white));
    const QColor back = ToQColor(hit.BkColor(), ToQColor(select_.BkColor, QColor(0, 0, 128)));
    RedrawChars(p, row, y, from, to, fore, back, hit.Style().Contains(fsBold));
}

}  // namespace quodle
