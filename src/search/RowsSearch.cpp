#include "search/RowsSearch.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/ShiftJis.h"
#include "base/SystemMemory.h"

namespace quodle {

namespace {

constexpr std::string_view kBreak = "\r\n";

// The rows' texts and endings read block by block from the row store's
// packed texts: a pass over many rows costs no lookup per row.
class TRowTexts {
public:
    explicit TRowTexts(const TEditorStringList& rows) : rows_(rows) {}
    int Count() const { return rows_.Count(); }
    std::string_view View(int row) {
        Load(row);
        return block_.Text(row - block_.FirstRow);
    }
    bool Breaks(int row) {
        Load(row);
        return (block_.Word1(row - block_.FirstRow) & rowbits::kRowEndingMask) == reBreak;
    }
    bool Wrapped(int row) {
        Load(row);
        return (block_.Word1(row - block_.FirstRow) & rowbits::kRowEndingMask) == reWrapped;
    }
    const TheStringList::TPackedRows& Block(int row) {
        Load(row);
        return block_;
    }
    bool AnyWrapped() const { return rows_.LineCount() != rows_.Count(); }

private:
    void Load(int row) {
        if (row < block_.FirstRow || row >= block_.FirstRow + block_.Count()) block_ = rows_.PackedRowsAt(row);
    }
    const TEditorStringList& rows_;
    TheStringList::TPackedRows block_;
};

std::size_t RowBytes(TRowTexts& rows, int row) {
    return rows.View(row).size() + (rows.Breaks(row) ? kBreak.size() : 0);
}

// Row `row` from byte `begin` to byte `end` (its CR LF counted), appended.
void AppendRowBytes(std::string& out, TRowTexts& rows, int row, std::size_t begin, std::size_t end) {
    const std::string_view text = rows.View(row);
    if (begin < text.size()) out.append(text.substr(begin, std::min(end, text.size()) - begin));
    for (std::size_t i = std::max(begin, text.size()); i < end; ++i) out.push_back(kBreak[i - text.size()]);
}

// The byte at a position, or nothing at the end of the text.
std::optional<unsigned char> ByteAt(TRowTexts& rows, TRowOffset pos) {
    std::size_t offset = static_cast<std::size_t>(std::max(0, pos.Offset));
    for (int r = std::max(0, pos.Row); r < rows.Count(); ++r) {
        const std::string_view text = rows.View(r);
        if (offset < text.size()) return static_cast<unsigned char>(text[offset]);
        const std::size_t bytes = RowBytes(rows, r);
        if (offset < bytes) return static_cast<unsigned char>(kBreak[offset - text.size()]);
        offset -= bytes;
    }
    return std::nullopt;
}

TEdgeChar EdgeAt(TRowTexts& rows, TRowOffset pos) {
    const std::optional<unsigned char> b = ByteAt(rows, pos);
    return b ? TEdgeChar{IsWordDelimiter(*b), *b} : TEdgeChar{};
}

bool IsTextEnd(TRowTexts& rows, TRowOffset pos) { return !ByteAt(rows, pos); }

// Whether the character before a position is a word delimiter (the text's
// start counts as one).
bool DelimiterBefore(TRowTexts& rows, TRowOffset pos) {
    if (pos.Offset == 0) {
        if (pos.Row == 0) return true;
        if (!rows.Wrapped(pos.Row - 1)) return true;  // a line break
        return LastCharEdge(rows.View(pos.Row - 1)).Delimiter;
    }
    const std::string_view text = rows.View(pos.Row);
    if (static_cast<std::size_t>(pos.Offset) > text.size()) return true;  // after the CR
    return LastCharEdge(text.substr(0, static_cast<std::size_t>(pos.Offset))).Delimiter;
}

// A position on a trail byte moves on to the next character; one past a
// row's bytes moves to the next row.
TRowOffset NormalForward(TRowTexts& rows, TRowOffset pos) {
    while (pos.Row < rows.Count() && static_cast<std::size_t>(pos.Offset) >= RowBytes(rows, pos.Row) &&
           pos.Row + 1 < rows.Count()) {
        pos.Offset -= static_cast<int>(RowBytes(rows, pos.Row));
        ++pos.Row;
    }
    const std::string_view text = pos.Row < rows.Count() ? rows.View(pos.Row) : std::string_view();
    if (pos.Offset > 0 && static_cast<std::size_t>(pos.Offset) < text.size() &&
        IsTrailByteAt(text, static_cast<std::size_t>(pos.Offset)))
        ++pos.Offset;
    return pos;
}

// The same for the limit of a backward search: it stays before a character
// it would cut, and at most at the end of the text.
TRowOffset NormalLimit(TRowTexts& rows, TRowOffset pos) {
    const int n = rows.Count();
    if (pos.Row >= n) return {n - 1, static_cast<int>(RowBytes(rows, n - 1))};
    pos.Row = std::max(0, pos.Row);
    pos.Offset = std::clamp(pos.Offset, 0, static_cast<int>(RowBytes(rows, pos.Row)));
    const std::string_view text = rows.View(pos.Row);
    if (pos.Offset > 0 && static_cast<std::size_t>(pos.Offset) < text.size() &&
        IsTrailByteAt(text, static_cast<std::size_t>(pos.Offset)))
        --pos.Offset;
    return pos;
}

// Consecutive rows of the text as one buffer, from a position in the first
// to the end of the last (or a position in it), and what lies around them.
class TChunk {
public:
    void Build(TRowTexts& rows, TRowOffset start, int last, std::optional<int> end) {
        text_.clear();
        starts_.clear();
        first_ = start.Row;
        std::size_t bytes = 0;
        for (int r = start.Row; r <= last; ++r) bytes += RowBytes(rows, r);
        text_.reserve(bytes);
        for (int r = start.Row; r <= last; ++r) {
            const std::size_t begin = r == start.Row ? static_cast<std::size_t>(start.Offset) : 0;
            starts_.push_back(static_cast<std::int64_t>(text_.size()) - static_cast<std::int64_t>(begin));
            AppendRowBytes(text_, rows, r, begin, r == last && end ? static_cast<std::size_t>(*end) : RowBytes(rows, r));
        }
        startsText_ = start.Row == 0 && start.Offset == 0;
        delimiterBefore_ = DelimiterBefore(rows, start);
        const TRowOffset after = end ? TRowOffset{last, *end} : TRowOffset{last + 1, 0};
        endsText_ = IsTextEnd(rows, after);
        after_ = EdgeAt(rows, after);
        end_ = after;
    }

