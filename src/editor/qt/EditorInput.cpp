// The input method on TEditor: a committed string is inserted whole by one
// InsertText (one undo step); the string being composed is drawn at the
// caret until then. And the one conversion of text from outside the editor
// into the bytes of a document.
#include <QInputMethodEvent>
#include <algorithm>

#include "base/ShiftJis.h"
#include "base/qt/QtText.h"
#include "editor/qt/Editor.h"

namespace quodle {

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !ReadOnly())
        if (const std::optional<std::string> bytes = InputBytes(commit)) InsertText(*bytes);
    const QString preedit = ReadOnly() ? QString() : event->preeditString();
    int cursor = static_cast<int>(preedit.size());
    for (const QInputMethodEvent::Attribute& a : event->attributes())
        if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
    if (preedit != preedit_ || cursor != preeditCursor_) {
        preedit_ = preedit;
        preeditCursor_ = std::clamp(cursor, 0, static_cast<int>(preedit_.size()));
        InvalidateRows(row_, row_);
        updateMicroFocus();
    }
    event->accept();
}

std::optional<std::string> TEditor::InputBytes(const QString& text) {
    TCp932Encoding encoded = EncodeCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    if (encoded.unmapped.empty()) return std::move(encoded.bytes);
    emit Unencodable(QString::fromUcs4(encoded.unmapped.data(), static_cast<qsizetype>(encoded.unmapped.size())));
    return std::nullopt;
}

// The surrounding text is the caret row in UTF-16: a byte offset of the row
// counted in its UTF-16 units (past the end of the text: its end).
int TEditor::SurroundingTextPosition(int offset) const {
    const std::string_view row = RowTextOrEmpty(*rows_, row_);
    const std::size_t bytes = std::min(static_cast<std::size_t>(std::max(offset, 0)), row.size());
    return static_cast<int>(Cp932ToUtf16(row.substr(0, bytes)).size());
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImCursorRectangle:
        return CaretRect();
    case Qt::ImFont:
        return textFont_;
    case Qt::ImEnabled:
        return !ReadOnly();
    case Qt::ImCursorPosition:
        return SurroundingTextPosition(CaretCol());
    case Qt::ImAnchorPosition: {
        // A selection's anchor on another row has no place in the row's text.
        if (!Selected() || selectionMode_ != selStream || anchor_.Row != row_) return SurroundingTextPosition(CaretCol());
        const TEditorAttributeArray map = CellMap(row_);
        return SurroundingTextPosition(map.ColumnToOffset(map.CharStart(anchor_.Col)));
    }
    case Qt::ImSurroundingText:
        return SjisToQString(RowString(row_));
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace quodle
