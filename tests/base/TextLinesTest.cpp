#include "base/TextLines.h"

#include <gtest/gtest.h>

namespace quodle {
namespace {

TEST(TextLines, KeepsLinesInOrder) {
    TTextLines lines;
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.begin(), lines.end());
    lines.reserve(4, 1);  // less than needed: it grows
    for (const char* line : {"", "alpha", "", "\x95\x5C beta\t", ""}) lines.push_back(line);
    const std::vector<std::string> want = {"", "alpha", "", "\x95\x5C beta\t", ""};
    ASSERT_EQ(lines.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << i;
    EXPECT_EQ(lines.ToVector(), want);
    std::size_t n = 0;
    for (const std::string_view line : lines) EXPECT_EQ(line, want[n++]);
    EXPECT_EQ(n, want.size());
}

}  // namespace
}  // namespace quodle
