#include "cli/LispSource.h"

#include <charconv>
#include <stdexcept>

#include "base/LineFile.h"

namespace quodle::cli {

std::optional<std::vector<std::string>> ReadSource(const std::string& path) {
    try {
        return ReadLinesCp932(path);
    } catch (const std::exception& e) {
        Fail(e.what());
        return std::nullopt;
    }
}

std::optional<int> PositionArg(const std::string& text, const char* what) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) {
        Fail(std::string(what) + " must be a number from 0: '" + text + "'");
        return std::nullopt;
    }
    return value;
}

void PrintLines(Output& out, const std::vector<std::string>& lines) {
    for (const auto& line : lines) out.Line(line);
}

}  // namespace quodle::cli
