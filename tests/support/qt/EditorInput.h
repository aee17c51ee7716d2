#pragma once
// An editor for Qt tests: made and shown, its text, its cells on the
// screen and keyboard input.
#include <QApplication>
#include <QKeyEvent>
#include <QtTest>
#include <memory>
#include <string>

#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"

namespace quodle::testing {

// An editor with the template design, shown at width x height.
inline std::unique_ptr<TEditorEx> ShownEditor(int width, int height) {
    auto editor = std::make_unique<TEditorEx>();
    AssignTo(TEditorExProp::TemplateDesign(), *editor);
    editor->resize(width, height);
    editor->show();
    return editor;
}

// A point in the cell (row, col), in viewport coordinates: one pixel right
// of its left edge, halfway down.
inline QPoint CellPoint(const TEditorEx& editor, int row, int col) {
    return QPoint(editor.TextLeft() + (col - editor.TopCol()) * editor.CellWidth() + 1,
                  editor.TextTop() + (row - editor.TopRow()) * editor.RowHeight() + editor.RowHeight() / 2);
}

// Pixels of exactly `color` inside a rectangle of an image.
inline int CountPixels(const QImage& image, const QRect& rect, const QColor& color) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y).rgb() == color.rgb()) ++n;
    return n;
}

inline QString FromSjis(const std::string& bytes) { return QString::fromStdString(Cp932ToUtf8(bytes)); }

// The whole text of an editor, line ends included.
inline QString TextOf(const TEditorEx& editor) { return FromSjis(editor.Lines().Text()); }

// Replaces the editor's text by `text` (UTF-8 here) and puts the caret at
// (row, col).
inline void LoadText(TEditorEx& editor, const QString& text, int row = 0, int col = 0) {
    editor.Lines().SetText(Utf8ToCp932(text.toStdString()));
    editor.SetRow(row);
    editor.SetCol(col);
}

// Types text into a widget as key presses carrying the characters.
inline void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

inline void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
}

}  // namespace quodle::testing
