#pragma once
// What the scanner commands share: reading the source file and the
// position arguments.
#include <optional>
#include <string>
#include <vector>

#include "base/LineFile.h"
#include "cli/Cli.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

namespace quodle::cli {

// The file's lines, or nothing after reporting why it could not be read.
std::optional<TLineFile> ReadSource(const std::string& path);

// A non-negative number given on the command line, or nothing after
// reporting it.
std::optional<int> PositionArg(const std::string& text, const char* what);

// Prints each entry as one line.
void PrintLines(Output& out, const std::vector<std::string>& lines);

// Prints a pick list as the window shows it: each item's text, a TAB and its
// data; or the message shown instead of an empty list.
void PrintPickList(Output& out, const TPickList& list);

}  // namespace quodle::cli
