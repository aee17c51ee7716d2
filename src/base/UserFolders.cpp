#include "base/UserFolders.h"

namespace quodle {
namespace fs = std::filesystem;

fs::path WritableFilePath(const fs::path& folder, const fs::path& fileName, const std::optional<fs::path>& userHome) {
    if (FolderWritable(folder) || !userHome) return folder / fileName;
    const fs::path own = *userHome / "quodle";
    std::error_code ec;
    // A folder that cannot be made shows up as a write error at the first write.
    fs::create_directories(own, ec);
    return own / fileName;
}

}  // namespace quodle
