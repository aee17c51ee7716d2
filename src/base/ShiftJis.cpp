#include "base/ShiftJis.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <cstdint>
#include <cstring>

#include "base/ByteScan.h"
#include "base/Utf8Lead.h"

namespace quodle {
namespace {

struct Cp932Pair {
    char16_t code;
    std::uint16_t bytes;
};

#include "base/Cp932Table.inc"

// Characters with no CP932 form of their own that stand, for Japanese
// users, for one: the JIS X 0201 readings of bytes 0x5C and 0x7E, and the
// JIS X 0208 readings of the code points whose Microsoft reading is
// another (mostly full-width) character, as input methods, other systems
// and web pages hand them over. Encoding only: decoding keeps the Microsoft
// reading, so every CP932 code point still round-trips. Sorted by code.
constexpr Cp932Pair kCp932Alternates[] = {
    {0x00A2, 0x8191},  // ¢ → ￠
    {0x00A3, 0x8192},  // £ → ￡
    {0x00A5, 0x005C},  // ¥: the Yen key; Japanese fonts draw 0x5C as ¥
    {0x00A6, 0xFA55},  // ¦ → ￤
    {0x00AC, 0x81CA},  // ¬ → ￢
    {0x2014, 0x815C},  // — → ―
    {0x2016, 0x8161},  // ‖ → ∥
    {0x203E, 0x007E},  // ‾: JIS X 0201 reads 0x7E as an overline
    {0x2212, 0x817C},  // − → －
    {0x301C, 0x8160},  // 〜 → ～
};

// The codes of TCp932Variants, bit i for entry i: the code, the character
// it reads back as, and the alternative form Japanese text writes for it.
struct TVariantCode {
    std::uint16_t bytes;
    char16_t canonical;
    char16_t alternative;
};
constexpr TVariantCode kVariantCodes[] = {
    {0x815C, 0x2015, 0x2014},  // ― / —
    {0x8160, 0xFF5E, 0x301C},  // ～ / 〜
    {0x8161, 0x2225, 0x2016},  // ∥ / ‖
    {0x817C, 0xFF0D, 0x2212},  // － / −
    {0x8191, 0xFFE0, 0x00A2},  // ￠ / ¢
    {0x8192, 0xFFE1, 0x00A3},  // ￡ / £
    {0x81CA, 0xFFE2, 0x00AC},  // ￢ / ¬
};
static_assert(std::size(kVariantCodes) <= 8 * sizeof(TCp932Variants));

template <std::size_t N>
const Cp932Pair* Find(const Cp932Pair (&table)[N], char16_t c) {
    const auto* end = std::end(table);
    const auto* it =
        std::lower_bound(std::begin(table), end, c, [](const Cp932Pair& p, char16_t v) { return p.code < v; });
    return it != end && it->code == c ? it : nullptr;
}

void AddUnmapped(std::u32string& unmapped, char32_t c) {
    if (unmapped.find(c) == std::u32string::npos) unmapped.push_back(c);
}

int LeadIndex(unsigned char b) { return b <= 0x9F ? b - 0x81 : b - 0xE0 + (0xA0 - 0x81); }

char16_t DecodePair(unsigned char lead, unsigned char trail) {
    if (trail < 0x40 || trail > 0xFC) return 0;
    return kCp932Decode[LeadIndex(lead)][trail - 0x40];
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            out.push_back(static_cast<char16_t>(0xFF61 + (b - 0xA1)));
        } else if (IsLeadByte(b) && i + 1 < n) {
            const char16_t c = DecodePair(b, static_cast<unsigned char>(bytes[i + 1]));
            if (c) {
                out.push_back(c);
                ++i;
            } else {
                out.push_back(static_cast<char16_t>(kInvalidByteBase + b));
            }
        } else {
            out.push_back(static_cast<char16_t>(kInvalidByteBase + b));
        }
    }
    return out;
}

TCp932Encoding EncodeCp932(std::u16string_view text) {
    TCp932Encoding result;
    std::string& out = result.bytes;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= kInvalidByteBase + 0x80 && c <= kInvalidByteBase + 0xFF) {
            out.push_back(static_cast<char>(c - kInvalidByteBase));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            // A character beyond the BMP has no CP932 form.
            AddUnmapped(result.unmapped, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
            out.push_back('?');
            continue;
        }
        const Cp932Pair* pair = Find(kCp932Encode, c);
        if (!pair) pair = Find(kCp932Alternates, c);
        if (!pair) {
            AddUnmapped(result.unmapped, c);
            out.push_back('?');
        } else if (pair->bytes > 0xFF) {
            out.push_back(static_cast<char>(pair->bytes >> 8));
            out.push_back(static_cast<char>(pair->bytes & 0xFF));
        } else {
            out.push_back(static_cast<char>(pair->bytes));
        }
    }
    return result;
}

