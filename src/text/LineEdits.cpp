#include "text/LineEdits.h"

#include <algorithm>
#include <stdexcept>

#include "text/EditorScreenStrings.h"
#include "text/RowsUpdateBlock.h"

namespace quodle {

// ---------------------------------------------------------------- the list

void TLineEdits::Push(int line, TKind kind, std::string_view text) {
    if (line < 0) throw std::invalid_argument("line edit before the first line");
    if (!edits_.empty()) {
        const TEdit& last = edits_.back();
        // Insertions before a line come ahead of its own edit; a line is
        // replaced or deleted once.
        const bool ordered = line > last.Line || (line == last.Line && last.Kind == leInsert);
        if (!ordered) throw std::invalid_argument("line edits out of order");
    }
    edits_.push_back({line, kind, text_.size(), text.size()});
    text_.append(text);
}

void TLineEdits::Insert(int line, std::string_view text) { Push(line, leInsert, text); }

void TLineEdits::Replace(int line, std::string_view text) { Push(line, leReplace, text); }

void TLineEdits::Delete(int line) { Push(line, leDelete, {}); }

int TLineEdits::NewLineOf(int line) const {
    int result = line;
    for (const TEdit& e : edits_) {
        if (e.Line > line) break;
        if (e.Kind == leInsert) ++result;
        else if (e.Kind == leDelete && e.Line < line) --result;
    }
    return result;
}

// ---------------------------------------------------------------- applying

namespace {

constexpr std::string_view kCrLf = "\r\n";
// Replacements closer than this many unchanged lines are made together, up
// to this many bytes of text at a time: a conversion that touches every
// line makes a few hundred ReplaceRows, not millions, and none too large.
constexpr int kRunGapLines = 8;
constexpr std::size_t kRunBytes = 256 * 1024;

class TApplier {
public:
    TApplier(TEditorScreenStrings& rows, const TLineEdits& edits) : rows_(rows), edits_(edits) {
        // Marks are rare; a run never reaches over a marked line, so each
        // one stays on the rows of its line whatever the new cuts are.
        if (rows_.MarksInUse() != 0)
            for (int r = rows_.NextRowWithMarks(0, rows_.MarksInUse()); r >= 0;
                 r = r + 1 < rows_.Count() ? rows_.NextRowWithMarks(r + 1, rows_.MarksInUse()) : -1) {
                const int line = rows_.RowToLine(r);
                if (markedLines_.empty() || markedLines_.back() != line) markedLines_.push_back(line);
            }
    }

    // From the last edit to the first: the line numbers of the edits still
    // to come stay those of the old text.
    void Run() {
        std::size_t i = edits_.size();
        while (i > 0) {
            const TLineEdits::TKind kind = edits_[i - 1].Kind;
            std::size_t j = i - 1;
            if (kind == TLineEdits::leReplace) {
                std::size_t bytes = edits_[j].Length;
                while (j > 0 && Joins(edits_[j - 1], edits_[j], bytes)) {
                    --j;
                    bytes += edits_[j].Length;
                }
                ReplaceRun(j, i);
            } else if (kind == TLineEdits::leDelete) {
                while (j > 0 && edits_[j - 1].Kind == TLineEdits::leDelete && edits_[j - 1].Line + 1 == edits_[j].Line)
                    --j;
                DeleteLines(edits_[j].Line, static_cast<int>(i - j));
            } else {
                while (j > 0 && edits_[j - 1].Kind == TLineEdits::leInsert && edits_[j - 1].Line == edits_[j].Line) --j;
                InsertLines(j, i);
            }
            i = j;
        }
        if (loseFinalBreak_) LoseFinalBreak();
    }

private:
    bool Marked(int first, int last) const {
        const auto it = std::lower_bound(markedLines_.begin(), markedLines_.end(), first);
        return it != markedLines_.end() && *it <= last;
    }

    // Whether `earlier` joins the run that starts with `later`.
    bool Joins(const TLineEdits::TEdit& earlier, const TLineEdits::TEdit& later, std::size_t bytes) const {
        return earlier.Kind == TLineEdits::leReplace && later.Line - earlier.Line - 1 <= kRunGapLines &&
               bytes + earlier.Length <= kRunBytes && !Marked(earlier.Line, later.Line);
    }

    // Rows of lines first..last (whole lines).
    std::pair<int, int> RowsOfLines(int first, int last) const {
        const int from = rows_.LineToRow(first);
        return {from, rows_.LineEndRow(rows_.LineToRow(last)) - from + 1};
    }

