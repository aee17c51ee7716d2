// The parts of base/FileIo.h that are the same on every system; the system
// calls are in posix/PosixFileIo.cpp and win32/Win32FileIo.cpp.
#include "base/FileIo.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/PathText.h"

namespace quodle {
namespace fs = std::filesystem;

namespace {

// The system's reasons in the words of the program's messages.
std::string ShownSystemReason(int error) {
    switch (error) {
    case ENOENT: return "ファイルまたはフォルダーが見つかりません";
    case EACCES: return "アクセスが許可されていません";
    case EROFS: return "読み取り専用のファイルシステムです";
    case ENOSPC: return "ディスクの空き容量が足りません";
#ifdef EDQUOT
    case EDQUOT: return "ディスクの使用量の上限を超えています";
#endif
    case EISDIR: return "ファイルではなくフォルダーです";
    case EFBIG: return "ファイルが大きすぎます";
    case EBUSY: return "デバイスまたはファイルが使用中です";
    default: return std::strerror(error);
    }
}

}  // namespace

FileError::FileError(fs::path path, int error, std::string reason, std::string shownReason)
    : std::runtime_error(Utf8FromPath(path) + ": " + reason), path_(std::move(path)), error_(error),
      reason_(std::move(reason)), shownReason_(std::move(shownReason)) {}

FileError FileError::FromErrno(fs::path path, int error) {
    return FileError(std::move(path), error, std::strerror(error), ShownSystemReason(error));
}

FileError FileError::NotRegularFile(fs::path path) {
    return FileError(std::move(path), 0, "Not a regular file", "通常のファイルではありません");
}

FileError FileError::BackupIsTheFile(fs::path path) {
    return FileError(std::move(path), 0, "The backup name is the file's own name",
                     "バックアップファイルの名前が元のファイルと同じです");
}

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::optional<RegularFileReader> file;
    try {
        file.emplace(path);
    } catch (const FileError& e) {
        if (e.Error() == ENOENT || e.Error() == ENOTDIR) return std::nullopt;
        throw;
    }
    std::string bytes;
    bytes.reserve(file->Size());
    char buffer[65536];
    while (const std::size_t n = file->Read(buffer, sizeof buffer)) bytes.append(buffer, n);
    return bytes;
}

}  // namespace quodle
