// The row list's side of word wrap: turning text into rows and recutting
// every line of the text.
#include <deque>
#include <string>
#include <vector>

#include "text/EditorScreenStrings.h"
#include "text/TextFile.h"
#include "text/WrapLayout.h"

namespace quodle {

namespace {

// Appends rows with their two words at load speed: texts go in batches
// through the appender, and only rows with non-zero words are visited again.
class TRowSink {
public:
    explicit TRowSink(TheStringList& rows) : rows_(rows), appender_(rows) {}
    ~TRowSink() { Flush(); }
    TRowSink(const TRowSink&) = delete;
    TRowSink& operator=(const TRowSink&) = delete;

    // The text must stay alive until the next Flush.
    void Add(std::string_view text, std::uint32_t word1, std::uint32_t word2) {
        if (word1 != 0 || word2 != 0) words_.push_back({static_cast<int>(texts_.size()), word1, word2});
        texts_.push_back(text);
    }
    bool Full() const { return texts_.size() >= kBatch; }
    void Flush() {
        if (texts_.empty()) return;
        const int base = rows_.Count();
        appender_.Append(texts_);
        for (const TWords& w : words_) {
            if (w.word1 != 0) rows_.SetAttribute1(base + w.row, w.word1);
            if (w.word2 != 0) rows_.SetAttribute2(base + w.row, w.word2);
        }
        texts_.clear();
        words_.clear();
    }

private:
    static constexpr std::size_t kBatch = 4096;
    struct TWords {
        int row;  // in the batch
        std::uint32_t word1, word2;
    };
    TheStringList& rows_;
    TheStringList::TAppender appender_;
    std::vector<std::string_view> texts_;
    std::vector<TWords> words_;
};

}  // namespace

using rowbits::MarksOf;
using rowbits::MarksWord;

void TEditorScreenStrings::SplitIntoRows(std::string_view text, TEditorStringList& rows) const {
    rows.Clear();
    if (!wordWrap_) {
        AppendLines(text, rows);
        return;
    }
    std::vector<std::string_view> lines;
    TextLines(text, lines);
    std::vector<int> rowsPerLine;
    AppendLineRows(lines, rows, rowsPerLine);
}

void TEditorScreenStrings::AppendLineRows(std::span<const std::string_view> lines, TEditorStringList& rows,
                                          std::vector<int>& rowsPerLine) const {
    rowsPerLine.clear();
    if (!wordWrap_) {
        TheStringList::TAppender(rows).Append(lines);
        return;
    }
    const TLineWrapper wrapper(wrapOption_, tabSpaceCount_);
    std::vector<std::size_t> ends;
    TRowSink sink(rows);
    rowsPerLine.reserve(lines.size());
    for (const std::string_view line : lines) {
        if (wrapper.FitsOneRow(line)) {
            sink.Add(line, reBreak, 0);
            rowsPerLine.push_back(1);
            continue;
        }
        ends.clear();
        wrapper.Split(line, ends);
        std::size_t start = 0;
        for (std::size_t i = 0; i < ends.size(); ++i) {
            sink.Add(line.substr(start, ends[i] - start), i + 1 < ends.size() ? reWrapped : reBreak, 0);
            start = ends[i];
        }
        rowsPerLine.push_back(static_cast<int>(ends.size()));
    }
}

void TEditorScreenStrings::RebuildRows(bool wrap) {
    const TLineWrapper wrapper(wrapOption_, tabSpaceCount_);
    // The old rows are read as the new ones are written, and freed behind.
    TRewriter old(*this);
    TRowSink sink(*this);
    std::deque<std::string> joined;  // lines of several rows, until the next flush
    std::vector<std::size_t> ends;
    const int n = old.OldCount();
    auto endingOf = [](std::uint32_t word1) { return static_cast<TRowEnding>(word1 & rowbits::kRowEndingMask); };
    std::vector<std::uint16_t> marks;  // of the old rows of one line
    for (int r = 0; r < n;) {
        TRewriter::TOldRow row = old.OldRow(r);
        std::string_view line = row.text;
        marks.assign(1, MarksOf(row.word2));
        int e = r;
        if (endingOf(row.word1) == reWrapped && e < n - 1) {
            std::string& text = joined.emplace_back(row.text);
            while (endingOf(row.word1) == reWrapped && e < n - 1) {
                row = old.OldRow(++e);
                text.append(row.text);
                marks.push_back(MarksOf(row.word2));
            }
            line = text;
        }
        // A line cut off after a wrapped last row still ends the text.
        const TRowEnding ending = endingOf(row.word1) == reWrapped ? reNoBreak : endingOf(row.word1);
        ends.clear();
        if (wrap && !wrapper.FitsOneRow(line)) wrapper.Split(line, ends);
        else ends.push_back(line.size());
        // Old row i hands its marks to new row i; the last new row takes
        // the marks of every old row from its own position on.
        const std::size_t m = ends.size();
        std::size_t start = 0;
        for (std::size_t i = 0; i < m; ++i) {
            std::uint16_t rowMarks = 0;
            if (i + 1 < m) {
                if (i < marks.size()) rowMarks = marks[i];
            } else {
                for (std::size_t k = i; k < marks.size(); ++k) rowMarks |= marks[k];
            }
            sink.Add(line.substr(start, ends[i] - start), i + 1 < m ? reWrapped : ending, MarksWord(rowMarks));
            start = ends[i];
        }
        r = e + 1;
        if (sink.Full()) {
            sink.Flush();
            joined.clear();
            old.Release(r);
        }
    }
    sink.Flush();
    old.Release(n);
    layout_ = {tabSpaceCount_, wrap ? wrapOption_.WrapByte() : 0};
}

}  // namespace quodle
