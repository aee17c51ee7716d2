#include "text/CellMap.h"

#include <gtest/gtest.h>

namespace quodle {
namespace {

TEST(CellMap, CodesPerCell) {
    struct Case {
        std::string row;
        int tab;
        int wrap;
        std::string codes;
    } cases[] = {
        {"", 4, 0, ""},
        {"ab_1", 4, 0, "1111"},
        {"a b,(", 4, 0, "12122"},
        {"a\tx", 4, 0, "12331"},
        {"\t", 4, 0, "2333"},
        {"abcd\t", 4, 0, "11112333"},
        {"\x82\xa0x", 4, 0, "451"},           // あx
        {"a\x82\xa0\t", 4, 0, "1452"},        // the tab at cell 3 is one cell wide
        {"\xb1\xa1", 8, 0, "12"},             // half-width kana letter and its punctuation
        {"abcdefghij\tx", 8, 12, "1111111111231"},  // a tab stops at the wrap width too
        {"\x82", 4, 0, "1"},                  // a lead byte at the end counts alone
    };
    for (const Case& c : cases) {
        const TEditorAttributeArray map(c.row, TCellLayout{c.tab, c.wrap});
        EXPECT_EQ(map.Codes(), c.codes) << c.row;
        EXPECT_EQ(map.Width(), static_cast<int>(c.codes.size())) << c.row;
        EXPECT_EQ(map.At(map.Width()), kCellEnd);
    }
}

TEST(CellMap, ColumnsAndOffsets) {
    // "a", tab (cells 1-3), あ (cells 4-5), "b"
    const TEditorAttributeArray map("a\t\x82\xa0" "b", TCellLayout{4, 0});
    ASSERT_EQ(map.Codes(), "1233451");
    const int offsets[] = {0, 1, 2, 2, 2, 3, 4, 5, 6, 7};  // columns 0..9
    for (int column = 0; column < 10; ++column) EXPECT_EQ(map.ColumnToOffset(column), offsets[column]) << column;
    const int columns[] = {0, 1, 4, 5, 6, 7, 8};  // byte offsets 0..6
    for (int offset = 0; offset < 7; ++offset) EXPECT_EQ(map.OffsetToColumn(offset), columns[offset]) << offset;
    const int starts[] = {0, 1, 1, 1, 4, 4, 6, 7};
    for (int column = 0; column < 8; ++column) EXPECT_EQ(map.CharStart(column), starts[column]) << column;
}

TEST(CellMap, RowsAreMappedUpToTheCellLimit) {
    const std::string longRow(1500, 'x');
    EXPECT_EQ(TEditorAttributeArray(longRow, TCellLayout{}).Width(), kMaxMappedCells);
    EXPECT_EQ(ExpandedWidth(longRow, TCellLayout{}), 1500);
    EXPECT_EQ(ExpandedWidth("\t\t", TCellLayout{8, 0}), 16);
}

TEST(CellMap, Delimiters) {
    std::string delimiters;
    for (int b = 0; b < 256; ++b)
        if (IsDelimiterByte(static_cast<unsigned char>(b)) && b >= 0x20 && b < 0x7F) delimiters += static_cast<char>(b);
    EXPECT_EQ(delimiters, " !\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~");
    EXPECT_TRUE(IsDelimiterByte(0x80));
    EXPECT_TRUE(IsDelimiterByte(0xA5));
    EXPECT_FALSE(IsDelimiterByte(0xA6));
    EXPECT_TRUE(IsDelimiterByte(0xFD));
}

}  // namespace
}  // namespace quodle
