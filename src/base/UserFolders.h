#pragma once
// Where the program may keep its files: the folders beside the executable
// when they can be written, else the user's own folders: by the XDG base-
// directory rules on Linux, the application-data folders on Windows.
#include <filesystem>
#include <optional>

namespace quodle {

// Whether a file can be created in the folder: tried, since only a real
// attempt also holds for read-only mounts, access lists and a privileged user.
bool FolderWritable(const std::filesystem::path& folder);

// $XDG_CONFIG_HOME, else ~/.config; nothing when no home folder is known.
// A relative XDG value is invalid by the rules and is ignored. On Windows
// the roaming application-data folder.
std::optional<std::filesystem::path> UserConfigHome();
// $XDG_CACHE_HOME, else ~/.cache; the same rules. On Windows the local
// application-data folder.
std::optional<std::filesystem::path> UserCacheHome();

// `fileName` in `folder` when that folder can be written, otherwise in the
// program's own subfolder "quodle" of the user's folder `userHome` (created
// here), or in `folder` all the same when there is no user folder.
std::filesystem::path WritableFilePath(const std::filesystem::path& folder, const std::filesystem::path& fileName,
                                       const std::optional<std::filesystem::path>& userHome);

}  // namespace quodle
