#pragma once
// TEditorStrings: the Lines view of an editor. It presents the rows as
// logical lines (rows joined across soft wraps) and turns every line-level
// operation into a ReplaceRows of the shared row list.
#include <string>
#include <string_view>
#include <utility>

#include "text/EditorScreenStrings.h"

namespace quodle {

class TEditorStrings {
public:
    // `editor` (may be null) is the editor these Lines belong to: it is
    // deselected before and has its caret placed after each line edit.
    explicit TEditorStrings(TEditorScreenStrings& rows, TEditorClient* editor = nullptr)
        : rows_(rows), editor_(editor) {}

    TEditorScreenStrings& Rows() { return rows_; }
    const TEditorScreenStrings& Rows() const { return rows_; }

    int Count() const;
    // Line i (EListError outside 0..Count-1): its rows joined.
    std::string Get(int index) const;
    void Put(int index, std::string_view s);
    // index == Count appends.
    void Insert(int index, std::string_view s);
    void Add(std::string_view s);
    void Delete(int index);
    void Clear();

    std::string Text() const { return rows_.AllText(); }
    void SetText(std::string_view text);
    // Throws EFileError naming the path and the system's reason.
    TLoadResult LoadFromFile(const std::string& path, TReadEncoding encoding = TReadEncoding::Detect);
    // The same from rows read earlier (TEditorScreenStrings::LoadFrom).
    TLoadResult LoadFrom(const std::function<TLoadResult(TheStringList&)>& read) { return rows_.LoadFrom(read); }
    // Takes the other lines' text; caret to the last row, column 0.
    void Assign(const TEditorStrings& source);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // First row of line `index`; Rows().Count() for index == Count().
    int LineToRow(int index) const;

private:
    // Deselect, edit inside a caret update block, then place the caret.
    template <class Edit>
    void EditLines(Edit edit);
    std::pair<int, int> PositionAfter(int line, std::string_view inserted) const;

    TEditorScreenStrings& rows_;
    TEditorClient* editor_;
    int updateCount_ = 0;
};

}  // namespace quodle
