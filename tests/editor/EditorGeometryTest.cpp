#include "editor/EditorGeometry.h"

#include <gtest/gtest.h>

namespace quodle {
namespace {

TEST(EditorGeometry, SettingsAreClamped) {
    const int gauge[][2] = {{7, 8}, {8, 8}, {9, 8}, {10, 10}, {11, 10}, {-3, 8}};
    for (const auto& g : gauge) EXPECT_EQ(ClampGaugeRange(g[0]), g[1]) << g[0];
    const int column[][2] = {{0, 1}, {1, 1}, {8, 8}, {12, 8}};
    for (const auto& c : column) EXPECT_EQ(ClampLeftbarColumn(c[0]), c[1]) << c[0];
    EXPECT_EQ(ClampMargin(-1), 0);
    EXPECT_EQ(ClampMargin(101), 100);
    EXPECT_EQ(ClampMargin(19), 19);
}

TEST(EditorGeometry, LeftbarDigitsAndNumbers) {
    struct Case {
        int largest, column, digits;
    } cases[] = {{0, 4, 4}, {9999, 4, 4}, {10000, 4, 5}, {5, 1, 1}, {123456789, 4, 8}, {-1, 2, 2}, {99, 12, 8}};
    for (const Case& c : cases) EXPECT_EQ(LeftbarDigits(c.largest, c.column), c.digits) << c.largest;
    // 120 rows in 100 lines, the text ending with a break: row 121 is shown.
    EXPECT_EQ(LeftbarLargestNumber(120, 100, true, false, false), 121);
    EXPECT_EQ(LeftbarLargestNumber(120, 100, true, false, true), 120);
    EXPECT_EQ(LeftbarLargestNumber(120, 100, false, true, false), 100);
    EXPECT_EQ(LeftbarWidth(true, 8, 4, 7, 4), 8 + 28 + 4 + 2);
    EXPECT_EQ(LeftbarWidth(false, 8, 4, 7, 4), 0);
}

TEST(EditorGeometry, BarsRulerAndVisibleColumns) {
    EXPECT_EQ(ImagebarWidth(true, 2, 8, 0, 2), 12);
    EXPECT_EQ(ImagebarWidth(false, 2, 8, 0, 2), 0);
    EXPECT_EQ(RulerHeight(true, true), 11);
    EXPECT_EQ(RulerHeight(true, false), 10);
    EXPECT_EQ(RulerHeight(false, true), 0);
    EXPECT_EQ(VisibleColumns(640, 31, 8, 16), (640 - 31 - 4 - 16) / 8);
    EXPECT_EQ(VisibleColumns(20, 31, 8, 0), 1);
    EXPECT_EQ(VisibleColumns(640, 0, 0, 0), 1);
}

}  // namespace
}  // namespace quodle
