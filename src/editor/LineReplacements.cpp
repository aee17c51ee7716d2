#include "editor/LineReplacements.h"

namespace quodle {

namespace {

int FirstRowOfLine(const TEditorScreenStrings& rows, std::size_t line) {
    const int index = static_cast<int>(line);
    return rows.WordWrap() ? rows.LineToRow(index) : index;
}

}  // namespace

std::optional<TRowsEdit> LineReplacementsEdit(const TEditorScreenStrings& rows,
                                              std::span<const TLineReplacement> replacements) {
    if (replacements.empty()) return std::nullopt;
    const int first = FirstRowOfLine(rows, replacements.front().Line);
    const int last = FirstRowOfLine(rows, replacements.back().Line);
    if (first >= rows.Count() || last >= rows.Count()) return std::nullopt;
    TRowsPatch patch(rows, first, last);
    for (const TLineReplacement& r : replacements) {
        // The rows of a soft-wrapped line follow each other in the patch
        // text without breaks, so a line offset counts from its first row.
        const std::size_t lineStart = patch.PosOf(FirstRowOfLine(rows, r.Line), 0);
        patch.Replace(lineStart + r.Offset, r.Length, r.Text);
    }
    return patch.Build(0);
}

}  // namespace quodle
