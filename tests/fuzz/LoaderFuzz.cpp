// libFuzzer target for loading files: any bytes, read in reads of any size,
// must give the rows that the line-end rule gives when the bytes are split
// by hand (CR, LF and CR LF each end one line, Ctrl+Z ends the text, bytes
// after the last break form a last row without a break), the same rows as
// one read of the whole file and as the text split in memory. A file read
// as UTF-8 gives the rows of its text converted in one piece.
// The first byte picks the read size (1 to 64 bytes); the rest is the file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/ShiftJis.h"
#include "text/EditorScreenStrings.h"
#include "text/TextFile.h"

namespace {

struct TRow {
    std::string Text;
    bool Break = true;
    bool operator==(const TRow&) const = default;
};

std::vector<TRow> ByHand(std::string_view bytes) {
    std::vector<TRow> rows;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == 26) break;
        if (c == '\r' || c == '\n') {
            rows.push_back({line, true});
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            continue;
        }
        line += c;
    }
    if (!line.empty()) rows.push_back({line, false});
    return rows;
}

std::vector<TRow> RowsOf(const quodle::TEditorStringList& list) {
    std::vector<TRow> rows;
    for (int r = 0; r < list.Count(); ++r)
        rows.push_back({std::string(list.View(r)), list.RowEnding(r) != quodle::reNoBreak});
    return rows;
}

// The file as a path, without touching the disk.
class TMemoryFile {
public:
    explicit TMemoryFile(std::string_view bytes) : fd_(memfd_create("loader-fuzz", 0)) {
        if (fd_ < 0 || write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
    }
    ~TMemoryFile() { close(fd_); }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const TMemoryFile file(bytes);

    // Reads of a few bytes, one read of the whole file, and the text split
    // in memory give the same rows.
    quodle::TEditorStringList small, whole, memory;
    const quodle::TLoadResult got = quodle::AppendFileLines(file.Path(), small, quodle::TReadEncoding::Detect, chunk);
    const quodle::TLoadResult once =
        quodle::AppendFileLines(file.Path(), whole, quodle::TReadEncoding::Detect, bytes.size() + 1);
    if (got.Format != once.Format || got.Problem.has_value() != once.Problem.has_value()) std::abort();
    std::string converted(bytes.substr(0, bytes.find('\x1A')));
    if (got.Format.Encoding != quodle::TTextEncoding::ShiftJis) {
        std::string_view utf8(bytes);
        if (got.Format.Encoding == quodle::TTextEncoding::Utf8Bom) utf8.remove_prefix(3);
        utf8 = utf8.substr(0, utf8.find('\x1A'));
        std::string out(utf8.size(), '\0');
        quodle::TVariantForms forms;
        const quodle::TUtf8Conversion r = quodle::Utf8ToCp932Strict(utf8, out.data(), true, forms);
        if (r.invalid) std::abort();
        converted = out.substr(0, r.written);
    }
    const std::vector<TRow> expected = ByHand(converted);
    const std::string_view text = converted;
    if (quodle::AppendLines(text, memory)) memory.SetRowEnding(memory.Count() - 1, quodle::reNoBreak);
    if (RowsOf(small) != expected || RowsOf(whole) != expected || RowsOf(memory) != expected) std::abort();

    // The text written back has a CR LF after every line that had a break.
    quodle::TEditorScreenStrings set;
    set.SetAllText(text);
    if (RowsOf(set) != expected) std::abort();
    std::string written;
    for (const TRow& row : expected) written += row.Text + (row.Break ? "\r\n" : "");
    if (set.AllText() != written) std::abort();
    return 0;
}
