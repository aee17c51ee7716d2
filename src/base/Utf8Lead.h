#pragma once
// The one reading of a UTF-8 lead byte, shared by the validity test and
// the document conversion.
#include <cstddef>

namespace quodle {

// The character that byte `lead` (0x80 or above) starts: its length in
// bytes (0: no character starts so) and the range its second byte must lie
// in, which rules out overlong forms, surrogates and code points past
// U+10FFFF. Later bytes lie in 0x80..0xBF.
struct TUtf8Lead {
    std::size_t Length = 0;
    unsigned char Low = 0x80, High = 0xBF;
};

constexpr TUtf8Lead Utf8Lead(unsigned char lead) {
    TUtf8Lead r;
    if (lead >= 0xC2 && lead <= 0xDF) {
        r.Length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        r.Length = 3;
        if (lead == 0xE0) r.Low = 0xA0;
        if (lead == 0xED) r.High = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        r.Length = 4;
        if (lead == 0xF0) r.Low = 0x90;
        if (lead == 0xF4) r.High = 0x8F;
    }
    return r;
}

}  // namespace quodle