    std::string_view Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }
    int FirstRow() const { return first_; }
    int LastRow() const { return first_ + static_cast<int>(starts_.size()) - 1; }
    bool Empty() const { return starts_.empty(); }
    bool StartsAtRow() const { return !Empty() && starts_.front() == 0; }
    bool EndsText() const { return endsText_; }
    // The position just after the chunk.
    TRowOffset End() const { return end_; }

    // Chunk offset of a position in its rows, or nothing outside them.
    std::optional<std::size_t> OffsetOf(TRowOffset pos) const {
        if (Empty() || pos.Row < first_ || pos.Row > LastRow()) return std::nullopt;
        const std::int64_t offset = starts_[static_cast<std::size_t>(pos.Row - first_)] + pos.Offset;
        if (offset < 0 || offset > static_cast<std::int64_t>(text_.size())) return std::nullopt;
        return static_cast<std::size_t>(offset);
    }
    TRowOffset PositionOf(std::size_t offset) const {
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), static_cast<std::int64_t>(offset));
        const auto i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, it - starts_.begin() - 1));
        return {first_ + static_cast<int>(i), static_cast<int>(static_cast<std::int64_t>(offset) - starts_[i])};
    }

    // The buffer from `offset` to the chunk's end, for a forward search.
    TSearchText From(std::size_t offset, std::optional<TEdgeChar> before) const {
        TSearchText t{Text().substr(offset)};
        t.StartsText = startsText_ && offset == 0 && !before;
        t.DelimiterBefore = before ? before->Delimiter
                                   : offset == 0 ? delimiterBefore_ : LastCharEdge(Text().substr(0, offset)).Delimiter;
        SetEnd(t);
        return t;
    }
    // The buffer from the chunk's start up to `offset`, for a backward search.
    TSearchText Upto(std::size_t offset, const std::optional<TEdgeChar>& after) const {
        TSearchText t{Text().substr(0, offset)};
        t.StartsText = startsText_;
        t.DelimiterBefore = delimiterBefore_;
        if (!after && offset == Size() && endsText_) return t;
        t.End = TSearchText::teLimit;
        const TEdgeChar edge = after ? *after : offset < Size() ? FirstCharEdge(Text().substr(offset)) : after_;
        t.DelimiterAfter = edge.Delimiter;
        t.ByteAfter = edge.Byte;
        return t;
    }

