// Keys of TEditor: the command keys of its context menu, caret movement
// (with Shift extending the selection), typing and the editing keys. The
// decisions about text are the engine's; this file only translates keys.
#include <QKeyEvent>
#include <algorithm>

#include "base/ShiftJis.h"
#include "base/qt/KeyDigit.h"
#include "editor/EditorCaret.h"
#include "editor/RowMarks.h"
#include "editor/qt/Editor.h"
#include "syntax/EditorTokens.h"

namespace quodle {

namespace {

// A typed character the editor takes: 32..126, 160..255 and double-byte
// characters (a lead byte and a trail byte of 0x40 or more).
bool IsTypedCharacter(std::string_view bytes) {
    if (bytes.empty()) return false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByte(b)) {
            if (i + 1 >= bytes.size() || static_cast<unsigned char>(bytes[i + 1]) < 0x40) return false;
            i += 2;
            continue;
        }
        if (!((b >= 32 && b <= 126) || b >= 160)) return false;
        ++i;
    }
    return true;
}

Qt::KeyboardModifiers Mods(const QKeyEvent* e) {
    return e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

// The keys of the context menu (and Shift+Ctrl+Z), handled by the editor
// itself.
bool TEditor::IsCommandKey(const QKeyEvent* e) const {
    const Qt::KeyboardModifiers mods = Mods(e);
    if (mods == Qt::ControlModifier) {
        switch (e->key()) {
        case Qt::Key_Z: case Qt::Key_X: case Qt::Key_C: case Qt::Key_V:
        case Qt::Key_B: case Qt::Key_A: case Qt::Key_K:
            return true;
        default:
            return DigitKeyOf(*e) >= 0;
        }
    }
    if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) return e->key() == Qt::Key_Z || DigitKeyOf(*e) >= 0;
    return false;
}

bool TEditor::CommandKey(QKeyEvent* e) {
    if (!IsCommandKey(e)) return false;
    const bool shift = Mods(e) & Qt::ShiftModifier;
    if (const int digit = DigitKeyOf(*e); digit >= 0) {
        if (!shift) JumpToRowMark(digit);
        else ToggleRowMark(*rows_, row_, digit);
        return true;
    }
    switch (e->key()) {
    case Qt::Key_Z:
        if (shift) Redo();
        else Undo();
        break;
    case Qt::Key_X: CutToClipboard(); break;
    case Qt::Key_C: CopyToClipboard(); break;
    case Qt::Key_V: PasteFromClipboard(); break;
    case Qt::Key_B:
        BoxPasteFromClipboard();
        break;
    case Qt::Key_A: SelectAll(); break;
    case Qt::Key_K: SetSelectionMode(selectionMode_ == selStream ? selBox : selStream); break;
    default: break;
    }
    return true;
}

void TEditor::PageMove(int direction, bool repeat) {
    const int range = repeat ? speed_.PageVerticalRangeAc : speed_.PageVerticalRange;
    const int amount = std::max(1, (VisibleRowCount() - 1) / 2) * std::clamp(range, 1, 4);
    const TCaretMove move{direction, true, false};
    if (direction < 0 && topRow_ == 0) {
        SetCaret(0, col_, move);
        return;
    }
    const int n = rows_->Count();
    if (direction > 0 && topRow_ == n - 1 && RowEndingOf(topRow_) == reNoBreak) return;
    const int oldTop = topRow_;
    SetTopRow(topRow_ + direction * amount);
    SetCaret(row_ + (topRow_ - oldTop), col_, move);
}

void TEditor::WordMove(int direction, TCellPos& to) {
    const int row = row_;
    to = {row_, col_};
    const std::string_view text = RowTextOrEmpty(*rows_, row);
    const TEditorAttributeArray map = CellMap(row);
    const bool pastEnd = col_ > map.Width();
    const int offset = pastEnd ? static_cast<int>(text.size()) : map.ColumnToOffset(map.CharStart(col_));
    const bool endStop = caret_.TokenEndStop;
    auto colOf = [this](int r, int off) { return CellMap(r).OffsetToColumn(off); };
    if (direction > 0) {
        if (row >= rows_->Count()) return;
        if (offset >= static_cast<int>(text.size())) {
            // At the end of a row the search goes on in the next one.
            if (row + 1 > LastCaretRow()) return;
            const std::vector<TTokenSpan> next = JumpTokens(*parser_, RowTextOrEmpty(*rows_, row + 1));
            const std::optional<int> stop = NextWordStop(next, -1, endStop);
            to = {row + 1, stop ? colOf(row + 1, *stop) : RowWidth(row + 1)};
            return;
        }
        const std::optional<int> stop = NextWordStop(JumpTokens(*parser_, text), offset, endStop);
        if (stop) to = {row, colOf(row, *stop)};
        else if (RowEndingOf(row) == reWrapped) to = {row + 1, 0};
        else to = {row, map.Width()};
        return;
    }
    if (col_ == 0) {
        if (row > 0) to = {row - 1, RowWidth(row - 1)};
        return;
    }
    const std::optional<int> stop = PrevWordStop(JumpTokens(*parser_, text), pastEnd ? offset + 1 : offset, endStop);
    if (stop) to = {row, colOf(row, *stop)};
    else if (row > 0 && RowEndingOf(row - 1) == reWrapped) to = {row - 1, RowWidth(row - 1)};
    else to = {row, 0};
}

