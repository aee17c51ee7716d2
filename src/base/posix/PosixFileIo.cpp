// The system calls behind base/FileIo.h on POSIX systems.
#include "base/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <utility>

namespace quodle {
namespace fs = std::filesystem;

namespace {

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result, which on some file systems is the
    // first sign of a failed write.
    int Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }
    // Keeps the descriptor open: its owner closes it.
    void Release() { fd_ = -1; }
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Temporary files of a document are named "." + its name + ".quodle-" +
// six characters, in its folder.
constexpr std::string_view kTemporaryMarker = ".quodle-";
constexpr std::size_t kTemporarySuffixLength = 6;
// A temporary file not written to for this long, and locked by no save, was
// left by a program that died while saving.
constexpr time_t kStaleSeconds = 60;

std::string TemporaryPrefix(const fs::path& target) {
    // Within the file system's name limit however long the target's name is.
    std::string name = target.filename().string();
    if (name.size() > 200) name.resize(200);
    return "." + name + std::string(kTemporaryMarker);
}

// Where anonymous files are made and where they are not (an old kernel, a
// file system without them); other failures are real ones.
bool AnonymousFilesUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

// Removes what saves of this document left behind when the program died
// during them: temporary files of its own name pattern, owned by this user,
// that no running save holds locked and that nothing wrote to lately.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix)) continue;
        const std::string full = (folder / std::string(name)).string();
        Fd fd(::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < kStaleSeconds || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        ::unlink(full.c_str());
    }
    ::closedir(dir);
}

// The new content on its way to the target's folder. Where the file system
// has them it is an anonymous file, which nobody sees and which vanishes
// with the program if it dies while writing; it gets a temporary name only
// right before it replaces the target. Elsewhere it is a named temporary
// file from the start. Either is locked while the save runs, so that no
// other save takes it for stale, and removed if the save fails.
class TNewFile {
public:
    TNewFile(const fs::path& folder, std::string prefix, fs::path path)
        : folder_(folder), prefix_(std::move(prefix)), path_(std::move(path)),
          fd_(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)) {
        if (fd_.get() >= 0) {
            ::flock(fd_.get(), LOCK_EX | LOCK_NB);
            return;
        }
        if (!AnonymousFilesUnsupported(errno)) throw FileError::FromErrno(path_, errno);
        StartNamed();
    }
    ~TNewFile() {
        if (!name_.empty() && !placed_) ::unlink(name_.c_str());
    }
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;

    int Descriptor() const { return fd_.get(); }

    // Replaces the file by a named temporary one, empty.
    void StartNamed() {
        std::string name = (folder_ / (prefix_ + std::string(kTemporarySuffixLength, 'X'))).string();
        const int fd = ::mkstemp(name.data());
        if (fd < 0) throw FileError::FromErrno(path_, errno);
        fd_.Reset(fd);
        name_ = std::move(name);
        ::flock(fd, LOCK_EX | LOCK_NB);
    }

    // Gives an anonymous file its temporary name; false when it cannot be
    // named at all (no /proc), a failure of the file system throws.
    bool Name() {
        if (!name_.empty()) return true;
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = (folder_ / (prefix_ + RandomSuffix())).string();
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = std::move(name);
                return true;
            }
            if (errno == ENOENT) return false;
            if (errno != EEXIST) throw FileError::FromErrno(path_, errno);
        }
        throw FileError::FromErrno(path_, EEXIST);
    }

    // Closes the file (some file systems report a failed write only then).
    void Close() {
        if (fd_.Close() != 0) throw FileError::FromErrno(path_, errno);
    }
    const std::string& Path() const { return name_; }
    // The file is the target now: nothing to remove.
    void Placed() { placed_ = true; }

private:
    static std::string RandomSuffix() {
        static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        unsigned char random[kTemporarySuffixLength];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
            for (unsigned char& r : random) r = static_cast<unsigned char>(std::rand());
        std::string suffix;
        for (const unsigned char r : random) suffix.push_back(kChars[r % (sizeof kChars - 1)]);
        return suffix;
    }

    fs::path folder_;
    std::string prefix_;
    fs::path path_;  // the target as the caller named it, for errors
    Fd fd_;
    std::string name_;  // empty while anonymous
    bool placed_ = false;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a write to path really changes: a symbolic link is followed so
// that saving through it updates the file it names instead of replacing the
// link with a regular file.
fs::path ResolveWriteTarget(const fs::path& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const auto status = fs::symlink_status(current, ec);
        if (ec || !fs::is_symlink(status)) return current;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) throw FileError::FromErrno(path, ec.value());
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    throw FileError::FromErrno(path, ELOOP);
}

mode_t CurrentUmask() {
    // The only way to read it is to set it; the program has one thread doing
    // file work, so the short swap is not observable.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ea, eb;
    const auto ca = fs::weakly_canonical(a, ea);
    const auto cb = fs::weakly_canonical(b, eb);
    return !ea && !eb && ca == cb;
}

