#include "text/LineEdits.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "text/EditorScreenStrings.h"
#include "text/RowsUpdateBlock.h"

namespace quodle {

// ---------------------------------------------------------------- the list

std::string& TLineEdits::Buffer(std::size_t bytes) {
    constexpr std::size_t kChunkBytes = 1 << 20;
    // A text starts at an offset an edit can hold.
    if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < bytes ||
        chunks_.back().size() > std::numeric_limits<std::uint32_t>::max())
        chunks_.emplace_back().reserve(std::max(kChunkBytes, bytes));
    written_ = chunks_.back().size();
    return chunks_.back();
}

void TLineEdits::TakeWritten(int line, TKind kind) {
    std::string& chunk = chunks_.back();
    const TEdit* last = count_ == 0 ? nullptr : &edits_.data()[count_ - 1];
    const bool ordered =
        line >= 0 && (last == nullptr || line > last->Line || (line == last->Line && last->Kind == leInsert));
    if (!ordered) {
        chunk.resize(written_);
        if (line < 0) throw std::invalid_argument("line edit before the first line");
        // Insertions before a line come ahead of its own edit; a line is
        // replaced or deleted once.
        throw std::invalid_argument("line edits out of order");
    }
    const std::size_t length = chunk.size() - written_;
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        chunk.resize(written_);
        throw std::length_error("line too long");
    }
    if (count_ == edits_.capacity()) edits_.Grow(std::max<std::size_t>(64, 2 * count_), count_);
    edits_.data()[count_++] = {static_cast<std::uint32_t>(written_), static_cast<std::uint32_t>(length), line,
                               static_cast<std::uint32_t>(chunks_.size() - 1), kind};
}

void TLineEdits::ReplaceWithWritten(int line) { TakeWritten(line, leReplace); }

void TLineEdits::DropWritten() { chunks_.back().resize(written_); }

void TLineEdits::Push(int line, TKind kind, std::string_view text) {
    Buffer(text.size()).append(text);
    TakeWritten(line, kind);
}

void TLineEdits::Insert(int line, std::string_view text) { Push(line, leInsert, text); }

void TLineEdits::Replace(int line, std::string_view text) { Push(line, leReplace, text); }

void TLineEdits::Delete(int line) { Push(line, leDelete, {}); }