private:
    void SetEnd(TSearchText& t) const {
        t.End = endsText_ ? TSearchText::teText : TSearchText::teMore;
        t.DelimiterAfter = after_.Delimiter;
        t.ByteAfter = after_.Byte;
    }

    std::string text_;
    std::vector<std::int64_t> starts_;  // chunk offset of each row's first byte
    int first_ = 0;
    bool startsText_ = false;
    bool delimiterBefore_ = true;
    bool endsText_ = false;
    TEdgeChar after_;
    TRowOffset end_;
};

// Searches the rows with one pattern, keeping its chunk between searches so
// that a run of replacements reads each byte about once.
class TRowsSearcher {
public:
    TRowsSearcher(const TEditorStringList& rows, const TSearchPattern& pattern, std::size_t chunkBytes,
                  TSearchWatch* watch = nullptr, int origin = 0)
        : rows_(rows),
          pattern_(pattern),
          chunkBytes_(chunkBytes == 0 ? ChunkBytesFor(pattern) : chunkBytes),
          watch_(watch),
          origin_(origin) {
        // A match of fixed length lies within one row when no row is
        // soft-wrapped and the pattern holds no line break: the packed texts
        // are then scanned for candidates directly (they are rare), and only
        // rows that hold one are searched. Other patterns have candidates
        // on most rows: copying the rows into chunks costs less than
        // searching each row apart.
        const auto& codes = pattern_.Codes();
        if (pattern_.FixedLength() > 0 && !rows_.AnyWrapped() &&
            std::none_of(codes.begin(), codes.end(), [](TCharCode c) { return c == '\r' || c == '\n'; }))
            scan_ = &pattern_.Scan();
    }

    TRowTexts& Rows() { return rows_; }

    // Tells the watch how far from its first row the search got (in the
    // pattern's direction); false when it is to stop.
    bool Going(int row) {
        if (watch_ == nullptr) return true;
        const bool down = pattern_.Has(sfDown);
        return watch_->Step(down ? row - origin_ : origin_ - row, down ? rows_.Count() - origin_ : origin_ + 1);
    }

    std::optional<TRowsMatch> Forward(TRowOffset from, std::optional<TEdgeChar> before) {
        if (pattern_.Empty() || rows_.Count() == 0) return std::nullopt;
        if (scan_) return PackedForward(NormalForward(rows_, from), before);
        TRowOffset pos = NormalForward(rows_, from);
        std::size_t want = chunkBytes_;
        while (pos.Row < rows_.Count()) {
            if (!Going(pos.Row)) return std::nullopt;
            std::optional<std::size_t> offset = chunk_.OffsetOf(pos);
            if (!offset || *offset >= chunk_.Size()) {
                FillForward(pos, want);
                offset = 0;
            }
            const TSearchResult r = SearchForward(chunk_.From(*offset, before), pattern_, 0);
            switch (r.Outcome) {
            case TSearchOutcome::Found:
                return TRowsMatch{chunk_.PositionOf(*offset + r.Start), static_cast<std::int64_t>(r.Length)};
            case TSearchOutcome::NeedsLater: {
                // Take the candidate up again in a chunk that starts with it,
                // a larger one when it would start at the same place.
                const TRowOffset candidate = chunk_.PositionOf(*offset + r.Start);
                want = candidate == pos && *offset == 0 ? want * 2 : chunkBytes_;
                if (candidate != pos) before.reset();
                pos = candidate;
                FillForward(pos, want);
                break;
            }
            default:
                if (chunk_.EndsText()) return std::nullopt;
                pos = chunk_.End();
                want = chunkBytes_;
                before.reset();
                break;
            }
        }
        return std::nullopt;
    }

