#pragma once
// Whole-file reading and crash-safe writing. Every write goes to a temporary
// file in the target's folder, is flushed to disk and then renamed over the
// target, so a crash or a full disk never leaves a half-written file behind,
// nor (where the file system has anonymous files) a temporary one.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quodle {

// A file operation that failed: the path it concerned and the reason, in
// the system's own words (what() gives "path: reason", as the command line
// prints it) and as the window shows it.
class FileError : public std::runtime_error {
public:
    // A failure the system reported with errno `error`.
    static FileError FromErrno(std::filesystem::path path, int error);
    // Something that is not a regular file: a device, a named pipe, a socket.
    static FileError NotRegularFile(std::filesystem::path path);
    // A backup that would take the place of the file it backs up.
    static FileError BackupIsTheFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }
    // The reason inside the window's Japanese messages: Japanese for the
    // failures users meet (no such file, no permission, read-only file
    // system, disk full, a folder, file too large, busy), the system's words
    // for the rare rest.
    const std::string& ShownReason() const { return shownReason_; }
    // The errno, or 0 for the program's own reasons.
    int Error() const { return error_; }

private:
    FileError(std::filesystem::path path, int error, std::string reason, std::string shownReason);

    std::filesystem::path path_;
    int error_;
    std::string reason_;
    std::string shownReason_;
};

// Makes a write past the process's file-size limit (ulimit -f) fail with
// EFBIG, reported like a full disk, instead of killing the program with
// SIGXFSZ and losing what it had not saved. Called once at start.
void IgnoreFileSizeLimitSignal();

// A regular file open for reading, found by following links. Opening never
// blocks and nothing else is read: a folder fails with EISDIR, a device, a
// named pipe or a socket with FileError::NotRegularFile, so that /dev/zero
// or a pipe that nobody writes to is refused instead of read for ever.
// Throws FileError.
class RegularFileReader {
public:
    explicit RegularFileReader(std::filesystem::path path);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    // Fills buffer[0, size) as far as the file goes; returns the bytes read.
    std::size_t Read(char* buffer, std::size_t size);
    // The size when it was opened.
    std::size_t Size() const { return size_; }

private:
    std::filesystem::path path_;
    std::intptr_t handle_;  // a descriptor, or a Windows HANDLE
    std::size_t size_ = 0;
};

// The whole file, or nothing when it does not exist (no such file, or a
// component of the path is not a folder). Any other failure — no permission,
// a folder, something that is not a regular file, an I/O error — throws
// FileError.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// What tells one state of a file on disk from another: which file it is
// (device and inode), its size and the time of its last change. Another
// program that rewrites or replaces the file changes at least one of them.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of what stands at path (links followed), or nothing.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// Why what stands at path can never be a document: a folder, a device, a
// named pipe or a socket (links followed). Nothing for a regular file and
// for a path where nothing is.
std::optional<FileError> NotADocumentFile(const std::filesystem::path& path);

// Whether a file can be opened as a document: it exists, is a regular file,
// this process may read it, and no other program holds it exclusively. On
// Windows that is an open with no sharing; on Linux, which has no share
// modes, an advisory flock taken and released at once, so programs that do
// not lock are not seen. A file that cannot be written passes: it opens
// read-only (WhyNotWritable).
bool ExclusiveOpenTest(const std::filesystem::path& path);

// Why this process may not write the file (no permission, a read-only file
// system, on Windows the read-only attribute), or nothing when it may, or
// when it is not there.
std::optional<FileError> WhyNotWritable(const std::filesystem::path& path);

// The result of a save that succeeded. A backup that could not be made does
// not stop the save; the caller reports it.
struct SaveOutcome {
    std::optional<FileError> backupError;
    FileStamp stamp;  // of the file as written
};

// Writes bytes to path through a temporary file (flushed with fsync) that is
// renamed over the target; a symbolic link is written through, not replaced.
// A replaced file keeps its permission bits (and owner, where allowed); a new
// one gets 0666 less the umask. (On Windows a replaced file keeps its
// attributes and access rights, and one with the read-only attribute is not
// replaced.) When backupPath is given and the target
// already exists, the old file becomes the backup first; an older backup of
// that name is replaced only by a whole new one, so a save cut short at any
// point leaves the old or the new file and the old or the new backup. A file this process may not write is not replaced.
// On failure nothing is changed — the previous file stays, the temporary
// file is removed — and FileError carries the reason. Temporary files that
// earlier saves of the same document left when the program died are
// removed first.
SaveOutcome SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                               const std::optional<std::filesystem::path>& backupPath = std::nullopt);

}  // namespace quodle
