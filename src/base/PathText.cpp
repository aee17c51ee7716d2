#include "base/PathText.h"

namespace quodle {

// char8_t text is UTF-8 by definition: taken as it is where paths are bytes,
// converted where they are UTF-16.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace quodle
