#pragma once
// The private clipboard format of a box selection; its data are the box's
// Shift-JIS bytes, each row followed by CR LF.
namespace quodle {
inline constexpr const char* kBoxClipboardFormat = "TEditor Box Type";
}  // namespace quodle
