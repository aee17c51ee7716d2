#pragma once
// What the scanner commands share: reading the source file and the
// position arguments.
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "lisp/LispScanner.h"

namespace quodle::cli {

// The file's lines, or nothing after reporting why it could not be read.
std::optional<std::vector<std::string>> ReadSource(const std::string& path);

// A non-negative number given on the command line, or nothing after
// reporting it.
std::optional<int> PositionArg(const std::string& text, const char* what);

// Prints each entry as one line.
void PrintLines(Output& out, const std::vector<std::string>& lines);

}  // namespace quodle::cli