bool TEditor::MoveCaretKey(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool repeat = e->isAutoRepeat();
    int row = row_, col = col_;
    TCaretMove move;
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int dir = e->key() == Qt::Key_Left ? -1 : 1;
        move = {dir, false, false};
        if (ctrl) {
            TCellPos to;
            WordMove(dir, to);
            row = to.Row;
            col = to.Col;
        } else if (dir < 0) {
            if (col_ > 0) col = col_ - 1;
            else if (row_ > 0 && (caret_.NextLine || RowEndingOf(row_ - 1) == reWrapped)) {
                row = row_ - 1;
                col = RowWidth(row);
            }
        } else {
            // The rightmost position is where a step right comes back to:
            // the end of the text, the last cell, or on a soft-wrapped row
            // its last character (its end is the start of the next row).
            int remembered = rememberedCol_;
            const int next = AdjustCaretColumn(CellMap(row_), RowEndingOf(row_), col_ + 1, move, caret_,
                                               Layout().wrapByte, remembered);
            if (next > col_) col = col_ + 1;
            else if ((caret_.NextLine || RowEndingOf(row_) == reWrapped) && row_ + 1 <= LastCaretRow()) {
                row = row_ + 1;
                col = 0;
            }
        }
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int dir = e->key() == Qt::Key_Up ? -1 : 1;
        move = {dir, true, false};
        const int visible = VisibleRowCount();
        if (ctrl) {
            // Scroll one row, keeping the caret inside the view.
            ScrollRows(dir);
            row = std::clamp(row_, topRow_, topRow_ + visible - 1);
        } else {
            const bool atEdge = dir < 0 ? row_ <= topRow_ : row_ >= topRow_ + visible - 1;
            row = row_ + dir * (repeat && atEdge ? std::clamp(speed_.CaretVerticalAc, 1, 4) : 1);
        }
        break;
    }
    case Qt::Key_Home:
        move = {-1, false, false};
        if (ctrl) row = 0;
        col = 0;
        break;
    case Qt::Key_End:
        move = {1, false, false};
        if (ctrl) {
            const TCellPos end = CellOfOffset(TextEnd(*rows_));
            row = end.Row;
            col = end.Col;
        } else {
            col = RowWidth(row_);
        }
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const TCellPos before{row_, col_};
        if (shift && !selecting_) {
            selecting_ = true;
            anchor_ = before;
        } else if (!shift) {
            Deselect();
        }
        PageMove(e->key() == Qt::Key_PageUp ? -1 : 1, repeat);
        if (selecting_) viewport()->update();
        SelectionChanged();
        return true;
    }
    default:
        return false;
    }
    MoveTo(row, col, move, shift);
    return true;
}

void TEditor::EditKey(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = Mods(e);
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!wantReturns_) {
            e->ignore();
            return;
        }
        if (ReadOnly() || ctrl) return;
        if (Selected()) {
            if (shift || !SelectionShown()) return;
            DeleteSelection();
        }
        Deselect();
        Apply(EnterKey(*rows_, Layout(), caret_, {row_, col_}, shift, overwrite_));
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!wantTabs_) {
            e->ignore();
            return;
        }
        if (ReadOnly() || ctrl || shift || e->key() == Qt::Key_Backtab) return;
        if (Selected() && !overwrite_) {
            InsertText(caret_.SoftTab ? std::string(static_cast<std::size_t>(TabWidthAt(col_, Layout())), ' ') : "\t");
            return;
        }
        Deselect();
        Apply(TabKey(*rows_, Layout(), caret_, {row_, col_}, overwrite_));
        return;
    case Qt::Key_Backspace:
        if (ReadOnly() || DeleteSelection()) return;
        Deselect();
        Apply(BackspaceKey(*rows_, Layout(), caret_, {row_, col_}));
        return;
    case Qt::Key_Delete:
        if (ReadOnly() || mods != Qt::NoModifier || DeleteSelection()) return;
        Deselect();
        Apply(DeleteKey(*rows_, Layout(), {row_, col_}));
        return;
    case Qt::Key_Escape:
        return;
    default:
        break;
    }
    const QString text = e->text();
    if (ReadOnly() || ctrl || (mods & Qt::AltModifier) || text.isEmpty()) {
        e->ignore();
        return;
    }
    const std::optional<std::string> bytes = InputBytes(text);
    if (!bytes) return;  // refused, and said so
    if (!IsTypedCharacter(*bytes)) {
        e->ignore();
        return;
    }
    InsertText(*bytes);
}

void TEditor::keyPressEvent(QKeyEvent* event) {
    if (CommandKey(event)) return;
    if (event->key() == Qt::Key_Escape && drag_ != TDrag::None) {
        drag_ = TDrag::None;
        if (caret_.AutoCursor) viewport()->setCursor(Qt::IBeamCursor);
        return;
    }
    if (MoveCaretKey(event)) return;
    EditKey(event);
}

}  // namespace quodle
