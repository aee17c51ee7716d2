#pragma once
// The character rules of searching Shift-JIS text: word delimiters, the
// half-width to full-width table with its voiced pairs, and the case folding
// of single- and double-byte letters. A character is handled as one code: a
// single byte b as b, a double-byte character as lead * 256 + trail.
#include <cstdint>
#include <string>
#include <string_view>

namespace quodle {

using TCharCode = std::uint16_t;

constexpr bool IsDoubleCode(TCharCode code) { return code > 0xFF; }

// Control characters, space and ASCII signs, '_' among them, and a few
// bytes around the half-width kana. Lead bytes are word characters.
bool IsWordDelimiter(unsigned char b);

// The full-width form of a single byte: JIS X 0208 for ASCII and the
// half-width kana, the byte itself for the rest.
TCharCode FullWidthOf(unsigned char b);

// A half-width kana followed by a voiced (0xDE) or semi-voiced (0xDF) mark
// that forms one full-width character with it: that character, else 0.
TCharCode VoicedFullWidth(unsigned char kana, unsigned char mark);
// Whether a mark byte after this kana would pair with it.
bool TakesMark(unsigned char kana);

// Lower case to upper case: ASCII letters, and full-width Latin, Greek,
// Cyrillic and the small roman numerals. Everything else stays.
TCharCode FoldCase(TCharCode code);
// The lower-case character that folds to `code`, or 0 when there is none.
TCharCode LowerCaseOf(TCharCode code);

// The length of the character at text[i] as the search reads it:
// CharLengthAt's, except that a lead byte before a CR or LF stands alone.
// A line break is never half of a character: the rows keep it apart from
// their texts, and the whole text must read as they do.
std::size_t SearchCharLength(std::string_view text, std::size_t i);
// Whether a byte may be the second of a character the search reads.
constexpr bool MayFollowLead(unsigned char b) { return b != '\r' && b != '\n'; }

// Every single-byte character by the table, voiced pairs as one character.
std::string HalfToFullWidth(std::string_view text);
// Upper-cases every letter FoldCase knows, character by character (trail
// bytes are never taken for letters).
std::string UpperCaseText(std::string_view text);

void AppendCode(std::string& out, TCharCode code);

}  // namespace quodle
