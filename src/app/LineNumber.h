#pragma once
// The line-number prompt of 行番号へ.
#include <string_view>

namespace quodle {

// The number typed into the prompt (1-based); -1 when the text is empty or
// is not a decimal number that fits an int.
int ParseLineNumber(std::string_view text);

}  // namespace quodle
