#include "editor/BlockOperations.h"

#include <string_view>

#include "base/BogusRestrict.h"

namespace quodle {

namespace {

constexpr std::string_view kWideSpace = "\x81\x40";

bool Inserts(TBlockOperation op) { return op == boIndent || op == boTabIndent || op == boComment; }

std::string_view Insertion(TBlockOperation op) {
    switch (op) {
    case boIndent: return " ";
    case boTabIndent: return "\t";
    default: return ";";
    }
}

// The bytes to remove at `at` of a row, 0 when nothing fitting stands there.
int RemovalAt(std::string_view row, std::size_t at, TBlockOperation op) {
    if (at >= row.size()) return 0;
    const char c = row[at];
    switch (op) {
    case boUnindent:
        if (c == '\t' || c == ' ') return 1;
        return row.substr(at, kWideSpace.size()) == kWideSpace ? static_cast<int>(kWideSpace.size()) : 0;
    case boTabUnindent: return c == '\t' ? 1 : 0;
    case boUncomment: return c == ';' ? 1 : 0;
    default: return 0;
    }
}

bool InWrappedLine(const TEditorStringList& rows, int row) {
    return rows.RowEnding(row) == reWrapped || (row > 0 && rows.RowEnding(row - 1) == reWrapped);
}

// Whether an insertion keeps the row below the wrap width.
bool FitsWrap(std::string_view row, const TCellLayout& layout, TBlockOperation op, bool box, int insertAt,
              int wrapByte) {
    if (wrapByte <= 0) return true;
    const TCellLayout plain{layout.tabSpaceCount, 0};
    if (!box && op == boTabIndent) return static_cast<int>(row.size()) + layout.tabSpaceCount < wrapByte;
    if (!box && op == boComment) return static_cast<int>(row.size()) + 1 < wrapByte;
    std::string after(row);
    QUODLE_BOGUS_RESTRICT_BEGIN
    after.insert(static_cast<std::size_t>(insertAt), Insertion(op));
    QUODLE_BOGUS_RESTRICT_END
    return ExpandedWidth(after, plain) < wrapByte;
}

}  // namespace

std::optional<TBlockEdit> StreamBlockEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                          const TStreamRange& range, TBlockOperation op, int wrapByte) {
    const TRowSpan span = BlockRowsOf(rows, range);
    if (span.First > span.Last) return std::nullopt;
    TRowsPatch patch(rows, span.First, span.Last);
    TStreamRange after = range;
    for (int r = span.First; r <= span.Last; ++r) {
        if (wrapByte > 0 && InWrappedLine(rows, r)) continue;
        const std::string_view row = rows.View(r);
        int delta;
        if (Inserts(op)) {
            if (!FitsWrap(row, layout, op, false, 0, wrapByte)) continue;
            patch.Replace(patch.PosOf(r, 0), 0, Insertion(op));
            delta = static_cast<int>(Insertion(op).size());
        } else {
            const int length = RemovalAt(row, 0, op);
            if (length == 0) continue;
            patch.Replace(patch.PosOf(r, 0), static_cast<std::size_t>(length), {});
            delta = -length;
        }
        // Offsets behind the row start move with the text; a selection that
        // starts or ends at the row start stays there.
        for (TRowOffset* p : {&after.Start, &after.End})
            if (p->Row == r && p->Offset > 0) p->Offset = std::max(0, p->Offset + delta);
    }
    std::optional<TRowsEdit> edit = patch.Build(patch.NewPos(patch.PosOf(range.End.Row, 0), false));
    if (!edit) return std::nullopt;
    return TBlockEdit{std::move(*edit), after};
}

std::optional<TRowsEdit> BoxBlockEdit(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box,
                                      TBlockOperation op, int wrapByte) {
    const TRowSpan span = BlockRowsOf(rows, box);
    // Nothing is put in or taken out where it does not show.
    if (span.First > span.Last || box.Left >= kMaxMappedCells) return std::nullopt;
    TRowsPatch patch(rows, span.First, span.Last);
    for (int r = span.First; r <= span.Last; ++r) {
        if (wrapByte > 0 && InWrappedLine(rows, r)) continue;
        const std::string_view row = rows.View(r);
        const TEditorAttributeArray map = RowMapThrough(row, layout, box.Left);
        // Rows that end at or left of the box have nothing at its column.
        if (map.Width() <= box.Left) continue;
        const int at = map.ColumnToOffset(map.CharStart(box.Left));
        if (Inserts(op)) {
            if (!FitsWrap(row, layout, op, true, at, wrapByte)) continue;
            patch.Replace(patch.PosOf(r, at), 0, Insertion(op));
        } else if (const int length = RemovalAt(row, static_cast<std::size_t>(at), op); length > 0) {
            patch.Replace(patch.PosOf(r, at), static_cast<std::size_t>(length), {});
        }
    }
    return patch.Build(patch.NewPos(patch.PosOf(span.First, 0), false));
}

}  // namespace quodle
