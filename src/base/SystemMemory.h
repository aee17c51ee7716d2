#pragma once
// How much memory the system could give this program now, without
// swapping: what a command that may take much of it weighs its size against.
#include <cstdint>
#include <optional>

namespace quodle {

// Bytes available; nothing when the system does not tell.
std::optional<std::uint64_t> AvailableMemoryBytes();

}  // namespace quodle
