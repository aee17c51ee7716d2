#pragma once
// Commands of the edit menu that rewrite whole lines: the white-space
// conversions of the whole document, and commenting the caret's line in
// and out when nothing is selected. Each gives the changed lines only.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/LineList.h"
#include "text/CellMap.h"
#include "text/LineEdits.h"

namespace quodle {

enum TWhiteSpaceConversion : std::uint8_t {
    wcTabsToBlanks,       // every tab expanded up to its stop
    wcLeadBlanksToTabs,   // tab-stop compression of the leading blanks
    wcRunsToTabs,         // every run of exactly w blanks becomes a tab
    wcBlanksToTabs,       // tab-stop compression over the whole line
    wcFullWidthBlanks,    // every full-width blank becomes two blanks
};

// Blanks before a tab stop become one tab, where the blank that reaches the
// stop stands (up to w - 1 blanks before it join it); `leadOnly` limits it
// to the blanks at the start of the line. Stops are every w columns
// (w <= 0 counts as 4); columns are display cells as `layout` lays out the
// tabs already there, so the text looks as it did.
std::string CompressTabStops(std::string_view line, int w, bool leadOnly, const TCellLayout& layout);
// Each run of w blanks, from the left without overlap, becomes one tab.
std::string BlankRunsToTabs(std::string_view line, int w);
// Each full-width blank (a whole double-byte character 0x81 0x40) becomes
// two blanks.
std::string FullWidthBlanksToHalf(std::string_view line);

// The conversion of every line; w is layout.tabSpaceCount.
TLineEdits ConvertWhiteSpace(TLineList lines, TWhiteSpaceConversion conversion, const TCellLayout& layout);

// ";" in front of the line; nothing past the last line.
TLineEdits CommentLine(TLineList lines, int line);
// One ";" removed from the start of the line, if one stands there.
TLineEdits UncommentLine(TLineList lines, int line);

}  // namespace quodle
