#pragma once
// The search settings an editor carries: how a search hit is shown, and the
// options of its find marks (the highlighting of every match of a string,
// optionally a regular expression, in the shown lines).
#include <cstdint>

namespace quodle {

enum THitStyle : std::uint8_t {
    hsSelect,  // the hit is selected
    hsDraw,    // drawn in the hit colours, nothing selected
    hsCaret,   // the caret stands on it, as wide as the hit
};

using TExSearchOptions = std::uint8_t;

enum TExSearchOption : TExSearchOptions {
    soMatchCase = 0x01,
    soRegexp = 0x02,
    soEscSeq = 0x04,   // "\t", "\r", "\n" and "\\" in the string stand for TAB, CR, LF and "\"
    soWholeWord = 0x08,
};

}  // namespace quodle
