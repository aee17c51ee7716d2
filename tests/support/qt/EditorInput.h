#pragma once
// An editor's text and keyboard input for Qt tests.
#include <QApplication>
#include <QKeyEvent>
#include <QtTest>
#include <string>

#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"

namespace quodle::testing {

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
