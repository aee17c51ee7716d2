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

std::string RandomSuffix() {
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[kTemporarySuffixLength];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
        for (unsigned char& r : random) r = static_cast<unsigned char>(std::rand());
    std::string suffix;
    for (const unsigned char r : random) suffix.push_back(kChars[r % (sizeof kChars - 1)]);
    return suffix;
}

// A new name in `folder` for the file `from` (a path, or /proc/self/fd/N
// with AT_SYMLINK_FOLLOW), made from `prefix` and a random suffix; nothing
// when the file system cannot link it (no hard links there, or no /proc),
// a failure of the file system throws.
std::optional<std::string> LinkUnderTemporaryName(const std::string& from, int flags, const fs::path& folder,
                                                  const std::string& prefix, const fs::path& errorPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = (folder / (prefix + RandomSuffix())).string();
        if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(), flags) == 0) return name;
        const int error = errno;
        if (error == ENOENT || error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS)
            return std::nullopt;
        if (error != EEXIST) throw FileError::FromErrno(errorPath, error);
    }
    throw FileError::FromErrno(errorPath, EEXIST);
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
        std::optional<std::string> name = LinkUnderTemporaryName(self, AT_SYMLINK_FOLLOW, folder_, prefix_, path_);
        if (!name) return false;
        name_ = std::move(*name);
        return true;
    }

    // Closes the file (some file systems report a failed write only then).
    void Close() {
        if (fd_.Close() != 0) throw FileError::FromErrno(path_, errno);
    }
    const std::string& Path() const { return name_; }
    // The file is the target now: nothing to remove.
    void Placed() { placed_ = true; }

private:
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

// Copies the file at `from` into the descriptor; false on a failed write.
bool CopyInto(int fd, const fs::path& from) {
    RegularFileReader file(from);
    char buffer[65536];
    while (const std::size_t n = file.Read(buffer, sizeof buffer))
        if (!WriteAll(fd, std::string_view(buffer, n))) return false;
    return true;
}

// Makes the current file the backup. The new backup is made under a
// temporary name first — a hard link, or a copy where the file system has
// no links — and then renamed over the old one, so that at every instant
// the folder holds the file and a backup; the file itself stays in place
// until the new content is renamed over it.
std::optional<FileError> MakeBackup(const fs::path& file, const fs::path& backup, mode_t mode) {
    if (SameFile(file, backup)) return FileError::BackupIsTheFile(backup);
    fs::path folder = backup.parent_path();
    if (folder.empty()) folder = ".";
    const std::string prefix = TemporaryPrefix(backup);
    try {
        RemoveStaleTemporaries(folder, prefix);
        std::optional<TNewFile> copy;
        std::optional<std::string> name = LinkUnderTemporaryName(file.string(), 0, folder, prefix, backup);
        if (!name) {
            copy.emplace(folder, prefix, backup);
            copy->StartNamed();
            if (::fchmod(copy->Descriptor(), mode) != 0 || !CopyInto(copy->Descriptor(), file) ||
                ::fsync(copy->Descriptor()) != 0)
                throw FileError::FromErrno(backup, errno);
            copy->Close();
            name = copy->Path();
        }
        if (::rename(name->c_str(), backup.c_str()) != 0) {
            const int error = errno;
            if (!copy) ::unlink(name->c_str());
            return FileError::FromErrno(backup, error);
        }
        if (copy) copy->Placed();
    } catch (const FileError& e) {
        return e;
    }
    return std::nullopt;
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

    if (backupPath && hadOld) outcome.backupError = MakeBackup(target, *backupPath, mode);

    if (::rename(file.Path().c_str(), target.c_str()) != 0) throw FileError::FromErrno(path, errno);
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

namespace {

// The reasons a readable file may refuse to be written.
bool NotWritableError(int error) { return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY; }

}  // namespace

bool ExclusiveOpenTest(const fs::path& path) {
    // O_NONBLOCK keeps a named pipe from blocking the open; the type test
    // below turns it away.
    constexpr int kFlags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | kFlags);
    if (fd < 0 && NotWritableError(errno)) fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // Closing the only descriptor of this open file releases the lock.
    ok = ok && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return ok;
}

std::optional<FileError> WhyNotWritable(const fs::path& path) {
    if (::access(path.c_str(), W_OK) == 0 || !NotWritableError(errno)) return std::nullopt;
    return FileError::FromErrno(path, errno);
}

}  // namespace quodle
