#pragma once
// Whole-file reading and crash-safe writing. Every write goes to a temporary
// file in the target's folder, is flushed to disk and then renamed over the
// target, so a crash or a full disk never leaves a half-written file behind.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quodle {

// A file operation that failed: the path it concerned and the system's
// reason. what() gives "path: reason".
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string reason);
    // The reason of the current errno.
    static FileError FromErrno(std::filesystem::path path, int error);

    const std::filesystem::path& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

// The whole file, or nothing when it does not exist (no such file, or a
// component of the path is not a folder). Any other failure — no permission,
// a folder, an I/O error — throws FileError.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// The result of a save that succeeded. A backup that could not be made does
// not stop the save; the caller reports it.
struct SaveOutcome {
    std::optional<FileError> backupError;
};

// Writes bytes to path through a temporary file (flushed with fsync) that is
// renamed over the target; a symbolic link is written through, not replaced.
// A replaced file keeps its permission bits (and owner, where allowed); a new
// one gets 0666 less the umask. When backupPath is given and the target
// already exists, the old file becomes the backup first (an older backup of
// that name is removed). A file this process may not write is not replaced.
// On failure nothing is changed — the previous file
// stays, the temporary file is removed — and FileError carries the reason.
SaveOutcome SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                               const std::optional<std::filesystem::path>& backupPath = std::nullopt);

}  // namespace quodle
