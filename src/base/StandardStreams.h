#pragma once
// The process's standard input and output as plain byte streams, for a
// program that speaks a protocol over them (the language server): a read
// returns what has arrived, a write goes out whole, and no line end is
// translated on the way. Defined in posix/PosixStandardStreams.cpp and
// win32/Win32StandardStreams.cpp.
#include <cstddef>
#include <string_view>

namespace quodle {

// Once at start: both streams binary, and a write to an output nobody reads
// any more fails instead of ending the process.
void OpenProtocolStreams();
// Waits for input and gives what has arrived, at most `size` bytes; 0 at
// the end of the input or when it cannot be read.
std::size_t ReadStandardInput(char* buffer, std::size_t size);
// Writes all of `bytes`; false when the output is gone.
bool WriteStandardOutput(std::string_view bytes);

}  // namespace quodle
