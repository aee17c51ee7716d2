#pragma once
// Paths are UTF-8 text inside the program on every system. A path object is
// made from that text, and turned back into it, only here: on Windows the
// file system's own form is UTF-16, and the library's narrow conversions
// there go through the ANSI code page, which cannot hold every name.
#include <filesystem>
#include <string>
#include <string_view>

namespace quodle {

// What ends a folder's name in a path's text: on Windows "\" as well, which
// there can never be part of a name.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace quodle