    std::optional<TRowsMatch> Backward(TRowOffset limit, const std::optional<TEdgeChar>& after) {
        if (pattern_.Empty() || rows_.Count() == 0) return std::nullopt;
        limit = NormalLimit(rows_, limit);
        if (scan_) return PackedBackward(limit, after);
        // The chunk that ends at the limit: the first candidate is found by
        // stepping back from it.
        std::size_t want = chunkBytes_;
        std::optional<std::size_t> end = chunk_.StartsAtRow() ? chunk_.OffsetOf(limit) : std::nullopt;
        if (!end) {
            FillBackward(limit, want);
            end = chunk_.OffsetOf(limit);
        }
        for (;;) {
            const TSearchResult r = SearchBackward(chunk_.Upto(*end, after), pattern_);
            if (r.Outcome == TSearchOutcome::Found) return Match(r);
            if (r.Outcome != TSearchOutcome::NeedsEarlier) break;
            want *= 2;
            FillBackward(limit, want);
            end = chunk_.OffsetOf(limit);
        }
        // Chunks further back: candidates before the last chunk, whose
        // matches may run on toward the limit.
        std::size_t afterWant = 2 * pattern_.ByteLength() + kBreak.size();
        while (chunk_.FirstRow() > 0) {
            if (!Going(chunk_.FirstRow())) return std::nullopt;
            TRowOffset top = LastByteBefore(chunk_.FirstRow());
            for (;;) {
                FillAround(top, limit, afterWant);
                const std::size_t at = *chunk_.OffsetOf(top);
                const bool cut = chunk_.LastRow() == limit.Row;
                const TSearchText text = cut ? chunk_.Upto(*chunk_.OffsetOf(limit), after) : chunk_.From(0, std::nullopt);
                const TSearchResult r = SearchBackwardFrom(text, pattern_, at);
                if (r.Outcome == TSearchOutcome::Found) return Match(r);
                if (r.Outcome != TSearchOutcome::NeedsLater) break;
                afterWant = std::max(afterWant, chunk_.Size() - r.Start) * 2;
                top = chunk_.PositionOf(r.Start);
            }
            afterWant = 2 * pattern_.ByteLength() + kBreak.size();
        }
        return std::nullopt;
    }

private:
    // The row that holds byte `k` of a block's packed texts, and where the
    // row starts there.
    static std::pair<int, std::size_t> RowOfByte(const TheStringList::TPackedRows& block, std::size_t k) {
        const auto j = static_cast<std::size_t>(std::upper_bound(block.Ends.begin(), block.Ends.end(), k) - block.Ends.begin());
        return {block.FirstRow + static_cast<int>(j), j == 0 ? 0 : block.Ends[j - 1]};
    }

    // After a row's text: its CR LF, or the text's end.
    void SetRowEnd(TSearchText& t, int row) {
        if (!rows_.Breaks(row)) return;
        t.End = TSearchText::teLimit;
        t.DelimiterAfter = true;
        t.ByteAfter = '\r';
    }

    std::optional<TRowsMatch> PackedForward(TRowOffset pos, const std::optional<TEdgeChar>& before) {
        int row = pos.Row;
        std::size_t offset = static_cast<std::size_t>(pos.Offset);
        while (row < rows_.Count()) {
            if (!Going(row)) return std::nullopt;
            const TheStringList::TPackedRows block = rows_.Block(row);
            const std::size_t begin = block.Ends[static_cast<std::size_t>(row - block.FirstRow)] - rows_.View(row).size();
            const std::size_t k = scan_->Next(block.Texts, begin + std::min(offset, rows_.View(row).size()));
            if (k == TCandidateScan::npos) {
                row = block.FirstRow + block.Count();
                offset = 0;
                continue;
            }
            const auto [found, foundBegin] = RowOfByte(block, k);
            const bool atStart = found == pos.Row;
            const std::size_t start = atStart ? std::min(static_cast<std::size_t>(pos.Offset), rows_.View(found).size()) : 0;
            TSearchText t{rows_.View(found).substr(start)};
            t.StartsText = found == 0 && start == 0 && !before;
            t.DelimiterBefore = atStart && before ? before->Delimiter : DelimiterBefore(rows_, {found, static_cast<int>(start)});
            SetRowEnd(t, found);
            const TSearchResult r = SearchForward(t, pattern_, k - foundBegin - start);
            if (r.Outcome == TSearchOutcome::Found)
                return TRowsMatch{{found, static_cast<int>(start + r.Start)}, static_cast<std::int64_t>(r.Length)};
            // Every candidate of that row from there on failed.
            row = found + 1;
            offset = 0;
        }
        return std::nullopt;
    }

