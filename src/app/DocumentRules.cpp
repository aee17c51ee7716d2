#include "app/DocumentRules.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "base/Text.h"

namespace quodle {
namespace {

std::size_t NameStart(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::string_view ExtensionOf(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool IsAcceptedExtension(std::string_view path) {
    static constexpr std::array<std::string_view, 5> kAccepted{".LSP", ".TXT", ".DXF", ".DCL", ".SCR"};
    const std::string_view ext = ExtensionOf(path);
    for (const auto accepted : kAccepted)
        if (AsciiEqualsIgnoreCase(ext, accepted)) return true;
    return false;
}

std::string FileNamePart(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string BackupPath(std::string_view target, std::string_view extensionSource) {
    std::string_view sourceExt = ExtensionOf(extensionSource);
    if (!sourceExt.empty()) sourceExt.remove_prefix(1);
    const std::string_view targetExt = ExtensionOf(target);
    std::string backup(target.substr(0, target.size() - targetExt.size()));
    backup += ".~";
    backup += sourceExt;
    return backup;
}

std::optional<FileError> NotADocumentFile(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    if (S_ISDIR(st.st_mode)) return FileError::FromErrno(path, EISDIR);
    return FileError::NotRegularFile(path);
}

namespace {

// The reasons a readable file may refuse to be written.
bool NotWritableError(int error) { return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY; }

}  // namespace

bool ExclusiveOpenTest(const std::filesystem::path& path) {
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

std::optional<FileError> WhyNotWritable(const std::filesystem::path& path) {
    if (::access(path.c_str(), W_OK) == 0 || !NotWritableError(errno)) return std::nullopt;
    return FileError::FromErrno(path, errno);
}

}  // namespace quodle