struct BackupResult {
    std::optional<FileError> error;
    bool movedAway = false;  // the old file was renamed, not linked
};

// Turns the current file into the backup. A hard link keeps the target in
// place until the new content is renamed over it; where the file system has no
// hard links the file is renamed, as a last resort, and renamed back if the
// save fails.
BackupResult MakeBackup(const fs::path& file, const fs::path& backup) {
    BackupResult result;
    if (SameFile(file, backup)) {
        result.error = FileError::BackupIsTheFile(backup);
        return result;
    }
    if (::unlink(backup.c_str()) != 0 && errno != ENOENT) {
        result.error = FileError::FromErrno(backup, errno);
        return result;
    }
    if (::link(file.c_str(), backup.c_str()) == 0) return result;
    const int linkError = errno;
    if (linkError != EPERM && linkError != EOPNOTSUPP && linkError != EMLINK && linkError != ENOSYS) {
        result.error = FileError::FromErrno(backup, linkError);
        return result;
    }
    if (::rename(file.c_str(), backup.c_str()) != 0) {
        result.error = FileError::FromErrno(backup, errno);
        return result;
    }
    result.movedAway = true;
    return result;
}

void SyncFolder(const fs::path& folder) {
    // Makes the rename itself durable; a folder that cannot be opened only
    // loses that guarantee, not the save.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

namespace {

FileStamp StampFrom(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> StampOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return StampFrom(st);
}

void IgnoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

RegularFileReader::RegularFileReader(fs::path path)
    : path_(std::move(path)), handle_(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
    const int fd = static_cast<int>(handle_);
    if (fd < 0) throw FileError::FromErrno(path_, errno);
    Fd guard(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) throw FileError::FromErrno(path_, errno);
    if (S_ISDIR(st.st_mode)) throw FileError::FromErrno(path_, EISDIR);
    if (!S_ISREG(st.st_mode)) throw FileError::NotRegularFile(path_);
    // Only the open had to be kept from blocking.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<std::size_t>(st.st_size);
    guard.Release();
}

RegularFileReader::~RegularFileReader() { ::close(static_cast<int>(handle_)); }

std::size_t RegularFileReader::Read(char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError::FromErrno(path_, errno);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

SaveOutcome SaveFileAtomically(const fs::path& path, std::string_view bytes,
                               const std::optional<fs::path>& backupPath) {
    const fs::path target = ResolveWriteTarget(path);

    struct stat old {};
    bool hadOld = false;
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) throw FileError::FromErrno(path, EISDIR);
        if (!S_ISREG(old.st_mode)) throw FileError::NotRegularFile(path);
        // Replacing the file by rename would get round its write protection.
        if (::access(target.c_str(), W_OK) != 0) throw FileError::FromErrno(path, errno);
        hadOld = true;
    } else if (errno != ENOENT) {
        throw FileError::FromErrno(path, errno);
    }

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string prefix = TemporaryPrefix(target);
    RemoveStaleTemporaries(folder, prefix);

    const mode_t mode = hadOld ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    const auto fill = [&](TNewFile& file) {
        if (::fchmod(file.Descriptor(), mode) != 0) throw FileError::FromErrno(path, errno);
        if (hadOld && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            // Only a privileged user can give the file back to its owner;
            // anyone else saves it as their own, as any editor would.
            [[maybe_unused]] const int ignored = ::fchown(file.Descriptor(), old.st_uid, old.st_gid);
        }
        if (!WriteAll(file.Descriptor(), bytes) || ::fsync(file.Descriptor()) != 0)
            throw FileError::FromErrno(path, errno);
    };
    SaveOutcome outcome;
    TNewFile file(folder, prefix, path);
    fill(file);
    if (!file.Name()) {
        // Without /proc an anonymous file cannot be named: write it again,
        // named from the start.
        file.StartNamed();
        fill(file);
    }
    // The file as the target will be: renaming keeps its inode and times.
    struct stat written {};
    if (::fstat(file.Descriptor(), &written) != 0) throw FileError::FromErrno(path, errno);
    outcome.stamp = StampFrom(written);
    file.Close();

    BackupResult backup;
    if (backupPath && hadOld) {
        backup = MakeBackup(target, *backupPath);
        outcome.backupError = backup.error;
    }

    if (::rename(file.Path().c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        if (backup.movedAway) ::rename(backupPath->c_str(), target.c_str());
        throw FileError::FromErrno(path, renameError);
    }
    file.Placed();
    SyncFolder(folder);
    return outcome;
}

std::optional<FileError> NotADocumentFile(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    if (S_ISDIR(st.st_mode)) return FileError::FromErrno(path, EISDIR);
    return FileError::NotRegularFile(path);
}

bool ExclusiveOpenTest(const fs::path& path) {
    // O_NONBLOCK keeps a named pipe from blocking the open; the type test
    // below turns it away.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // Closing the only descriptor of this open file releases the lock.
    ok = ok && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return ok;
}

}  // namespace quodle
