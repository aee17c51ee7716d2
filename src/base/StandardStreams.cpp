#include "base/StandardStreams.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace quodle {

#ifdef _WIN32

void PrepareStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::size_t ReadStandardInput(char* buffer, std::size_t size) {
    const unsigned int want = size > 0x10000000 ? 0x10000000u : static_cast<unsigned int>(size);
    const int got = _read(_fileno(stdin), buffer, want);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned int want = bytes.size() > 0x10000000 ? 0x10000000u : static_cast<unsigned int>(bytes.size());
        const int put = _write(_fileno(stdout), bytes.data(), want);
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

#else

void PrepareStandardStreams() { std::signal(SIGPIPE, SIG_IGN); }

std::size_t ReadStandardInput(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

bool WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

#endif

}  // namespace quodle
