#pragma once
// Around a compound change of the rows (an undo step replayed, a command's
// line edits): the attached editors neither move their carets nor paint
// meanwhile, and the rows notify them once at the end.
#include "text/EditorScreenStrings.h"

namespace quodle {

class TRowsUpdateBlock {
public:
    explicit TRowsUpdateBlock(TEditorScreenStrings& rows) : rows_(rows) {
        for (TEditorClient* e : rows_.Editors()) {
            e->CaretBeginUpdate();
            e->UpdateBlockBegin();
        }
        rows_.BeginUpdate();
    }
    ~TRowsUpdateBlock() {
        rows_.EndUpdate();
        for (TEditorClient* e : rows_.Editors()) {
            e->UpdateBlockEnd();
            e->CaretEndUpdate();
        }
    }
    TRowsUpdateBlock(const TRowsUpdateBlock&) = delete;
    TRowsUpdateBlock& operator=(const TRowsUpdateBlock&) = delete;

private:
    TEditorScreenStrings& rows_;
};

}  // namespace quodle
