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
// A full-width character in code, and what it stands for.
inline constexpr std::string_view kCodeSlip = "コードの中の全角文字 ";
inline constexpr std::string_view kWideBlankSlip = "全角空白 → 空白";
// The one-step fixes, named as the menu names them.
inline constexpr std::string_view kLocaliseAction = "未宣言変数をローカル変数に追加";
inline constexpr std::string_view kDropUnusedAction = "未使用ローカル変数を削除";
inline constexpr std::string_view kFixSlipsAction = "全角の記号・英数字を半角に修正";
// The groups of the document's symbols, as the command/function tree
// names its roots.
inline constexpr std::string_view kCommandGroup = "Command";
inline constexpr std::string_view kFunctionGroup = "Function";

}  // namespace quodle::lsp
