#pragma once
// Rows written as "text.E" separated by blanks, E = B(reak), W(rapped),
// N(o break): compact expected values for row-list tests; row marks read
// and put as one value a row.
#include <cstdint>
#include <string>
#include <vector>

#include "text/EditorScreenStrings.h"

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

inline std::vector<std::uint16_t> Marks(const TEditorScreenStrings& rows) {
    std::vector<std::uint16_t> m;
    for (int r = 0; r < rows.Count(); ++r) m.push_back(rows.RowMarks(r));
    return m;
}

// Gives row r the marks[r] and declares their union in use; returns it.
inline std::uint16_t PutMarks(TEditorScreenStrings& rows, const std::vector<std::uint16_t>& marks) {
    std::uint16_t all = 0;
    for (std::size_t r = 0; r < marks.size(); ++r) {
        rows.SetRowMarks(static_cast<int>(r), marks[r]);
        all |= marks[r];
    }
    rows.SetMarksInUse(all);
    return all;
}

}  // namespace quodle::test
