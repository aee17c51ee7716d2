#pragma once
// Full-width characters that an input method slips into code where the
// ASCII character was meant: the full-width forms of ASCII (＂ to ～ and
// their code-page twins), the ideographic blank, the curly quotes, ￥ and
// ￣ (the forms a Japanese keyboard gives for "\" and "~") and "。" (the
// period key with kana input on). Each stands for one ASCII character. The
// analyses and the colouring ask this one table.
#include <cstddef>
#include <string_view>

namespace quodle {

// The ASCII character the double-byte character lead/trail stands for, or
// 0 when it is none of the slips above.
char SlipAsciiOf(unsigned char lead, unsigned char trail);

// The same for the character at byte `pos` of `text` (0 for a single byte
// or a character cut off by the end).
inline char SlipAsciiAt(std::string_view text, std::size_t pos) {
    return pos + 1 < text.size() ? SlipAsciiOf(static_cast<unsigned char>(text[pos]),
                                               static_cast<unsigned char>(text[pos + 1]))
                                 : 0;
}

}  // namespace quodle
