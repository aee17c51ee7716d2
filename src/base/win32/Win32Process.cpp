#include "base/Process.h"

// <windows.h> before the headers that build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "base/ShiftJis.h"

namespace quodle {

std::filesystem::path ExecutablePath() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);
    }
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // Without the wide form the ANSI one is all there is.
    if (!wide) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams() {
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        const int fd = _fileno(stream);
        // A stream the program was started without stays closed: writing
        // to it fails.
        if (fd >= 0 && _get_osfhandle(fd) != -1) _setmode(fd, _O_BINARY);
    }
}

}  // namespace quodle
