#pragma once
// The lines of an editor as the window shows them (UTF-8), for comparing
// a document or the output pane with what a test expects.
#include <QStringList>

#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "text/EditorStrings.h"

namespace quodle::testing {

inline QStringList EditorLines(TEditorEx* editor) {
    QStringList lines;
    for (int i = 0; i < editor->Lines().Count(); ++i) lines << SjisToQString(editor->Lines().Get(i));
    return lines;
}

}  // namespace quodle::testing
