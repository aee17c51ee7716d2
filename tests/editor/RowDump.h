#pragma once
// Rows written as "text.E" separated by blanks, E = B(reak), W(rapped),
// N(o break): compact expected values for row-list tests.
#include <string>

#include "editor/EditorScreenStrings.h"

namespace quodle::test {

inline std::string Dump(const TEditorStringList& rows) {
    std::string s;
    for (int r = 0; r < rows.Count(); ++r) {
        if (r) s += ' ';
        s += rows.Get(r);
        s += '.';
        s += "BWNI"[rows.RowEnding(r)];
    }
    return s;
}

// Builds rows from a dump, so tests can start from wrapped rows.
inline void Load(TEditorStringList& rows, const std::string& dump) {
    rows.Clear();
    std::size_t i = 0;
    while (i < dump.size()) {
        std::size_t e = dump.find(' ', i);
        if (e == std::string::npos) e = dump.size();
        const std::string item = dump.substr(i, e - i);
        rows.Add(item.substr(0, item.size() - 2));
        const char kind = item.back();
        rows.SetRowEnding(rows.Count() - 1, kind == 'B' ? reBreak : kind == 'W' ? reWrapped : reNoBreak);
        i = e + 1;
    }
}

}  // namespace quodle::test
