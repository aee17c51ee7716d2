#include "lsp/Uri.h"

#include "base/Text.h"

namespace quodle::lsp {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

}  // namespace

std::optional<std::filesystem::path> PathOfUri(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.size() < kScheme.size() || !AsciiEqualsIgnoreCase(uri.substr(0, kScheme.size()), kScheme))
        return std::nullopt;
    std::string_view rest = uri.substr(kScheme.size());
    // An authority other than the local host names another machine.
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && !AsciiEqualsIgnoreCase(host, "localhost")) return std::nullopt;
    rest = rest.substr(slash);
    if (const std::size_t end = rest.find_first_of("?#"); end != std::string_view::npos) rest = rest.substr(0, end);
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        if (i + 2 >= rest.size()) return std::nullopt;
        const int hi = HexValue(rest[i + 1]), lo = HexValue(rest[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        path += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
#ifdef _WIN32
    // "/C:/dir" is the drive path "C:/dir".
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
#endif
    if (path.find('\0') != std::string::npos) return std::nullopt;
    return std::filesystem::path(path);
}

std::string UriOfPath(const std::filesystem::path& path) {
    const std::string generic = path.generic_string();
    std::string uri = "file://";
    if (generic.empty() || generic.front() != '/') uri += '/';
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : generic) {
        const auto u = static_cast<unsigned char>(c);
        if (IsUnreserved(u) || c == ':') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[u >> 4];
            uri += kHex[u & 15];
        }
    }
    return uri;
}

}  // namespace quodle::lsp
