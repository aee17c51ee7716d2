#pragma once
// Changes of whole lines, as the commands that rewrite a document here and
// there produce them (conversions, debug lines, commenting a line), and
// their application to a row list: as one bulk edit of the rows, inside one
// update block, as one undo step.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <span>
#include <vector>

#include "base/BulkArray.h"
#include "base/LineList.h"

namespace quodle {

class TEditorClient;
class TEditorScreenStrings;

class TLineEdits {
public:
    // Of the same type as the bit-field beside it: Windows compilers start a
    // new word where the type of a bit-field changes.
    enum TKind : std::uint32_t { leInsert, leReplace, leDelete };
    // Small, as a rewrite of the whole text makes one for most lines.
    struct TEdit {
        std::uint32_t Start;   // of the new text in its buffer
        std::uint32_t Length;  // a line is never 4 GiB: a row could not hold it
        int Line;              // in the text before any of the edits
        std::uint32_t Chunk : 30;  // of the list's buffers holding the new text
        TKind Kind : 2;
    };
    static_assert(sizeof(TEdit) == 16);

    // Edits are given in ascending order of their lines, at most one
    // replacement or deletion per line, insertions before a line ahead of
    // its own edit; otherwise these throw std::invalid_argument.
    // A new line before line `line` (the line count: after the last line).
    void Insert(int line, std::string_view text);
    // Line `line` becomes `text`.
    void Replace(int line, std::string_view text);
    void Delete(int line);
    // A command may write a new text where it is kept rather than hand it
    // over: Buffer(n) is the string to append it to, with room for n more
    // bytes; ReplaceWithWritten(line) then makes what was appended since
    // the new text of line `line`, and DropWritten() forgets it.
    std::string& Buffer(std::size_t bytes);
    void ReplaceWithWritten(int line);
    void DropWritten();
    // Room for n edits: a command that may edit every line says so once.
    void Reserve(std::size_t n) {
        if (n > edits_.capacity()) edits_.Grow(n, count_);
    }
    // Whether the text ends with a line break afterwards; unless set, it
    // ends as it did.
    void SetFinalBreak(bool value) { finalBreak_ = value; }
    std::optional<bool> FinalBreak() const { return finalBreak_; }

    // No edit (and no final break to set).
    bool empty() const { return count_ == 0 && !finalBreak_; }
    std::size_t size() const { return count_; }
    const TEdit& operator[](std::size_t i) const { return edits_.data()[i]; }
    std::string_view Text(const TEdit& edit) const {
        return std::string_view(chunks_[edit.Chunk]).substr(edit.Start, edit.Length);
    }

    // Where line `line` of the old text stands after the edits; a deleted
    // line gives the line that takes its place.
    int NewLineOf(int line) const;

private:
    void Push(int line, TKind kind, std::string_view text);
    // Records the edit whose text was written since Buffer().
    void TakeWritten(int line, TKind kind);

    // The new texts, in buffers that are filled and never grown: a command
    // that rewrites a million lines never copies what it wrote.
    std::vector<std::string> chunks_;
    std::size_t written_ = 0;  // where the text being written starts in the last chunk
    // Large for a rewrite of a large text: kept where the system can map
    // it in large pages.
    TBulkArray<TEdit> edits_;
    std::size_t count_ = 0;
    std::optional<bool> finalBreak_;
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
// text; lone CR and LF would start lines of their own; replacements and
// deletions past the last line are ignored). The edits of existing lines
// are one ReplaceRowSpans, lines added after the last line and the final
// break ReplaceRows, all inside one update block, recorded as one undo step
// whose caret is `editor`'s (null: the focused editor's). Row marks stay on
// their lines (an inserted line gets none; a deleted line's marks go to the
// line that takes its place), and whether the text ends with a line break
// changes only as FinalBreak says. A read-only text is left as it is.
void ApplyLineEdits(TEditorScreenStrings& rows, const TLineEdits& edits, const TEditorClient* editor = nullptr);

}  // namespace quodle
