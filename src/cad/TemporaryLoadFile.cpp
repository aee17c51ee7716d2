#include "cad/TemporaryLoadFile.h"

#include "base/UserFolders.h"

namespace quodle {

std::filesystem::path TemporaryLoadFilePath(const std::filesystem::path& executablePath) {
    return ProgramFilePath(executablePath, kTemporaryLoadFileName, UserCacheHome());
}

}  // namespace quodle