    void ReplaceRun(std::size_t j, std::size_t i) {
        const int firstLine = edits_[j].Line, lastLine = edits_[i - 1].Line;
        const auto [from, count] = RowsOfLines(firstLine, lastLine);
        std::string text;
        std::size_t k = j;
        int line = firstLine;
        for (int row = from; row < from + count; ++row, ++line) {
            const int end = rows_.LineEndRow(row);
            if (k < i && line == edits_[k].Line) text.append(edits_.Text(edits_[k++]));
            else
                for (int r = row; r <= end; ++r) text.append(rows_.View(r));
            if (rows_.RowEnding(end) == reBreak) text.append(kCrLf);
            row = end;
        }
        rows_.ReplaceRows(from, count, text);
    }

    void DeleteLines(int line, int count) {
        const int lineCount = rows_.LineCount();
        const int last = std::min(line + count, lineCount) - 1;
        if (last == lineCount - 1 && line > 0 && rows_.RowEnding(rows_.Count() - 1) == reNoBreak)
            loseFinalBreak_ = true;
        const auto [from, rowCount] = RowsOfLines(line, last);
        rows_.ReplaceRows(from, rowCount, {});
    }

    // The line that became the last one ends without a break, as the text
    // did; the edits of the lines before it are made by then.
    void LoseFinalBreak() {
        const int n = rows_.Count();
        if (n == 0 || rows_.RowEnding(n - 1) != reBreak) return;
        const int from = rows_.LineStartRow(n - 1);
        std::string text;
        for (int r = from; r < n; ++r) text.append(rows_.View(r));
        rows_.ReplaceRows(from, n - from, text);
    }

    // Edits j..i-1 insert lines before one line.
    void InsertLines(std::size_t j, std::size_t i) {
        const int line = edits_[j].Line;
        std::string text;
        for (std::size_t k = j; k < i; ++k) {
            text.append(edits_.Text(edits_[k]));
            text.append(kCrLf);
        }
        const int inserted = static_cast<int>(i - j);
        const int n = rows_.Count();
        if (line < rows_.LineCount()) {
            const int row = rows_.LineToRow(line);
            KeepMarksOfLine(row, [&] { rows_.ReplaceRows(row, 0, text); }, [&] { return rows_.LineToRow(line + inserted); });
        } else if (n > 0 && rows_.RowEnding(n - 1) == reNoBreak) {
            // After a last line without a break: it gets one, the new last
            // line has none.
            const int row = rows_.LineStartRow(n - 1);
            std::string all;
            for (int r = row; r < n; ++r) all.append(rows_.View(r));
            all.append(kCrLf);
            all.append(text, 0, text.size() - kCrLf.size());
            KeepMarksOfLine(row, [&] { rows_.ReplaceRows(row, n - row, all); }, [&] { return row; });
        } else {
            rows_.ReplaceRows(n, 0, text);
        }
    }

    // Makes an insertion next to the line at `row` and puts that line's
    // marks back on its rows, which `rowAfter` finds afterwards: where the
    // rows take them depends on the caret, and new lines have none.
    template <class Edit, class Find>
    void KeepMarksOfLine(int row, Edit edit, Find rowAfter) {
        std::vector<std::uint16_t> marks;
        const int end = rows_.LineEndRow(row);
        for (int r = row; r <= end; ++r) marks.push_back(rows_.RowMarksOf(r));
        const bool any = std::any_of(marks.begin(), marks.end(), [](std::uint16_t m) { return m != 0; });
        const int before = rows_.Count();
        edit();
        if (!any) return;
        const int added = rows_.Count() - before;
        const int first = std::min(row, rowAfter());
        for (int r = first; r < first + static_cast<int>(marks.size()) + added; ++r) rows_.PutRowMarks(r, 0);
        const int at = rowAfter();
        for (std::size_t k = 0; k < marks.size(); ++k) rows_.PutRowMarks(at + static_cast<int>(k), marks[k]);
    }

    TEditorScreenStrings& rows_;
    const TLineEdits& edits_;
    std::vector<int> markedLines_;
    bool loseFinalBreak_ = false;
};

}  // namespace

void ApplyLineEdits(TEditorScreenStrings& rows, const TLineEdits& edits, const TEditorClient* editor) {
    if (edits.empty()) return;
    TRowsUpdateBlock block(rows);
    rows.UndoObj().BeginGroup(editor);
    TApplier(rows, edits).Run();
    rows.UndoObj().EndGroup();
}

}  // namespace quodle
