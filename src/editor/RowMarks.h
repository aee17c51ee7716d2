#pragma once
// Row marks: sixteen bookmarks kept in the rows, so they move with their
// text. Marks 0..9 are numbered (each stands on one row at most), marks
// 10..15 are picture marks any number of rows may carry. The operations on
// single rows are members of TEditorScreenStrings; here are the constants
// and the mark commands of the main window built on them.
#include <cstdint>

#include "text/EditorScreenStrings.h"

namespace quodle {

inline constexpr int kRowMarkCount = 16;
inline constexpr int kNumberedMarkCount = 10;
inline constexpr std::uint16_t kNumberedMarks = 0x03FF;
inline constexpr std::uint16_t kPictureMarks = 0xFC00;
inline constexpr std::uint16_t kAllMarks = 0xFFFF;

constexpr std::uint16_t MarkBit(int mark) { return static_cast<std::uint16_t>(1u << mark); }
constexpr bool ValidMark(int mark) { return mark >= 0 && mark < kRowMarkCount; }

// トグル: a row with any mark loses its numbered marks (picture marks stay);
// an unmarked row gets the lowest numbered mark not in use. The empty row
// after a final line break is no row of the list and takes no mark.
enum class TToggleResult { Removed, Set, AllInUse, NoRow };
TToggleResult ToggleNumberedMark(TEditorScreenStrings& rows, int row);

// 次のマークへ / 直前のマークへ: the search goes round the text past its end
// and comes back to the caret row last.
struct TMarkedRow {
    bool Any = false;  // some row has a mark
    int Row = -1;      // the row to go to; -1 when only the caret row has one
};
TMarkedRow NextMarkedRow(const TEditorScreenStrings& rows, int caretRow);
TMarkedRow PreviousMarkedRow(const TEditorScreenStrings& rows, int caretRow);

// すべてクリア: removes every numbered mark; false when there was none.
bool ClearNumberedMarks(TEditorScreenStrings& rows);

// The extra marks: sets the mark on the row, or removes it if there.
void ToggleRowMark(TEditorScreenStrings& rows, int row, int mark);

}  // namespace quodle
