#pragma once
// "コメント抜き出し(関数カタログ化）": a plain-text catalogue of a document's
// top-level functions, each with its arguments and the comment lines
// written above it, under a heading with the file name and the time it was
// made. Shift-JIS text, as the output pane holds it.
#include <string_view>

#include "base/LineList.h"
#include "base/Progress.h"
#include "base/TextLines.h"

namespace quodle {

// The catalogue of `lines`; `fileName` (without folder) and `stamp` (the
// date and time) go into the heading. Empty when the document has no
// definitions: the pane then stays empty.
TTextLines BuildCatalog(TLineList lines, std::string_view fileName, std::string_view stamp, TProgressSink* progress);

}  // namespace quodle
