#include "search/SearchChars.h"

#include <array>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

constexpr bool InRange(unsigned b, unsigned first, unsigned last) { return b >= first && b <= last; }

// The half-width punctuation and kana 0xA1..0xDF as Unicode full-width forms.
constexpr char16_t kKanaForms[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};
static_assert(std::size(kKanaForms) == 0xDF - 0xA1 + 1);

TCharCode EncodeOne(char16_t ch) {
    const std::string bytes = Utf16ToCp932(std::u16string_view(&ch, 1));
    return bytes.size() == 2 ? static_cast<TCharCode>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                      static_cast<unsigned char>(bytes[1]))
                             : 0;
}

std::array<TCharCode, 256> BuildFullWidthTable() {
    std::array<TCharCode, 256> table{};
    for (unsigned b = 0; b < 256; ++b) table[b] = static_cast<TCharCode>(b);
    table[0x20] = 0x8140;
    for (unsigned b = 0x21; b <= 0x7E; ++b) table[b] = EncodeOne(static_cast<char16_t>(0xFF01 + (b - 0x21)));
    for (unsigned b = 0xA1; b <= 0xDF; ++b) table[b] = EncodeOne(kKanaForms[b - 0xA1]);
    // Where JIS X 0208 has no exact twin, or the code page maps the twin to
    // a vendor row, these forms are the ones people type.
    table[0x22] = 0x8168;
    table[0x27] = 0x8166;
    table[0x5C] = 0x818F;
    table[0x60] = 0x814D;
    table[0x7E] = 0x8150;
    table[0xA1] = 0x8142;
    table[0xA4] = 0x8141;
    table[0xA5] = 0x8144;
    table[0xB0] = 0x815B;
    table[0xDE] = 0x814A;
    table[0xDF] = 0x814B;
    return table;
}

const std::array<TCharCode, 256>& FullWidthTable() {
    static const std::array<TCharCode, 256> table = BuildFullWidthTable();
    return table;
}

// Lower-case runs and the upper-case code each run starts at.
struct TCaseRun {
    TCharCode lowerFirst, lowerLast, upperFirst;
};
constexpr TCaseRun kCaseRuns[] = {
    {0x8281, 0x829A, 0x8260},  // full-width Latin
    {0x83BF, 0x83D6, 0x839F},  // Greek
    {0x8470, 0x847E, 0x8440},  // Cyrillic (0x847F is no character)
    {0x8480, 0x8491, 0x844F},
    {0xEEEF, 0xEEF8, 0x8754},  // small roman numerals
};

}  // namespace

bool IsWordDelimiter(unsigned char b) {
    return b <= 0x2F || InRange(b, 0x3A, 0x40) || InRange(b, 0x5B, 0x60) || InRange(b, 0x7B, 0x80) ||
           InRange(b, 0xA0, 0xA5) || b >= 0xFD;
}

TCharCode FullWidthOf(unsigned char b) { return FullWidthTable()[b]; }

bool TakesMark(unsigned char kana) { return InRange(kana, 0xB6, 0xC4) || InRange(kana, 0xCA, 0xCE) || kana == 0xB3; }

TCharCode VoicedFullWidth(unsigned char kana, unsigned char mark) {
    if (mark == 0xDE) {
        if (kana == 0xB3) return 0x8394;  // VU
        if (InRange(kana, 0xB6, 0xC4) || InRange(kana, 0xCA, 0xCE)) return FullWidthOf(kana) + 1;
    } else if (mark == 0xDF && InRange(kana, 0xCA, 0xCE)) {
        return FullWidthOf(kana) + 2;
    }
    return 0;
}

TCharCode FoldCase(TCharCode code) {
    if (!IsDoubleCode(code)) return InRange(code, 'a', 'z') ? static_cast<TCharCode>(code - 0x20) : code;
    // Lower-case letters have only these lead bytes.
    const unsigned lead = code >> 8;
    if (lead != 0x82 && lead != 0x83 && lead != 0x84 && lead != 0xEE) return code;
    for (const TCaseRun& run : kCaseRuns)
        if (InRange(code, run.lowerFirst, run.lowerLast)) return static_cast<TCharCode>(run.upperFirst + (code - run.lowerFirst));
    return code;
}

TCharCode LowerCaseOf(TCharCode code) {
    if (!IsDoubleCode(code)) return InRange(code, 'A', 'Z') ? static_cast<TCharCode>(code + 0x20) : 0;
    for (const TCaseRun& run : kCaseRuns) {
        const unsigned last = run.upperFirst + (run.lowerLast - run.lowerFirst);
        if (InRange(code, run.upperFirst, last)) return static_cast<TCharCode>(run.lowerFirst + (code - run.upperFirst));
    }
    return 0;
}

std::size_t SearchCharLength(std::string_view text, std::size_t i) {
    return CharLengthAt(text, i) == 2 && MayFollowLead(static_cast<unsigned char>(text[i + 1])) ? 2 : 1;
}

void AppendCode(std::string& out, TCharCode code) {
    if (IsDoubleCode(code)) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

std::string HalfToFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLengthAt(text, i);
        const auto b = static_cast<unsigned char>(text[i]);
        if (length == 2) {
            out.append(text, i, 2);
        } else if (const TCharCode pair = i + 1 < text.size() ? VoicedFullWidth(b, static_cast<unsigned char>(text[i + 1])) : 0) {
            AppendCode(out, pair);
            i += 2;
            continue;
        } else {
            AppendCode(out, FullWidthOf(b));
        }
        i += length;
    }
    return out;
}

std::string UpperCaseText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (CharLengthAt(text, i) == 2) {
            AppendCode(out, FoldCase(static_cast<TCharCode>(static_cast<unsigned char>(text[i]) << 8 |
                                                            static_cast<unsigned char>(text[i + 1]))));
            i += 2;
        } else {
            AppendCode(out, FoldCase(static_cast<unsigned char>(text[i])));
            ++i;
        }
    }
    return out;
}

}  // namespace quodle
