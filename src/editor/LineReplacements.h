#pragma once
// Replacements at places inside the document's lines, made as one edit of
// the rows (one ReplaceRows, so one undo step) however far apart they lie.
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "editor/EditorEdits.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

// `Length` bytes at byte `Offset` of line `Line` (0-based) become `Text`.
struct TLineReplacement {
    std::size_t Line = 0;
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::string Text;
    bool operator==(const TLineReplacement&) const = default;
};

// The edit that makes the replacements, given in ascending order of line and
// offset and not overlapping, over the rows from the first line touched to
// the last. The caret of the edit is the start of its text. Nothing when
// there are none or they change nothing.
std::optional<TRowsEdit> LineReplacementsEdit(const TEditorScreenStrings& rows,
                                              std::span<const TLineReplacement> replacements);

}  // namespace quodle
