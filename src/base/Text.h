#pragma once
// Small text rules shared by every subsystem: the program's case rule and the
// comma-list split.
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextLines.h"

namespace quodle {

// Upper-cases only the ASCII letters a-z; every other byte stays, and so do
// the trail bytes of double-byte characters.
std::string AsciiUpper(std::string_view s);
std::string AsciiLower(std::string_view s);
// Compares after AsciiUpper.
bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b);

// The lines of text kept with CR LF between them (none after the last).
std::vector<std::string_view> SplitCrLf(std::string_view text);

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view s);

// Drops the blanks (any byte up to 0x20) at both ends.
std::string_view TrimBlanks(std::string_view s);

// The order of every list shown to the user: case-insensitive, and by
// character class the way the desktop sorts names: blanks and punctuation
// first, then digits, then letters, then everything else (double-byte
// characters, half-width katakana) by byte value. A prefix sorts first.
// Returns <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
// Sorts with CompareText; entries that compare equal keep their order.
void SortTextList(std::vector<std::string>& list);
// The order SortTextList would give `list`, as indices into it.
void SortTextOrder(const TTextLines& list, std::vector<std::uint32_t>& order);

// Splits a comma list: fields are separated by blanks (any byte up to 0x20)
// or by a comma; blanks around a comma are dropped; a field may be enclosed
// in double quotes (a doubled quote inside stands for one quote). A comma at
// the very end yields one more, empty field.
std::vector<std::string> SplitCommaList(std::string_view s);

// The fields of SplitCommaList one at a time, for readers of many short
// lists that want no allocation per list.
class TCommaFields {
public:
    explicit TCommaFields(std::string_view s);
    // The next field, or false after the last: a view of the list's own
    // bytes, or of a decoded copy of a quoted field that the reader keeps
    // while it lives.
    bool Next(std::string_view& field);
    // The same, copied into `field`.
    bool Next(std::string& field);

private:
    std::list<std::string> quoted_;  // stays in place as it grows; seldom used
    std::string_view s_;
    std::size_t i_ = 0;
    bool emptyLast_ = false;  // a comma ended the list
};

}  // namespace quodle
