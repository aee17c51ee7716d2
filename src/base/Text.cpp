#include "base/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ShiftJis.h"
#include "base/Utf8Lead.h"

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

std::vector<std::string_view> SplitCrLf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t cut; (cut = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(cut + 2))
        lines.push_back(text.substr(0, cut));
    lines.push_back(text);
    return lines;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const TUtf8Lead lead = Utf8Lead(b);
        const std::size_t len = lead.Length;
        if (len == 0 || i + len > s.size()) return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < lead.Low || second > lead.High) return false;
        for (std::size_t k = 2; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

namespace {

// Sort weight of one byte for CompareText.
constexpr std::array<std::uint16_t, 256> MakeTextWeights() {
    std::array<std::uint16_t, 256> w{};
    for (int b = 0; b < 256; ++b) {
        if (b >= '0' && b <= '9') {
            w[b] = static_cast<std::uint16_t>(0x80 + (b - '0'));
        } else if (b >= 'A' && b <= 'Z') {
            w[b] = static_cast<std::uint16_t>(0x90 + (b - 'A'));
        } else if (b >= 'a' && b <= 'z') {
            w[b] = static_cast<std::uint16_t>(0x90 + (b - 'a'));
        } else {
            w[b] = static_cast<std::uint16_t>(b < 0x80 ? b : 0x100 + b);
        }
    }
    return w;
}
constexpr std::array<std::uint16_t, 256> kTextWeights = MakeTextWeights();

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int wa = kTextWeights[static_cast<unsigned char>(a[i])];
        const int wb = kTextWeights[static_cast<unsigned char>(b[i])];
        if (wa != wb) return wa - wb;
        // Equal weights mean equal lead bytes, so both texts step over the
        // same double-byte character; its trail byte is compared as it is,
        // never case-folded.
        if (IsLeadByte(a[i]) && i + 1 < n) {
            ++i;
            if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

void SortTextList(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& x, const std::string& y) { return CompareText(x, y) < 0; });
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
