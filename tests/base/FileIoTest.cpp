#include "base/FileIo.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "support/TempDir.h"
#include "support/Unprivileged.h"

// Every call that changes a folder's names goes through these while a test
// arms them: at the call numbered gCrashAt the process ends on the spot, as
// a kill right before that step would end it.
namespace {
int gCrashAt = -1;
int gFolderCalls = 0;
template <class F>
F Real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}
void FolderStep() {
    if (gCrashAt >= 0 && gFolderCalls++ == gCrashAt) ::_exit(0);
}
}  // namespace

extern "C" int rename(const char* from, const char* to) {
    FolderStep();
    return Real<int (*)(const char*, const char*)>("rename")(from, to);
}
extern "C" int link(const char* from, const char* to) {
    FolderStep();
    return Real<int (*)(const char*, const char*)>("link")(from, to);
}
extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    FolderStep();
    return Real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromDir, from, toDir, to, flags);
}
extern "C" int unlink(const char* path) {
    FolderStep();
    return Real<int (*)(const char*)>("unlink")(path);
}

namespace quodle {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileIo, ReadFileBytes) {
    TempDir dir;
    WriteBytes(dir / "a", std::string("x\0\x82\xA0\r\n", 6));
    EXPECT_EQ(ReadFileBytes(dir / "a"), std::string("x\0\x82\xA0\r\n", 6));
    EXPECT_EQ(ReadFileBytes(dir / "missing"), std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir / "a" / "under-a-file"), std::nullopt);
    EXPECT_THROW(ReadFileBytes(dir.path()), FileError);
}

TEST(FileIo, SaveWithAndWithoutBackup) {
    TempDir dir;
    const auto file = dir / "a.lsp", backup = dir / "a.~lsp";
    const mode_t oldMask = ::umask(022);
    auto outcome = SaveFileAtomically(file, "one", backup);  // nothing to back up yet
    ::umask(oldMask);
    EXPECT_FALSE(outcome.backupError);
    EXPECT_EQ(ReadBytes(file), "one");
    EXPECT_EQ(Mode(file), 0644u);
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp"}));

    ::chmod(file.c_str(), 0640);
    outcome = SaveFileAtomically(file, "two", backup);
    EXPECT_FALSE(outcome.backupError);
    EXPECT_EQ(ReadBytes(file), "two");
    EXPECT_EQ(ReadBytes(backup), "one");
    EXPECT_EQ(Mode(file), 0640u);  // a replaced file keeps its permissions

    SaveFileAtomically(file, "three", backup);  // the second backup replaces the first
    EXPECT_EQ(ReadBytes(file), "three");
    EXPECT_EQ(ReadBytes(backup), "two");

    SaveFileAtomically(file, "four");  // no backup asked for: the old one stays as it was
    EXPECT_EQ(ReadBytes(backup), "two");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp", "a.~lsp"}));
}

TEST(FileIo, SaveWritesThroughSymbolicLinks) {
    TempDir dir;
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "a.lsp", "old");
    fs::create_symlink("real/a.lsp", dir / "link.lsp");
    SaveFileAtomically(dir / "link.lsp", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.lsp"));
    EXPECT_EQ(ReadBytes(dir / "real" / "a.lsp"), "new");
}

TEST(FileIo, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const auto file = dir / "a.lsp", backup = dir / "a.~lsp";
    WriteBytes(file, "precious");
    // A file-size limit makes the write fail even for a privileged user.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::optional<FileError> error;
    try {
        SaveFileAtomically(file, "much longer content", backup);
    } catch (const FileError& e) {
        error = e;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Path(), file);
    EXPECT_EQ(error->Reason(), "File too large");
    EXPECT_EQ(ReadBytes(file), "precious");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp"}));
}

bool AnonymousFilesIn(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Saves a long text over a short file in a child process under a file-size
// limit of 4 bytes; gives how the child ended.
int SaveUnderFileSizeLimit(const fs::path& file, bool ignoreSignal) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        if (ignoreSignal) IgnoreFileSizeLimitSignal();
        struct rlimit small {};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 4;
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            SaveFileAtomically(file, "much longer content");
        } catch (const FileError& e) {
            ::_exit(e.Error() == EFBIG && e.ShownReason() == "ファイルが大きすぎます" ? 0 : 1);
        }
        ::_exit(2);  // reported success
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(FileIo, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    WriteBytes(file, "old");
    // Without it the signal ends the process in the middle of the save.
    const int killed = SaveUnderFileSizeLimit(file, false);
    EXPECT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGXFSZ) << killed;
    EXPECT_EQ(ReadBytes(file), "old");
    // The half-written content was an anonymous file: it went with the
    // process. (Where the file system has none, the next save removes it.)
    if (AnonymousFilesIn(dir.path())) {
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp"}));
    }
    // With it the save fails with the reason a user can act on.
    const int reported = SaveUnderFileSizeLimit(file, true);
    EXPECT_TRUE(WIFEXITED(reported) && WEXITSTATUS(reported) == 0) << reported;
    EXPECT_EQ(ReadBytes(file), "old");
}

