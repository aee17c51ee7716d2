#pragma once
// The running program as the system sees it: its own file, its arguments and
// its standard streams. Defined in posix/PosixProcess.cpp and
// win32/Win32Process.cpp.
#include <filesystem>
#include <string>
#include <vector>

namespace quodle {

// The executable's full path; empty when the system cannot tell.
std::filesystem::path ExecutablePath();

// The arguments after the program's name, as UTF-8. On Windows they are
// read from the wide command line, so a name the ANSI code page cannot
// write arrives whole.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Readies the standard streams before anything is opened or written. On
// POSIX a closed descriptor 0-2 gets a stand-in that refuses writes: the
// file opened next must not become the output, and a write to a closed
// output must fail, not vanish. On Windows the streams write their bytes as
// given, with no CR put before LF.
void PrepareStandardStreams();

}  // namespace quodle
