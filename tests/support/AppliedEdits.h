#pragma once
// A document's lines put through line edits in a real row store, for tests
// of the commands that rewrite a document: the lines after the edits and
// after one undo.
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"
#include "text/LineEdits.h"

namespace quodle::testing {

using TLines = std::vector<std::string>;

// Lines written in UTF-8 here, as the documents hold them (Shift-JIS).
inline TLines Sjis(const std::vector<std::string>& utf8) {
    TLines out;
    for (const auto& l : utf8) out.push_back(Utf8ToCp932(l));
    return out;
}

struct TApplied {
    TLines After, Undone;
};
inline TApplied ApplyAndUndo(const TLines& lines, const TLineEdits& edits) {
    TEditorScreenStrings rows;
    TEditorStrings text(rows);
    std::string all;
    for (const std::string& line : lines) all += line + "\r\n";
    text.SetText(all);
    TApplied r;
    ApplyLineEdits(rows, edits);
    for (int i = 0; i < text.Count(); ++i) r.After.push_back(text.Get(i));
    rows.Undo();
    for (int i = 0; i < text.Count(); ++i) r.Undone.push_back(text.Get(i));
    return r;
}

}  // namespace quodle::testing