    std::optional<TRowsMatch> PackedBackward(TRowOffset limit, const std::optional<TEdgeChar>& after) {
        // The limit's row, up to the limit: its first candidate is found by
        // stepping back from there.
        const std::string_view limitText = rows_.View(limit.Row);
        TSearchText t{limitText.substr(0, std::min(static_cast<std::size_t>(limit.Offset), limitText.size()))};
        t.StartsText = limit.Row == 0;
        t.DelimiterBefore = DelimiterBefore(rows_, {limit.Row, 0});
        if (static_cast<std::size_t>(limit.Offset) > limitText.size()) {
            SetRowEnd(t, limit.Row);
        } else if (after || !IsTextEnd(rows_, limit)) {
            // The character at the limit stands after the matches.
            const TEdgeChar edge = after ? *after : EdgeAt(rows_, limit);
            t.End = TSearchText::teLimit;
            t.DelimiterAfter = edge.Delimiter;
            t.ByteAfter = edge.Byte;
        }
        if (const TSearchResult r = SearchBackward(t, pattern_); r.Outcome == TSearchOutcome::Found)
            return TRowsMatch{{limit.Row, static_cast<int>(r.Start)}, static_cast<std::int64_t>(r.Length)};
        for (int row = limit.Row - 1; row >= 0;) {
            if (!Going(row)) return std::nullopt;
            const TheStringList::TPackedRows block = rows_.Block(row);
            const std::size_t end = block.Ends[static_cast<std::size_t>(row - block.FirstRow)];
            const std::size_t k = end == 0 ? TCandidateScan::npos : scan_->Previous(block.Texts, end - 1);
            if (k == TCandidateScan::npos) {
                row = block.FirstRow - 1;
                continue;
            }
            const auto [found, foundBegin] = RowOfByte(block, k);
            TSearchText window{rows_.View(found)};
            window.StartsText = found == 0;
            window.DelimiterBefore = DelimiterBefore(rows_, {found, 0});
            SetRowEnd(window, found);
            if (const TSearchResult r = SearchBackwardFrom(window, pattern_, k - foundBegin); r.Outcome == TSearchOutcome::Found)
                return TRowsMatch{{found, static_cast<int>(r.Start)}, static_cast<std::int64_t>(r.Length)};
            // Every candidate of that row up to there failed.
            row = found - 1;
        }
        return std::nullopt;
    }

    TRowsMatch Match(const TSearchResult& r) const {
        return {chunk_.PositionOf(r.Start), static_cast<std::int64_t>(r.Length)};
    }

    // From `pos`, rows until the chunk holds more than `want` bytes.
    void FillForward(TRowOffset pos, std::size_t want) {
        int last = pos.Row;
        std::size_t bytes = RowBytes(rows_, last) - static_cast<std::size_t>(pos.Offset);
        while (bytes <= want && last + 1 < rows_.Count()) bytes += RowBytes(rows_, ++last);
        chunk_.Build(rows_, pos, last, std::nullopt);
    }

    // Rows before the limit's row while the chunk holds at most `want`
    // bytes before the limit.
    void FillBackward(TRowOffset limit, std::size_t want) {
        int first = limit.Row;
        std::size_t bytes = static_cast<std::size_t>(limit.Offset);
        while (bytes <= want && first > 0) bytes += RowBytes(rows_, --first);
        chunk_.Build(rows_, {first, 0}, limit.Row, limit.Offset);
    }

    // About a chunk's worth of rows before `top` and at least `afterWant`
    // bytes after it, cut at the limit.
    void FillAround(TRowOffset top, TRowOffset limit, std::size_t afterWant) {
        int first = top.Row;
        std::size_t before = static_cast<std::size_t>(top.Offset);
        while (before <= chunkBytes_ && first > 0) before += RowBytes(rows_, --first);
        int last = top.Row;
        std::size_t after = RowBytes(rows_, last) - static_cast<std::size_t>(top.Offset);
        while (after < afterWant && last < limit.Row) after += RowBytes(rows_, ++last);
        if (last == limit.Row)
            chunk_.Build(rows_, {first, 0}, last, limit.Offset);
        else
            chunk_.Build(rows_, {first, 0}, last, std::nullopt);
    }

    // The last byte of the rows before `row`.
    TRowOffset LastByteBefore(int row) {
        int r = row - 1;
        while (r > 0 && RowBytes(rows_, r) == 0) --r;
        return {r, std::max(0, static_cast<int>(RowBytes(rows_, r)) - 1)};
    }

    TRowTexts rows_;
    const TSearchPattern& pattern_;
    std::size_t chunkBytes_;
    const TCandidateScan* scan_ = nullptr;  // the packed route
    TSearchWatch* watch_;
    int origin_;
    TChunk chunk_;
};

// The position `bytes` after `pos`, a CR LF counted; the end of a row that
// ends a line is the start of the next row.
TRowOffset Advance(TRowTexts& rows, TRowOffset pos, std::int64_t bytes) {
    std::int64_t offset = pos.Offset + bytes;
    int r = pos.Row;
    while (r + 1 < rows.Count() && offset >= static_cast<std::int64_t>(RowBytes(rows, r))) {
        offset -= static_cast<std::int64_t>(RowBytes(rows, r));
        ++r;
    }
    if (r + 1 == rows.Count() && offset >= static_cast<std::int64_t>(RowBytes(rows, r)) && rows.Breaks(r))
        return {rows.Count(), 0};
    return {r, static_cast<int>(offset)};
}

