// The row list's bracket depths: kept while an editor shows them, read as
// a join of the rows' own balances.
#include <algorithm>

#include "text/EditorScreenStrings.h"

namespace quodle {

void TEditorScreenStrings::RefreshBracketDepths() {
    const bool keep = std::any_of(editors_.begin(), editors_.end(), [](const TEditorClient* e) {
        return e->WantsBracketDepths();
    });
    if (keep == keepDepths_) return;
    keepDepths_ = keep;
    // Balances stored while none were kept may be stale: every row is
    // scanned again as its state is asked for.
    if (keep) UpdateAllStates();
}

int TEditorScreenStrings::BracketDepthAt(int row) {
    if (!keepDepths_ || row <= 0 || row >= Count()) return 0;
    // A row's state is computed only with those of all rows above it, and
    // each of those rows was scanned, its balance stored, on the way.
    EnsureRowState(row);
    if (!StateComputed(row)) return 0;  // no parser to compute states with
    return BracketBalanceBefore(row).Open;
}

}  // namespace quodle
