#pragma once
// The line the caret of an editor stands in, as the commands that complete
// or insert names at the caret take it.
#include <string>

#include "editor/qt/EditorEx.h"

namespace quodle {

struct TCaretLine {
    int Row = 0;          // the caret row
    int Index = 0;        // its line
    std::string Text;     // the line (empty past the text)
    std::size_t Offset = 0;  // the caret's byte in it (its end when the caret stands past it)
};

inline TCaretLine CaretLineOf(TEditorEx& editor) {
    TCaretLine caret;
    caret.Row = editor.Row();
    caret.Index = editor.LineIndexOfRow(caret.Row);
    if (caret.Index < editor.Lines().Count()) caret.Text = editor.Lines().Get(caret.Index);
    const int offset = editor.OffsetInLine(caret.Row, editor.Col());
    caret.Offset = offset < 0 || offset > static_cast<int>(caret.Text.size()) ? caret.Text.size()
                                                                                : static_cast<std::size_t>(offset);
    return caret;
}

}  // namespace quodle
