#include "cad/TemporaryLoadFile.h"

#include "base/UserFolders.h"

namespace quodle {

std::filesystem::path TemporaryLoadFilePath(const std::filesystem::path& executablePath) {
    const std::filesystem::path folder =
        executablePath.has_parent_path() ? executablePath.parent_path() : std::filesystem::path(".");
    return WritableFilePath(folder, kTemporaryLoadFileName, UserCacheHome());
}

}  // namespace quodle