std::string Utf16ToCp932(std::u16string_view text) { return EncodeCp932(text).bytes; }

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t c = 0xFFFD;
        std::size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            bool ok = i + len <= s.size();
            char32_t v = b & (0x7F >> len);
            for (std::size_t k = 1; ok && k < len; ++k) {
                const auto t = static_cast<unsigned char>(s[i + k]);
                ok = (t & 0xC0) == 0x80;
                v = (v << 6) | (t & 0x3F);
            }
            if (ok) {
                c = v;
            } else {
                len = 1;
            }
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

namespace {

char* PutUtf8(char* out, char32_t c) {
    if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

// Every BMP character whose CP932 form reads back as itself, with that
// form (0: none). Built once from the encode table; ASCII is not in it.
const std::array<std::uint16_t, 0x10000>& StrictForms() {
    static const auto forms = [] {
        auto table = std::make_unique<std::array<std::uint16_t, 0x10000>>();
        table->fill(0);
        for (const Cp932Pair& p : kCp932Encode) {
            const auto lead = static_cast<unsigned char>(p.bytes >> 8);
            const auto single = static_cast<unsigned char>(p.bytes);
            const char16_t back = p.bytes > 0xFF ? (IsLeadByte(lead) ? DecodePair(lead, single) : 0)
                                  : single >= 0xA1 && single <= 0xDF ? static_cast<char16_t>(0xFF61 + single - 0xA1)
                                                                     : 0;
            if (p.code >= 0x80 && back == p.code) (*table)[p.code] = p.bytes;
        }
        // Either form of a variant code is taken only by TakeVariant.
        for (const TVariantCode& v : kVariantCodes) (*table)[v.canonical] = 0;
        return table;
    }();
    return *forms;
}

// The code of c when c is a form of a variant code and the text has not
// used the code's other form (recorded in `seen`); 0 otherwise.
std::uint16_t TakeVariant(char32_t c, TVariantForms& seen) {
    for (std::size_t i = 0; i < std::size(kVariantCodes); ++i) {
        const TVariantCode& v = kVariantCodes[i];
        const bool alternative = c == v.alternative;
        if (!alternative && c != v.canonical) continue;
        const auto bit = static_cast<TCp932Variants>(1u << i);
        if ((alternative ? seen.Canonical : seen.Alternative) & bit) return 0;
        (alternative ? seen.Alternative : seen.Canonical) |= bit;
        return v.bytes;
    }
    return 0;
}

// The alternative form of the code `bytes` when `variants` holds it.
std::optional<char16_t> VariantOf(std::uint16_t bytes, TCp932Variants variants) {
    for (std::size_t i = 0; i < std::size(kVariantCodes); ++i)
        if (kVariantCodes[i].bytes == bytes && (variants >> i & 1)) return kVariantCodes[i].alternative;
    return std::nullopt;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes, std::size_t* undecodable, TCp932Variants variants) {
    std::string out;
    const std::size_t bad = AppendCp932AsUtf8(out, bytes, variants);
    if (undecodable) *undecodable = bad;
    return out;
}

std::size_t AppendCp932AsUtf8(std::string& out, std::string_view bytes, TCp932Variants variants) {
    // A piece at a time, so that a text of many megabytes never asks for
    // three times its size at once.
    constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
    std::size_t undecodable = std::string_view::npos;
    for (std::size_t done = 0; done < bytes.size();) {
        std::size_t take = bytes.size() - done;
        if (take > kPieceBytes) {
            // A cut right after an ASCII byte never splits a character.
            std::size_t cut = kPieceBytes;
            while (cut > 0 && static_cast<unsigned char>(bytes[done + cut - 1]) >= 0x80) --cut;
            if (cut > 0) take = cut;
        }
        const std::size_t used = out.size();
        out.resize(used + kUtf8PerCp932Byte * take);
        std::size_t bad = std::string_view::npos;
        const char* end = PutCp932AsUtf8(out.data() + used, bytes.substr(done, take), variants, bad);
        out.resize(static_cast<std::size_t>(end - out.data()));
        if (bad != std::string_view::npos && undecodable == std::string_view::npos) undecodable = done + bad;
        done += take;
    }
    return undecodable;
}

char* PutCp932AsUtf8(char* out, std::string_view bytes, TCp932Variants variants, std::size_t& undecodable) {
    const std::size_t n = bytes.size();
    const char* const s = bytes.data();
    std::size_t i = 0;
    while (i < n) {
        // Each source byte still to convert has three bytes of room at
        // `out`, so the ASCII copy, which needs one per byte, always fits.
        const std::size_t ascii = CopyAsciiPrefix(s + i, n - i, out);
        i += ascii;
        out += ascii;
        // Japanese text comes in runs of characters beyond ASCII: they are
        // taken one after another up to the next ASCII byte.
        while (i < n && static_cast<unsigned char>(s[i]) >= 0x80) {
            const auto b = static_cast<unsigned char>(s[i]);
            char16_t c = 0;
            std::size_t len = 1;
            if (b >= 0xA1 && b <= 0xDF) {
                c = static_cast<char16_t>(0xFF61 + (b - 0xA1));
            } else if (IsLeadByte(b) && i + 1 < n) {
                const auto trail = static_cast<unsigned char>(s[i + 1]);
                c = DecodePair(b, trail);
                len = 2;
                // Every variant code has lead byte 0x81 or 0xFA.
                if (variants != 0 && c != 0 && (b == 0x81 || b == 0xFA))
                    c = VariantOf(static_cast<std::uint16_t>(b << 8 | trail), variants).value_or(c);
            }
            if (c == 0) {
                if (undecodable == std::string_view::npos) undecodable = i;
                c = static_cast<char16_t>(kInvalidByteBase + b);
                len = 1;
            }
            out = PutUtf8(out, c);
            i += len;
        }
    }
    return out;
}

TUtf8Conversion Utf8ToCp932Strict(std::string_view in, char* out, bool final, TVariantForms& variants) {
    const auto& forms = StrictForms();
    TUtf8Conversion r;
    const std::size_t n = in.size();
    const char* const s = in.data();
    std::size_t i = 0;
    std::size_t o = 0;
    bool stopped = false;
    while (i < n && !stopped) {
        // out has room for n bytes and o <= i: the rest of `in` fits.
        const std::size_t ascii = CopyAsciiPrefix(s + i, n - i, out + o);
        i += ascii;
        o += ascii;
        while (i < n && static_cast<unsigned char>(s[i]) >= 0x80) {
            const auto b = static_cast<unsigned char>(s[i]);
            // Kana, kanji and the full-width forms first: three bytes with
            // a double-byte form. Leads E0 and ED, whose second byte has a
            // narrower range, go the general way.
            if (b >= 0xE1 && b <= 0xEF && b != 0xED && n - i >= 3) {
                const auto t1 = static_cast<unsigned char>(s[i + 1]);
                const auto t2 = static_cast<unsigned char>(s[i + 2]);
                if ((t1 & 0xC0) == 0x80 && (t2 & 0xC0) == 0x80) {
                    const std::uint16_t form = forms[(b & 0x0Fu) << 12 | (t1 & 0x3Fu) << 6 | (t2 & 0x3Fu)];
                    if (form > 0xFF) {
                        // Private use is the only foreign range this way comes through.
                        if (b >= 0xEE && !r.foreign)
                            r.foreign = IsForeignToJapaneseText((b & 0x0Fu) << 12 | (t1 & 0x3Fu) << 6 | (t2 & 0x3Fu));
                        out[o] = static_cast<char>(form >> 8);
                        out[o + 1] = static_cast<char>(form & 0xFF);
                        o += 2;
                        i += 3;
                        r.nonAscii = true;
                        continue;
                    }
                }
            }
            const TUtf8Lead lead = Utf8Lead(b);
            const std::size_t len = lead.Length;
            char32_t c = b & (0xFF >> (len + 1));
            std::size_t k = len == 0 ? 0 : 1;
            for (; k < len && i + k < n; ++k) {
                const auto t = static_cast<unsigned char>(s[i + k]);
                if (t < (k == 1 ? lead.Low : 0x80) || t > (k == 1 ? lead.High : 0xBF)) break;
                c = (c << 6) | (t & 0x3F);
            }
            if (len == 0 || k < len) {
                // Cut off by the end of this piece, the rest may come with
                // the next; anything else is not UTF-8.
                r.invalid = len == 0 || i + k < n || final;
                stopped = true;
                break;
            }
            r.nonAscii = true;
            r.foreign = r.foreign || IsForeignToJapaneseText(c);
            std::uint16_t form = c < 0x10000 ? forms[c] : 0;
            if (form == 0) form = TakeVariant(c, variants);
            if (form == 0) {
                if (r.unmapped == 0) {
                    r.unmapped = c;
                    r.unmappedAt = i;
                }
                std::memcpy(out + o, kNoFormMark, 2);
                o += 2;
            } else if (form > 0xFF) {
                out[o++] = static_cast<char>(form >> 8);
                out[o++] = static_cast<char>(form & 0xFF);
            } else {
                out[o++] = static_cast<char>(form);
            }
            i += len;
        }
    }
    r.used = i;
    r.written = o;
    return r;
}

std::string Utf8ToCp932(std::string_view utf8) { return Utf16ToCp932(Utf8ToUtf16(utf8)); }

}  // namespace quodle
