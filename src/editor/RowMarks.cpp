#include "editor/RowMarks.h"

namespace quodle {

namespace {
constexpr std::uint32_t MarksWord(std::uint16_t marks) { return static_cast<std::uint32_t>(marks) << 16; }
}  // namespace

std::uint16_t TEditorScreenStrings::RowMarksOf(int row) const {
    return row >= 0 && row < Count() ? RowMarks(row) : 0;
}

int TEditorScreenStrings::NextRowWithMarks(int row, std::uint16_t marks) const {
    return FindNextWithAttribute2(row, MarksWord(marks));
}

int TEditorScreenStrings::PrevRowWithMarks(int row, std::uint16_t marks) const {
    return FindPrevWithAttribute2(row, MarksWord(marks));
}

int TEditorScreenStrings::FindRowMark(int mark) const {
    return ValidMark(mark) ? NextRowWithMarks(0, MarkBit(mark)) : -1;
}

void TEditorScreenStrings::PutRowMarks(int row, std::uint16_t marks) {
    if (row < 0 || row >= Count()) return;
    const std::uint16_t old = RowMarks(row);
    if (old == marks) return;
    SetRowMarks(row, marks);
    marksInUse_ |= marks;
    // A picture mark stays in use while another row still carries it.
    const auto cleared = static_cast<std::uint16_t>(old & ~marks);
    for (int mark = 0; mark < kRowMarkCount; ++mark)
        if ((cleared & MarkBit(mark)) && FindRowMark(mark) < 0)
            marksInUse_ = static_cast<std::uint16_t>(marksInUse_ & ~MarkBit(mark));
    for (TEditorClient* e : Editors()) e->InvalidateRows(row, row);
}

void TEditorScreenStrings::SetRowMark(int row, int mark) {
    // A mark set on no row would only vanish from the row that had it.
    if (!ValidMark(mark) || row < 0 || row >= Count()) return;
    if (mark < kNumberedMarkCount) {
        const int holder = FindRowMark(mark);
        if (holder == row) return;
        if (holder >= 0) ClearRowMark(holder, mark);
    }
    PutRowMarks(row, static_cast<std::uint16_t>(RowMarksOf(row) | MarkBit(mark)));
}

void TEditorScreenStrings::ClearRowMark(int row, int mark) {
    if (!ValidMark(mark)) return;
    PutRowMarks(row, static_cast<std::uint16_t>(RowMarksOf(row) & ~MarkBit(mark)));
}

// ---------------------------------------------------------------- commands

TToggleResult ToggleNumberedMark(TEditorScreenStrings& rows, int row) {
    if (row < 0 || row >= rows.Count()) return TToggleResult::NoRow;
    const std::uint16_t own = rows.RowMarksOf(row);
    if (own != 0) {
        rows.PutRowMarks(row, static_cast<std::uint16_t>(own & ~kNumberedMarks));
        return TToggleResult::Removed;
    }
    const std::uint16_t used = rows.MarksInUse() & kNumberedMarks;
    for (int mark = 0; mark < kNumberedMarkCount; ++mark) {
        if (used & MarkBit(mark)) continue;
        rows.SetRowMark(row, mark);
        return TToggleResult::Set;
    }
    return TToggleResult::AllInUse;
}

TMarkedRow NextMarkedRow(const TEditorScreenStrings& rows, int caretRow) {
    int found = rows.NextRowWithMarks(caretRow + 1, kAllMarks);
    if (found < 0 && caretRow > 0) {
        found = rows.NextRowWithMarks(0, kAllMarks);
        if (found >= caretRow) found = -1;
    }
    if (found >= 0) return {true, found};
    return {rows.RowMarksOf(caretRow) != 0, -1};
}

TMarkedRow PreviousMarkedRow(const TEditorScreenStrings& rows, int caretRow) {
    int found = caretRow > 0 ? rows.PrevRowWithMarks(caretRow - 1, kAllMarks) : -1;
    if (found < 0) {
        found = rows.PrevRowWithMarks(rows.Count() - 1, kAllMarks);
        if (found <= caretRow) found = -1;
    }
    if (found >= 0) return {true, found};
    return {rows.RowMarksOf(caretRow) != 0, -1};
}

bool ClearNumberedMarks(TEditorScreenStrings& rows) {
    bool removed = false;
    for (int row = rows.NextRowWithMarks(0, kNumberedMarks); row >= 0;
         row = rows.NextRowWithMarks(row + 1, kNumberedMarks)) {
        rows.PutRowMarks(row, static_cast<std::uint16_t>(rows.RowMarksOf(row) & ~kNumberedMarks));
        removed = true;
    }
    return removed;
}

void ToggleRowMark(TEditorScreenStrings& rows, int row, int mark) {
    if (!ValidMark(mark)) return;
    if (rows.RowMarksOf(row) & MarkBit(mark)) rows.ClearRowMark(row, mark);
    else rows.SetRowMark(row, mark);
}

}  // namespace quodle
