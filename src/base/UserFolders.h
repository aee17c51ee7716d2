#pragma once
// Where the program may keep its files: the folders beside the executable
// when they can be written, else the user's own folders: by the XDG base-
// directory rules on Linux, the application-data folders on Windows. An
// installed program keeps nothing beside itself.
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
// A folder of this user's own in the temporary folder, for when no user
// folder is known: per user, so that others neither read nor plant the
// user's files. Not created here.
std::filesystem::path UserTemporaryFolder();

// The folder of the program's shipped data when the executable runs
// installed: <prefix>/share/quodle beside its <prefix>/bin, with none of the
// files found there lying beside the executable. Nothing for a build tree or
// a copy that keeps its data beside the executable: that data wins.
std::optional<std::filesystem::path> InstalledDataFolder(const std::filesystem::path& executablePath);

// The program's own subfolder "quodle" of the user's folder `userHome`;
// without a user folder, UserTemporaryFolder() (never a system folder). Not
// created here.
std::filesystem::path UserProgramFolder(const std::optional<std::filesystem::path>& userHome);

// `fileName` in the executable's folder when that folder can be written and
// the program is not installed; otherwise in UserProgramFolder(userHome),
// created here. A program that is not installed and knows no user folder
// keeps the file beside itself all the same.
std::filesystem::path ProgramFilePath(const std::filesystem::path& executablePath,
                                      const std::filesystem::path& fileName,
                                      const std::optional<std::filesystem::path>& userHome);

}  // namespace quodle
