#pragma once
// File URIs as the protocol names documents: "file://" and a path whose
// bytes outside the unreserved ones are percent-encoded.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quodle::lsp {

// The path a "file:" URI names; nothing for another scheme or a broken
// escape.
std::optional<std::filesystem::path> PathOfUri(std::string_view uri);
// The "file:" URI of an absolute path.
std::string UriOfPath(const std::filesystem::path& path);

}  // namespace quodle::lsp
