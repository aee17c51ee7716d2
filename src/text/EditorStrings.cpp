#include "text/EditorStrings.h"

#include <algorithm>
#include <utility>

namespace quodle {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}  // namespace

int TEditorStrings::Count() const { return rows_.WordWrap() ? rows_.LineCount() : rows_.Count(); }

int TEditorStrings::LineToRow(int index) const { return rows_.WordWrap() ? rows_.LineToRow(index) : index; }

std::string TEditorStrings::Get(int index) const {
    if (!rows_.WordWrap()) return rows_.Get(index);
    // Only lines that exist have a first row inside the text (and finding
    // it in order is O(1), where counting the lines would look at the end).
    const int row = index < 0 ? rows_.Count() : LineToRow(index);
    if (row >= rows_.Count()) throw EListError();
    if (rows_.RowEnding(row) != reWrapped) return rows_.Get(row);
    std::string text = rows_.RowsText(row, -1).text;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

template <class Edit>
void TEditorStrings::EditLines(Edit edit) {
    // A read-only text refuses the edit: the caret and selection stay too.
    if (rows_.ReadOnly()) return;
    if (editor_) {
        editor_->Deselect();
        editor_->CaretBeginUpdate();
    }
    const std::pair<int, int> caret = edit();
    if (editor_) {
        editor_->PlaceCaret(caret.first, caret.second);
        editor_->CaretEndUpdate();
    }
}

// The caret position just after `inserted`, which was put at the start of
// line `line`.
std::pair<int, int> TEditorStrings::PositionAfter(int line, std::string_view inserted) const {
    int breaks = 0;
    std::size_t tail = 0;
    for (std::size_t i = 0; i < inserted.size(); ++i) {
        const char c = inserted[i];
        if (c == '\r' || c == '\n') {
            ++breaks;
            if (c == '\r' && i + 1 < inserted.size() && inserted[i + 1] == '\n') ++i;
            tail = i + 1;
        }
    }
    int row = LineToRow(line + breaks);
    int col = static_cast<int>(inserted.size() - tail);
    // Under word wrap the column may lie on a later row of the line.
    while (row < rows_.Count() - 1 && rows_.RowEnding(row) == reWrapped &&
           col > static_cast<int>(rows_.View(row).size())) {
        col -= static_cast<int>(rows_.View(row).size());
        ++row;
    }
    return {row, col};
}

void TEditorStrings::Put(int index, std::string_view s) {
    if (index < 0 || index >= Count()) throw EListError();
    EditLines([&] {
        const int first = LineToRow(index);
        const int last = rows_.LineEndRow(first);
        std::string text(s);
        if (rows_.RowEnding(last) != reNoBreak) text.append(kCrLf);
        rows_.ReplaceRows(first, last - first + 1, text);
        return PositionAfter(index, text);
    });
}

void TEditorStrings::Insert(int index, std::string_view s) {
    const int count = Count();
    if (index < 0 || index > count) throw EListError();
    if (index == count) {
        Add(s);
        return;
    }
    EditLines([&] {
        std::string text(s);
        text.append(kCrLf);
        rows_.ReplaceRows(LineToRow(index), 0, text);
        return PositionAfter(index, text);
    });
}

void TEditorStrings::Add(std::string_view s) {
    EditLines([&] {
        const int n = rows_.Count();
        const int lines = Count();
        std::string text;
        if (n > 0 && rows_.RowEnding(n - 1) == reNoBreak) {
            // The text keeps ending without a break: the new line takes the
            // place of the old last row's missing break.
            const int first = rows_.LineStartRow(n - 1);
            text = rows_.RowsText(first, n - first).text;
            text.append(kCrLf);
            text.append(s);
            rows_.ReplaceRows(first, n - first, text);
            return PositionAfter(lines - 1, text);
        }
        text.assign(s);
        text.append(kCrLf);
        rows_.ReplaceRows(n, 0, text);
        return PositionAfter(lines, text);
    });
}

void TEditorStrings::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError();
    EditLines([&] {
        const int first = LineToRow(index);
        rows_.ReplaceRows(first, rows_.LineEndRow(first) - first + 1, {});
        return std::pair<int, int>(first, 0);
    });
}

void TEditorStrings::Clear() { rows_.ClearAll(); }

void TEditorStrings::SetText(std::string_view text) { rows_.SetAllText(text); }

TLoadResult TEditorStrings::LoadFromFile(const std::string& path, TReadEncoding encoding) {
    return rows_.LoadFromFile(path, encoding);
}

void TEditorStrings::Assign(const TEditorStrings& source) {
    SetText(source.Text());
    if (editor_) editor_->PlaceCaret(std::max(0, rows_.Count() - 1), 0);
}

void TEditorStrings::BeginUpdate() {
    if (updateCount_++ == 0 && editor_) editor_->UpdateBlockBegin();
    rows_.BeginUpdate();
}

void TEditorStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    rows_.EndUpdate();
    if (--updateCount_ == 0) {
        if (editor_) editor_->UpdateBlockEnd();
        for (TEditorClient* e : rows_.Editors()) e->InvalidateAll();
    }
}

}  // namespace quodle
