#include <gtest/gtest.h>

#include "base/ShiftJis.h"

namespace quodle {
namespace {

TEST(ShiftJis, LeadBytes) {
    for (int b = 0; b < 256; ++b) {
        const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(ShiftJis, DecodesJapaneseAndTrailBackslash) {
    // 表 is 0x95 0x5C: its trail byte is '\', which must not stand alone.
    EXPECT_EQ(Cp932ToUtf8("\x95\x5C"), "表");
    EXPECT_EQ(Cp932ToUtf8("\x93\xFA\x96\x7B\x8C\xEA"), "日本語");
    EXPECT_EQ(Cp932ToUtf8("\xB1\xB2"), "ｱｲ");
    EXPECT_EQ(Utf8ToCp932("日本語"), "\x93\xFA\x96\x7B\x8C\xEA");
    EXPECT_EQ(Utf8ToCp932("ｱｲ"), "\xB1\xB2");
}

// Every mapped double-byte code point decodes to one character and encodes
// back to bytes that decode to the same character (CP932 has a few
// duplicates, so the bytes themselves may be the preferred twin).
TEST(ShiftJis, RoundTripEveryCodePoint) {
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string u = Cp932ToUtf16(bytes);
            if (u.size() != 1) continue;  // unmapped: two stand-ins
            ++mapped;
            const std::string back = Utf16ToCp932(u);
            ASSERT_EQ(back.size(), 2u) << lead << "," << trail;
            EXPECT_EQ(Cp932ToUtf16(back), u);
        }
    }
    EXPECT_GT(mapped, 7000);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(one)), one) << b;
    }
}

// The characters Japanese users type or paste for Shift-JIS bytes that
// Microsoft's table reads as other characters.
TEST(ShiftJis, AlternateFormsEncodeAsTheBytesTheyStandFor) {
    const struct {
        const char16_t* typed;
        const char* bytes;
        const char16_t* decoded;
    } cases[] = {
        {u"\u00A5", "\x5C", u"\\"},          {u"\u203E", "\x7E", u"~"},
        {u"\u2212", "\x81\x7C", u"\uFF0D"},  {u"\u301C", "\x81\x60", u"\uFF5E"},
        {u"\u2016", "\x81\x61", u"\u2225"},  {u"\u2014", "\x81\x5C", u"\u2015"},
        {u"\u00A2", "\x81\x91", u"\uFFE0"},  {u"\u00A3", "\x81\x92", u"\uFFE1"},
        {u"\u00AC", "\x81\xCA", u"\uFFE2"},  {u"\u00A6", "\xFA\x55", u"\uFFE4"},
    };
    for (const auto& c : cases) {
        const TCp932Encoding encoded = EncodeCp932(c.typed);
        EXPECT_EQ(encoded.bytes, c.bytes) << Utf16ToUtf8(c.typed);
        EXPECT_TRUE(encoded.unmapped.empty());
        EXPECT_EQ(Cp932ToUtf16(encoded.bytes), c.decoded) << Utf16ToUtf8(c.typed);
    }
    EXPECT_EQ(Utf8ToCp932("C:¥lisp¥a.lsp 〜"), "C:\\lisp\\a.lsp \x81\x60");
    // Decoding never gives one of them: every code point still round-trips.
    std::u16string alternates;
    for (const auto& c : cases) alternates += c.typed;
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            for (const char16_t d : Cp932ToUtf16(bytes)) ASSERT_EQ(alternates.find(d), std::u16string::npos) << lead;
        }
}

TEST(ShiftJis, CharactersWithoutAFormAreListed) {
    const TCp932Encoding encoded = EncodeCp932(u"a\U0001F600b\u20AC\U0001F600\u00E9\u3042");
    EXPECT_EQ(encoded.bytes, "a?b???\x82\xA0");
    EXPECT_EQ(encoded.unmapped, U"\U0001F600\u20AC\u00E9");
    EXPECT_TRUE(EncodeCp932(u"\u3042?").unmapped.empty());
}

TEST(ShiftJis, InvalidBytesSurviveAsStandIns) {
    const std::string cases[] = {
        std::string("\x81", 1),            // truncated lead byte at the end
        std::string("a\x85\x40z", 4),      // lead with a trail that maps to nothing
        std::string("\x80\xA0\xFD\xFE\xFF", 5),
        std::string("\x82\x0A", 2),        // lead followed by a control byte
    };
    for (const auto& c : cases) EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(c)), c);
    EXPECT_EQ(Cp932ToUtf16(std::string("\x81", 1)), std::u16string(1, char16_t(kInvalidByteBase + 0x81)));
}

TEST(ShiftJis, Utf8Conversions) {
    EXPECT_EQ(Utf16ToUtf8(u"a\u00E9\u3042\U0001F600"), "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"), u"a\u00E9\u3042\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("\xFF" "a"), u"\uFFFDa");
    EXPECT_EQ(Utf8ToCp932("\U0001F600"), "?");
}

}  // namespace
}  // namespace quodle
