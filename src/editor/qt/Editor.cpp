#include "editor/qt/Editor.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace quodle {

namespace {
// Columns beyond the mapped cells are not reachable; a double-byte character
// that starts on the last mapped cell may push the caret one further.
constexpr int kMaxCol = kMaxMappedCells;
}  // namespace

TEditor::TEditor(QWidget* parent) : QAbstractScrollArea(parent), rows_(std::make_shared<TEditorScreenStrings>()) {
    rows_->Attach(this);
    lines_ = std::make_unique<TEditorStrings>(*rows_, this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    UpdateMetrics();
}

TEditor::~TEditor() {
    if (fountain_) fountain_->Unsubscribe(this);
    // The row list outlives this editor when another one still views it.
    lines_.reset();
    rows_->Detach(this);
}

void TEditor::AttachRowList(std::shared_ptr<TEditorScreenStrings> rows) {
    if (!rows || rows == rows_) return;
    lines_.reset();
    rows_->Detach(this);
    rows_ = std::move(rows);
    rows_->Attach(this);
    lines_ = std::make_unique<TEditorStrings>(*rows_, this);
    topRow_ = std::clamp(topRow_, 0, rows_->Count());
    SetCaret(std::min(row_, LastCaretRow()), col_);
    UpdateScrollBars();
    InvalidateAll();
}

void TEditor::SetFountain(std::shared_ptr<TFountain> fountain) {
    if (fountain_ == fountain) return;
    if (fountain_) fountain_->Unsubscribe(this);
    fountain_ = std::move(fountain);
    if (fountain_) fountain_->Subscribe(this, [this](TNotifyPersistent&) { FountainChanged(); });
    FountainChanged();
}

void TEditor::FountainChanged() {
    // A parser copies its fountain's settings when created.
    parser_ = fountain_ ? fountain_->CreateParser() : nullptr;
    // The first attached editor supplies the parser of the row states.
    if (rows_->Owner() == this) rows_->UpdateAllStates();
    viewport()->update();
}

TCellLayout TEditor::Layout() const { return TCellLayout{caret_.TabSpaceCount, 0}; }

TEditorAttributeArray TEditor::CellMap(int row) const {
    if (row < 0 || row >= rows_->Count()) return {};
    return TEditorAttributeArray(rows_->View(row), Layout());
}

std::string TEditor::RowString(int row) const {
    return row >= 0 && row < rows_->Count() ? rows_->Get(row) : std::string();
}

TRowEnding TEditor::RowEndingOf(int row) const {
    return row >= 0 && row < rows_->Count() ? rows_->RowEnding(row) : reInvalid;
}

int TEditor::RowWidth(int row) const { return CellMap(row).Width(); }

int TEditor::LastCaretRow() const {
    const int count = rows_->Count();
    if (count == 0) return 0;
    return rows_->RowEnding(count - 1) == reNoBreak ? count - 1 : count;
}

int TEditor::LineIndexOfRow(int row) const {
    if (!rows_->WordWrap()) return std::min(row, rows_->Count());
    int line = 0;
    const int last = std::min(row, rows_->Count());
    for (int r = 0; r < last; ++r)
        if (rows_->RowEnding(r) != reWrapped) ++line;
    return line;
}

int TEditor::OffsetInLine(int row, int col) const {
    if (row < 0 || col < 0 || row > rows_->Count()) return -1;
    if (row == rows_->Count()) return 0;
    const TEditorAttributeArray map = CellMap(row);
    const int start = map.CharStart(std::min(col, map.Width()));
    int offset = std::min(map.ColumnToOffset(start), static_cast<int>(rows_->View(row).size()));
    for (int r = rows_->LineStartRow(row); r < row; ++r) offset += static_cast<int>(rows_->View(r).size());
    return offset;
}

int TEditor::AdjustCol(int row, int col, int direction) const {
    col = std::clamp(col, 0, kMaxCol + 1);
    const TEditorAttributeArray map = CellMap(row);
    if (!caret_.FreeCaret && col > map.Width()) col = map.Width();
    if (map.At(col) == kCellDoubleSecond) col += direction < 0 ? -1 : 1;
    while (map.At(col) == kCellTabFill) col += direction < 0 ? -1 : 1;
    // The caret stays within the mapped cells unless a double-byte character
    // starts on the last one.
    if (col > kMaxCol && map.At(kMaxCol) != kCellDoubleFirst) col = kMaxCol;
    return col;
}

void TEditor::SetCaret(int row, int col, int direction, bool vertical) {
    row = std::clamp(row, 0, LastCaretRow());
    if (vertical && caret_.KeepCaret && !caret_.FreeCaret) {
        if (rememberedCol_ < 0) rememberedCol_ = col;
        col = rememberedCol_;
    } else if (!vertical) {
        rememberedCol_ = -1;
    }
    col = AdjustCol(row, col, direction);
    const bool moved = row != row_ || col != col_;
    const int oldRow = row_;
    row_ = row;
    col_ = col;
    if (caretUpdate_ > 0) return;
    if (moved) {
        InvalidateRows(oldRow, oldRow);
        InvalidateRows(row_, row_);
    }
    ScrollToCaret();
    CaretChanged();
}

void TEditor::CaretChanged() {
    updateMicroFocus();
    emit CaretMoved();
}

void TEditor::SetRow(int row) { SetCaret(row, col_, row < row_ ? -1 : 1, true); }

void TEditor::SetCol(int col) { SetCaret(row_, col, col < col_ ? -1 : 1); }

void TEditor::SetTopRow(int row) {
    row = std::clamp(row, 0, rows_->Count());
    if (row == topRow_) return;
    topRow_ = row;
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetTopCol(int col) {
    col = std::clamp(col, 0, kMaxCol);
    if (col == topCol_) return;
    topCol_ = col;
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::ScrollRows(int delta) { SetTopRow(topRow_ + delta); }

int TEditor::VisibleRowCount() const {
    return std::max(1, (viewport()->height() - TextTop()) / std::max(1, rowHeight_));
}

int TEditor::VisibleColCount() const {
    return std::max(1, (viewport()->width() - TextLeft() - cellWidth_ / 2) / std::max(1, cellWidth_));
}

void TEditor::ScrollToCaret() {
    const int rows = VisibleRowCount();
    if (row_ < topRow_) SetTopRow(row_);
    else if (row_ >= topRow_ + rows) SetTopRow(row_ - rows + 1);
    const int cols = VisibleColCount();
    if (col_ < topCol_) SetTopCol(col_);
    else if (col_ >= topCol_ + cols) SetTopCol(col_ - cols + 1);
}

void TEditor::UpdateScrollBars() {
    syncingScrollBars_ = true;
    verticalScrollBar()->setRange(0, rows_->Count());
    verticalScrollBar()->setPageStep(VisibleRowCount());
    verticalScrollBar()->setValue(topRow_);
    horizontalScrollBar()->setRange(0, std::max(0, kMaxCol + 1 - VisibleColCount()));
    horizontalScrollBar()->setPageStep(VisibleColCount());
    horizontalScrollBar()->setValue(topCol_);
    syncingScrollBars_ = false;
}

void TEditor::scrollContentsBy(int, int) {
    if (syncingScrollBars_) return;
    topRow_ = verticalScrollBar()->value();
    topCol_ = horizontalScrollBar()->value();
    viewport()->update();
}

void TEditor::SetModified(bool value) {
    if (modified_ == value) return;
    modified_ = value;
    emit Change();
}

int TEditor::CaretCol() const {
    const TEditorAttributeArray map = CellMap(row_);
    return map.ColumnToOffset(map.CharStart(col_));
}

void TEditor::PlaceCaret(int row, int col) {
    row = std::clamp(row, 0, LastCaretRow());
    SetCaret(row, CellMap(row).OffsetToColumn(col));
}

void TEditor::CaretEndUpdate() {
    if (caretUpdate_ > 0) --caretUpdate_;
    if (caretUpdate_ > 0) return;
    SetCaret(row_, col_);
    viewport()->update();
    CaretChanged();
}

void TEditor::InvalidateRows(int firstRow, int lastRow) {
    if (updateBlock_ > 0) return;
    const int first = std::max(firstRow, topRow_);
    const int last = std::min(lastRow, topRow_ + VisibleRowCount());
    if (first > last) return;
    const int top = TextTop() + (first - topRow_) * rowHeight_;
    viewport()->update(0, top, viewport()->width(), (last - first + 1) * rowHeight_);
}

void TEditor::InvalidateAll() {
    if (updateBlock_ > 0) return;
    viewport()->update();
}

void TEditor::UpdateBlockBegin() { ++updateBlock_; }

void TEditor::UpdateBlockEnd() {
    if (updateBlock_ > 0) --updateBlock_;
    if (updateBlock_ == 0) {
        UpdateScrollBars();
        viewport()->update();
    }
}

void TEditor::RowsChanged() {
    const TLastChange& change = rows_->LastChange();
    UpdateScrollBars();
    if (change.Set && change.OldRowCount == change.NewRowCount)
        InvalidateRows(change.FirstRow, change.FirstRow + std::max(change.NewRowCount, change.StatesChanged));
    else
        InvalidateAll();
    // The caret of an editor that did not make the edit may now stand
    // outside the text.
    if (caretUpdate_ == 0 && row_ > LastCaretRow()) SetCaret(LastCaretRow(), col_);
    if (!modified_) SetModified(true);
    else emit Change();
}

int TEditor::ScreenHeight() const { return viewport()->height(); }

QRect TEditor::CaretRect() const {
    const int x = TextLeft() + (col_ - topCol_) * cellWidth_;
    const int y = TextTop() + (row_ - topRow_) * rowHeight_;
    return QRect(x, y, 2, rowHeight_);
}

QPoint TEditor::CellAt(const QPoint& pos) const {
    const int row = topRow_ + std::max(0, pos.y() - TextTop()) / std::max(1, rowHeight_);
    const int col = topCol_ + std::max(0, pos.x() - TextLeft() + cellWidth_ / 2) / std::max(1, cellWidth_);
    return QPoint(col, row);
}

void TEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TEditor::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    const QPoint cell = CellAt(event->position().toPoint());
    SetCaret(cell.y(), cell.x(), -1);
}

void TEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    InvalidateRows(row_, row_);
    emit Enter();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    InvalidateRows(row_, row_);
}

// Tab belongs to the text, not to moving the focus.
bool TEditor::focusNextPrevChild(bool) { return false; }

}  // namespace quodle
