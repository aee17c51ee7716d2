#pragma once
// The line the caret of an editor stands in, as the commands that complete
// or insert names at the caret take it.
#include <algorithm>
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

// A byte offset in a line as an offset in its row `row` (word wrap).
inline std::size_t OffsetInRow(const TEditorScreenStrings& rows, int row, int offsetInLine) {
    std::size_t offset = static_cast<std::size_t>(offsetInLine);
    for (int r = rows.LineStartRow(row); r < row; ++r) offset -= std::min(offset, rows.View(r).size());
    return offset;
}

// Whether the caret stands in a comment or a string, where a word names
// nothing the commands look up.
inline bool CaretInCommentOrString(TEditorEx& editor, const TCaretLine& caret) {
    if (caret.Row >= editor.Rows().Count()) return false;
    const TTokenKind kind = editor.TokenKindAt(
        caret.Row, static_cast<int>(OffsetInRow(editor.Rows(), caret.Row, static_cast<int>(caret.Offset))));
    return kind == tokComment || kind == tokBracket || kind == tokQuoted;
}

}  // namespace quodle
