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

TLineEdits LineEditsOf(TLineList lines, std::span<const TLineReplacement> replacements) {
    TLineEdits edits;
    std::string text;
    for (std::size_t k = 0; k < replacements.size();) {
        const std::size_t line = replacements[k].Line;
        if (line >= lines.size()) throw std::invalid_argument("replacement past the last line");
        const std::string_view old = lines[line];
        text.clear();
        std::size_t copied = 0;
        for (; k < replacements.size() && replacements[k].Line == line; ++k) {
            const TLineReplacement& r = replacements[k];
            if (r.Offset < copied || r.Offset + r.Length > old.size())
                throw std::invalid_argument("replacements overlapping or out of the line");
            text.append(old.substr(copied, r.Offset - copied)).append(r.Text);
            copied = r.Offset + r.Length;
        }
        text.append(old.substr(copied));
        if (text != old) edits.Replace(static_cast<int>(line), text);
    }
    return edits;
}

// ---------------------------------------------------------------- applying

namespace {

constexpr std::string_view kCrLf = "\r\n";
// Edits with fewer unchanged lines than this between them are made by one
// ReplaceRows, over this many lines at most: each ReplaceRows moves the rest
// of a storage block, so a conversion that touches every third line makes
// a few hundred of them, not a hundred thousand, and none too large.
constexpr int kRunGapLines = 256;
constexpr int kRunLines = 8192;

class TApplier {
public:
    TApplier(TEditorScreenStrings& rows, const TLineEdits& edits)
        : rows_(rows), edits_(edits), noFinalBreak_(rows.Count() > 0 && rows.RowEnding(rows.Count() - 1) == reNoBreak) {
        lines_ = rows_.LineCount();
        for (std::size_t k = 0; k < edits_.size(); ++k)
            lines_ += edits_[k].Kind == TLineEdits::leInsert ? 1 : edits_[k].Kind == TLineEdits::leDelete ? -1 : 0;
        // Marks are rare; a run never reaches over a marked line, and the
        // edits of a marked line are made one by one, so each mark stays on
        // its line (or goes where the rows put a deleted line's marks).
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
            const TLineEdits::TEdit& last = edits_[i - 1];
            std::size_t j = i - 1;
            // Lines after the last one (which may have been deleted just
            // now, before them), or edits of a marked line.
            if (last.Line >= rows_.LineCount() || Marked(last.Line, last.Line)) {
                if (last.Kind == TLineEdits::leReplace) {
                    EditRun(j, i);
                } else if (last.Kind == TLineEdits::leDelete) {
                    while (j > 0 && edits_[j - 1].Kind == TLineEdits::leDelete && edits_[j - 1].Line + 1 == edits_[j].Line)
                        --j;
                    DeleteLines(edits_[j].Line, static_cast<int>(i - j));
                } else {
                    while (j > 0 && edits_[j - 1].Kind == TLineEdits::leInsert && edits_[j - 1].Line == last.Line) --j;
                    InsertLines(j, i);
                }
            } else {
                while (j > 0 && Joins(edits_[j - 1], edits_[j], last.Line)) --j;
                EditRun(j, i);
            }
            i = j;
        }
        // A text that ended without a break still does. The rows have a
        // line less when the new last line is empty: a break ends the text
        // then, which is the same text.
        if (noFinalBreak_ && rows_.LineCount() == lines_) LoseFinalBreak();
    }

private:
    bool Marked(int first, int last) const {
        const auto it = std::lower_bound(markedLines_.begin(), markedLines_.end(), first);
        return it != markedLines_.end() && *it <= last;
    }

    // Whether `earlier` joins the run from `later` to line `lastLine`.
    bool Joins(const TLineEdits::TEdit& earlier, const TLineEdits::TEdit& later, int lastLine) const {
        return later.Line - earlier.Line - 1 <= kRunGapLines && lastLine - earlier.Line < kRunLines &&
               !Marked(earlier.Line, later.Line);
    }

    // Rows of lines first..last (whole lines).
    std::pair<int, int> RowsOfLines(int first, int last) const {
        const int from = rows_.LineToRow(first);
        return {from, rows_.LineEndRow(rows_.LineToRow(last)) - from + 1};
    }

    // Edits j..i-1, of lines that all exist, as one ReplaceRows of the lines
    // from the first edit's to the last's.
    void EditRun(std::size_t j, std::size_t i) {
        const int firstLine = edits_[j].Line, lastLine = edits_[i - 1].Line;
        const auto [from, count] = RowsOfLines(firstLine, lastLine);
        std::string text;
        text.reserve(static_cast<std::size_t>(count) * 40);
        std::size_t k = j;
        int line = firstLine;
        for (int row = from; row < from + count; ++row, ++line) {
            // The rows of the line: most lines are one row.
            TRowEnding ending = rows_.RowEnding(row);
            int end = row;
            while (ending == reWrapped && end + 1 < rows_.Count()) ending = rows_.RowEnding(++end);
            for (; k < i && edits_[k].Line == line && edits_[k].Kind == TLineEdits::leInsert; ++k) {
                text.append(edits_.Text(edits_[k]));
                text.append(kCrLf);
            }
            if (k < i && edits_[k].Line == line && edits_[k].Kind == TLineEdits::leDelete) {
                ++k;
            } else {
                if (k < i && edits_[k].Line == line) text.append(edits_.Text(edits_[k++]));
                else
                    for (int r = row; r <= end; ++r) text.append(rows_.View(r));
                if (ending == reBreak) text.append(kCrLf);
            }
            row = end;
        }
        rows_.ReplaceRows(from, count, text);
    }

    void DeleteLines(int line, int count) {
        const int last = std::min(line + count, rows_.LineCount()) - 1;
        const auto [from, rowCount] = RowsOfLines(line, last);
        bool marked = false;
        for (int r = from; r < from + rowCount && !marked; ++r) marked = rows_.RowMarksOf(r) != 0;
        rows_.ReplaceRows(from, rowCount, {});
        // The line that took the marks (the next, else the one before) is
        // marked from now on.
        if (marked && rows_.LineCount() > 0) {
            const int heir = std::min(line, rows_.LineCount() - 1);
            const auto at = std::lower_bound(markedLines_.begin(), markedLines_.end(), heir);
            if (at == markedLines_.end() || *at != heir) markedLines_.insert(at, heir);
        }
    }

    // The last line without its break; an empty one goes (without a break
    // it is no line).
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
    const bool noFinalBreak_;
    int lines_ = 0;  // how many the edits leave
};

}  // namespace

void ApplyLineEdits(TEditorScreenStrings& rows, const TLineEdits& edits, const TEditorClient* editor) {
    if (edits.empty() || rows.ReadOnly()) return;
    TRowsUpdateBlock block(rows);
    rows.UndoObj().BeginGroup(editor);
    TApplier(rows, edits).Run();
    rows.UndoObj().EndGroup();
}

}  // namespace quodle
