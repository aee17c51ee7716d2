// The 16-byte run test against a byte loop: every start in texts of every
// length around the 16-byte steps (the last bytes are read as the text's
// last 16, or one at a time in a text shorter than 16), for sets whose
// ranges touch 0x00 and 0xFF.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "syntax/ByteRuns.h"

namespace quodle {
namespace {

using TTable = std::array<bool, 256>;

TTable TableOf(std::initializer_list<std::pair<int, int>> ranges) {
    TTable t{};
    for (const auto& [lo, hi] : ranges)
        for (int b = lo; b <= hi; ++b) t[static_cast<std::size_t>(b)] = true;
    return t;
}

TEST(ByteRuns, RunEndAgreesWithAByteLoop) {
    const std::vector<TTable> tables = {
        TableOf({{'-', '-'}, {'0', '9'}, {'>', '>'}, {'A', 'Z'}, {'_', '_'}, {'a', 'z'}}),  // six ranges
        TableOf({{0x00, 0x05}, {0x80, 0x80}, {0xF0, 0xFF}}),                              // both ends
        TableOf({{0x01, 0xFE}}),                                                          // 254 bytes
    };
    std::mt19937 rng(31);
    for (const TTable& table : tables) {
        const TByteRanges set(table.data());
        ASSERT_TRUE(set.Usable());
        std::vector<int> inside;
        for (int b = 0; b < 256; ++b)
            if (table[static_cast<std::size_t>(b)]) inside.push_back(b);
        for (std::size_t n = 0; n <= 50; ++n) {
            for (int round = 0; round < 20; ++round) {
                // Mostly bytes of the set, so that runs cross the 16-byte steps.
                std::string text(n, '\0');
                for (char& c : text)
                    c = static_cast<char>(rng() % 8 != 0 ? inside[rng() % inside.size()] : static_cast<int>(rng() % 256));
                const auto* s = reinterpret_cast<const unsigned char*>(text.data());
                for (std::size_t p = 0; p <= n; ++p) {
                    std::size_t expected = p;
                    while (expected < n && table[s[expected]]) ++expected;
                    ASSERT_EQ(RunEnd(set, s, p, n), expected) << "n=" << n << " p=" << p;
                }
            }
        }
    }
}

TEST(ByteRuns, SetsTheTestCannotHoldAreNotUsable) {
    struct TCase {
        const char* name;
        TTable table;
        bool usable;
    };
    TTable seven{};
    for (int i = 0; i < 7; ++i) seven[static_cast<std::size_t>(i * 10)] = true;
    TTable all{};
    all.fill(true);
    const TCase cases[] = {
        {"empty", TTable{}, false},
        {"seven ranges", seven, false},
        {"255 bytes", TableOf({{0x00, 0xFE}}), false},
        {"all bytes", all, false},
        {"one byte", TableOf({{0x7F, 0x7F}}), true},
    };
    for (const TCase& c : cases) EXPECT_EQ(TByteRanges(c.table.data()).Usable(), c.usable) << c.name;
}

}  // namespace
}  // namespace quodle
