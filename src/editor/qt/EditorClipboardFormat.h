#pragma once
// The private clipboard and drag formats. A box selection's data are the
// box's Shift-JIS bytes, each row followed by CR LF; a stream selection's
// are its Shift-JIS bytes, so text goes between our own windows exactly as
// it stands, invalid sequences included.
namespace quodle {
inline constexpr const char* kBoxClipboardFormat = "TEditor Box Type";
inline constexpr const char* kStreamBytesFormat = "application/x-quodle-shift-jis";
}  // namespace quodle
