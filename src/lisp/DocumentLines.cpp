#include "lisp/DocumentLines.h"

namespace quodle {

TDocumentLines::TDocumentLines(const TEditorScreenStrings& rows) : rows_(rows), joined_(rows.WordWrap()) {
    if (!joined_) return;
    const int count = rows.Count();
    for (int r = 0; r < count;) {
        // The last row always ends a line.
        if (rows.RowEnding(r) != reWrapped || r == count - 1) {
            views_.push_back(rows.View(r++));
            continue;
        }
        std::string& line = wrappedLines_.emplace_back();
        bool wrapped = true;
        for (; r < count && wrapped; ++r) {
            line += rows.View(r);
            wrapped = rows.RowEnding(r) == reWrapped;
        }
        views_.push_back(line);
    }
}

TLineList TDocumentLines::Lines() const {
    if (joined_) return views_;
    return TLineList(
        &rows_,
        [](const void* rows, std::size_t line) {
            return static_cast<const TEditorScreenStrings*>(rows)->View(static_cast<int>(line));
        },
        static_cast<std::size_t>(rows_.Count()));
}

std::size_t TDocumentLines::size() const { return joined_ ? views_.size() : static_cast<std::size_t>(rows_.Count()); }

}  // namespace quodle
