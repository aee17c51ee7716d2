#pragma once
// Reading source files into rows, and the one line-break rule shared by
// loading, Lines.Text and ReplaceRows: CR, LF and CR LF each end one line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileIo.h"

namespace quodle {

class TheStringList;

// A file that could not be opened or read: the shared file error, carrying
// the path and the system's reason.
using EFileError = FileError;

// Appends the lines of `text` to `rows` (all reBreak). Returns true when the
// text is not empty and does not end with a break: the caller then marks
// the last row reNoBreak.
bool AppendLines(std::string_view text, TheStringList& rows);

// The lines of `text` as views into it, by the same rule; bytes after the
// last break form one more line. Returns true when there are such bytes.
bool TextLines(std::string_view text, std::vector<std::string_view>& lines);

// Appends the lines of the file to `rows`; the byte 26 (Ctrl+Z) ends the
// text, NUL bytes are ordinary bytes. Bytes after the last break form a
// last row that gets reNoBreak. Throws EFileError.
// `chunkBytes` is the size of each read (tests make it tiny to put breaks
// across read boundaries).
inline constexpr std::size_t kReadChunkBytes = 1 << 20;
void AppendFileLines(const std::string& path, TheStringList& rows, std::size_t chunkBytes = kReadChunkBytes);

}  // namespace quodle
