#include "app/DocumentRules.h"

#include <array>

#include "base/PathText.h"
#include "base/Text.h"

namespace quodle {
namespace {

std::size_t NameStart(std::string_view path) {
    const auto slash = path.find_last_of(kPathSeparators);
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::string_view ExtensionOf(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool IsAcceptedExtension(std::string_view path) {
    static constexpr std::array<std::string_view, 5> kAccepted{".LSP", ".TXT", ".DXF", ".DCL", ".SCR"};
    const std::string_view ext = ExtensionOf(path);
    for (const auto accepted : kAccepted)
        if (AsciiEqualsIgnoreCase(ext, accepted)) return true;
    return false;
}

std::string FileNamePart(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string BackupPath(std::string_view target, std::string_view extensionSource) {
    std::string_view sourceExt = ExtensionOf(extensionSource);
    if (!sourceExt.empty()) sourceExt.remove_prefix(1);
    const std::string_view targetExt = ExtensionOf(target);
    std::string backup(target.substr(0, target.size() - targetExt.size()));
    backup += ".~";
    backup += sourceExt;
    return backup;
}

}  // namespace quodle
