#pragma once
// The lines of a document's row store as the analyses read them. Without
// word wrap a row is a line and is read straight from the rows; with it, the
// rows of each line are joined once. The lines hold until the rows change,
// so a command makes this right before its passes.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

class TDocumentLines {
public:
    explicit TDocumentLines(const TEditorScreenStrings& rows);

    TLineList Lines() const;
    std::size_t size() const;

private:
    const TEditorScreenStrings& rows_;
    bool joined_ = false;
    std::deque<std::string> wrappedLines_;  // stays in place as it grows
    std::vector<std::string_view> views_;   // with word wrap only
};

}  // namespace quodle
