#include "syntax/WideSlips.h"

#include <array>
#include <string>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

// What a character that is no full-width form of ASCII stands for.
char OtherSlip(char16_t ch) {
    switch (ch) {
        case u'\u3000': return ' ';   // 　
        case u'\u201C':               // “
        case u'\u201D': return '"';   // ”
        case u'\u2018':               // ‘
        case u'\u2019': return '\'';  // ’
        case u'\uFFE5': return '\\';  // ￥
        case u'\uFFE3': return '~';   // ￣
        case u'\u3002': return '.';   // 。
        default: return 0;
    }
}

// Every double-byte code by what it decodes to, so that the code page's
// duplicate codes (＂ and ＇ have two each) are slips too.
std::array<char, 0x10000> BuildTable() {
    std::array<char, 0x10000> table{};
    std::string pair(2, '\0');
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
            pair[0] = static_cast<char>(lead);
            pair[1] = static_cast<char>(trail);
            const std::u16string decoded = Cp932ToUtf16(pair);
            if (decoded.size() != 1) continue;
            const char16_t ch = decoded[0];
            const char ascii = ch >= u'\uFF01' && ch <= u'\uFF5E' ? static_cast<char>(ch - 0xFF01 + 0x21) : OtherSlip(ch);
            table[lead << 8 | trail] = ascii;
        }
    }
    return table;
}

}  // namespace

char SlipAsciiOf(unsigned char lead, unsigned char trail) {
    static const std::array<char, 0x10000> table = BuildTable();
    return table[static_cast<unsigned>(lead) << 8 | trail];
}

}  // namespace quodle
