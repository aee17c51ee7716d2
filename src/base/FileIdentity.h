#pragma once
// Whether two paths name the same file. Letter case alone never decides it
// (on Linux "A.lsp" and "a.lsp" are two files): an existing file is known by
// its identity on disk (device and inode, links resolved), so a symbolic or
// hard link to a file counts as that file; a path that names no file compares
// by its absolute, normalised spelling, exactly.
#include <filesystem>

namespace quodle {

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace quodle
