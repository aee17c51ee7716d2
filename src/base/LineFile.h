#pragma once
// Reading a source file as lines of Shift-JIS bytes, with the file rules of
// the row store: CR LF, CR and LF each end a line, Ctrl+Z ends the text, and
// bytes after the last line break form one more line.
#include <string>
#include <string_view>
#include <vector>

namespace quodle {

// The lines of `bytes`, as views into it.
std::vector<std::string_view> SplitLinesCp932(std::string_view bytes);

// A file read whole and its lines.
class TLineFile {
public:
    explicit TLineFile(std::vector<char> bytes)
        : bytes_(std::move(bytes)), lines_(SplitLinesCp932({bytes_.data(), bytes_.size()})) {}
    // Moving keeps the views valid: the bytes stay where they are.
    TLineFile(TLineFile&&) = default;
    TLineFile& operator=(TLineFile&&) = default;
    TLineFile(const TLineFile&) = delete;
    TLineFile& operator=(const TLineFile&) = delete;

    const std::vector<std::string_view>& Lines() const { return lines_; }

private:
    std::vector<char> bytes_;
    std::vector<std::string_view> lines_;
};

// Throws std::runtime_error naming the path and the system's reason.
TLineFile ReadLinesCp932(const std::string& path);

}  // namespace quodle
