#include "base/Text.h"

#include "base/ShiftJis.h"

namespace quodle {

namespace {

// Shifts the ASCII letters in [from, to] by delta, stepping over double-byte
// characters whole.
std::string MapAsciiLetters(std::string_view s, char from, char to, int delta) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        char& c = out[i];
        if (c >= from && c <= to) c = static_cast<char>(c + delta);
        i += CharLengthAt(out, i);
    }
    return out;
}

}  // namespace

std::string AsciiUpper(std::string_view s) { return MapAsciiLetters(s, 'a', 'z', 'A' - 'a'); }

std::string AsciiLower(std::string_view s) { return MapAsciiLetters(s, 'A', 'Z', 'a' - 'A'); }

bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Reads a quoted field starting at s[i] == '"'; a doubled quote is one quote.
// Double-byte characters are stepped over whole so a trail byte is never
// taken for a quote.
std::string ReadQuoted(std::string_view s, std::size_t& i) {
    std::string out;
    ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                out.push_back('"');
                i += 2;
                continue;
            }
            ++i;
            return out;
        }
        const std::size_t len = CharLengthAt(s, i);
        out.append(s.substr(i, len));
        i += len;
    }
    return out;
}

}  // namespace

std::vector<std::string> SplitCommaList(std::string_view s) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            fields.push_back(ReadQuoted(s, i));
        } else {
            const std::size_t start = i;
            while (i < s.size() && !IsBlank(s[i]) && s[i] != ',') ++i;
            fields.emplace_back(s.substr(start, i - start));
        }
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i < s.size() && s[i] == ',') {
            if (i + 1 == s.size()) fields.emplace_back();
            do {
                ++i;
            } while (i < s.size() && IsBlank(s[i]));
        }
    }
    return fields;
}

}  // namespace quodle
