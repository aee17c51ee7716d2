#pragma once
// A document a client has opened: its text as the client keeps it (UTF-8
// lines, each with its position map) and as the analyses read it (the
// Shift-JIS rows of a document without a window, tokenized by the
// program's own fountain). Every change goes to both, line for line: row i
// is always client line i.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"
#include "editor/StandaloneDocument.h"
#include "lsp/Positions.h"

namespace quodle::lsp {

struct TClientPosition {
    std::size_t Line = 0;
    std::size_t Character = 0;
    bool operator==(const TClientPosition&) const = default;
};
struct TClientRange {
    TClientPosition Start, End;
    bool operator==(const TClientRange&) const = default;
};

// A place in the Shift-JIS rows: a row and a byte offset in it.
struct TSjisPlace {
    std::size_t Line = 0;
    std::size_t Offset = 0;
};

class TLspDocument {
public:
    TLspDocument(std::string uri, std::filesystem::path path, std::unique_ptr<TFountain> fountain);

    const std::string& Uri() const { return uri_; }
    // The file the document is, or empty for one that is no file.
    const std::filesystem::path& Path() const { return path_; }
    int Version() const { return version_; }
    void SetVersion(int version) { version_ = version; }
    // Grows with every change of the text.
    std::uint64_t Revision() const { return revision_; }

    // The whole text anew.
    void SetText(std::string_view utf8);
    // The text of `range` (positions past a line's end or the last line
    // taken as the end) replaced by `utf8`.
    void Replace(TClientRange range, std::string_view utf8, TPositionEncoding encoding);

    std::size_t LineCount() const { return lines_.size(); }
    const TClientLine& Line(std::size_t line) const { return lines_[line].Text; }
    // The Shift-JIS lines, one per client line.
    TLineList Lines() const;
    // The Shift-JIS text with CR LF between the lines.
    std::string SjisText() const;
    // The client's text as it stands (for checks).
    std::string Utf8Text() const;

    TSjisPlace ToSjis(TClientPosition position, TPositionEncoding encoding) const;
    TClientPosition ToClient(std::size_t line, std::size_t sjisOffset, TPositionEncoding encoding) const;

    TEditorScreenStrings& Rows() { return document_.Rows(); }
    TFountain& Fountain() { return *document_.Fountain(); }

private:
    enum TBreak : std::uint8_t { bNone, bLf, bCr, bCrLf };
    struct TLine {
        TClientLine Text;
        TBreak Break = bNone;
    };
    static std::string_view BreakText(TBreak b);
    // Cuts `text` into lines with their breaks; the Shift-JIS form of each
    // goes to `sjis`. Without `keepLast`, an empty piece after a final
    // break is not a line (the line after the edited ones follows there).
    static std::vector<TLine> Cut(std::string_view text, bool keepLast, std::vector<std::string>& sjis);

    std::string uri_;
    std::filesystem::path path_;
    int version_ = 0;
    std::uint64_t revision_ = 0;
    TStandaloneDocument document_;
    std::vector<TLine> lines_;  // never empty; the last one has no break
};

}  // namespace quodle::lsp
