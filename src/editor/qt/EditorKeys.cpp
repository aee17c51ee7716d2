// Keys of TEditor: caret movement, typing and the editing keys. Every change
// of the text goes through the row list's ReplaceRows.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>

#include "base/ShiftJis.h"
#include "editor/qt/Editor.h"

namespace quodle {

namespace {
// Page keys move by this many half pages.
constexpr int kPageVerticalRange = 2;

// A typed character the editor takes: 32..126, 160..255 and double-byte
// characters (a lead byte and a trail byte of 0x40 or more).
bool IsTypedCharacter(std::string_view bytes) {
    if (bytes.size() == 1) {
        const auto b = static_cast<unsigned char>(bytes[0]);
        return (b >= 32 && b <= 126) || b >= 160;
    }
    return bytes.size() == 2 && IsLeadByte(bytes[0]) && static_cast<unsigned char>(bytes[1]) >= 0x40;
}

int LeadingBlankWidth(std::string_view text, const TCellLayout& layout) {
    int width = 0;
    for (char c : text) {
        if (c == ' ') ++width;
        else if (c == '\t') width += TabWidthAt(width, layout);
        else break;
    }
    return width;
}
}  // namespace

std::string TEditor::WithEnding(int row, std::string_view text) const {
    std::string result(text);
    if (RowEndingOf(row) == reBreak) result += "\r\n";
    return result;
}

void TEditor::MoveCaretTo(int row, int col, bool vertical, int direction) {
    SetCaret(row, col, direction, vertical);
}

void TEditor::PageMove(int direction) {
    const int amount = std::max(1, (VisibleRowCount() - 1) / 2) * kPageVerticalRange;
    if (direction < 0 && topRow_ == 0) {
        MoveCaretTo(0, col_, true, -1);
        return;
    }
    const int last = rows_->Count();
    if (direction > 0 && topRow_ == last - 1 && RowEndingOf(topRow_) == reNoBreak) return;
    const int oldTop = topRow_;
    SetTopRow(topRow_ + direction * amount);
    MoveCaretTo(row_ + (topRow_ - oldTop), col_, true, direction);
}

bool TEditor::MoveCaretKey(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        // Word jumps need the tokenizer; until then Ctrl moves like the plain key.
        if (col_ == 0 && row_ > 0 && RowEndingOf(row_ - 1) == reWrapped)
            MoveCaretTo(row_ - 1, RowWidth(row_ - 1), false, -1);
        else
            MoveCaretTo(row_, col_ - 1, false, -1);
        return true;
    case Qt::Key_Right:
        if (!caret_.FreeCaret && col_ >= RowWidth(row_)) {
            if (RowEndingOf(row_) == reWrapped) MoveCaretTo(row_ + 1, 0, false, 1);
        } else {
            MoveCaretTo(row_, col_ + 1, false, 1);
        }
        return true;
    case Qt::Key_Up:
        if (ctrl) {
            ScrollRows(-1);
            if (row_ >= topRow_ + VisibleRowCount()) MoveCaretTo(topRow_ + VisibleRowCount() - 1, col_, true, -1);
        } else {
            MoveCaretTo(row_ - 1, col_, true, -1);
        }
        return true;
    case Qt::Key_Down:
        if (ctrl) {
            ScrollRows(1);
            if (row_ < topRow_) MoveCaretTo(topRow_, col_, true, 1);
        } else {
            MoveCaretTo(row_ + 1, col_, true, 1);
        }
        return true;
    case Qt::Key_Home:
        MoveCaretTo(ctrl ? 0 : row_, 0, false, -1);
        return true;
    case Qt::Key_End:
        if (ctrl) {
            const int last = LastCaretRow();
            MoveCaretTo(last, RowWidth(last), false, 1);
        } else {
            MoveCaretTo(row_, RowWidth(row_), false, 1);
        }
        return true;
    case Qt::Key_PageUp:
        PageMove(-1);
        return true;
    case Qt::Key_PageDown:
        PageMove(1);
        return true;
    default:
        return false;
    }
}

void TEditor::keyPressEvent(QKeyEvent* event) {
    if (MoveCaretKey(event)) return;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!readOnly_ && !(event->modifiers() & Qt::ShiftModifier)) TypeEnter();
        return;
    case Qt::Key_Tab:
        if (!readOnly_ && !ctrl && !(event->modifiers() & Qt::ShiftModifier)) TypeTab();
        return;
    case Qt::Key_Backtab:
        return;
    case Qt::Key_Backspace:
        if (!readOnly_) TypeBackspace();
        return;
    case Qt::Key_Delete:
        if (!readOnly_) TypeDelete();
        return;
    default:
        break;
    }
    if (readOnly_ || ctrl || event->text().isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    const std::string bytes =
        Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    // A character the code page cannot hold arrives as '?': not typed.
    if (!IsTypedCharacter(bytes) || (bytes == "?" && text != QStringLiteral("?"))) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    InsertText(bytes);
}