int TLineEdits::NewLineOf(int line) const {
    int result = line;
    for (std::size_t k = 0; k < count_; ++k) {
        const TEdit& e = edits_.data()[k];
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

class TApplier {
public:
    TApplier(TEditorScreenStrings& rows, const TLineEdits& edits)
        : rows_(rows), edits_(edits), finalBreak_(rows.Count() == 0 || rows.RowEnding(rows.Count() - 1) != reNoBreak) {}

    void Run() {
        const int lines = rows_.LineCount();
        std::size_t tail = edits_.size();
        while (tail > 0 && edits_[tail - 1].Line >= lines) --tail;
        // Lines added after the last one come first: they change how the
        // last line ends, not where the lines before it stand.
        std::size_t j = tail;
        while (j < edits_.size() && edits_[j].Kind == TLineEdits::leInsert) ++j;
        if (j > tail) InsertLines(tail, j);
        ReplaceLines(tail);
        SetFinalBreak(edits_.FinalBreak().value_or(finalBreak_));
    }

private:
    // Edits 0..end-1, of lines that exist, as one bulk edit of the rows:
    // the new lines are made into rows once, and every line changes in the
    // same pass over the rows.
    void ReplaceLines(std::size_t end) {
        if (end == 0) return;
        const bool oneRowEach = !rows_.WordWrap();
        // Without wrapped rows a line is the row of its number.
        const bool flat = rows_.LineCount() == rows_.Count();
        auto rowOf = [&](int line) { return flat ? line : rows_.LineToRow(line); };
        std::vector<TRowsSpan> spans;
        // One view per new line: as large as the edits, so mapped as they are.
        TBulkArray<std::string_view> textStore(end);
        std::size_t made = 0;
        spans.reserve(end);
        for (std::size_t k = 0; k < end;) {
            const int line = edits_[k].Line;
            const int row = rowOf(line);
            if (edits_[k].Kind == TLineEdits::leInsert) {
                // The lines inserted before a line are a span of their own,
                // so that a deleted line's marks pass over them.
                const std::size_t from = k;
                for (; k < end && edits_[k].Line == line && edits_[k].Kind == TLineEdits::leInsert; ++k)
                    textStore.data()[made++] = edits_.Text(edits_[k]);
                spans.push_back({row, 0, static_cast<int>(k - from)});
                continue;
            }
            const bool replace = edits_[k].Kind == TLineEdits::leReplace;
            if (replace) textStore.data()[made++] = edits_.Text(edits_[k]);
            const TRowsSpan span{row, rowOf(line + 1) - row, replace ? 1 : 0};
            ++k;
            // Rows replaced one for one next to each other are one span:
            // they hand on their marks alike, and a rewrite of most lines
            // makes fewer spans to walk and to keep for undo.
            if (oneRowEach && !spans.empty() && span.Count == 1 && span.NewCount == 1) {
                TRowsSpan& last = spans.back();
                if (last.Count > 0 && last.Count == last.NewCount && last.Row + last.Count == row) {
                    ++last.Count;
                    ++last.NewCount;
                    continue;
                }
            }
            spans.push_back(span);
        }
        const std::span<const std::string_view> texts(textStore.data(), made);
        // Without word wrap each new line is a row, made in place.
        if (oneRowEach) {
            rows_.ReplaceRowSpans(spans, texts);
            return;
        }
        TEditorStringList fresh(rows_.BlockSize());
        std::vector<int> rowsPerLine;
        rows_.AppendLineRows(texts, fresh, rowsPerLine);
        if (!rowsPerLine.empty()) {
            // Wrapped lines: each span takes the rows of its lines.
            std::size_t t = 0;
            for (TRowsSpan& s : spans) {
                int count = 0;
                for (int i = 0; i < s.NewCount; ++i) count += rowsPerLine[t++];
                s.NewCount = count;
            }
        }
        rows_.ReplaceRowSpans(spans, fresh);
    }

    // The last line with or without a break after it; without, an empty
    // last line goes (without a break it is no line).
    void SetFinalBreak(bool value) {
        const int n = rows_.Count();
        if (n == 0 || (rows_.RowEnding(n - 1) != reNoBreak) == value) return;
        const int from = rows_.LineStartRow(n - 1);
        std::string text;
        for (int r = from; r < n; ++r) text.append(rows_.View(r));
        if (value) text.append(kCrLf);
        rows_.ReplaceRows(from, n - from, text);
    }

    // Edits j..i-1 insert lines after the last line, each with a break
    // (whether the new last line keeps its break is settled at the end).
    void InsertLines(std::size_t j, std::size_t i) {
        std::string text;
        for (std::size_t k = j; k < i; ++k) {
            text.append(edits_.Text(edits_[k]));
            text.append(kCrLf);
        }
        const int n = rows_.Count();
        if (n > 0 && rows_.RowEnding(n - 1) == reNoBreak) {
            // After a last line without a break: it gets one.
            const int row = rows_.LineStartRow(n - 1);
            std::string all;
            for (int r = row; r < n; ++r) all.append(rows_.View(r));
            all.append(kCrLf);
            all.append(text);
            KeepMarksOfLine(row, [&] { rows_.ReplaceRows(row, n - row, all); });
        } else {
            rows_.ReplaceRows(n, 0, text);
        }
    }

    // Makes an edit of the last line that adds lines after it and puts
    // that line's marks back on its rows: where the rows would take them
    // depends on the caret, and new lines have none.
    template <class Edit>
    void KeepMarksOfLine(int row, Edit edit) {
        std::vector<std::uint16_t> marks;
        const int end = rows_.LineEndRow(row);
        for (int r = row; r <= end; ++r) marks.push_back(rows_.RowMarksOf(r));
        const bool any = std::any_of(marks.begin(), marks.end(), [](std::uint16_t m) { return m != 0; });
        const int before = rows_.Count();
        edit();
        if (!any) return;
        const int added = rows_.Count() - before;
        for (int r = row; r < row + static_cast<int>(marks.size()) + added; ++r) rows_.PutRowMarks(r, 0);
        for (std::size_t k = 0; k < marks.size(); ++k) rows_.PutRowMarks(row + static_cast<int>(k), marks[k]);
    }

    TEditorScreenStrings& rows_;
    const TLineEdits& edits_;
    const bool finalBreak_;  // whether the text ended with a break
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