TEST(FileIo, ASaveRemovesWhatDeadSavesOfTheSameDocumentLeft) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    WriteBytes(file, "old");
    const auto make = [&](const std::string& name, int ageSeconds) {
        WriteBytes(dir / name, "half-written");
        const timespec times[2] = {{::time(nullptr) - ageSeconds, 0}, {::time(nullptr) - ageSeconds, 0}};
        ::utimensat(AT_FDCWD, (dir / name).c_str(), times, 0);
    };
    make(".a.lsp.quodle-Stale1", 120);    // a save that died: removed
    make(".a.lsp.quodle-Fresh1", 0);      // being written just now: kept
    make(".a.lsp.quodle-Held01", 120);    // a running save holds it: kept
    make(".b.lsp.quodle-Other1", 120);    // another document's: kept
    make(".a.lsp.quodle-Long123", 120);   // not our pattern: kept
    make(".a.lsp.AbC123", 120);           // not our pattern: kept
    const int held = ::open((dir / ".a.lsp.quodle-Held01").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    SaveFileAtomically(file, "new");
    ::close(held);
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{".a.lsp.AbC123", ".a.lsp.quodle-Fresh1",
                                                           ".a.lsp.quodle-Held01", ".a.lsp.quodle-Long123",
                                                           ".b.lsp.quodle-Other1", "a.lsp"}));
}

TEST(FileIo, StampsTellOneStateOfAFileFromAnother) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    EXPECT_EQ(StampOf(file), std::nullopt);
    const FileStamp saved = SaveFileAtomically(file, "one").stamp;
    EXPECT_EQ(StampOf(file), saved);  // what the save wrote is what is there
    fs::create_symlink("a.lsp", dir / "link.lsp");
    EXPECT_EQ(StampOf(dir / "link.lsp"), saved);

    WriteBytes(file, "two!");  // rewritten in place: same file, new size
    const auto rewritten = StampOf(file);
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->inode, saved.inode);
    EXPECT_NE(*rewritten, saved);
    // Replaced by another file of the same size and time: a new inode.
    WriteBytes(dir / "b.lsp", "two!");
    const timespec times[2] = {{0, 0}, {static_cast<time_t>(rewritten->modifiedNs / 1000000000),
                                        static_cast<long>(rewritten->modifiedNs % 1000000000)}};
    ::utimensat(AT_FDCWD, (dir / "b.lsp").c_str(), times, 0);
    fs::rename(dir / "b.lsp", file);
    const auto replaced = StampOf(file);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->modifiedNs, rewritten->modifiedNs);
    EXPECT_NE(*replaced, *rewritten);
}

TEST(FileIo, FailuresNameThePathAndTheReason) {
    TempDir dir;
    WriteBytes(dir / "plain", "x");
    struct Case {
        fs::path target;
        std::string reason, shown;
    } cases[] = {
        {dir / "plain" / "a.lsp", "Not a directory", "Not a directory"},  // rare: the system's words
        {dir / "missing" / "a.lsp", "No such file or directory", "ファイルまたはフォルダーが見つかりません"},
        {dir.path(), "Is a directory", "ファイルではなくフォルダーです"},
        {"/dev/null", "Not a regular file", "通常のファイルではありません"},
    };
    for (const auto& c : cases) {
        try {
            SaveFileAtomically(c.target, "text");
            ADD_FAILURE() << c.target << " reported success";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Path(), c.target);
            EXPECT_EQ(e.Reason(), c.reason);
            EXPECT_EQ(e.ShownReason(), c.shown);
            EXPECT_EQ(std::string(e.what()), c.target.string() + ": " + c.reason);
        }
    }
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"plain"}));
}

TEST(FileIo, TheCommonReasonsAreShownInJapanese) {
    const std::pair<int, std::string> cases[] = {
        {ENOENT, "ファイルまたはフォルダーが見つかりません"},
        {EACCES, "アクセスが許可されていません"},
        {EROFS, "読み取り専用のファイルシステムです"},
        {ENOSPC, "ディスクの空き容量が足りません"},
        {EDQUOT, "ディスクの使用量の上限を超えています"},
        {EISDIR, "ファイルではなくフォルダーです"},
        {EFBIG, "ファイルが大きすぎます"},
        {EBUSY, "デバイスまたはファイルが使用中です"},
        {EXDEV, std::strerror(EXDEV)},
    };
    for (const auto& [error, shown] : cases) {
        const FileError e = FileError::FromErrno("/x/a.lsp", error);
        EXPECT_EQ(e.ShownReason(), shown) << error;
        EXPECT_EQ(e.Reason(), std::strerror(error)) << error;
        EXPECT_EQ(e.Error(), error);
    }
}

