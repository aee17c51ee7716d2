#include "editor/qt/Editor.h"

#include <QFocusEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "editor/EditorCaret.h"
#include "editor/qt/EditorPopupMenu.h"
#include "syntax/EditorTokens.h"
#include "text/EditorPositions.h"

namespace quodle {

TEditor::TEditor(QWidget* parent)
    : QAbstractScrollArea(parent), rows_(std::make_shared<TEditorScreenStrings>()),
      view_(std::make_shared<TEditorFountain>()) {
    rows_->Attach(this);
    lines_ = std::make_unique<TEditorStrings>(*rows_, this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    // Every pixel is painted; this also lets scrolls move pixels instead of
    // repainting.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    popupMenu_ = new TEditorPopupMenu(this);
    autoScroll_ = new QTimer(this);
    autoScroll_->setObjectName(QStringLiteral("autoScrollTimer"));
    connect(autoScroll_, &QTimer::timeout, this, &TEditor::AutoScrollTick);
    SubscribeFountain();
    UpdateMetrics();
}

TEditor::~TEditor() {
    if (subscribed_) subscribed_->Unsubscribe(this);
    // The row list outlives this editor when another one still views it.
    lines_.reset();
    rows_->Detach(this);
}

void TEditor::AttachRowList(std::shared_ptr<TEditorScreenStrings> rows) {
    if (!rows || rows == rows_) return;
    ClearSelectionState();
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

// ---------------------------------------------------------------- fountain

void TEditor::SetFountain(std::shared_ptr<TFountain> fountain) {
    if (fountain_ == fountain) return;
    fountain_ = std::move(fountain);
    SubscribeFountain();
}

void TEditor::SubscribeFountain() {
    if (subscribed_) subscribed_->Unsubscribe(this);
    subscribed_ = &ActiveFountain();
    subscribed_->Subscribe(this, [this](TNotifyPersistent&) { FountainChanged(); });
    FountainChanged();
}

void TEditor::FountainChanged() {
    // A parser copies its fountain's settings when created.
    parser_ = ActiveFountain().CreateParser();
    // The first attached editor supplies the parser of the row states.
    if (rows_->Owner() == this) rows_->UpdateAllStates();
    viewport()->update();
}

// ---------------------------------------------------------------- rows

TCellLayout TEditor::Layout() const {
    return TCellLayout{caret_.TabSpaceCount, rows_->WordWrap() ? rows_->WrapOption().WrapByte() : 0};
}

TEditorAttributeArray TEditor::CellMap(int row) const {
    return TEditorAttributeArray(RowTextOrEmpty(*rows_, row), Layout());
}

int TEditor::LastCaretRow() const { return quodle::LastCaretRow(*rows_); }

std::string TEditor::LineString(int row) const {
    if (row < 0 || row >= rows_->Count()) return {};
    std::string text = rows_->RowsText(rows_->LineStartRow(row), -1).text;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

std::string TEditor::RowString(int row) const { return std::string(RowTextOrEmpty(*rows_, row)); }

TRowEnding TEditor::RowEndingOf(int row) const {
    return row >= 0 && row < rows_->Count() ? rows_->RowEnding(row) : reInvalid;
}

int TEditor::RowWidth(int row) const { return CellMap(row).Width(); }

int TEditor::LineIndexOfRow(int row) const { return rows_->RowToLine(std::clamp(row, 0, rows_->Count())); }

int TEditor::OffsetInLine(int row, int col) const { return quodle::OffsetInLine(*rows_, row, col, Layout()); }

TTokenKind TEditor::TokenKindAt(int row, int offset) { return quodle::TokenKindAt(*rows_, *parser_, row, offset); }

int TEditor::ExpandedWidth(std::string_view text) const { return quodle::ExpandedWidth(text, Layout()); }

std::string TEditor::ExpandTabs(std::string_view text) const { return quodle::ExpandTabs(text, Layout()); }

bool TEditor::TokenAt(const QPoint& point, bool useFountain, std::string& text, TTokenKind& kind) {
    const TCellPos cell = CellAt(point);
    text.clear();
    kind = tokEnd;
    if (cell.Row < 0 || cell.Row >= rows_->Count()) return false;
    const int lineStart = rows_->LineStartRow(cell.Row);
    const int offset = OffsetInLine(cell.Row, cell.Col);
    const std::string line = LineString(cell.Row);
    TTokenHit hit = useFountain ? TokenInText(*parser_, line, rows_->EnsureRowState(lineStart), offset)
                                : PlainTokenAt(line, offset);
    text = std::move(hit.Text);
    kind = hit.Kind;
    return !text.empty();
}

bool TEditor::TokenAtCaret(std::string& text, TTokenKind& kind) {
    const QPoint point(TextLeft() + (col_ - topCol_) * cellWidth_ + cellWidth_ / 4,
                       TextTop() + (row_ - topRow_) * rowHeight_ + rowHeight_ / 2);
    return TokenAt(point, true, text, kind);
}

// ---------------------------------------------------------------- caret

void TEditor::SetCaret(int row, int col, TCaretMove move, bool scroll) {
    row = std::clamp(row, 0, LastCaretRow());
    col = AdjustCaretColumn(CellMap(row), RowEndingOf(row), col, move, caret_, Layout().wrapByte, rememberedCol_);
    const bool moved = row != row_ || col != col_;
    const int oldRow = row_;
    row_ = row;
    col_ = col;
    if (caretUpdate_ > 0) return;
    if (moved) {
        InvalidateRows(oldRow, oldRow);
        InvalidateRows(row_, row_);
    }
    if (scroll) ScrollToCaret();
    if (moved) CaretChanged();
}

void TEditor::CaretChanged() {
    if (hitLength_ > 0 && TCellPos{row_, col_} != hitCell_) ClearHit();
    updateMicroFocus();
    emit CaretMoved();
}

void TEditor::MoveTo(int row, int col, TCaretMove move, bool extend) {
    if (extend && !selecting_) {
        selecting_ = true;
        anchor_ = {row_, col_};
    } else if (!extend && selecting_) {
        InvalidateSelection();
        selecting_ = false;
    }
    SetCaret(row, col, move);
    if (selecting_) InvalidateSelection();
    SelectionChanged();
}

void TEditor::SetRow(int row) { SetCaret(row, col_, {row < row_ ? -1 : 1, true, false}); }

void TEditor::SetCol(int col) { SetCaret(row_, col, {col < col_ ? -1 : 1, false, false}); }

int TEditor::CaretCol() const {
    const TEditorAttributeArray map = CellMap(row_);
    return map.ColumnToOffset(map.CharStart(col_));
}

void TEditor::PlaceCaret(int row, int col) {
    row = std::clamp(row, 0, LastCaretRow());
    SetCaret(row, CellMap(row).OffsetToColumn(col));
}

TCellPos TEditor::CellOfOffset(TRowOffset pos) const { return {pos.Row, CellMap(pos.Row).OffsetToColumn(pos.Offset)}; }

void TEditor::CaretBeginUpdate() {
    if (caretUpdate_++ > 0) return;
    caretBefore_ = {row_, col_};
    caretShownBefore_ = row_ >= topRow_ && row_ < topRow_ + VisibleRowCount() && col_ >= topCol_ &&
                        col_ < topCol_ + VisibleColCount();
}

void TEditor::CaretEndUpdate() {
    if (caretUpdate_ > 0) --caretUpdate_;
    if (caretUpdate_ > 0) return;
    const int row = row_, col = col_;
    FlushPendingRows();
    // A view that showed other rows than its caret's (the other pane of a
    // split tab while this one is edited) stays where it was, unless the
    // change moved its caret or it is the pane worked in.
    const bool follow = hasFocus() || caretShownBefore_ || TCellPos{row, col} != caretBefore_;
    row_ = -1;  // counts as a move: the caret is repositioned and reported once
    SetCaret(row, col, {}, follow);
}

// ---------------------------------------------------------------- view

void TEditor::SetTopRow(int row) {
    row = std::clamp(row, 0, rows_->Count());
    if (row == topRow_) return;
    topRow_ = row;
    UpdateScrollBars();
    viewport()->update();
    emit TopRowChange();
}

int TEditor::MaxTopCol() const { return std::max(0, kMaxCaretCol + 1 - VisibleColCount()); }

void TEditor::SetTopCol(int col) {
    col = std::clamp(col, 0, MaxTopCol());
    if (col == topCol_) return;
    topCol_ = col;
    UpdateScrollBars();
    viewport()->update();
    emit TopColChange();
}

void TEditor::ScrollRows(int delta) {
    SetTopRow(topRow_ + delta);
    // LockScroll takes the caret along.
    if (caret_.LockScroll) SetCaret(row_ + delta, col_, {delta < 0 ? -1 : 1, true, false});
}

int TEditor::VisibleRowCount() const {
    return std::max(1, (viewport()->height() - TextTop()) / std::max(1, rowHeight_));
}

// The viewport already leaves out the scroll bar.
int TEditor::VisibleColCount() const { return Geometry().VisibleColumns(viewport()->width(), 0); }

void TEditor::ScrollToCaret() {
    const int rows = VisibleRowCount();
    if (row_ < topRow_) SetTopRow(row_);
    else if (row_ >= topRow_ + rows) SetTopRow(row_ - rows + 1);
    const int cols = VisibleColCount();
    if (col_ < topCol_) SetTopCol(col_);
    else if (col_ >= topCol_ + cols) SetTopCol(col_ - cols + 1);
}

void TEditor::UpdateScrollBars() {
    // A view grown wider has less to scroll: it comes back with its bar
    // rather than showing blank cells past the last one shown.
    if (topCol_ > MaxTopCol()) {
        SetTopCol(MaxTopCol());
        return;
    }
    syncingScrollBars_ = true;
    verticalScrollBar()->setRange(0, rows_->Count());
    verticalScrollBar()->setPageStep(VisibleRowCount());
    verticalScrollBar()->setValue(topRow_);
    horizontalScrollBar()->setRange(0, MaxTopCol());
    horizontalScrollBar()->setPageStep(VisibleColCount());
    horizontalScrollBar()->setValue(topCol_);
    syncingScrollBars_ = false;
}

void TEditor::scrollContentsBy(int, int) {
    if (syncingScrollBars_) return;
    const int oldTop = topRow_;
    SetTopRow(verticalScrollBar()->value());
    SetTopCol(horizontalScrollBar()->value());
    if (caret_.LockScroll && topRow_ != oldTop) SetCaret(row_ + topRow_ - oldTop, col_, {topRow_ < oldTop ? -1 : 1, true, false});
}

void TEditor::SetModified(bool value) {
    if (modified_ == value) return;
    modified_ = value;
    emit Change();
}

void TEditor::SetReadOnly(bool value) {
    if (ReadOnly() == value) return;
    rows_->SetReadOnly(value);
    // The input method of every editor on the text follows.
    for (TEditorClient* client : rows_->Editors())
        if (auto* editor = dynamic_cast<TEditor*>(client)) editor->updateMicroFocus();
}

void TEditor::SetOverwriteMode(bool value) {
    if (overwrite_ == value) return;
    overwrite_ = value;
    InvalidateRows(row_, row_);
    emit OverwriteModeChange();
}

void TEditor::SetCaretOptions(const TEditorCaretProp& caret) {
    caret_ = caret;
    // The row list lays out its tabs by its owner's tab stops.
    if (rows_->Owner() == this) rows_->SetTabSpaceCount(caret_.TabSpaceCount);
    SetCaret(row_, col_);
    viewport()->update();
}

// ---------------------------------------------------------------- painting requests

void TEditor::InvalidateRows(int firstRow, int lastRow) {
    if (updateBlock_ > 0) return;
    if (caretUpdate_ > 0) {
        // Inside an edit: drawn once the edit has moved the rows below.
        pendingFirst_ = pendingFirst_ < 0 ? firstRow : std::min(pendingFirst_, firstRow);
        pendingLast_ = std::max(pendingLast_, lastRow);
        return;
    }
    UpdateRows(firstRow, lastRow);
}

void TEditor::UpdateRows(int firstRow, int lastRow) {
    const int first = std::max(firstRow, topRow_);
    const int last = std::min(lastRow, topRow_ + VisibleRowCount());
    if (first > last) return;
    const int top = TextTop() + (first - topRow_) * rowHeight_;
    viewport()->update(0, top, viewport()->width(), (last - first + 1) * rowHeight_);
}

void TEditor::FlushPendingRows() {
    if (pendingFirst_ >= 0) UpdateRows(pendingFirst_, pendingLast_);
    pendingFirst_ = pendingLast_ = -1;
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

// Only what the last change names is repainted; when the row count changed
// the rows below are moved on the screen instead of being drawn again.
void TEditor::RowsChanged(bool textChanged) {
    // A hit counts in bytes: after an edit or a rewrap it no longer fits.
    hitLength_ = 0;
    const TLastChange& change = rows_->LastChange();
    UpdateScrollBars();
    // A left bar that needs another digit moves the whole text.
    const int digits = Geometry().LeftbarDigits;
    const bool moved = digits != leftbarDigits_;
    leftbarDigits_ = digits;
    if (!change.Set || updateBlock_ > 0 || moved) {
        InvalidateAll();
    } else {
        const int delta = change.NewRowCount - change.OldRowCount;
        const int last = change.FirstRow + std::max({change.NewRowCount, change.StatesChanged, 1}) - 1;
        const int visible = VisibleRowCount();
        if (std::abs(delta) > visible) {
            InvalidateAll();
        } else {
            if (delta != 0) {
                const int below = change.FirstRow + change.OldRowCount;  // first row under the change, before it
                const int y = std::max(TextTop(), TextTop() + (below - topRow_) * rowHeight_);
                if (y < viewport()->height()) {
                    const QRect moved(0, y, viewport()->width(), viewport()->height() - y);
                    viewport()->scroll(0, delta * rowHeight_, moved);
                    // A caret drawn in the moved rows went with them.
                    if (caretOnScreen_.intersects(moved)) {
                        caretOnScreen_ = caretOnScreen_.translated(0, delta * rowHeight_);
                        viewport()->update(caretOnScreen_);
                    }
                }
                // Row numbers change from the edit downwards.
                if (leftbar_.Visible) {
                    const int top = std::max(TextTop(), TextTop() + (change.FirstRow - topRow_) * rowHeight_);
                    viewport()->update(0, top, TextLeft(), viewport()->height() - top);
                }
            }
            UpdateRows(change.FirstRow, last);
            // The depth of every bracket below may have changed with it.
            if (bracketDepthColors_) UpdateRows(change.FirstRow, topRow_ + VisibleRowCount());
        }
    }
    FlushPendingRows();
    // The caret of an editor that did not make the edit may now stand
    // outside the text.
    if (caretUpdate_ == 0 && row_ > LastCaretRow()) SetCaret(LastCaretRow(), col_);
    // Rows cut anew hold the same text.
    if (!textChanged) return;
    if (!modified_) SetModified(true);
    else emit Change();
}

int TEditor::ScreenHeight() const { return viewport()->height(); }

QRect TEditor::CaretRect() const {
    const int x = TextLeft() + (col_ - topCol_) * cellWidth_;
    const int y = TextTop() + (row_ - topRow_) * rowHeight_;
    return QRect(x, y, 2, rowHeight_);
}

TCellPos TEditor::CaretCellAt(const QPoint& pos) const {
    const TCellPos cell = CellAt(pos);
    const int row = std::clamp(cell.Row, 0, LastCaretRow());
    int remembered = -1;
    return {row, AdjustCaretColumn(CellMap(row), RowEndingOf(row), cell.Col, {0, false, true}, caret_,
                                   Layout().wrapByte, remembered)};
}

void TEditor::SetDropCaret(std::optional<TCellPos> cell) {
    if (cell == dropCaret_) return;
    // The drop caret stands in for the caret while it is shown: the caret's
    // row is drawn again whenever it comes or goes.
    if (cell.has_value() != dropCaret_.has_value()) InvalidateRows(row_, row_);
    if (dropCaret_) InvalidateRows(dropCaret_->Row, dropCaret_->Row);
    dropCaret_ = cell;
    if (dropCaret_) InvalidateRows(dropCaret_->Row, dropCaret_->Row);
}

TCellPos TEditor::CellAt(const QPoint& pos) const {
    const int dy = pos.y() - TextTop();
    const int row = topRow_ + (dy < 0 ? -1 : dy / std::max(1, rowHeight_));
    const int col = topCol_ + std::max(0, pos.x() - TextLeft() + cellWidth_ / 2) / std::max(1, cellWidth_);
    return {row, col};
}

// ---------------------------------------------------------------- events

bool TEditor::event(QEvent* event) {
    // The editor's own command keys win over the window's shortcuts while it
    // has the focus, so they act on this editor.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsCommandKey(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    InvalidateRows(row_, row_);
    emit Enter();
}

void TEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    EndDrag();
    InvalidateRows(row_, row_);
}

void TEditor::hideEvent(QHideEvent* event) {
    QAbstractScrollArea::hideEvent(event);
    EndDrag();
}

// Tab belongs to the text, not to moving the focus.
bool TEditor::focusNextPrevChild(bool next) {
    if (wantTabs_) return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

}  // namespace quodle
