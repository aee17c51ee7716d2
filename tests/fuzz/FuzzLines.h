#pragma once
// The fuzzers' input as document lines: split at LF only, so a CR stays in
// its line and the passes see stray CRs too.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quodle::fuzz {

inline std::vector<std::string> SplitAtLineFeeds(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

}  // namespace quodle::fuzz
