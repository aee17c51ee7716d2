#pragma once
// What the scanner commands share: reading the source file and the
// position arguments.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "lisp/DocumentLines.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

namespace quodle::cli {

// A source file loaded into a row store the way the editor opens it, with
// its lines for the analyses.
class TSourceFile {
public:
    // Throws EFileError.
    explicit TSourceFile(const std::string& path);
    TLineList Lines() const { return lines_->Lines(); }

private:
    TEditorScreenStrings rows_;
    std::optional<TDocumentLines> lines_;
};

// The loaded file, or nothing after reporting why it could not be read.
std::unique_ptr<TSourceFile> ReadSource(const std::string& path);

// A non-negative number given on the command line, or nothing after
// reporting it.
std::optional<int> PositionArg(const std::string& text, const char* what);

// Prints each entry as one line.
void PrintLines(Output& out, const std::vector<std::string>& lines);

// Prints a pick list as the window shows it: each item's text, a TAB and its
// data; or the message shown instead of an empty list.
void PrintPickList(Output& out, const TPickList& list);

}  // namespace quodle::cli
