#include "base/UserFolders.h"

#include <system_error>

// The installed data folder as seen from the installed executables' folder;
// the build gives it from its install directories.
#ifndef QUODLE_BIN_TO_DATA
#define QUODLE_BIN_TO_DATA "../share/quodle"
#endif

namespace quodle {
namespace fs = std::filesystem;

namespace {

fs::path FolderOf(const fs::path& executablePath) {
    return executablePath.has_parent_path() ? executablePath.parent_path() : fs::path(".");
}

// The folder, created when missing; one that cannot be made shows up as a
// write error at the first write.
fs::path Made(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

}  // namespace

std::optional<fs::path> InstalledDataFolder(const fs::path& executablePath) {
    const fs::path folder = FolderOf(executablePath);
    const fs::path data = (folder / QUODLE_BIN_TO_DATA).lexically_normal();
    std::error_code ec;
    fs::directory_iterator it(data, ec);
    if (ec) return std::nullopt;
    for (const fs::directory_entry& entry : it) {
        if (fs::exists(folder / entry.path().filename(), ec)) return std::nullopt;
    }
    return data;
}

fs::path UserProgramFolder(const std::optional<fs::path>& userHome) {
    if (userHome) return *userHome / "quodle";
    return UserTemporaryFolder();
}

fs::path ProgramFilePath(const fs::path& executablePath, const fs::path& fileName,
                         const std::optional<fs::path>& userHome) {
    const fs::path folder = FolderOf(executablePath);
    const bool installed = InstalledDataFolder(executablePath).has_value();
    if (!installed && (!userHome || FolderWritable(folder))) return folder / fileName;
    return Made(UserProgramFolder(userHome)) / fileName;
}

}  // namespace quodle
