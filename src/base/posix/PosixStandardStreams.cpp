// The standard streams as protocol byte streams on POSIX systems.
#include "base/StandardStreams.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace quodle {

void OpenProtocolStreams() { std::signal(SIGPIPE, SIG_IGN); }

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

}  // namespace quodle
