#include "app/LineNumber.h"

#include <charconv>

namespace quodle {

int ParseLineNumber(std::string_view text) {
    int value = -1;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) return -1;
    return value;
}

}  // namespace quodle
