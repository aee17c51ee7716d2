#pragma once
// Screen geometry of an editor, from its settings and its font: cell and row
// size, the image bar, the left bar with its numbers, the ruler and the text
// origin. Pixels throughout, except where columns or rows are named.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/EditorOptions.h"
#include "text/EditorScreenStrings.h"

namespace quodle {

// What the layout needs of the font.
struct TFontCell {
    int AverageWidth = 8;
    int Height = 13;
    int ExternalLeading = 0;
};

// The settings that shape the window.
struct TLayoutSettings {
    TEditorMarginProp Margin;
    TEditorImagebarProp Imagebar;
    TEditorLeftbarProp Leftbar;
    TEditorRulerProp Ruler;
    bool Underline = false;  // Marks.Underline visible: rows one pixel taller
};

struct TEditorGeometry {
    int CellWidth = 0;
    int RowHeight = 0;
    int ImagebarWidth = 0;  // 0 when hidden
    int LeftbarDigits = 0;
    int LeftbarWidth = 0;   // 0 when hidden; the bar stands right of the image bar
    int RulerHeight = 0;    // 0 when hidden
    int TextLeft = 0;
    int TextTop = 0;

    // Columns that fit in a window `windowWidth` wide (at least 1); the
    // width of a shown vertical scroll bar is given apart.
    int VisibleColumns(int windowWidth, int scrollBarWidth) const;
    bool operator==(const TEditorGeometry&) const = default;
};

// `largestNumber` is the largest number the left bar shows
// (LeftbarLargestNumber).
TEditorGeometry ComputeGeometry(const TLayoutSettings& settings, const TFontCell& font, int largestNumber);

// The largest number of the left bar: the number of the last row (counting
// the empty row after a final break), or of the last line with nmLine.
int LeftbarLargestNumber(const TEditorLeftbarProp& leftbar, const TEditorStringList& rows);
// The number the left bar shows on `row`, right-aligned in `digits` cells
// (blanks or, with ZeroLead, zeros in front); empty where the bar stays
// blank: rows past the end, continuation rows with nmLine, ShowNumber off.
std::string LeftbarNumber(const TEditorLeftbarProp& leftbar, const TEditorStringList& rows, int row, int digits);

// The pictures of a row's marks in the image bar, left to right: the lowest
// numbered mark (ImageDigits image = mark), then every picture mark
// (ImageMarks image = mark - 10). X is from the left edge of the bar.
struct TMarkPicture {
    bool Numbered = false;
    int Image = 0;
    int X = 0;
    bool operator==(const TMarkPicture&) const = default;
};
std::vector<TMarkPicture> ImagebarPictures(std::uint16_t marks, const TEditorImagebarProp& imagebar);

}  // namespace quodle
