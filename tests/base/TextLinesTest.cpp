#include "base/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Lists of many megabytes grow in blocks the system maps and moves; what
// was written stays, and copies and moves keep to their own lines.
TEST(TextLines, LargeListsKeepTheirLinesThroughGrowthCopyAndMove) {
    const auto lineOf = [](std::size_t i) { return std::to_string(i) + std::string(i % 97, static_cast<char>('a' + i % 26)); };
    TTextLines lines;
    std::size_t bytes = 0;
    std::size_t n = 0;
    for (; bytes < (std::size_t{9} << 20); ++n) {
        const std::string line = lineOf(n);
        bytes += line.size();
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), n);
    EXPECT_EQ(lines.TextSize(), bytes);
    for (std::size_t i = 0; i < n; i += 997) ASSERT_EQ(lines[i], lineOf(i)) << i;
    EXPECT_EQ(lines[n - 1], lineOf(n - 1));

    TTextLines copy = lines;
    copy.push_back("tail");
    EXPECT_EQ(lines.size(), n);
    EXPECT_EQ(copy[n - 1], lineOf(n - 1));
    EXPECT_EQ(copy[n], "tail");

    TTextLines moved = std::move(lines);
    EXPECT_EQ(moved.size(), n);
    EXPECT_EQ(moved[n / 2], lineOf(n / 2));
    EXPECT_TRUE(lines.empty());  // NOLINT(bugprone-use-after-move): a moved-from list is empty and usable
    lines.push_back("again");
    EXPECT_EQ(lines.ToVector(), std::vector<std::string>{"again"});
}

}  // namespace
}  // namespace quodle
