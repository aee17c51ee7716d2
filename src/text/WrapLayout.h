#pragma once
// Cutting one line into rows under word wrap. Each row's cut depends only on
// the text from the row's own start, so re-splitting from any row start of
// a line gives the rows that follow it unchanged.
#include <cstddef>
#include <string_view>
#include <vector>

#include "text/CellMap.h"
#include "text/EditorWrapOption.h"

namespace quodle {

class TLineWrapper {
public:
    TLineWrapper(const TEditorWrapOption& option, int tabSpaceCount)
        : option_(option), layout_{tabSpaceCount, option.WrapByte()} {}

    // True when the line is narrower than the row width: one row, no cut.
    bool FitsOneRow(std::string_view line) const;
    // Appends to `ends` the byte offset where each row of the line ends; the
    // last is line.size(). A line that fills its last row exactly gets an
    // empty row after it (two equal last ends) unless FollowRetMark.
    void Split(std::string_view line, std::vector<std::size_t>& ends) const;
    // Cells the first row of `rest` takes; `rest` is at least a row wide.
    int RowCells(std::string_view rest, const TEditorAttributeArray& map) const;
    // The same with none of the breaking rules on, without a map: the
    // bytes of the characters that fit in the row (a tab that starts in it
    // always fits, stopping at the row's end).
    std::size_t PlainRowBytes(std::string_view rest) const;

    const TCellLayout& Layout() const { return layout_; }

private:
    const TEditorWrapOption& option_;
    TCellLayout layout_;
};

}  // namespace quodle
