#pragma once
// Block indent and comment over the selected rows: every row of the
// selection is rebuilt and the rows are replaced in one ReplaceRows, so each
// operation is one undo step.
#include <optional>

#include "editor/EditorEdits.h"
#include "editor/EditorSelection.h"

namespace quodle {

enum TBlockOperation {
    boIndent,       // one space
    boUnindent,     // one tab, space or full-width space, where one stands
    boTabIndent,    // one tab
    boTabUnindent,  // one tab, where one stands
    boComment,      // one ";"
    boUncomment,    // one ";", where one stands
};

struct TBlockEdit {
    TRowsEdit Edit;
    // The same text selected afterwards (a stream selection's new bytes).
    TStreamRange Range;
};

// wrapByte > 0 when word wrap is on: rows of soft-wrapped lines are skipped
// and insertions must keep a row below the wrap width. Nothing when no row
// changes.
std::optional<TBlockEdit> StreamBlockEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                          const TStreamRange& range, TBlockOperation op, int wrapByte);
// At the box's left column of each row; the box stays where it is. Nothing
// when that column is past the shown cells.
std::optional<TRowsEdit> BoxBlockEdit(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box,
                                      TBlockOperation op, int wrapByte);

}  // namespace quodle