TEST(FileIo, AWriteProtectedFileIsNotReplaced) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    WriteBytes(file, "protected");
    ::chmod(dir.path().c_str(), 0777);  // the folder would allow a rename over it
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        try {
            SaveFileAtomically(file, "new");
        } catch (const FileError& e) {
            return e.Reason() == "Permission denied";
        }
        return false;
    }));
    EXPECT_EQ(ReadBytes(file), "protected");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp"}));
}

TEST(FileIo, ABackupThatCannotBeMadeDoesNotStopTheSave) {
    TempDir dir;
    const auto file = dir / "a.lsp";
    WriteBytes(file, "old");
    fs::create_directories(dir / "a.~lsp" / "inside");  // a folder stands where the backup goes
    auto outcome = SaveFileAtomically(file, "new", dir / "a.~lsp");
    ASSERT_TRUE(outcome.backupError);
    EXPECT_EQ(outcome.backupError->Path(), dir / "a.~lsp");
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"a.lsp", "a.~lsp"}));  // no half-made backup left

    // A backup name equal to the file's own name must not destroy the file.
    WriteBytes(dir / "b.~", "old b");
    outcome = SaveFileAtomically(dir / "b.~", "new b", dir / "b.~");
    ASSERT_TRUE(outcome.backupError);
    EXPECT_EQ(ReadBytes(dir / "b.~"), "new b");
}

// A save that ends before any one of its steps on the folder leaves the
// old or the new file, and the old or the new backup, each whole.
TEST(FileIo, ASaveCutShortBeforeAnyStepLeavesTheFileAndABackup) {
    TempDir dir;
    const auto file = dir / "a.lsp", backup = dir / "a.~lsp";
    int steps = 0;
    for (bool done = false; !done; ++steps) {
        SaveFileAtomically(file, "old backup", backup);
        SaveFileAtomically(file, "old file", backup);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            gCrashAt = steps;
            SaveFileAtomically(file, "new file", backup);
            ::_exit(3);  // every step done
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        done = WIFEXITED(status) && WEXITSTATUS(status) == 3;
        const std::string f = ReadBytes(file), b = ReadBytes(backup);
        EXPECT_TRUE(f == "old file" || f == "new file") << "cut before step " << steps << ": " << f;
        EXPECT_TRUE(b == "old backup" || b == "old file") << "cut before step " << steps << ": " << b;
        EXPECT_TRUE(f != "new file" || b == "old file") << "cut before step " << steps;
        ASSERT_LT(steps, 20);
    }
    EXPECT_GE(steps, 3);  // at least: name the new file, place the backup, rename
}

// A save killed at any instant leaves the file and a backup, each whole:
// the file of the last save or of the one cut short, the backup of the save
// before or of the file it replaced. Saves of a few megabytes each run in a
// child that is killed after a random time (QUODLE_KILL_SAVE_MB and
// QUODLE_KILL_SAVE_RUNS make the run heavier by hand).
TEST(FileIo, AKilledSaveAlwaysLeavesTheFileAndABackup) {
    const auto envNumber = [](const char* name, int fallback) {
        const char* v = std::getenv(name);
        return v ? std::max(1, std::atoi(v)) : fallback;
    };
    const std::size_t bodyBytes = static_cast<std::size_t>(envNumber("QUODLE_KILL_SAVE_MB", 4)) << 20;
    const int runs = envNumber("QUODLE_KILL_SAVE_RUNS", 20);
    const auto content = [&](int n) { return "save " + std::to_string(n) + "\n" + std::string(bodyBytes, static_cast<char>('0' + n % 10)); };
    // The save number a whole content holds, or -1.
    const auto whole = [&](const fs::path& p) {
        const std::optional<std::string> bytes = ReadFileBytes(p);
        if (!bytes) return -1;
        const int n = std::atoi(bytes->c_str() + 5);
        return *bytes == content(n) ? n : -1;
    };
    TempDir dir;
    const auto file = dir / "big.lsp", backup = dir / "big.~lsp";
    std::uint32_t seed = 12345;
    for (int run = 0; run < runs; ++run) {
        SaveFileAtomically(file, content(0), backup);
        SaveFileAtomically(file, content(1), backup);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int n = 2;; ++n) SaveFileAtomically(file, content(n), backup);
        }
        seed = seed * 1103515245u + 12345u;
        ::usleep(1000 + (seed >> 8) % 150000);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const int f = whole(file), b = whole(backup);
        ASSERT_GE(f, 1) << "run " << run;
        ASSERT_TRUE(b == f || b == f - 1) << "run " << run << ": file " << f << ", backup " << b;
    }
}

}  // namespace
}  // namespace quodle