// Writes the rows from one on as the text has them (CR LF after each row
// that ends a line), copying or skipping.
class TRowsWriter {
public:
    TRowsWriter(TRowTexts& rows, int row, std::string& out) : rows_(rows), row_(row), out_(out) {}

    // Copies everything up to `to`.
    void CopyTo(TRowOffset to) {
        while (row_ < rows_.Count() && (row_ < to.Row || (row_ == to.Row && offset_ < static_cast<std::size_t>(to.Offset)))) {
            const std::size_t bytes = RowBytes(rows_, row_);
            const std::size_t end = row_ == to.Row ? std::min(bytes, static_cast<std::size_t>(to.Offset)) : bytes;
            AppendRowBytes(out_, rows_, row_, offset_, end);
            Move(end, bytes);
        }
    }
    void Skip(std::int64_t bytes) {
        while (bytes > 0 && row_ < rows_.Count()) {
            const std::size_t rowBytes = RowBytes(rows_, row_);
            const std::size_t step = std::min(rowBytes - offset_, static_cast<std::size_t>(bytes));
            bytes -= static_cast<std::int64_t>(step);
            Move(offset_ + step, rowBytes);
        }
    }

private:
    void Move(std::size_t offset, std::size_t rowBytes) {
        offset_ = offset;
        if (offset_ >= rowBytes) {
            ++row_;
            offset_ = 0;
        }
    }

    TRowTexts& rows_;
    int row_;
    std::size_t offset_ = 0;
    std::string& out_;
};

}  // namespace

std::size_t ChunkBytesFor(const TSearchPattern& pattern) {
    return std::max(kSearchChunkBytes, pattern.ByteLength() > 1024 ? 8 * pattern.ByteLength() : 0);
}

TEdgeChar LastCharEdge(std::string_view text) {
    if (text.empty()) return {};
    const auto b = static_cast<unsigned char>(text.back());
    // A double-byte character is a word character, whatever its trail byte.
    return {!IsTrailByteAt(text, text.size() - 1) && IsWordDelimiter(b), b};
}

TEdgeChar FirstCharEdge(std::string_view text) {
    if (text.empty()) return {};
    const auto b = static_cast<unsigned char>(text.front());
    return {IsWordDelimiter(b), b};
}

std::optional<TRowsMatch> SearchRowsForward(const TEditorStringList& rows, TRowOffset from,
                                            const TSearchPattern& pattern, std::optional<TEdgeChar> before,
                                            std::size_t chunkBytes, TSearchWatch* watch) {
    return TRowsSearcher(rows, pattern, chunkBytes, watch, from.Row).Forward(from, before);
}

std::optional<TRowsMatch> SearchRowsBackward(const TEditorStringList& rows, TRowOffset limit,
                                             const TSearchPattern& pattern, std::optional<TEdgeChar> after,
                                             std::size_t chunkBytes, TSearchWatch* watch) {
    return TRowsSearcher(rows, pattern, chunkBytes, watch, limit.Row).Backward(limit, after);
}

namespace {

// Replace-all's way through the matches: each next search starts beyond
// the text just inserted, which stands next to it (before it forward, after
// it backward) while it is not in the rows yet.
class TReplaceWalk {
public:
    TReplaceWalk(TRowOffset from, bool down, std::string_view replacement)
        : pos_(from), down_(down), replacement_(replacement) {}

