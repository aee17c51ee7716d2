// The system calls behind base/FileIo.h on Windows: wide-character paths,
// share modes for the exclusive-open test, and saves that put the new
// content in place only once it is completely on disk.
#include "base/FileIo.h"

#include <cerrno>
#include <cstdint>
#include <utility>

#include "base/FileIdentity.h"
#include "base/win32/Win32Files.h"

namespace quodle {
namespace fs = std::filesystem;
using win32::THandle;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Temporary files of a document are named "." + its name + ".quodle-" +
// six characters, in its folder, as on every system.
constexpr std::wstring_view kTemporaryMarker = L".quodle-";
constexpr std::size_t kTemporarySuffixLength = 6;
// A temporary file not written to for this long, and held open by no save,
// was left by a program that died while saving.
constexpr std::uint64_t kStaleTicks = 60ull * 10000000;  // 100 ns ticks

FileError ErrorAt(const fs::path& path, DWORD error) {
    // A folder opened as a file is refused as "no access".
    if (error == ERROR_ACCESS_DENIED) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FileError::FromErrno(path, EISDIR);
    }
    return FileError::FromErrno(path, win32::ErrnoOf(error));
}

std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

FileStamp StampFrom(const BY_HANDLE_FILE_INFORMATION& info) {
    // File times count 100 ns from 1601; stamps count nanoseconds from 1970.
    constexpr std::int64_t kUnixEpoch = 116444736000000000;
    const auto ticks = static_cast<std::int64_t>(Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    return {info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow),
            Join(info.nFileSizeHigh, info.nFileSizeLow), (ticks - kUnixEpoch) * 100};
}

// What stands at path, links followed, opened only to be looked at.
THandle OpenForInfo(const fs::path& path) {
    return THandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::wstring TemporaryPrefix(const fs::path& target) {
    // Within the file system's name limit however long the target's name is.
    std::wstring name = target.filename().wstring();
    if (name.size() > 200) name.resize(IS_HIGH_SURROGATE(name[199]) ? 199 : 200);
    return L"." + name + std::wstring(kTemporaryMarker);
}

// Removes what saves of this document left behind when the program died
// during them. A running save holds its file open without sharing, so the
// delete fails for it.
void RemoveStaleTemporaries(const fs::path& folder, const std::wstring& prefix) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileExW((folder / (prefix + L"*")).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t nowTicks = Join(now.dwHighDateTime, now.dwLowDateTime);
    do {
        const std::wstring_view name = found.cFileName;
        if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix) ||
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::uint64_t written = Join(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
        if (nowTicks < written + kStaleTicks) continue;
        DeleteFileW((folder / std::wstring(name)).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// The new content on its way to the target's folder: a named temporary file,
// open without sharing while the save runs and removed if the save fails.
class TNewFile {
public:
    TNewFile(const fs::path& folder, const std::wstring& prefix, const fs::path& path) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = folder / (prefix + win32::RandomSuffix(kTemporarySuffixLength));
            handle_.Reset(CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
            if (handle_) return;
            if (GetLastError() != ERROR_FILE_EXISTS) break;
        }
        const DWORD error = GetLastError();
        name_.clear();
        throw ErrorAt(path, error);
    }
    ~TNewFile() {
        handle_.Reset();
        if (!name_.empty() && !placed_) DeleteFileW(name_.c_str());
    }
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;

    HANDLE Handle() const { return handle_.get(); }
    const fs::path& Path() const { return name_; }
    bool Close() { return handle_.Close(); }
    // The file is the target now: nothing to remove.
    void Placed() { placed_ = true; }

private:
    fs::path name_;
    THandle handle_;
    bool placed_ = false;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Makes the backup of the current file: a hard link to it (a copy where the
// file system has none) is made whole under a temporary name and only then
// put over an older backup, so a save cut short leaves the old backup or
// the new one. The file itself stays in place.
std::optional<FileError> MakeBackup(const fs::path& file, const fs::path& backup) {
    if (SameFile(file, backup)) return FileError::BackupIsTheFile(backup);
    fs::path folder = backup.parent_path();
    if (folder.empty()) folder = ".";
    const std::wstring prefix = TemporaryPrefix(backup);
    fs::path fresh;
    for (int attempt = 0;; ++attempt) {
        fresh = folder / (prefix + win32::RandomSuffix(kTemporarySuffixLength));
        if (CreateHardLinkW(fresh.c_str(), file.c_str(), nullptr)) break;
        DWORD error = GetLastError();
        if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED || error == ERROR_TOO_MANY_LINKS) {
            if (CopyFileW(file.c_str(), fresh.c_str(), TRUE)) break;
            error = GetLastError();
        }
        if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) || attempt == 100) return ErrorAt(backup, error);
    }
    if (!MoveFileExW(fresh.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(fresh.c_str());
        return ErrorAt(backup, error);
    }
    return std::nullopt;
}

// The file a write to path really changes: a symbolic link is followed so
// that saving through it updates the file it names.
fs::path WriteTarget(const fs::path& path, HANDLE opened) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(opened, final.data(), static_cast<DWORD>(final.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return path;
        if (n < final.size()) {
            final.resize(n);
            return fs::path(final);
        }
        final.resize(n);
    }
}

}  // namespace

std::optional<FileStamp> StampOf(const fs::path& path) {
    const THandle file = OpenForInfo(path);
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return StampFrom(info);
}

// Windows has no signal for it: a write past a limit simply fails.
void IgnoreFileSizeLimitSignal() {}

RegularFileReader::RegularFileReader(fs::path path) : path_(std::move(path)), handle_(0) {
    THandle file(CreateFileW(path_.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!file) throw ErrorAt(path_, GetLastError());
    // A device, a pipe or a console is never read: it may never end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw FileError::NotRegularFile(path_);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) throw ErrorAt(path_, GetLastError());
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError::FromErrno(path_, EISDIR);
    size_ = static_cast<std::size_t>(Join(info.nFileSizeHigh, info.nFileSizeLow));
    handle_ = reinterpret_cast<std::intptr_t>(file.Release());
}

RegularFileReader::~RegularFileReader() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

std::size_t RegularFileReader::Read(char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::size_t left = size - got;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD n = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer + got, chunk, &n, nullptr))
            throw ErrorAt(path_, GetLastError());
        if (n == 0) break;
        got += n;
    }
    return got;
}

