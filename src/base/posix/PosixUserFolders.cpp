// The user's folders by the XDG base-directory rules.
#include "base/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quodle {
namespace fs = std::filesystem;

namespace {

std::optional<fs::path> UserFolder(const char* xdgVariable, const char* homeSubfolder) {
    if (const char* xdg = std::getenv(xdgVariable); xdg && *xdg == '/') return fs::path(xdg);
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / homeSubfolder;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return fs::path(pw->pw_dir) / homeSubfolder;
    return std::nullopt;
}

}  // namespace

bool FolderWritable(const fs::path& folder) {
    std::string probe = (folder / ".quodle-probe-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::optional<fs::path> UserConfigHome() { return UserFolder("XDG_CONFIG_HOME", ".config"); }
std::optional<fs::path> UserCacheHome() { return UserFolder("XDG_CACHE_HOME", ".cache"); }

fs::path UserTemporaryFolder() { return fs::temp_directory_path() / ("quodle-" + std::to_string(::getuid())); }

}  // namespace quodle
