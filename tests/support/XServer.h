#pragma once
// A private X server (Xvfb, on the first free display number) and the
// stand-in CAD program on it, for the tests of the X11 load path. Both are
// child processes ended when their objects go; a failure to start throws.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/BogusRestrict.h"

extern char** environ;

namespace quodle::testing {

// Starts `argv` with its descriptor `childFd` writing into a pipe; gives
// the pid and the pipe's read end.
inline pid_t SpawnWithPipe(const std::vector<std::string>& argv, int childFd, int& readEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    // Kept clear of the child's own descriptor, which dup2 would leave as is.
    const int writeEnd = ::fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
    ::close(fds[1]);
    fds[1] = writeEnd;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], childFd);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    readEnd = fds[0];
    return pid;
}

// One line from the pipe, waiting at most `limit` (so a broken child fails
// the test instead of hanging it).
inline std::string ReadLine(int fd, std::chrono::seconds limit) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        if (::read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line.push_back(c);
    }
    throw std::runtime_error("no answer from a child process");
}

inline void EndChild(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGCONT);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

class TXvfb {
public:
    TXvfb() {
        pid_ = SpawnWithPipe({"Xvfb", "-displayfd", "3", "-screen", "0", "640x480x24", "-nolisten", "tcp"}, 3, fd_);
        QUODLE_BOGUS_RESTRICT_BEGIN
        display_ = ":" + ReadLine(fd_, std::chrono::seconds(30));
        QUODLE_BOGUS_RESTRICT_END
    }
    ~TXvfb() {
        EndChild(pid_);
        ::close(fd_);
    }
    TXvfb(const TXvfb&) = delete;
    TXvfb& operator=(const TXvfb&) = delete;
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = 0;
    int fd_ = -1;
    std::string display_;
};

// The stand-in CAD program (tests/cad/x11/StandInCad.cpp) showing one of its
// window layouts; it records the characters it receives in `log`.
class TStandInCad {
public:
    TStandInCad(const std::string& display, const std::string& layout, const std::filesystem::path& log) : log_(log) {
        pid_ = SpawnWithPipe({QUODLE_STAND_IN_CAD, display, layout, log.string()}, 1, fd_);
        if (ReadLine(fd_, std::chrono::seconds(30)) != "ready") throw std::runtime_error("stand-in not ready");
    }
    ~TStandInCad() {
        EndChild(pid_);
        ::close(fd_);
    }
    TStandInCad(const TStandInCad&) = delete;
    TStandInCad& operator=(const TStandInCad&) = delete;

    pid_t Pid() const { return pid_; }
    // Stops and resumes the program: a CAD that does not answer.
    void Freeze() const { ::kill(pid_, SIGSTOP); }
    void Thaw() const { ::kill(pid_, SIGCONT); }

    std::string Received() const { return Read(log_); }
    std::string Events() const { return Read(log_.string() + ".events"); }
    // The received characters once there are at least `size` bytes of them,
    // or what came within the time limit.
    std::string WaitForReceived(std::size_t size) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::string received = Received();
        while (received.size() < size && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            received = Received();
        }
        return received;
    }

private:
    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path log_;
    pid_t pid_ = 0;
    int fd_ = -1;
};

}  // namespace quodle::testing
