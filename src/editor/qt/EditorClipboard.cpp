// The clipboard of TEditor: plain text (Shift-JIS bytes become Unicode here
// and back), and the box format that makes a copied box paste as a box.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "base/qt/QtText.h"
#include "editor/qt/Editor.h"
#include "editor/qt/EditorClipboardFormat.h"

namespace quodle {

QMimeData* TEditor::SelectionMimeData() const {
    const std::string text = SelText();
    auto* data = new QMimeData;
    data->setText(SjisToQString(text));
    // The box format carries the bytes themselves.
    if (selectionMode_ == selBox) data->setData(QString::fromLatin1(kBoxClipboardFormat), QByteArray::fromStdString(text));
    return data;
}

void TEditor::CopyToClipboard() {
    if (!Selected()) return;
    QGuiApplication::clipboard()->setMimeData(SelectionMimeData());
}

void TEditor::CutToClipboard() {
    // Half a cut (a copy without the deletion) would surprise more than none.
    if (ReadOnly() || !Selected() || !SelectionShown()) return;
    CopyToClipboard();
    ClearSelection();
}

void TEditor::PasteFromClipboard() {
    if (ReadOnly()) return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return;
    const QString box = QString::fromLatin1(kBoxClipboardFormat);
    if (data->hasFormat(box)) {
        const QByteArray bytes = data->data(box);
        if (!bytes.isEmpty()) BoxPaste(bytes.toStdString());
        else if (const std::optional<std::string> text = InputBytes(data->text())) BoxPaste(*text);
        return;
    }
    if (!data->hasText()) return;
    if (const std::optional<std::string> text = InputBytes(data->text())) InsertText(*text);
}

void TEditor::BoxPasteFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (ReadOnly() || data == nullptr || !data->hasText()) return;
    if (const std::optional<std::string> text = InputBytes(data->text())) BoxPaste(*text);
}

bool TEditor::ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && ((data->hasText() && !data->text().isEmpty()) ||
                               data->hasFormat(QString::fromLatin1(kBoxClipboardFormat)));
}

}  // namespace quodle
