#include "base/FoldedNameSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Text.h"

namespace quodle {
namespace {

// ャ (0x83 0x61) and ア (0x83 0x41) differ only in a trail byte that looks
// like a lower- and an upper-case letter; they are different names.
#define SMALL_YA "\x83\x61"
#define A_KATA "\x83\x41"

TEST(FoldedNameSet, EqualityIsAsciiUpper) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"foo", "FOO", true},
        {"Foo_1", "fOO_1", true},
        {"foo", "foo ", false},
        {"vla-get-ActiveDocument", "VLA-GET-activedocument", true},  // longer than a word
        {"abcdefgh", "abcdefgi", false},
        {"@[`{", "@[`{", true},  // the neighbours of the letters do not fold
        {"@", "`", false},
        {"[", "{", false},
        {"", "", true},
        {SMALL_YA, A_KATA, false},
        {"x" SMALL_YA "y", "X" SMALL_YA "Y", true},
        // A lead byte at the end stands alone; the letter before it folds.
        {"a\x83", "A\x83", true},
        {"\xB1", "\xB1", true},  // half-width katakana
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldedEquals(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(FoldedEquals(c.a, c.b), AsciiUpper(c.a) == AsciiUpper(c.b)) << c.a << " / " << c.b;
        if (c.equal) {
            EXPECT_EQ(FoldedHash(c.a), FoldedHash(c.b)) << c.a;
        }
    }
}

TEST(FoldedNameSet, KeepsFirstSpellingAndOrder) {
    TFoldedNameSet set;
    EXPECT_EQ(set.Find("x"), TFoldedNameSet::npos);
    EXPECT_EQ(set.Insert("Beta"), std::make_pair(std::size_t{0}, true));
    EXPECT_EQ(set.Insert("alpha"), std::make_pair(std::size_t{1}, true));
    EXPECT_EQ(set.Insert("BETA"), std::make_pair(std::size_t{0}, false));
    EXPECT_EQ(set.Insert(SMALL_YA), std::make_pair(std::size_t{2}, true));
    EXPECT_EQ(set.Insert(A_KATA), std::make_pair(std::size_t{3}, true));
    EXPECT_EQ(set.size(), 4u);
    EXPECT_EQ(set[0], "Beta");
    EXPECT_EQ(set[1], "alpha");
    EXPECT_EQ(set.Find("ALPHA"), 1u);
    EXPECT_EQ(set.Find(A_KATA), 3u);
}

// Many names force the table to grow several times; after a clear the
// same table must behave like a new one.
TEST(FoldedNameSet, GrowsAndClears) {
    TFoldedNameSet set;
    for (int round = 0; round < 2; ++round) {
        const int count = round == 0 ? 5000 : 40;
        for (int i = 0; i < count; ++i) EXPECT_TRUE(set.Insert("name" + std::to_string(i)).second);
        ASSERT_EQ(set.size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(set.Find("NAME" + std::to_string(i)), static_cast<std::size_t>(i));
            EXPECT_EQ(set[static_cast<std::size_t>(i)], "name" + std::to_string(i));
        }
        EXPECT_EQ(set.Find("name" + std::to_string(count)), TFoldedNameSet::npos);
        set.Clear();
        EXPECT_TRUE(set.empty());
        EXPECT_EQ(set.Find("name1"), TFoldedNameSet::npos);
    }
}

}  // namespace
}  // namespace quodle
