#pragma once
// Reading a source file as lines of Shift-JIS bytes, with the file rules of
// the row store: CR LF, CR and LF each end a line, Ctrl+Z ends the text, and
// bytes after the last line break form one more line.
#include <string>
#include <string_view>
#include <vector>

namespace quodle {

std::vector<std::string> SplitLinesCp932(std::string_view bytes);

// Throws std::runtime_error naming the path and the system's reason.
std::vector<std::string> ReadLinesCp932(const std::string& path);

}  // namespace quodle
