#include "base/LineFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace quodle {

std::vector<std::string> SplitLinesCp932(std::string_view bytes) {
    const std::size_t eof = bytes.find('\x1A');
    if (eof != std::string_view::npos) bytes = bytes.substr(0, eof);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::vector<std::string> ReadLinesCp932(const std::string& path) {
    const auto fail = [&path] { return std::runtime_error(path + ": " + std::strerror(errno)); };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw fail();
    std::string bytes;
    char block[1 << 16];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, n);
    if (std::ferror(file.get())) throw fail();
    return SplitLinesCp932(bytes);
}

}  // namespace quodle
