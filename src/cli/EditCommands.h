#pragma once
// What the commands that rewrite the document share: the caret line and tab
// width arguments, and the edited document printed as a save writes it.
#include <optional>
#include <string>

#include "cli/LispSource.h"
#include "text/LineEdits.h"

namespace quodle::cli {

// --line N: the caret's line from 1, up to one past the last line (the
// empty row after a final line break); 0-based, or nothing after reporting.
std::optional<int> CaretLineArg(const Args& args, const TSourceFile& source);

// Applies the edits the way the program does (one undo step) and prints
// the whole new document.
int PrintEdited(Output& out, TSourceFile& source, const TLineEdits& edits);

}  // namespace quodle::cli
