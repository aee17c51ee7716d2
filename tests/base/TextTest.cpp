#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "base/Color.h"
#include "base/Text.h"

namespace quodle {
namespace {

TEST(Text, AsciiUpperTouchesOnlyLatinLetters) {
    EXPECT_EQ(AsciiUpper("gb_tmp"), "GB_TMP");
    // A trail byte in the letter range belongs to its double-byte character
    // (ァ is 0x83 0x61) and must not turn it into another one (ア, 0x83 0x41).
    EXPECT_EQ(AsciiUpper("\x82\x81x\x83\x61"), "\x82\x81X\x83\x61");
    EXPECT_EQ(AsciiUpper("\xE0\xE9z"), "\xE0\xE9Z");
    EXPECT_TRUE(AsciiEqualsIgnoreCase("Defun", "DEFUN"));
    EXPECT_FALSE(AsciiEqualsIgnoreCase("defun", "defun-q"));
}

TEST(Text, SplitCommaList) {
    using V = std::vector<std::string>;
    struct Case {
        const char* in;
        V out;
    } cases[] = {
        {"", V{}},
        {"a,b,c", V{"a", "b", "c"}},
        {"  a ,  b  c", V{"a", "b", "c"}},
        {"a,,b", V{"a", "", "b"}},
        {"a,", V{"a", ""}},
        {"\"x y\",z", V{"x y", "z"}},
        {"\"say \"\"hi\"\"\"", V{"say \"hi\""}},
        {"12,foo,(a b / c),34", V{"12", "foo", "(a", "b", "/", "c)", "34"}},
        {"\t\x95\x5C,\x95\\x", V{"\x95\x5C", "\x95\\x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommaList(c.in), c.out) << c.in;
}

// Fields are read as views; a decoded quoted field stays valid while the
// reader lives, however many follow it.
TEST(Text, CommaFieldViewsOutliveLaterFields) {
    TCommaFields reader("\"a b\", plain ,\"c\"\"d\",\"\",e");
    std::vector<std::string_view> fields;
    for (std::string_view f; reader.Next(f);) fields.push_back(f);
    EXPECT_EQ(fields, (std::vector<std::string_view>{"a b", "plain", "c\"d", "", "e"}));
}

TEST(Text, SplitCrLf) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitCrLf("  a\r\n  b"), (V{"  a", "  b"}));
    EXPECT_EQ(SplitCrLf(""), (V{""}));
    EXPECT_EQ(SplitCrLf("a\r\n"), (V{"a", ""}));
    EXPECT_EQ(SplitCrLf("a\rb\n"), (V{"a\rb\n"}));
}

TEST(Text, IsValidUtf8) {
    struct Case {
        std::string_view bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"ascii=1", true},
        {"ＭＳ ゴシック", true},
        {"\xF0\x9F\x98\x80", true},               // U+1F600
        {"\xF4\x8F\xBF\xBF", true},               // U+10FFFF, the last
        {"\x82\x6C\x82\x72", false},              // "ＭＳ" in Shift-JIS
        {"\xB1\xB2", false},                      // half-width katakana in Shift-JIS
        {"\xC0\xAF", false},                      // overlong "/"
        {"\xE0\x80\xAF", false},                  // overlong, three bytes
        {"\xED\xA0\x80", false},                  // a surrogate
        {"\xF4\x90\x80\x80", false},              // past U+10FFFF
        {"\xE3\x81", false},                      // cut short
        {"\xE3\x81\x41", false},                  // a continuation byte missing
        {"\x80", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Text, TrimBlanks) {
    EXPECT_EQ(TrimBlanks(" \t;; a \r"), ";; a");
    EXPECT_EQ(TrimBlanks("\x01 \x02"), "");
    EXPECT_EQ(TrimBlanks("\x95\x5C "), "\x95\x5C");
}

TEST(Text, ListOrder) {
    // Expected order: blanks and punctuation, digits, letters (any case),
    // then double-byte text; a prefix first.
    std::vector<std::string> list = {
        "b",        "GetX", "get_x", "a",  "\x83\x41", "1abc", "\x83\x61", "A",
        "foo ,bar", "foo",  "foo,",  "B2", "b10",        "*g*",  "getx",
    };
    SortTextList(list);
    EXPECT_EQ(list, (std::vector<std::string>{"*g*", "1abc", "a", "A", "b", "b10", "B2", "foo", "foo ,bar", "foo,",
                                               "get_x", "GetX", "getx", "\x83\x41", "\x83\x61"}));
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    // A trail byte in the letter range is not case-folded: ァ (83 61) and
    // ア (83 41) differ.
    EXPECT_GT(CompareText("\x83\x61", "\x83\x41"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
}

// Large lists are sorted by keys built from the texts; their order must be
// exactly that of a plain stable sort with CompareText, ties included.
TEST(Text, ListOrderOfLargeListsMatchesPlainSort) {
    // Pieces that stress the keys: case variants (ties), digits and
    // punctuation around the letters, double-byte characters whose trail
    // byte is a letter, "\\" or "|", half-width katakana, a NUL, a lead byte
    // with nothing after it, and long shared beginnings.
    const std::vector<std::string> pieces = {
        "a", "A", "b", "B", "z", "Z", "0", "9", "_", "-", ",", " ", "*", "~", std::string(1, '\0'),
        "\x83\x41", "\x83\x61", "\x95\x5C", "\x83\x7C", "\x82\xA0", "\xE0\x40", "\xB1", "\xDF", "\x7F",
        "c:CMD", "c:cmd", "prefix-shared-by-many-", "PREFIX-SHARED-BY-MANY-", ",         ,"};
    std::mt19937 random(17);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (const std::size_t size : {0, 1, 63, 64, 65, 200, 1000, 5000}) {
        for (int round = 0; round < 4; ++round) {
            std::vector<std::string> list;
            for (std::size_t i = 0; i < size; ++i) {
                // Every fourth entry repeats an earlier one in other letter
                // cases, so equal texts abound.
                if (i > 0 && pick(4) == 0) {
                    std::string copy = list[pick(i)];
                    for (char& c : copy)
                        if (std::isalpha(static_cast<unsigned char>(c)) && pick(2)) c ^= 0x20;
                    list.push_back(copy);
                    continue;
                }
                std::string text;
                for (std::size_t n = pick(round == 3 ? 12 : 6); n > 0; --n) text += pieces[pick(pieces.size())];
                if (pick(8) == 0) text += "\x83";
                text += std::to_string(pick(1000));
                list.push_back(text);
            }
            std::vector<std::string> expected = list;
            std::stable_sort(expected.begin(), expected.end(),
                             [](const std::string& x, const std::string& y) { return CompareText(x, y) < 0; });
            // The same texts packed in one buffer sort the same way.
            TTextLines packed;
            for (const std::string& text : list) packed.push_back(text);
            std::vector<std::uint32_t> order;
            SortTextOrder(packed, order);
            const TOrderedLines sorted(packed, order);
            ASSERT_EQ(std::vector<std::string>(sorted.begin(), sorted.end()), expected) << size << " packed entries, round " << round;
            SortTextList(list);
            ASSERT_EQ(list, expected) << size << " entries, round " << round;
        }
    }
}

// Keys are read eight bytes at a time; a double-byte character cut by that
// boundary must still have its trail byte compared as a byte, not folded
// like a letter: ァ (83 61) sorts after ア (83 41), whatever the letter case
// of the rest and however long the shared beginning.
TEST(Text, LargeListsTellTrailBytesApartAcrossKeyChunks) {
    for (const std::size_t shared : {6, 7, 8, 15, 16}) {
        std::vector<std::string> list;
        for (int i = 0; i < 80; ++i) {
            std::string text(shared, (i % 2) ? 'x' : 'X');
            text += (i % 3) ? "\x83\x61" : "\x83\x41";
            text += std::to_string(i % 7);
            list.push_back(text);
        }
        std::vector<std::string> expected = list;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const std::string& x, const std::string& y) { return CompareText(x, y) < 0; });
        ASSERT_EQ(expected.front().substr(shared, 2), "\x83\x41");
        TTextLines packed;
        for (const std::string& text : list) packed.push_back(text);
        std::vector<std::uint32_t> order;
        SortTextOrder(packed, order);
        const TOrderedLines sorted(packed, order);
        EXPECT_EQ(std::vector<std::string>(sorted.begin(), sorted.end()), expected) << shared;
        SortTextList(list);
        EXPECT_EQ(list, expected) << shared;
    }
}

TEST(Color, NotationBothWays) {
    struct Case {
        TColor value;
        const char* text;
    } cases[] = {
        {clBlue, "clBlue"}, {clWindow, "clWindow"}, {clWindowText, "clWindowText"}, {clNone, "clNone"},
        {clGray, "clGray"}, {clWhite, "clWhite"},   {clAqua, "clAqua"},             {clBlack, "clBlack"},
        {clRed, "clRed"},   {0x00FF8000, "$00FF8000"}, {0x00123456, "$00123456"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToString(c.value), c.text);
        EXPECT_EQ(StringToColor(c.text), c.value);
    }
    EXPECT_EQ(StringToColor("clblue"), clBlue);
    EXPECT_EQ(StringToColor("$FF0000"), clBlue);
    EXPECT_EQ(StringToColor("16711680"), clBlue);
    EXPECT_EQ(StringToColor("0x00FF8000"), 0x00FF8000);
    EXPECT_EQ(StringToColor("-2147483643"), clWindow);
    EXPECT_EQ(StringToColor("blue"), std::nullopt);
    EXPECT_EQ(StringToColor("$12G"), std::nullopt);
    EXPECT_EQ(StringToColor(""), std::nullopt);
    EXPECT_EQ(ColorToRgb(clRed), 0xFF0000u);
    EXPECT_EQ(ColorToRgb(0x00FF8000), 0x0080FFu);
    EXPECT_EQ(ColorToRgb(clWindow), 0xFFFFFFu);
    EXPECT_EQ(ColorToRgb(clNone), std::nullopt);
}

}  // namespace
}  // namespace quodle