void TEditor::InsertText(std::string_view text) {
    if (text.empty()) return;
    const int count = rows_->Count();
    if (row_ >= count) {
        // The row after the last one: the text starts a new last line.
        const std::string padded = std::string(static_cast<std::size_t>(col_), ' ') + std::string(text);
        if (count == 0) rows_->ReplaceRows(0, 0, padded);
        else rows_->ReplaceRows(count - 1, 1, RowString(count - 1) + "\r\n" + padded);
        PlaceCaret(LastCaretRow(), static_cast<int>(padded.size()));
        return;
    }
    std::string row = RowString(row_);
    const TEditorAttributeArray map = CellMap(row_);
    int offset = map.ColumnToOffset(map.CharStart(col_));
    if (col_ > map.Width()) {
        // Typing past the end pads the row with blanks up to the caret.
        row.append(static_cast<std::size_t>(col_ - map.Width()), ' ');
        offset = static_cast<int>(row.size());
    }
    row.insert(static_cast<std::size_t>(offset), text);
    const int caretRow = row_;
    rows_->ReplaceRows(row_, 1, WithEnding(row_, row));
    PlaceCaret(caretRow, offset + static_cast<int>(text.size()));
}

void TEditor::TypeEnter() {
    const int count = rows_->Count();
    if (row_ >= count) {
        if (count == 0) rows_->ReplaceRows(0, 0, "\r\n");
        else rows_->ReplaceRows(count - 1, 1, RowString(count - 1) + "\r\n\r\n");
        PlaceCaret(row_ + 1, 0);
        return;
    }
    const std::string row = RowString(row_);
    const TEditorAttributeArray map = CellMap(row_);
    const int offset = std::min(map.ColumnToOffset(map.CharStart(col_)), static_cast<int>(row.size()));
    int indent = 0;
    if (caret_.AutoIndent) {
        const int lineStart = rows_->LineStartRow(row_);
        indent = LeadingBlankWidth(RowString(lineStart), Layout());
        if (lineStart == row_ && col_ < indent) indent = col_;
    }
    std::string indentText;
    if (caret_.TabIndent && caret_.TabSpaceCount > 0) {
        indentText.assign(static_cast<std::size_t>(indent / caret_.TabSpaceCount), '\t');
        indentText.append(static_cast<std::size_t>(indent % caret_.TabSpaceCount), ' ');
    } else {
        indentText.assign(static_cast<std::size_t>(indent), ' ');
    }
    const std::string text = row.substr(0, static_cast<std::size_t>(offset)) + "\r\n" + indentText +
                             row.substr(static_cast<std::size_t>(offset));
    const int caretRow = row_ + 1;
    rows_->ReplaceRows(row_, 1, WithEnding(row_, text));
    PlaceCaret(caretRow, static_cast<int>(indentText.size()));
}

void TEditor::TypeTab() {
    const int width = TabWidthAt(col_, Layout());
    InsertText(caret_.SoftTab ? std::string(static_cast<std::size_t>(width), ' ') : std::string("\t"));
}

void TEditor::TypeBackspace() {
    if (col_ == 0) {
        if (row_ == 0 || row_ > rows_->Count()) return;
        const int prev = row_ - 1;
        const std::string prevText = RowString(prev);
        const int caretCol = static_cast<int>(prevText.size());
        if (row_ == rows_->Count()) {
            // The empty row after a final break: remove that break.
            rows_->ReplaceRows(prev, 1, prevText);
        } else {
            rows_->ReplaceRows(prev, 2, WithEnding(row_, prevText + RowString(row_)));
        }
        PlaceCaret(prev, caretCol);
        return;
    }
    const TEditorAttributeArray map = CellMap(row_);
    if (col_ > map.Width()) {
        MoveCaretTo(row_, col_ - 1, false, -1);
        return;
    }
    std::string row = RowString(row_);
    const int start = map.CharStart(col_ - 1);
    const int from = map.ColumnToOffset(start);
    const int to = map.ColumnToOffset(col_);
    row.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    const int caretRow = row_;
    rows_->ReplaceRows(row_, 1, WithEnding(row_, row));
    PlaceCaret(caretRow, from);
}

void TEditor::TypeDelete() {
    const int count = rows_->Count();
    if (row_ >= count) return;
    std::string row = RowString(row_);
    const TEditorAttributeArray map = CellMap(row_);
    if (col_ < map.Width()) {
        const int start = map.CharStart(col_);
        const int from = map.ColumnToOffset(start);
        row.erase(static_cast<std::size_t>(from), CharLengthAt(row, static_cast<std::size_t>(from)));
        const int caretRow = row_;
        rows_->ReplaceRows(row_, 1, WithEnding(row_, row));
        PlaceCaret(caretRow, from);
        return;
    }
    if (RowEndingOf(row_) == reNoBreak) return;
    // At or past the end: pad up to the caret and join the next line.
    row.append(static_cast<std::size_t>(col_ - map.Width()), ' ');
    const int caretRow = row_;
    const int caretCol = static_cast<int>(row.size());
    if (row_ + 1 < count) rows_->ReplaceRows(row_, 2, WithEnding(row_ + 1, row + RowString(row_ + 1)));
    else rows_->ReplaceRows(row_, 1, row);
    PlaceCaret(caretRow, caretCol);
}

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !readOnly_)
        InsertText(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(commit.utf16()),
                                                    static_cast<std::size_t>(commit.size()))));
    event->accept();
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImCursorRectangle:
        return CaretRect();
    case Qt::ImFont:
        return textFont_;
    case Qt::ImEnabled:
        return !readOnly_;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace quodle
