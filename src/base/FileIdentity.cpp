#include "base/FileIdentity.h"

#include <system_error>

namespace quodle {

namespace {

std::filesystem::path Spelling(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.empty() || b.empty()) return a == b;
    std::error_code error;
    // Fails (with an error) unless both paths name existing files.
    const bool same = std::filesystem::equivalent(a, b, error);
    if (!error) return same;
    return Spelling(a) == Spelling(b);
}

}  // namespace quodle
