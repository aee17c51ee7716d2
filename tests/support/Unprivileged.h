#pragma once
// Permission checks mean nothing to a privileged user, and the tests may run
// as root: such checks run in a child process that has become "nobody".
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace quodle::testing {

inline constexpr unsigned kNobody = 65534;

// Runs check directly when the tests are unprivileged, else in a child
// process with the user and group "nobody"; gives check's result. The
// folders the check uses must be open to others (chmod 0777).
inline bool RunUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool ok = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quodle::testing
