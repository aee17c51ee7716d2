// The user's folders on Windows: the application-data folders.
#include "base/UserFolders.h"

// <windows.h> before the headers that build on it.
#include <windows.h>

#include <shlobj.h>

#include "base/win32/Win32Files.h"

namespace quodle {
namespace fs = std::filesystem;

namespace {

std::optional<fs::path> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR folder = nullptr;
    std::optional<fs::path> result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &folder)) && folder && *folder) result = fs::path(folder);
    CoTaskMemFree(folder);
    return result;
}

}  // namespace

bool FolderWritable(const fs::path& folder) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const fs::path probe = folder / (L".quodle-probe-" + win32::RandomSuffix(6));
        const win32::THandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file) return true;
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

std::optional<fs::path> UserConfigHome() { return KnownFolder(FOLDERID_RoamingAppData); }
std::optional<fs::path> UserCacheHome() { return KnownFolder(FOLDERID_LocalAppData); }

// The temporary folder is the user's own on Windows.
fs::path UserTemporaryFolder() { return fs::temp_directory_path() / "quodle"; }

}  // namespace quodle
