#pragma once
// Shift-JIS (code page 932) byte helpers and the one codec between CP932 and
// Unicode. The engine keeps every text as CP932 bytes; only the user-interface
// boundary and the command line's human output decode.
#include <cstddef>
#include <cstdint>
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

// Whether s[i] is the second byte of a double-byte character, by the lead
// bytes just before it: a run of them that starts where a character starts
// pairs up from there, so a byte after an odd run is a trail byte.
inline bool IsTrailByteAt(std::string_view s, std::size_t i) {
    std::size_t run = 0;
    while (run < i && IsLeadByte(s[i - run - 1])) ++run;
    return run % 2 == 1;
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

// CP932 codes that Unicode text writes in either of two forms: the one the
// code reads back as, and the form Japanese text commonly uses for it (
// "〜" U+301C for 0x8160, which reads back as "～" U+FF5E; likewise — ‖ −
// ¢ £ ¬). A set of them, one bit each: a set bit means the document
// writes that code in its alternative form.
using TCp932Variants = std::uint8_t;

// CP932 bytes as UTF-8, undecodable bytes as their private-use stand-ins.
// `undecodable`, when given, receives the offset of the first byte that is
// not part of a mapped character (npos: none): such text has no faithful
// UTF-8 form.
// The codes in `variants` are written in their alternative form.
std::string Cp932ToUtf8(std::string_view bytes, std::size_t* undecodable = nullptr, TCp932Variants variants = 0);
// The same, appended to `out`; returns the offset in `bytes` of the first
// byte without a character (npos: none).
std::size_t AppendCp932AsUtf8(std::string& out, std::string_view bytes, TCp932Variants variants = 0);
// The same, written at `out`, which has room for kUtf8PerCp932Byte bytes
// per byte of `bytes`; returns the end of what was written. `undecodable`,
// when still npos, receives the offset of the first byte without a character.
inline constexpr std::size_t kUtf8PerCp932Byte = 3;  // a half-width kana or a stand-in
char* PutCp932AsUtf8(char* out, std::string_view bytes, TCp932Variants variants, std::size_t& undecodable);
// Lenient: invalid UTF-8 as U+FFFD, characters without a form as '?'.
std::string Utf8ToCp932(std::string_view utf8);

// Strict UTF-8 to CP932 for whole documents, a piece at a time. A character
// is taken only when its CP932 form reads back as the same character, so
// that converting back gives the very bytes read (no alternates, no
// stand-ins). One without such a form is written as kNoFormMark and the
// first is reported; reading stops at the first byte that does not begin a
// well-formed UTF-8 character (overlong forms and surrogates included).
// A code of TCp932Variants is taken in either form, but only in one per
// text: `variants` gathers the forms met over the pieces, and the first
// character in the other form than its code's earlier ones has no form.
inline constexpr char kNoFormMark[] = "\x81\xAC";  // 〓, the customary mark of a missing character
// Characters a Japanese source text does not hold, which Shift-JIS bytes
// read as UTF-8 spell readily (half-width katakana pairs such as "ﾆｭ" make
// U+01AD): C1 controls, Latin Extended-A and -B, IPA, spacing modifiers,
// combining marks, the scripts from Cyrillic Supplement to NKo, and private
// use. Latin-1 letters, Greek and Cyrillic are not among them: real UTF-8
// files hold those.
constexpr bool IsForeignToJapaneseText(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x100 && c <= 0x36F) || (c >= 0x500 && c <= 0x7FF) ||
           (c >= 0xE000 && c <= 0xF8FF);
}

struct TUtf8Conversion {
    std::size_t used = 0;     // bytes of the input converted
    std::size_t written = 0;  // bytes put out (never more than `used`)
    bool invalid = false;     // the input at `used` is not UTF-8
    bool nonAscii = false;    // a character beyond ASCII was met
    bool foreign = false;     // a character IsForeignToJapaneseText was met
    char32_t unmapped = 0;    // the first character without a form, 0 if none
    std::size_t unmappedAt = 0;  // its offset in the input
};
struct TVariantForms {
    TCp932Variants Alternative = 0;  // codes met in their alternative form
    TCp932Variants Canonical = 0;    // codes met in the form they read back as
};
// Converts `in` into `out` (room for in.size() bytes). A character cut off
// by the end of `in` is left unused unless `final`, where it is invalid.
TUtf8Conversion Utf8ToCp932Strict(std::string_view in, char* out, bool final, TVariantForms& variants);

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace quodle
