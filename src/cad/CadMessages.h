#pragma once
// The texts the load command shows (UTF-8), each in a message box captioned
// "Tarnwick" with an OK button only.
#include <string>
#include <string_view>

namespace quodle {

inline constexpr std::string_view kLoadModifiedNotice = "変更されているため、テンポラリファイルに保存後ロードします.";
inline constexpr std::string_view kAutoCadNotFound = "AutoCADが見つかりません.";
inline constexpr std::string_view kIntelliCadNotFound = "IntelliCAD/IJCADが見つかりません.";
inline constexpr std::string_view kIntelliCadFailed = "IntelliCAD/IJCADの取得に失敗しました.";
inline constexpr std::string_view kZwCadNotFound = "ZwCADが見つかりません.";
inline constexpr std::string_view kZwCadFailed = "ZwCADの取得に失敗しました.";
inline constexpr std::string_view kBricsCadNotFound = "BricsCADが見つかりません.";
inline constexpr std::string_view kBricsCadFailed = "BricsCADの取得に失敗しました.";

inline std::string LoadPathNotFound(std::string_view path) { return std::string(path) + "が見つかりません."; }

}  // namespace quodle
