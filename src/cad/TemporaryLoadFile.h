#pragma once
// Where a modified document is written before it is loaded.
#include <filesystem>

namespace quodle {

inline constexpr const char* kTemporaryLoadFileName = "temp.lsp";

// "temp.lsp" in the executable's folder; when that folder cannot be written
// or the program is installed, in the user's cache folder instead
// ($XDG_CACHE_HOME/quodle/, by default ~/.cache/quodle/). The file is
// overwritten at every load of a modified document and never deleted.
std::filesystem::path TemporaryLoadFilePath(const std::filesystem::path& executablePath);

}  // namespace quodle
