#pragma once
// Full-width slips in code: the characters of WideSlips.h that stand where
// the LISP reader sees code, not inside a string or a comment, listed with
// their places and replaced by the ASCII characters they stand for.
//
// A slip is judged with the slips before it read as what they stand for: a
// "”" that opens what becomes a string leaves the full-width text after it
// alone, a "；" makes the rest of its line a comment. So the list holds
// exactly what the fix changes, and the fixed text has none left.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"
#include "base/TextLines.h"
#include "text/LineEdits.h"

namespace quodle {

struct TCodeSlip {
    int Line = 0;             // 0-based
    std::size_t Offset = 0;   // of the character's first byte in the line
    int Column = 0;           // 0-based, in characters
    std::string Char;         // the character's bytes (Shift-JIS)
    char Ascii = 0;           // what it stands for
    bool operator==(const TCodeSlip&) const = default;
};

// Every slip in the document, in order.
std::vector<TCodeSlip> FindCodeSlips(TLineList lines);

// The fix: each slip replaced by its ASCII character, one edit per line;
// `slips` when they were found already (FindCodeSlips of the same lines).
TLineEdits FixCodeSlips(TLineList lines);
TLineEdits FixCodeSlips(TLineList lines, const std::vector<TCodeSlip>& slips);

// The message shown when there is no slip (Shift-JIS in reports).
inline constexpr std::string_view kNoSlipsMessage = "コードの中に全角の記号・英数字・空白はありません．";

struct TSlipReport {
    TTextLines Lines;     // Shift-JIS, one per slip
    std::string Message;  // when there are none (Shift-JIS), else empty
};
// The output pane's lines: "      12|   5桁目  （ → (", the line and the
// column from 1; a blank is named rather than shown.
TSlipReport CodeSlipReport(const std::vector<TCodeSlip>& slips);

}  // namespace quodle