std::optional<FileError> NotADocumentFile(const fs::path& path) {
    const THandle file = OpenForInfo(path);
    if (!file) return std::nullopt;
    // A device has no file information to ask for.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return FileError::NotRegularFile(path);
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileError::FromErrno(path, EISDIR);
    return std::nullopt;
}

namespace {

// The reasons a readable file may refuse to be written.
bool NotWritableError(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT; }

THandle OpenAlone(const fs::path& path, DWORD access) {
    return THandle(CreateFileW(path.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool ExclusiveOpenTest(const fs::path& path) {
    THandle file = OpenAlone(path, GENERIC_READ | GENERIC_WRITE);
    if (!file && NotWritableError(GetLastError())) file.Reset(OpenAlone(path, GENERIC_READ).Release());
    return file && GetFileType(file.get()) == FILE_TYPE_DISK;
}

std::optional<FileError> WhyNotWritable(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    if (attributes & FILE_ATTRIBUTE_READONLY) return FileError::FromErrno(path, EACCES);
    const THandle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return std::nullopt;
    const DWORD error = GetLastError();
    return NotWritableError(error) ? std::optional<FileError>(ErrorAt(path, error)) : std::nullopt;
}

SaveOutcome SaveFileAtomically(const fs::path& path, std::string_view bytes,
                               const std::optional<fs::path>& backupPath) {
    fs::path target = path;
    bool hadOld = false;
    if (const THandle old = OpenForInfo(path)) {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(old.get(), &info)) throw ErrorAt(path, GetLastError());
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError::FromErrno(path, EISDIR);
        if (GetFileType(old.get()) != FILE_TYPE_DISK) throw FileError::NotRegularFile(path);
        // Replacing the file by rename would get round its write protection.
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) throw FileError::FromErrno(path, EACCES);
        target = WriteTarget(path, old.get());
        // Nor may a file be replaced that this user may not write, or that
        // another program holds open without letting others write.
        if (!THandle(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)))
            throw ErrorAt(path, GetLastError());
        hadOld = true;
    } else if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        throw ErrorAt(path, error);
    }

    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::wstring prefix = TemporaryPrefix(target);
    RemoveStaleTemporaries(folder, prefix);

    TNewFile file(folder, prefix, path);
    if (!WriteAll(file.Handle(), bytes) || !FlushFileBuffers(file.Handle())) throw ErrorAt(path, GetLastError());
    BY_HANDLE_FILE_INFORMATION written;
    if (!GetFileInformationByHandle(file.Handle(), &written)) throw ErrorAt(path, GetLastError());
    SaveOutcome outcome;
    outcome.stamp = StampFrom(written);
    if (!file.Close()) throw ErrorAt(path, GetLastError());

    if (backupPath && hadOld) outcome.backupError = MakeBackup(target, *backupPath);

    // A file in place is replaced keeping its attributes and access rights.
    const bool placed =
        hadOld ? ReplaceFileW(target.c_str(), file.Path().c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)
               : MoveFileExW(file.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!placed) throw ErrorAt(path, GetLastError());
    file.Placed();
    // Replacing may give the file the old one's times.
    if (const std::optional<FileStamp> stamp = StampOf(target)) outcome.stamp = *stamp;
    return outcome;
}

}  // namespace quodle
