#pragma once
// The texts the language server shows in the client (UTF-8, as the
// protocol carries them); the analyses' own texts come from their rooms.
#include <string_view>

namespace quodle::lsp {

inline constexpr std::string_view kUndeclaredVariable = "未宣言変数 ";
inline constexpr std::string_view kUnusedArgument = "未使用の引数 ";
inline constexpr std::string_view kUnusedLocal = "未使用のローカル変数 ";
// After the name: the definition it belongs to, or none.
inline constexpr std::string_view kInFunction = " (関数 ";
inline constexpr std::string_view kOutsideFunctions = " (関数の外)";
inline constexpr std::string_view kUndefinedFunction = "未定義関数 ";
inline constexpr std::string_view kDuplicateDefinition = "重複定義 ";
inline constexpr std::string_view kOtherDefinition = "ほかの定義";
inline constexpr std::string_view kNoShiftJisForm = "Shift-JIS にない文字です (";
inline constexpr std::string_view kNoShiftJisFormEnd = ")．解析では 〓 として読みます．";
// The groups of the document's symbols, as the command/function tree
// names its roots.
inline constexpr std::string_view kCommandGroup = "Command";
inline constexpr std::string_view kFunctionGroup = "Function";

}  // namespace quodle::lsp
