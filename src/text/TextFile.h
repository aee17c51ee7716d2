#pragma once
// Reading source files into rows, and the one line-break rule shared by
// loading, Lines.Text and ReplaceRows: CR, LF and CR LF each end one line.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileIo.h"
#include "base/ShiftJis.h"

namespace quodle {

class TheStringList;

// A file that could not be opened or read: the shared file error, carrying
// the path and the system's reason.
using EFileError = FileError;

// Appends the lines of `text` to `rows` (all reBreak). Returns true when the
// text is not empty and does not end with a break: the caller then marks
// the last row reNoBreak.
bool AppendLines(std::string_view text, TheStringList& rows);

// The lines of `text` as views into it, by the same rule; bytes after the
// last break form one more line. Returns true when there are such bytes.
bool TextLines(std::string_view text, std::vector<std::string_view>& lines);

// How a document's text is stored in its file. The rows always hold CP932
// bytes; a UTF-8 file is converted on load and back on save.
enum class TTextEncoding : std::uint8_t { ShiftJis, Utf8, Utf8Bom };
enum class TLineBreak : std::uint8_t { CrLf, Lf, Cr };
struct TFileFormat {
    TTextEncoding Encoding = TTextEncoding::ShiftJis;
    TLineBreak Break = TLineBreak::CrLf;
    // UTF-8: the codes the file writes in their alternative form (always
    // none for Shift-JIS, so a Shift-JIS text turned UTF-8 is canonical).
    TCp932Variants Variants = 0;
    bool operator==(const TFileFormat&) const = default;
};
std::string_view LineBreakBytes(TLineBreak lineBreak);
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A document's rows written into `out` as UTF-8, one after another: room
// is made a step at a time (a row of many megabytes by AppendCp932AsUtf8),
// so the text never takes three times its size at once. `cp932Bytes` (all
// the rows to come) sizes the first reserve.
class TUtf8Writer {
public:
    TUtf8Writer(std::string& out, std::size_t cp932Bytes, TCp932Variants variants);
    // A row's text, then its line break (ASCII, at most two bytes; empty:
    // none). False at a byte that is not part of a character: the text has
    // no faithful UTF-8 form.
    bool PutRow(std::string_view cp932, std::string_view lineBreak) {
        if (out_.size() - used_ < kUtf8PerCp932Byte * cp932.size() + 2)
            return PutRowInSteps(cp932, lineBreak);
        return Convert(cp932, lineBreak);
    }
    // Cuts `out` to what was written.
    void Finish() { out_.resize(used_); }

private:
    static constexpr std::size_t kStepBytes = std::size_t{1} << 18;
    bool PutRowInSteps(std::string_view cp932, std::string_view lineBreak);
    // Needs room for kUtf8PerCp932Byte bytes per byte of cp932, and the break.
    bool Convert(std::string_view cp932, std::string_view lineBreak) {
        std::size_t undecodable = std::string_view::npos;
        char* o = PutCp932AsUtf8(out_.data() + used_, cp932, variants_, undecodable);
        for (const char c : lineBreak) *o++ = c;
        used_ = static_cast<std::size_t>(o - out_.data());
        return undecodable == std::string_view::npos;
    }

    std::string& out_;
    std::size_t used_;
    const TCp932Variants variants_;
};

// What a load met that keeps the document from being saved as it came.
struct TLoadProblem {
    enum TKind : std::uint8_t {
        lpNoForm,       // a UTF-8 character without a CP932 form: shown as kNoFormMark
        lpInvalidUtf8,  // a file marked UTF-8 that is not: read as Shift-JIS, every byte kept
        lpNotUtf8,      // a file to be read as UTF-8 that is not: read as Shift-JIS, every byte kept
    };
    TKind Kind = lpNoForm;
    char32_t Char = 0;  // lpNoForm: the character; otherwise the offending byte
    int Line = 0;       // from 1
};

struct TLoadResult {
    TFileFormat Format;
    std::optional<TLoadProblem> Problem;
    // The bytes from a Ctrl+Z on, as the file holds them: not shown, but
    // written back after the text on saving. Empty when there is no Ctrl+Z,
    // or when it is the old end-of-file mark (a lone Ctrl+Z at the very
    // end, perhaps followed by line breaks), which is dropped.
    std::string Tail;
    std::size_t TailSize = 0;  // Tail's size, also once the rows took it over
    int TailLine = 0;          // from 1: the line the Ctrl+Z stands on
};

// How a file is to be read: by its bytes, or in the encoding the user named.
enum class TReadEncoding : std::uint8_t { Detect, ShiftJis, Utf8 };

// Appends the lines of the file to `rows`; the byte 26 (Ctrl+Z) ends the
// text (see TLoadResult::Tail), NUL bytes are ordinary bytes. Bytes after
// the last break form a last row that gets reNoBreak. Throws EFileError.
// Detect: a file that starts with the UTF-8 byte-order mark is UTF-8. A
// file that is valid UTF-8 and holds a character beyond ASCII is UTF-8 too,
// unless one of its characters is one a Japanese text does not hold
// (IsForeignToJapaneseText) and its bytes are valid Shift-JIS (each of them
// part of a character): such a file is Shift-JIS whose half-width katakana
// happened to spell UTF-8. Every other file (pure ASCII included) is
// Shift-JIS as it stands.
// ShiftJis reads the bytes as they stand; Utf8 reads UTF-8 (after a byte-
// order mark, if there is one), and a file that is not UTF-8 is then read
// as Shift-JIS with the problem lpNotUtf8.
// A UTF-8 file that writes a variant code in its alternative form keeps it
// (Format.Variants); one that writes such a code in both forms has the
// problem of lpNoForm at the first character in the second form. The
// line-break style is that of the first break (CR LF when there is none).
// `chunkBytes` is the size of each read (tests make it tiny to put breaks
// across read boundaries).
inline constexpr std::size_t kReadChunkBytes = 1 << 20;
TLoadResult AppendFileLines(const std::string& path, TheStringList& rows, TReadEncoding encoding = TReadEncoding::Detect,
                            std::size_t chunkBytes = kReadChunkBytes);


}  // namespace quodle
