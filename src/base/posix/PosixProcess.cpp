#include "base/Process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace quodle {

std::filesystem::path ExecutablePath() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::filesystem::path(std::string(buf, static_cast<std::size_t>(n)));
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void PrepareStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int standIn = ::open("/dev/null", O_RDONLY | O_NOCTTY);
        if (standIn >= 0 && standIn != fd) {
            ::dup2(standIn, fd);
            ::close(standIn);
        }
    }
}

}  // namespace quodle