    std::optional<TRowsMatch> Next(TRowsSearcher& searcher) {
        return down_ ? searcher.Forward(pos_, edge_) : searcher.Backward(pos_, edge_);
    }
    void Past(TRowTexts& texts, const TRowsMatch& m) {
        const TRowOffset end = Advance(texts, m.Start, m.Length);
        if (down_) {
            if (!replacement_.empty()) edge_ = LastCharEdge(replacement_);
            else if (!(m.Start == pos_ && edge_)) edge_ = TEdgeChar{DelimiterBefore(texts, m.Start), 0};
            pos_ = end;
        } else {
            if (!replacement_.empty()) edge_ = FirstCharEdge(replacement_);
            else if (!(edge_ && end == pos_)) edge_ = EdgeAt(texts, end);
            pos_ = m.Start;
        }
    }
    // On from the replacements' caret once they stand in the rows.
    void Restart(TRowOffset pos) {
        pos_ = pos;
        edge_.reset();
    }

private:
    TRowOffset pos_;
    bool down_;
    std::string_view replacement_;
    std::optional<TEdgeChar> edge_;
};

// The last row of the line where a match ends.
int LastRowOf(const TEditorStringList& rows, TRowTexts& texts, const TRowsMatch& m) {
    const TRowOffset end = Advance(texts, m.Start, m.Length);
    return end.Row >= rows.Count() ? rows.Count() - 1 : rows.LineEndRow(end.Row);
}

// The whole lines some matches stand in (a match over a break joins its
// lines), rewritten with the replacements.
struct TGroupText {
    int FirstRow = 0, LastRow = 0;
    std::string Text;
    std::size_t Caret = 0;  // after the last replacement forward, at the first backward
};

TGroupText RewriteGroup(const TEditorStringList& rows, TRowTexts& texts, std::vector<TRowsMatch>& matches,
                        std::string_view replacement, bool down) {
    if (!down) std::reverse(matches.begin(), matches.end());
    TGroupText g;
    g.FirstRow = rows.LineStartRow(matches.front().Start.Row);
    // Made at its size at once: a line of a gigabyte is not grown twice over.
    std::int64_t size = 0;
    for (const TRowsMatch& m : matches) {
        g.LastRow = std::max(g.LastRow, LastRowOf(rows, texts, m));
        size += static_cast<std::int64_t>(replacement.size()) - m.Length;
    }
    for (int r = g.FirstRow; r <= g.LastRow; ++r) size += static_cast<std::int64_t>(RowBytes(texts, r));
    g.Text.reserve(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    TRowsWriter writer(texts, g.FirstRow, g.Text);
    for (const TRowsMatch& m : matches) {
        writer.CopyTo(m.Start);
        if (!down && &m == &matches.front()) g.Caret = g.Text.size();
        writer.Skip(m.Length);
        g.Text.append(replacement);
    }
    if (down) g.Caret = g.Text.size();
    writer.CopyTo({g.LastRow + 1, 0});
    matches.clear();
    return g;
}

// Makes groups (in ascending order) one bulk edit of the rows and applies
// it; the caret where the last replacement leaves it.
TRowOffset ApplyGroups(TEditorScreenStrings& rows, std::vector<TGroupText>& groups, bool down,
                       const TEditorClient* editor) {
    TLineEdits edits;
    const int n = rows.Count();
    int caretLine = 0, caretIndex = 0, caretOffset = 0;
    for (TGroupText& g : groups) {
        const int a = rows.RowToLine(g.FirstRow), b = rows.RowToLine(g.LastRow);
        const std::vector<std::string_view> lines = SplitLines(g.Text);
        const int common = std::min(static_cast<int>(lines.size()), b - a + 1);
        for (int c = 0; c < common; ++c) edits.Replace(a + c, lines[static_cast<std::size_t>(c)]);
        for (int c = common; c <= b - a; ++c) edits.Delete(a + c);
        for (std::size_t c = static_cast<std::size_t>(common); c < lines.size(); ++c) edits.Insert(b + 1, lines[c]);
        if (g.LastRow == n - 1) {
            // The group reaches the end of the text: it may take the final
            // break away or bring one. Emptied, it leaves the break of the
            // line before it last.
            const bool breakAtEnd = g.Text.empty() ? a > 0 : g.Text.back() == '\n' || g.Text.back() == '\r';
            if (breakAtEnd != (rows.RowEnding(n - 1) == reBreak)) edits.SetFinalBreak(breakAtEnd);
        }
        if (&g == (down ? &groups.back() : &groups.front())) {
            // The line of the group's new text that holds the caret.
            caretLine = a;
            for (std::size_t c = 0; c < lines.size() && lines[c].data() - g.Text.data() <= static_cast<std::ptrdiff_t>(g.Caret); ++c) {
                caretIndex = static_cast<int>(c);
                caretOffset = static_cast<int>(g.Caret - static_cast<std::size_t>(lines[c].data() - g.Text.data()));
            }
        }
        // The edits hold their own copy.
        std::string().swap(g.Text);
    }
    const int newLine = edits.NewLineOf(caretLine) + caretIndex;
    ApplyLineEdits(rows, edits, editor);
    return LinePosToRowOffset(rows, newLine, caretOffset);
}

// The text's bytes as a save writes them (CR LF after each line that has one).
std::uint64_t TextBytesWithBreaks(const TEditorScreenStrings& rows) {
    const int n = rows.Count();
    if (n == 0) return 0;
    const int breaks = rows.LineCount() - (rows.RowEnding(n - 1) == reBreak ? 0 : 1);
    return rows.TextBytes() + 2 * static_cast<std::uint64_t>(std::max(0, breaks));
}

}  // namespace

std::uint64_t ReplaceAllLimit() {
    std::uint64_t limit = kReplaceMaxBytes;
    if (const std::optional<std::uint64_t> available = AvailableMemoryBytes()) limit = std::min(limit, *available / 2);
    return limit;
}

TReplaceAll ReplaceAll(TEditorScreenStrings& rows, TRowOffset from, const TSearchPattern& pattern,
                       std::string_view replacement, std::uint64_t limit, TSearchWatch* watch,
                       const TEditorClient* editor, std::size_t batchBytes, const TMatchSeen& counted) {
    TReplaceAll result;
    if (rows.ReadOnly()) return result;
    const bool down = pattern.Has(sfDown);
    // Each pass is half of the way.
    const auto half = [watch](int pass) {
        return TSearchWatch([watch, pass](long long done, long long total) {
            return watch == nullptr || watch->Step(pass * total + done, 2 * total);
        });
    };
    // Counted first, so that a result too large is refused before anything
    // is made.
    TSearchWatch counting = half(0);
    std::int64_t growth = 0;
    {
        TRowsSearcher searcher(rows, pattern, 0, &counting, from.Row);
        TReplaceWalk walk(from, down, replacement);
        while (const std::optional<TRowsMatch> m = walk.Next(searcher)) {
            ++result.Count;
            growth += static_cast<std::int64_t>(replacement.size()) - m->Length;
            if (counted) counted(*m);
            walk.Past(searcher.Rows(), *m);
        }
    }
    const std::uint64_t before = TextBytesWithBreaks(rows);
    result.Bytes = static_cast<std::uint64_t>(static_cast<std::int64_t>(before) + growth);
    if (counting.Stopped()) {
        result.End = TReplaceEnd::Stopped;
        return result;
    }
    if (result.Bytes > limit && growth > 0) {
        result.End = TReplaceEnd::TooLarge;
        return result;
    }
    if (result.Count == 0) return result;
    // Then rewritten a batch of lines at a time: the memory taken beyond the
    // new text is about one batch. The search goes on in the rows written.
    TSearchWatch writing = half(1);
    rows.UndoObj().BeginGroup(editor);
    std::optional<TRowsSearcher> searcher(std::in_place, rows, pattern, 0, &writing, from.Row);
    TReplaceWalk walk(from, down, replacement);
    std::vector<TRowsMatch> group;
    int groupFirst = 0, groupLast = 0;  // rows the group's matches stand in, to see whether the next joins it
    std::vector<TGroupText> batch;
    std::size_t batchSize = 0;
    bool applied = false;
    result.Count = 0;
    const auto closeGroup = [&] {
        if (group.empty()) return;
        batch.push_back(RewriteGroup(rows, searcher->Rows(), group, replacement, down));
        batchSize += batch.back().Text.size();
    };
    const auto applyBatch = [&] {
        if (batch.empty()) return;
        if (!down) std::reverse(batch.begin(), batch.end());
        result.Caret = ApplyGroups(rows, batch, down, editor);
        applied = true;
        batch.clear();
        batchSize = 0;
        searcher.emplace(rows, pattern, 0, &writing, from.Row);
        walk.Restart(result.Caret);
    };
    while (const std::optional<TRowsMatch> m = walk.Next(*searcher)) {
        const int first = m->Start.Row, last = LastRowOf(rows, searcher->Rows(), *m);
        if (!group.empty() && (down ? first > groupLast : last < groupFirst)) {
            closeGroup();
            if (batchSize >= batchBytes) {
                // The match is found again where it stands after the batch.
                applyBatch();
                continue;
            }
        }
        if (group.empty()) groupFirst = first, groupLast = last;
        groupFirst = std::min(groupFirst, first);
        groupLast = std::max(groupLast, last);
        group.push_back(*m);
        ++result.Count;
        walk.Past(searcher->Rows(), *m);
    }
    closeGroup();
    if (!writing.Stopped()) applyBatch();
    rows.UndoObj().EndGroup();
    if (writing.Stopped()) {
        // Nothing stays of a replace-all stopped halfway.
        if (applied && rows.Undo()) rows.UndoObj().RedoList().pop_back();
        result.End = TReplaceEnd::Stopped;
        result.Count = 0;
    }
    return result;
}

}  // namespace quodle
