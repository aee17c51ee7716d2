#pragma once
// Shift-JIS (code page 932) byte helpers and the one codec between CP932 and
// Unicode. The engine keeps every text as CP932 bytes; only the user-interface
// boundary and the command line's human output decode.
#include <cstddef>
#include <string>
#include <string_view>

namespace quodle {

// Lead byte of a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// Byte that may follow a lead byte.
constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Length of the character that starts at s[i]: 2 for a lead byte that has a
// byte after it in s, else 1. A lead byte at the very end counts alone so that
// nothing ever reads past the text.
inline std::size_t CharLengthAt(std::string_view s, std::size_t i) {
    return (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
}

// Code point that an undecodable byte b (0x80..0xFF) stands for: U+F700 + b,
// a private-use range CP932 does not use, so encoding gives the byte back.
constexpr char16_t kInvalidByteBase = 0xF700;

// Decodes CP932 bytes. Every byte is accounted for: a byte that is not part of
// a mapped character becomes kInvalidByteBase + byte.
std::u16string Cp932ToUtf16(std::string_view bytes);

// UTF-16 as CP932 bytes. A character without a CP932 form of its own takes
// the form Japanese users mean by it where there is one ("¥" is byte 0x5C,
// "〜" is "～", "−" is "－": the alternates in ShiftJis.cpp); the
// private-use stand-ins of undecodable bytes become those bytes again. The
// characters still without a form are listed in `unmapped` (each once, in
// the order they first appear) and stand as '?' in `bytes`: text put into
// a document is refused instead (TEditor::InputBytes).
struct TCp932Encoding {
    std::string bytes;
    std::u32string unmapped;
};
TCp932Encoding EncodeCp932(std::u16string_view text);

// EncodeCp932's bytes, '?' for a character without a form.
std::string Utf16ToCp932(std::u16string_view text);

std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace quodle
