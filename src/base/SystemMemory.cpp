#include "base/SystemMemory.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>

#include <fstream>
#include <string>
#endif

namespace quodle {

std::optional<std::uint64_t> AvailableMemoryBytes() {
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
    return status.ullAvailPhys;
#else
    // Linux counts the caches it can drop as available.
    std::ifstream info("/proc/meminfo");
    std::string key;
    std::uint64_t kb = 0;
    while (info >> key >> kb) {
        if (key == "MemAvailable:") return kb * 1024;
        info.ignore(64, '\n');
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || size <= 0) return std::nullopt;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size);
#endif
}

}  // namespace quodle
