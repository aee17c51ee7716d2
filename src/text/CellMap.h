#pragma once
// The cell map of a row (TEditorAttributeArray): one code per display cell,
// so that columns (cells) and byte offsets convert into each other without
// the font. A single-byte character takes one cell, a double-byte character
// two, a tab runs to the next tab stop.
#include <string>
#include <string_view>

namespace quodle {

// Codes of the cells.
inline constexpr char kCellEnd = '0';
inline constexpr char kCellSingle = '1';        // single-byte, not a delimiter
inline constexpr char kCellDelimiter = '2';     // single-byte delimiter (tab included)
inline constexpr char kCellTabFill = '3';       // the further cells of a tab
inline constexpr char kCellDoubleFirst = '4';
inline constexpr char kCellDoubleSecond = '5';

// Rows are mapped and shown up to this many cells.
inline constexpr int kMaxMappedCells = 1000;

// Control characters, space, ASCII punctuation but '_', DEL and the
// half-width kana punctuation.
bool IsDelimiterByte(unsigned char b);

struct TCellLayout {
    int tabSpaceCount = 8;  // tab stops every this many cells (values below 1 count as 1)
    int wrapByte = 0;       // with word wrap: a tab also stops at multiples of it; 0 = off
};

// Width in cells of the tab that starts at `column`.
int TabWidthAt(int column, const TCellLayout& layout);

class TEditorAttributeArray {
public:
    TEditorAttributeArray() = default;
    TEditorAttributeArray(std::string_view row, const TCellLayout& layout, int maxCells = kMaxMappedCells);

    // The codes, without the end code.
    const std::string& Codes() const { return codes_; }
    int Width() const { return static_cast<int>(codes_.size()); }
    // The code of a cell; kCellEnd at and past the end.
    char At(int column) const;

    // Byte offset of the character on `column` (the tab cells before it are
    // subtracted). Columns past the end count on as single cells beyond the
    // text's bytes.
    int ColumnToOffset(int column) const;
    // Column of the character that starts at byte `offset`.
    int OffsetToColumn(int offset) const;
    // The start column of the character that covers `column`.
    int CharStart(int column) const;

private:
    std::string codes_;
    int bytes_ = 0;  // bytes mapped
};

// The map of a whole row, beyond the cells a row shows: an edit at the last
// shown cell acts on the bytes that follow it, not at the row's end.
TEditorAttributeArray WholeRowMap(std::string_view row, const TCellLayout& layout);
// The map of a row through cell `column` (all of a narrower row): what an
// edit at that column needs, at the same cost however long the row is.
TEditorAttributeArray RowMapThrough(std::string_view row, const TCellLayout& layout, int column);

// Display width in cells of a text (tabs expanded, double-byte characters 2).
int ExpandedWidth(std::string_view text, const TCellLayout& layout);
// Whether the text is wider than `cells`, reading no further than that.
bool WiderThan(std::string_view text, const TCellLayout& layout, int cells);

}  // namespace quodle
