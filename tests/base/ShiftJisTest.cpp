#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Both document conversions copy ASCII a vector or a word at a time; they
// must agree with the character-at-a-time codec for ASCII stretches of
// every length up to past two vectors, ending at the end of the text or
// before a character of each kind, at any alignment, and never write past
// the room they are given.
TEST(ShiftJis, AsciiStretchesConvertLikeTheCharacterCodec) {
    // Two- and three-byte UTF-8, a trail byte that is ASCII ('\' of 表),
    // half-width kana (one CP932 byte).
    const std::string chars[] = {"", "α", "あ", "表", "ｱ", "ﾟ漢字"};
    std::string ascii;
    for (int i = 0; ascii.size() < 80; ++i) ascii += static_cast<char>('!' + i % 90);
    constexpr char kGuard = '\xEE';
    auto untouched = [&](const std::vector<char>& buf, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (buf[i] != kGuard) return false;
        return true;
    };
    for (std::size_t start = 0; start < 16; start += 5)
        for (std::size_t len = 0; len <= 70; ++len)
            for (const std::string& c : chars)
                for (const std::size_t after : {0, 1, 7, 16, 33}) {
                    const std::string utf8 = ascii.substr(0, len) + c + ascii.substr(3, after);
                    const std::string cp932 = Utf8ToCp932(utf8);
                    const std::string where = std::to_string(start) + "/" + std::to_string(len) + "/" + c + "/" +
                                              std::to_string(after);
                    const std::string in = std::string(start, 'x') + utf8 + cp932;
                    const std::string_view utf8In(in.data() + start, utf8.size());
                    const std::string_view cp932In(in.data() + start + utf8.size(), cp932.size());

                    std::vector<char> buf(start + utf8.size() + 16, kGuard);
                    TVariantForms forms;
                    const TUtf8Conversion r = Utf8ToCp932Strict(utf8In, buf.data() + start, true, forms);
                    ASSERT_FALSE(r.invalid) << where;
                    EXPECT_EQ(r.used, utf8.size()) << where;
                    EXPECT_EQ(std::string(buf.data() + start, r.written), cp932) << where;
                    EXPECT_TRUE(untouched(buf, 0, start) && untouched(buf, start + utf8.size(), buf.size())) << where;

                    buf.assign(start + kUtf8PerCp932Byte * cp932.size() + 16, kGuard);
                    std::size_t bad = std::string_view::npos;
                    char* end = PutCp932AsUtf8(buf.data() + start, cp932In, 0, bad);
                    EXPECT_EQ(bad, std::string_view::npos) << where;
                    EXPECT_EQ(std::string(buf.data() + start, end), Utf16ToUtf8(Cp932ToUtf16(cp932))) << where;
                    EXPECT_TRUE(untouched(buf, 0, start) &&
                                untouched(buf, start + kUtf8PerCp932Byte * cp932.size(), buf.size()))
                        << where;
                }
    // A stretch stops exactly at a byte that is not UTF-8, at a character
    // cut off by the end of a piece, and at a CP932 byte without a character.
    for (std::size_t len = 0; len <= 70; ++len) {
        std::vector<char> buf(len + 8);
        TVariantForms forms;
        const std::string invalid = ascii.substr(0, len) + "\xC0\x80z";
        const TUtf8Conversion r = Utf8ToCp932Strict(invalid, buf.data(), false, forms);
        EXPECT_TRUE(r.invalid);
        EXPECT_EQ(r.used, len);
        const std::string cut = ascii.substr(0, len) + "\xE3\x81";
        const TUtf8Conversion piece = Utf8ToCp932Strict(cut, buf.data(), false, forms);
        EXPECT_FALSE(piece.invalid);
        EXPECT_EQ(piece.used, len);
        EXPECT_TRUE(Utf8ToCp932Strict(cut, buf.data(), true, forms).invalid);
        std::size_t undecodable = std::string_view::npos;
        std::vector<char> wide(kUtf8PerCp932Byte * (len + 2));
        PutCp932AsUtf8(wide.data(), ascii.substr(0, len) + "\x80!", 0, undecodable);
        EXPECT_EQ(undecodable, len);
    }
}

}  // namespace
}  // namespace quodle
