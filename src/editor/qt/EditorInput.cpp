// The input method on TEditor: a committed string is inserted whole by one
// InsertText (one undo step); the string being composed is drawn at the
// caret until then.
#include <QInputMethodEvent>

#include "base/ShiftJis.h"
#include "editor/qt/Editor.h"

namespace quodle {

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && !readOnly_)
        InsertText(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(commit.utf16()),
                                                    static_cast<std::size_t>(commit.size()))));
    const QString preedit = readOnly_ ? QString() : event->preeditString();
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

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImCursorRectangle:
        return CaretRect();
    case Qt::ImFont:
        return textFont_;
    case Qt::ImEnabled:
        return !readOnly_;
    case Qt::ImCursorPosition:
        return CaretCol();
    case Qt::ImSurroundingText: {
        const std::u16string row = Cp932ToUtf16(RowString(row_));
        return QString::fromUtf16(row.data(), static_cast<qsizetype>(row.size()));
    }
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

}  // namespace quodle
