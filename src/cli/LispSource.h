#pragma once
// What the commands share: reading the source file into a row store the way
// the editor opens it, the position arguments, and the printing of lists
// and messages.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "editor/StandaloneDocument.h"
#include "lisp/DocumentLines.h"
#include "lisp/LispScanner.h"
#include "lisp/UserFunctions.h"

namespace quodle::cli {

enum class TSourceKind : std::uint8_t {
    skText,       // rows only
    skTokenized,  // rows with the documents' fountain and the word lists beside the executable
};

// A source file loaded into a row store the way the editor opens it, with
// its lines for the analyses.
class TSourceFile {
public:
    // Throws EFileError.
    TSourceFile(const std::string& path, TSourceKind kind, TReadEncoding encoding = TReadEncoding::Detect);
    const TLoadResult& Loaded() const { return loaded_; }
    TLineList Lines() const { return lines_->Lines(); }
    TStandaloneDocument& Document() { return document_; }
    TEditorScreenStrings& Rows() { return document_.Rows(); }

private:
    TStandaloneDocument document_;
    TLoadResult loaded_;
    std::optional<TDocumentLines> lines_;
};

// The loaded file, read as `out` says (--encoding), or nothing after
// reporting why it could not be read. Its format becomes the raw form of
// `out`; what the load met that keeps the
// file from being saved as it came is told on stderr.
std::unique_ptr<TSourceFile> ReadSource(Output& out, const std::string& path, TSourceKind kind = TSourceKind::skText);

// A whole number in [min, max] given on the command line, or nothing after
// reporting it: a value outside the range is refused, never clamped.
std::optional<std::int64_t> NumberArg(const std::string& text, const char* what, std::int64_t min, std::int64_t max);
// A non-negative number given on the command line, or nothing after
// reporting it.
std::optional<int> PositionArg(const std::string& text, const char* what);

// Whether a 0-based LINE (and COL, when given) stands inside the file's
// lines; a position outside is reported as an input error.
bool PositionInFile(TLineList lines, int line, std::optional<int> col = std::nullopt);

// Prints each entry as one line.
template <class List>
void PrintLines(Output& out, const List& lines) {
    for (const std::string_view line : lines) out.Line(line);
}

// Prints a message box text: each CR starts a new line.
void PrintMessage(Output& out, std::string_view message);

// Prints the document: in raw form the very bytes a save would write (an
// error when the editor would refuse to save it), otherwise each row that
// ends a line with the form's line end. Returns the exit status.
int PrintDocument(Output& out, const TEditorScreenStrings& rows);

// Prints a pick list as the window shows it: each item's text, a TAB and its
// data; or the message shown instead of an empty list.
void PrintPickList(Output& out, const TPickList& list);

}  // namespace quodle::cli
