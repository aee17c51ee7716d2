#pragma once
// Changes of whole lines, as the commands that rewrite a document here and
// there produce them (conversions, debug lines, commenting a line), and
// their application to a row list: through ReplaceRows, inside one update
// block, as one undo step.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <span>
#include <vector>

#include "base/LineList.h"

namespace quodle {

class TEditorClient;
class TEditorScreenStrings;

class TLineEdits {
public:
    enum TKind : std::uint8_t { leInsert, leReplace, leDelete };
    struct TEdit {
        int Line;  // in the text before any of the edits
        TKind Kind;
        std::size_t Start;  // of the new text in the list's buffer
        std::size_t Length;
    };

    // Edits are given in ascending order of their lines, at most one
    // replacement or deletion per line, insertions before a line ahead of
    // its own edit; otherwise these throw std::invalid_argument.
    // A new line before line `line` (the line count: after the last line).
    void Insert(int line, std::string_view text);
    // Line `line` becomes `text`.
    void Replace(int line, std::string_view text);
    void Delete(int line);

    bool empty() const { return edits_.empty(); }
    std::size_t size() const { return edits_.size(); }
    const TEdit& operator[](std::size_t i) const { return edits_[i]; }
    std::string_view Text(const TEdit& edit) const { return std::string_view(text_).substr(edit.Start, edit.Length); }

    // Where line `line` of the old text stands after the edits; a deleted
    // line gives the line that takes its place.
    int NewLineOf(int line) const;

private:
    void Push(int line, TKind kind, std::string_view text);

    std::string text_;
    std::vector<TEdit> edits_;
};

// `Length` bytes at byte `Offset` of line `Line` (0-based) become `Text`.
struct TLineReplacement {
    std::size_t Line = 0;
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::string Text;
    bool operator==(const TLineReplacement&) const = default;
};

// Each line the replacements touch, rebuilt with them. They are given in
// ascending order of line and offset and do not overlap (else this throws
// std::invalid_argument); a line that comes out as it was is left alone.
TLineEdits LineEditsOf(TLineList lines, std::span<const TLineReplacement> replacements);

// Applies the edits to the rows (no break may stand inside a new line's
// text; lone CR and LF would start lines of their own). Every change goes
// through ReplaceRows, inside one update block, recorded as one undo step
// whose caret is `editor`'s (null: the focused editor's). Edits close to
// each other are made by one ReplaceRows. Row marks stay on their lines
// (an inserted line gets none; a deleted line's marks go to the line that
// takes its place), and whether the text ends with a line break does not
// change. A read-only text is left as it is.
void ApplyLineEdits(TEditorScreenStrings& rows, const TLineEdits& edits, const TEditorClient* editor = nullptr);

}  // namespace quodle
