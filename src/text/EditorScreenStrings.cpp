#include "text/EditorScreenStrings.h"

#include <algorithm>
#include <cstring>

#include "base/ShiftJis.h"
#include "text/EditorPositions.h"
#include "text/TextFile.h"

namespace quodle {

// ---------------------------------------------------------------- lines of rows

int TEditorStringList::LineStartRow(int row) const {
    if (row < 0 || row >= Count()) return row;
    while (row > 0 && RowEnding(row - 1) == reWrapped) --row;
    return row;
}

int TEditorStringList::LineEndRow(int row) const {
    if (row < 0 || row >= Count()) return row;
    const int last = Count() - 1;
    while (row < last && RowEnding(row) == reWrapped) ++row;
    return row;
}

int TEditorStringList::LineCount() const {
    const int n = Count();
    if (n == 0) return 0;
    return n - TalliedBefore(n) + (RowEnding(n - 1) == reWrapped ? 1 : 0);
}

int TEditorStringList::LineToRow(int line) const {
    if (line <= 0) return 0;
    // Without wrapped rows each row is a line: no search.
    if (TalliedBefore(Count()) == 0) return std::min(line, Count());
    return std::min(NthUntallied(line - 1) + 1, Count());
}

int TEditorStringList::RowToLine(int row) const {
    row = std::clamp(row, 0, Count());
    return row - TalliedBefore(row);
}

namespace {

// The rows from `row` to `last` block by block from the packed texts: a
// pass over the whole text runs at memory speed, not at the speed of a
// lookup per row.
template <class Take>
void EachPackedBlock(const TEditorStringList& rows, int row, int last, Take&& take) {
    for (int r = row; r <= last;) {
        const TheStringList::TPackedRows p = rows.PackedRowsAt(r);
        const int end = std::min(last - p.FirstRow, p.Count() - 1);
        take(p, r - p.FirstRow, end);
        r = p.FirstRow + end + 1;
    }
}

TRowEnding PackedEnding(const TheStringList::TPackedRows& p, int i) {
    return static_cast<TRowEnding>(p.Word1(i) & rowbits::kRowEndingMask);
}

// The bytes RowsText gives for the rows from `row` to `last`.
std::size_t RowsTextBytes(const TEditorStringList& rows, int row, int last, std::size_t breakBytes = 2) {
    std::size_t bytes = 0;
    EachPackedBlock(rows, row, last, [&](const TheStringList::TPackedRows& p, int first, int end) {
        bytes += p.Ends[static_cast<std::size_t>(end)] - (first == 0 ? 0 : p.Ends[static_cast<std::size_t>(first) - 1]);
        for (int i = first; i <= end; ++i) bytes += PackedEnding(p, i) == reBreak ? breakBytes : 0;
    });
    return bytes;
}

}  // namespace

TEditorStringList::TRowsText TEditorStringList::RowsText(int row, int count, std::string_view lineBreak) const {
    TRowsText result;
    if (row < 0 || row >= Count()) return result;
    const int last = count < 0 ? LineEndRow(row) : std::min(Count() - 1, row + count - 1);
    result.text.resize(RowsTextBytes(*this, row, last, lineBreak.size()));
    char* out = result.text.data();
    EachPackedBlock(*this, row, last, [&](const TPackedRows& p, int first, int end) {
        for (int i = first; i <= end; ++i) {
            const std::string_view text = p.Text(i);
            if (!text.empty()) std::memcpy(out, text.data(), text.size());
            out += text.size();
            result.ending = PackedEnding(p, i);
            if (result.ending == reBreak) {
                std::memcpy(out, lineBreak.data(), lineBreak.size());
                out += lineBreak.size();
            }
        }
    });
    result.rowCount = std::max(0, last - row + 1);
    return result;
}

std::pair<std::size_t, std::size_t> TEditorStringList::SharedEnds(std::string_view text, int row, int count) const {
    if (row < 0 || row >= Count() || count <= 0) return {0, 0};
    const int last = std::min(Count() - 1, row + count - 1);
    const std::size_t most = std::min(text.size(), RowsTextBytes(*this, row, last));
    constexpr std::string_view kBreak = "\r\n";
    auto breakAfter = [&](int r) { return RowEnding(r) == reBreak ? kBreak : std::string_view(); };
    // Each walk adds the bytes a piece of row text shares with `text` and
    // stops at the first piece that differs or reaches the limit.
    auto walk = [](std::size_t& done, std::size_t limit, auto piece, auto piecesEnd, auto from) {
        const auto n = static_cast<std::ptrdiff_t>(std::min(static_cast<std::size_t>(piecesEnd - piece), limit - done));
        const auto stop = std::mismatch(piece, piece + n, from + static_cast<std::ptrdiff_t>(done)).first;
        const auto same = static_cast<std::size_t>(stop - piece);
        done += same;
        return same == static_cast<std::size_t>(piecesEnd - piece);
    };
    std::size_t head = 0;
    auto forward = [&](std::string_view piece) { return walk(head, most, piece.begin(), piece.end(), text.begin()); };
    for (int r = row; r <= last && forward(View(r)) && forward(breakAfter(r)); ++r) {
    }
    std::size_t tail = 0;
    const std::size_t room = most - head;
    auto backward = [&](std::string_view piece) {
        return walk(tail, room, piece.rbegin(), piece.rend(), text.rbegin());
    };
    for (int r = last; r >= row && backward(breakAfter(r)) && backward(View(r)); --r) {
    }
    return {head, tail};
}

// ---------------------------------------------------------------- the shared row list

class TEditorScreenStrings::TEditScope {
public:
    // The outermost scope says what kind of change its steps make.
    explicit TEditScope(TEditorScreenStrings& rows, bool textChange = true) : rows_(rows) {
        if (rows_.editDepth_++ > 0) return;
        (textChange ? rows_.textChanged_ : rows_.relaidOut_) = true;
        if (rows_.UpdateCount() == 0) rows_.TheStringList::Changing();
    }
    ~TEditScope() {
        if (--rows_.editDepth_ == 0 && rows_.UpdateCount() == 0) {
            rows_.TheStringList::Changed();
            rows_.NotifyRowsChanged();
        }
    }
    TEditScope(const TEditScope&) = delete;
    TEditScope& operator=(const TEditScope&) = delete;

private:
    TEditorScreenStrings& rows_;
};

TEditorScreenStrings::TEditorScreenStrings(TRowBlockSize blockSize) : TEditorStringList(blockSize), undo_(*this) {
    wrapOption_.SetOnChange([this](TNotifyPersistent&) {
        // Records made under other options would be replayed as the rows
        // of these: every option change ends the history.
        if (wordWrap_) WrapAll();
        else undo_.ClearHistory();
    });
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

void TEditorScreenStrings::Attach(TEditorClient* editor) {
    if (editor && std::find(editors_.begin(), editors_.end(), editor) == editors_.end()) editors_.push_back(editor);
    RefreshBracketDepths();
}

bool TEditorScreenStrings::Detach(TEditorClient* editor) {
    editors_.erase(std::remove(editors_.begin(), editors_.end(), editor), editors_.end());
    RefreshBracketDepths();
    return editors_.empty();
}

TEditorClient* TEditorScreenStrings::FocusedEditor() const {
    for (TEditorClient* e : editors_)
        if (e->HasFocus()) return e;
    return Owner();
}

void TEditorScreenStrings::Changing() {
    if (editDepth_ == 0) TheStringList::Changing();
}

void TEditorScreenStrings::Changed() {
    if (editDepth_ > 0) return;
    // A change made directly on the rows: the record no longer describes it.
    lastChange_ = {};
    textChanged_ = true;
    TheStringList::Changed();
    NotifyRowsChanged();
}

void TEditorScreenStrings::UpdateBlockClosed() {
    lastChange_ = {};
    // Carets and top rows left beyond the text go back to its end.
    const int n = Count();
    const int end = n > 0 && RowEnding(n - 1) == reNoBreak ? n - 1 : n;
    for (TEditorClient* e : editors_) {
        if (e->CaretRow() > end) e->PlaceCaret(end, e->CaretCol());
        if (e->TopRow() > end) e->SetTopRow(end);
    }
    TheStringList::Changed();
    NotifyRowsChanged();
}

void TEditorScreenStrings::NotifyRowsChanged() {
    // Only a rewrap leaves the text as it was; a block that recorded
    // nothing may have held direct changes of the rows.
    const bool text = textChanged_ || !relaidOut_;
    textChanged_ = relaidOut_ = false;
    ++revision_;
    for (TEditorClient* e : editors_) e->RowsChanged(text);
}

std::uint16_t TEditorScreenStrings::DeleteRows(int row, int count) {
    if (row < 0 || count <= 0 || row + count > Count()) return 0;
    std::uint16_t marks = 0;
    for (int r = row; r < row + count; ++r) marks |= RowMarks(r);
    TEditScope scope(*this);
    DeleteRange(row, count);
    return marks;
}

void TEditorScreenStrings::PutRows(int row, int count, TEditorStringList& rows) {
    if (row < 0 || count < 0 || row + count > Count()) return;
    TEditScope scope(*this);
    const int n = count, m = rows.Count();
    // Marks the old rows hand to the new ones (new row, marks); a mark never
    // disappears while some row of the range remains. Only rows that carry
    // marks are visited.
    auto eachMarked = [](const TheStringList& list, int from, int to, auto&& take) {
        for (int r = list.FindNextWithAttribute2(from, rowbits::kRowMarksMask, to); r >= 0;
             r = list.FindNextWithAttribute2(r + 1, rowbits::kRowMarksMask, to))
            take(r);
    };
    std::vector<std::pair<int, std::uint16_t>> handed;
    if (m < n) {
        std::uint16_t surplus = 0;
        eachMarked(*this, row, row + n, [&](int r) {
            const int j = r - row;
            if (j < n - m) surplus |= RowMarks(r);
            else handed.emplace_back(j - (n - m), RowMarks(r));
        });
        if (m == 0) marksInUse_ &= static_cast<std::uint16_t>(~surplus);
        else if (surplus != 0) handed.emplace_back(0, surplus);
    } else {
        // A break typed at column 0 pushes the old first row down; typed
        // anywhere else, the row stays where its text begins.
        const TEditorClient* focused = FocusedEditor();
        const bool atColumn0 = focused == nullptr || focused->CaretCol() == 0;
        eachMarked(*this, row, row + n, [&](int r) {
            const int j = r - row;
            handed.emplace_back(j == 0 && m > n && !atColumn0 ? 0 : m - n + j, RowMarks(r));
        });
    }
    // A few rows are copied in place; more are taken over whole.
    constexpr int kCopiedRows = 64;
    if (m <= kCopiedRows) ReplaceFrom(row, n, rows, 0, m);
    else ReplaceTakingAll(row, n, rows);
    eachMarked(*this, row, row + m, [&](int r) { marksInUse_ |= RowMarks(r); });
    for (const auto& [k, marks] : handed) SetRowMarks(row + k, static_cast<std::uint16_t>(RowMarks(row + k) | marks));
}

void TEditorScreenStrings::DeleteWholeLines(int row, int count) {
    TUndoData& undo = undo_.BeginRecord();
    const TRowsText old = RowsText(row, count);
    undo.FirstRow = row;
    undo.OldText = old.text;
    undo.OldEnding = old.ending;
    undo.NewRowCount = 0;
    DeleteRowsPassingMarks(row, count);
    const int changed = UpdateStates(row, true);
    lastChange_ = {true, row, count, 0, changed};
}

void TEditorScreenStrings::DeleteRowsPassingMarks(int row, int count) {
    const std::uint16_t marks = DeleteRows(row, count);
    if (Count() > 0) {
        const int heir = std::min(row, Count() - 1);
        SetRowMarks(heir, static_cast<std::uint16_t>(RowMarks(heir) | marks));
    } else {
        marksInUse_ &= static_cast<std::uint16_t>(~marks);
    }
}

std::size_t TEditorScreenStrings::InRowEnd(int row, std::size_t head, std::size_t tail, std::string_view text) const {
    constexpr std::size_t npos = std::string_view::npos;
    // With word wrap on, a change may move the cuts of its line.
    if (wordWrap_ || row < 0 || row >= Count()) return npos;
    const TRowEnding ending = RowEnding(row);
    if (ending == reWrapped || (row > 0 && RowEnding(row - 1) == reWrapped)) return npos;
    if (text.find_first_of("\r\n") != npos) return npos;
    const std::size_t size = View(row).size(), bytes = RowsTextBytes(*this, row, row);
    if (head > size || tail > bytes - head || bytes - tail > size) return npos;
    const std::size_t end = bytes - tail;
    // A last row left empty without a break goes: a change of rows.
    if (ending == reNoBreak && size - (end - head) + text.size() == 0) return npos;
    return end;
}

void TEditorScreenStrings::SpliceRow(int row, std::size_t head, std::size_t end, std::string_view text,
                                     TUndoData& record) {
    TEditScope scope(*this);
    record.FirstRow = row;
    record.NewRowCount = 1;
    record.OldEnding = RowEnding(row);
    record.StoreOldPiece(View(row).substr(head, end - head), text, head, RowsTextBytes(*this, row, row) - end);
    PutPart(row, head, end - head, text);
    InvalidateRowState(row);
    const int changed = UpdateStates(row, true);
    lastChange_ = {true, row, 1, 1, changed};
}

void TEditorScreenStrings::RestoreRows(const TUndoData& record, TUndoData& inverse) {
    if (record.OldRows) {
        ApplySpans(record.Spans, *record.OldRows, inverse);
        return;
    }
    const int row = record.FirstRow;
    if (record.NewRowCount == 1 && record.OldEnding == RowEnding(row)) {
        // An edit inside one row goes back inside it (the shared parts are
        // cut as WholeOldText cuts them).
        const std::size_t bytes = RowsTextBytes(*this, row, row);
        const std::size_t head = std::min(record.SharedHead, bytes);
        const std::size_t tail = std::min(record.SharedTail, bytes - head);
        const std::size_t end = InRowEnd(row, head, tail, record.OldText);
        if (end != std::string_view::npos) {
            SpliceRow(row, head, end, record.OldText, inverse);
            return;
        }
    }
    TRowsText produced = record.NewRowCount > 0 ? RowsText(row, record.NewRowCount) : TRowsText{};
    TEditScope scope(*this);
    int restored = 0;
    if (record.OldEnding == reInvalid) {
        // The edit only added rows.
        DeleteRowsPassingMarks(row, produced.rowCount);
    } else {
        TEditorStringList scratch;
        SplitIntoRows(record.WholeOldText(produced.text), scratch);
        // Old rows that ended inside a line: a row end that the split sees
        // as the end of the text must not leave an empty row behind.
        if (record.OldEnding == reWrapped && scratch.Count() > 0 && scratch.View(scratch.Count() - 1).empty())
            scratch.Delete(scratch.Count() - 1);
        // An empty row without a break is a row all the same.
        if (scratch.Count() == 0) scratch.Add({});
        scratch.SetRowEnding(scratch.Count() - 1, record.OldEnding);
        restored = scratch.Count();
        PutRows(row, produced.rowCount, scratch);
    }
    const int changed = UpdateStates(row, true);
    lastChange_ = {true, row, produced.rowCount, restored, changed};
    inverse.FirstRow = row;
    inverse.NewRowCount = restored;
    inverse.OldEnding = produced.ending;
    const auto [head, tail] = SharedEnds(produced.text, row, restored);
    inverse.StoreOldText(std::move(produced.text), head, tail);
}

bool TEditorScreenStrings::ReplaceRows(int row, int count, std::string_view text) {
    const int n = Count();
    if (readOnly_ || row < 0 || count < 0 || row + count > n || (count == 0 && text.empty())) return false;
    TEditScope scope(*this);
    const int lastOld = row + count - 1;  // row - 1 for an insertion
    // A row after a reWrapped (or the final reNoBreak) row continues a line.
    // The line is rebuilt from its start: a cut anywhere before the change
    // may move (breaking after delimiters and the kinsoku rules look ahead
    // beyond the row's end), and only rows the new cuts leave alone are
    // kept below.
    const bool lineStart = row == 0 || RowEnding(row - 1) == reBreak;
    const int first = lineStart ? row : LineStartRow(row - 1);

    if (lineStart && text.empty() && count > 0 && LineEndRow(lastOld) == lastOld) {
        DeleteWholeLines(row, count);
        return true;
    }

    // How far the rebuilt text reaches and how its last row ends.
    const bool textEndsWithBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    int last;
    int ending;
    if (count == 0 && row < n) {
        last = LineEndRow(row);
        ending = RowEnding(last);
    } else if (count > 0 && LineEndRow(lastOld) > lastOld) {
        last = LineEndRow(lastOld);
        ending = RowEnding(last);
    } else if (count > 0 && lastOld < n - 1) {
        // Text without a final break joins the next line.
        last = LineEndRow(lastOld + 1);
        ending = RowEnding(last);
    } else {
        last = lastOld;  // the end of the text
        ending = textEndsWithBreak ? reBreak : reNoBreak;
    }

    // The text of the rebuilt lines; the given text itself when it covers
    // them (a large edit is not copied once more).
    std::string joined;
    if (first < row || row + count <= last) {
        if (first < row) joined = RowsText(first, row - first).text;
        joined.append(text);
        if (row + count <= last) joined.append(RowsText(row + count, last - (row + count) + 1).text);
    }
    const std::string_view newText = first < row || row + count <= last ? std::string_view(joined) : text;
    // Nothing left after the new text's last break (an empty last row
    // without one): that break ends the text, and is kept.
    if (ending == reNoBreak && !newText.empty() && (newText.back() == '\n' || newText.back() == '\r'))
        ending = reBreak;

    TEditorStringList scratch(BlockSize());
    SplitIntoRows(newText, scratch);
    if (scratch.Count() > 0) scratch.SetRowEnding(scratch.Count() - 1, ending);
    // Rows before the change that come out as they were stay in place.
    int kept = 0;
    while (first + kept < row && kept + 1 < scratch.Count() && scratch.View(kept) == View(first + kept) &&
           scratch.RowEnding(kept) == RowEnding(first + kept))
        ++kept;
    if (kept > 0) scratch.DeleteRange(0, kept);
    const int from = first + kept;
    const int oldCount = last - from + 1;

    TUndoData& undo = undo_.BeginRecord();
    undo.FirstRow = from;
    TRowsText old;
    if (oldCount > 0) {
        old = RowsText(from, oldCount);
        undo.OldEnding = old.ending;
    }
    const int newCount = scratch.Count();
    undo.NewRowCount = newCount;

    PutRows(from, oldCount, scratch);
    const auto [head, tail] = SharedEnds(old.text, from, newCount);
    undo.StoreOldText(std::move(old.text), head, tail);
    const int changed = UpdateStates(from, true);
    lastChange_ = {true, from, oldCount, newCount, changed};
    return true;
}

bool TEditorScreenStrings::ReplaceRows(int row, int count, std::size_t head, std::size_t tail,
                                       std::string_view text) {
    if (readOnly_ || row < 0 || count < 0 || row + count > Count()) return false;
    if (count == 1) {
        const std::size_t end = InRowEnd(row, head, tail, text);
        if (end != std::string_view::npos) {
            if (end == head && text.empty()) return false;
            // The text may be bytes of the rows themselves.
            const std::string put(text);
            SpliceRow(row, head, end, put, undo_.BeginRecord());
            return true;
        }
    }
    if (head == 0 && tail == 0) return ReplaceRows(row, count, text);
    std::string whole = RowsText(row, count).text;
    if (head > whole.size() || tail > whole.size() - head || (head + tail == whole.size() && text.empty()))
        return false;
    whole.replace(head, whole.size() - head - tail, text);
    return ReplaceRows(row, count, whole);
}

bool TEditorScreenStrings::ReplaceRowSpans(std::span<const TRowsSpan> spans, const TEditorStringList& rows) {
    if (readOnly_ || spans.empty()) return false;
    ApplySpans(spans, rows, undo_.BeginRecord());
    return true;
}

bool TEditorScreenStrings::ReplaceRowSpans(std::span<const TRowsSpan> spans, std::span<const std::string_view> texts) {
    if (readOnly_ || spans.empty()) return false;
    ApplySpans(spans, [&](TheStringList* old) { ReplaceSpans(spans, texts, old); }, undo_.BeginRecord());
    return true;
}

void TEditorScreenStrings::ApplySpans(std::span<const TRowsSpan> spans, const TEditorStringList& source,
                                      TUndoData& record) {
    // The source's rows keep their endings; marks are handed on here.
    ApplySpans(
        spans, [&](TheStringList* old) { ReplaceSpans(spans, source, rowbits::kRowEndingMask, 0, old); }, record);
}

void TEditorScreenStrings::ApplySpans(std::span<const TRowsSpan> spans,
                                      const std::function<void(TheStringList*)>& replace, TUndoData& record) {
    const int n = Count();
    for (const TRowsSpan& s : spans) {
        const int end = s.Row + s.Count;
        // Whole lines only: no span starts or ends inside a wrapped line.
        if (s.Row < 0 || end > n || (s.Row > 0 && s.Row < n && RowEnding(s.Row - 1) == reWrapped) ||
            (s.Count > 0 && end < n && RowEnding(end - 1) == reWrapped))
            throw EListError();
    }
    TEditScope scope(*this);
    // Where each span stands afterwards.
    std::vector<int> at(spans.size());
    int delta = 0;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        at[k] = spans[k].Row + delta;
        delta += spans[k].NewCount - spans[k].Count;
    }
    const int newCount = n + delta;
    // The row that takes the marks of span k's rows when it leaves none: the
    // row then in its place. At the end of the text it is the row before,
    // as if the spans were made from the last: rows inserted in front of
    // the span come after its marks have passed them, and a span before
    // that leaves no row either hands them on to what was inserted behind
    // it. -1: no row is left to take them.
    auto heirOf = [&](std::size_t k) {
        if (at[k] < newCount) return at[k];
        for (std::size_t i = k;;) {
            const bool inserted = i > 0 && spans[i - 1].Count == 0 && spans[i - 1].Row == spans[i].Row;
            const std::size_t p = inserted ? i - 1 : i;
            if (p > 0 && spans[p - 1].Count > 0 && spans[p - 1].Row + spans[p - 1].Count == spans[i].Row) {
                if (spans[p - 1].NewCount > 0) return at[p - 1] + spans[p - 1].NewCount - 1;
                if (inserted) return at[p];
                i = p - 1;
                continue;
            }
            return spans[i].Row == 0 ? -1 : at[p] - 1;
        }
    };
    // The marked rows among the replaced ones (marks are rare: found by a
    // scan over the words) and the new row each hands its marks to.
    std::vector<std::pair<int, std::uint16_t>> handed;
    const int first = spans.front().Row, oldEnd = spans.back().Row + spans.back().Count;
    if (marksInUse_ != 0) {
        std::size_t k = 0;
        for (int r = FindNextWithAttribute2(first, rowbits::kRowMarksMask, oldEnd); r >= 0;
             r = FindNextWithAttribute2(r + 1, rowbits::kRowMarksMask, oldEnd)) {
            while (k < spans.size() && spans[k].Row + spans[k].Count <= r) ++k;
            if (k == spans.size()) break;
            const TRowsSpan& s = spans[k];
            if (r < s.Row) continue;
            handed.emplace_back(s.NewCount > 0 ? at[k] + std::min(r - s.Row, s.NewCount - 1) : heirOf(k), RowMarks(r));
        }
    }
    auto old = std::make_shared<TEditorStringList>(BlockSize());
    replace(old.get());
    for (const auto& [row, marks] : handed) {
        if (Count() == 0) marksInUse_ &= static_cast<std::uint16_t>(~marks);
        if (row < 0 || row >= Count()) continue;
        SetRowMarks(row, static_cast<std::uint16_t>(RowMarks(row) | marks));
    }
    // What undoes it: the same spans where they stand now, the other way.
    record.Spans.clear();
    record.Spans.reserve(spans.size());
    for (std::size_t k = 0; k < spans.size(); ++k) record.Spans.push_back({at[k], spans[k].NewCount, spans[k].Count});
    record.OldRows = std::move(old);
    const int newEnd = oldEnd + delta;
    record.FirstRow = first;
    record.NewRowCount = newEnd - first;
    // States below the first change may no longer hold.
    if (first < Count()) MaskAttributesFrom(first, rowbits::kRowEndingMask, rowbits::kRowMarksMask);
    const int changed = UpdateStates(first, true);
    lastChange_ = {true, first, oldEnd - first, newEnd - first, changed};
}

// ---------------------------------------------------------------- row states

int TEditorScreenStrings::StateLookaheadRows() const {
    const TEditorClient* owner = Owner();
    if (owner == nullptr || owner->RowHeight() <= 0) return 0;
    return 2 * std::max(0, owner->ScreenHeight() / owner->RowHeight());
}

// Recomputes states from the nearest computed row above `row` down to
// `limit`, stopping at the first row that already holds the state it gets.
// Rows beyond the limit are left not computed. Returns the rows changed.
int TEditorScreenStrings::ScanStates(int row, int limit, bool notify, bool maskBeyond) {
    TRowStateParser* parser = Owner() ? Owner()->RowStateParser() : nullptr;
    if (parser == nullptr || row < 0 || row >= Count()) return 0;
    limit = std::min(limit, Count() - 1);
    const int valid = FindPrevWithAttribute1(row - 1, rowbits::kBracketIndexMask);
    int r;
    TRowParseState state;
    parser->SetCountBrackets(keepDepths_);
    // Every row scanned here gets the state of the row after it; a row
    // keeps its balance with it, so that a computed state below a row
    // vouches for the row's balance.
    // The rows are scanned in order, their texts read through one cursor
    // (writing states and balances leaves the texts where they are).
    TheStringList::TRowCursor texts(*this, std::max(valid, 0));
    const int key = parser->KeyByte();
    // start.RowEnding is that of row `at`, the cursor's row.
    auto scan = [&](int at, const TRowParseState& start) {
        const std::string_view text = texts.Text();
        // A token cut by a soft wrap is scanned whole, with the next row.
        TRowParseState next;
        if (start.RowEnding == reWrapped && at + 1 < Count()) {
            next = parser->ScanWrappedRow(text, start, View(at + 1), RowEnding(at + 1));
        } else {
            if (key >= 0 && !texts.Holds(static_cast<char>(key))) parser->NextRowLacksKey();
            next = parser->ScanRow(text, start);
        }
        texts.Next();
        next.PrevRowEnding = start.RowEnding;
        if (keepDepths_) SetBracketBalance(at, parser->RowBalance());
        return next;
    };
    if (valid < 0) {
        r = 0;
        state = InitialRowState(RowEnding(0));
    } else {
        r = valid + 1;
        state = scan(valid, RowState(valid));
    }
    int changed = 0, firstChanged = -1, lastChanged = -1;
    for (; r <= limit; ++r) {
        const TRowParseState stored = RowState(r);
        if (state.SameStateAs(stored)) break;
        SetRowState(r, state);
        state.RowEnding = stored.RowEnding;
        ++changed;
        if (firstChanged < 0) firstChanged = r;
        lastChanged = r;
        // No row after the last one needs a state: a long last line is not
        // scanned again on every keystroke.
        if (r + 1 < Count()) state = scan(r, state);
    }
    if (maskBeyond && r > limit && limit + 1 < Count())
        MaskAttributesFrom(limit + 1, rowbits::kRowEndingMask, rowbits::kRowMarksMask);
    if (notify && changed > 0)
        for (TEditorClient* e : editors_) e->InvalidateRows(firstChanged, lastChanged);
    return changed;
}

int TEditorScreenStrings::UpdateStates(int row, bool notify) {
    // States are known from the top without gaps: below a row whose state
    // is not known, none is, and they are computed when a row is asked for.
    // An edit there scans nothing (a command that edits all down a large
    // text would otherwise tokenize everything above each edit).
    if (row > 0 && row <= Count() && !StateComputed(row - 1)) return 0;
    return ScanStates(row, row + StateLookaheadRows(), notify);
}

void TEditorScreenStrings::UpdateAllStates() {
    if (Count() == 0) return;
    MaskAttributesFrom(0, rowbits::kRowEndingMask, rowbits::kRowMarksMask);
    const TEditorClient* owner = Owner();
    if (owner == nullptr) return;
    const int limit = owner->InitBracketsFull() ? Count() - 1 : owner->TopRow() + StateLookaheadRows();
    ScanStates(0, limit, false);
}

namespace {
constexpr int kEnsureStateAhead = 255;
}  // namespace

TRowParseState TEditorScreenStrings::EnsureRowState(int row) {
    if (row < 0 || row >= Count()) return InitialRowState(reInvalid);
    // Rows between the nearest computed row and this one are all not
    // computed, so the scan cannot stop before reaching it. States are known
    // from the top without gaps, so the rows below are not computed either:
    // a stretch ahead is computed too, so that a pass down the document
    // scans each row once, and nothing below needs forgetting (masking to
    // the end on every row made such a pass quadratic). Should a computed
    // row follow the stretch all the same, the rows from there are forgotten.
    if (!StateComputed(row)) {
        const int limit = std::min(row + kEnsureStateAhead, Count() - 1);
        ScanStates(row, limit, false, limit + 1 < Count() && StateComputed(limit + 1));
    }
    return RowState(row);
}

// ---------------------------------------------------------------- whole text

void TEditorScreenStrings::ClearAll() {
    TEditScope scope(*this);
    Clear();
    undo_.ClearHistory();
    lastChange_ = {};
    marksInUse_ = 0;
    for (TEditorClient* e : editors_) e->PlaceCaret(0, 0);
}

void TEditorScreenStrings::FinishFullChange() {
    if (wordWrap_) RebuildRows(true);
    UpdateAllStates();
    for (TEditorClient* e : editors_) e->InvalidateAll();
}

// ---------------------------------------------------------------- word wrap

void TEditorScreenStrings::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    Rewrap(value);
}

void TEditorScreenStrings::SetTabSpaceCount(int value) {
    value = std::max(value, 1);
    if (value == tabSpaceCount_) return;
    tabSpaceCount_ = value;
    if (wordWrap_) WrapAll();
    else layout_.tabSpaceCount = value;
}

void TEditorScreenStrings::WrapAll() { Rewrap(true); }

void TEditorScreenStrings::UnwrapAll() { Rewrap(false); }

void TEditorScreenStrings::Rewrap(bool wrap) {
    TEditScope scope(*this, false);
    // Carets (byte offsets in their rows) and top rows are held as text
    // positions across the new rows.
    std::vector<std::pair<TLinePos, int>> views;
    for (const TEditorClient* e : editors_)
        views.emplace_back(RowOffsetToLinePos(*this, e->CaretRow(), e->CaretCol()), RowToLine(e->TopRow()));
    RebuildRows(wrap);
    undo_.ClearHistory();
    lastChange_ = {};
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        const TRowOffset caret = LinePosToRowOffset(*this, views[i].first.Line, views[i].first.Offset);
        editors_[i]->SetTopRow(LineToRow(views[i].second));
        editors_[i]->PlaceCaret(caret.Row, caret.Offset);
    }
    UpdateAllStates();
    for (TEditorClient* e : editors_) e->InvalidateAll();
}

void TEditorScreenStrings::SetAllText(std::string_view text) {
    TEditScope scope(*this);
    ClearAll();
    if (AppendLines(text, *this)) SetRowEnding(Count() - 1, reNoBreak);
    FinishFullChange();
}

std::string TEditorScreenStrings::AllText(std::string_view lineBreak) const {
    return RowsText(0, Count(), lineBreak).text;
}

TLoadResult TEditorScreenStrings::LoadFromFile(const std::string& path, TReadEncoding encoding) {
    return LoadFrom([&](TheStringList& rows) { return AppendFileLines(path, rows, encoding); });
}

TLoadResult TEditorScreenStrings::LoadFrom(const std::function<TLoadResult(TheStringList&)>& read) {
    TEditScope scope(*this);
    ClearAll();
    fileTail_.clear();
    TLoadResult result;
    try {
        result = read(*this);
    } catch (...) {
        Clear();
        for (TEditorClient* e : editors_) e->InvalidateAll();
        throw;
    }
    fileFormat_ = result.Format;
    fileTail_ = std::move(result.Tail);
    saveBlocked_ = result.Problem && result.Problem->Kind == TLoadProblem::lpNoForm;
    // Read-only because of what the last load met, not by the user's choice.
    if (result.Problem || problemReadOnly_) readOnly_ = result.Problem.has_value();
    problemReadOnly_ = result.Problem.has_value();
    FinishFullChange();
    return result;
}

std::optional<std::string> TEditorScreenStrings::FileBytes(int* badLine) const {
    const std::string_view lineBreak = LineBreakBytes(fileFormat_.Break);
    if (fileFormat_.Encoding == TTextEncoding::ShiftJis) {
        std::string out;
        out.reserve((Count() > 0 ? RowsTextBytes(*this, 0, Count() - 1, lineBreak.size()) : 0) + fileTail_.size());
        PutFileBytes([&](std::string_view bytes) { out += bytes; });
        return out;
    }
    // Converted row by row straight from the blocks: the text is not built
    // in Shift-JIS first.
    std::string out(fileFormat_.Encoding == TTextEncoding::Utf8Bom ? kUtf8Bom : std::string_view());
    if (Count() == 0) return out += fileTail_;
    TUtf8Writer writer(out, RowsTextBytes(*this, 0, Count() - 1, lineBreak.size()), fileFormat_.Variants);
    int line = 1;
    bool bad = false;
    EachPackedBlock(*this, 0, Count() - 1, [&](const TPackedRows& p, int first, int end) {
        for (int i = first; i <= end && !bad; ++i) {
            const bool withBreak = PackedEnding(p, i) == reBreak;
            bad = !writer.PutRow(p.Text(i), withBreak ? lineBreak : std::string_view());
            if (!bad && withBreak) ++line;
        }
    });
    writer.Finish();
    if (!bad) return out += fileTail_;
    if (badLine) *badLine = line;
    return std::nullopt;
}

namespace {
constexpr std::size_t kPutDirectBytes = 65536;
}  // namespace

bool TEditorScreenStrings::PutFileBytes(const std::function<void(std::string_view)>& put, int* badLine) const {
    if (fileFormat_.Encoding != TTextEncoding::ShiftJis) {
        const std::optional<std::string> bytes = FileBytes(badLine);
        if (bytes) put(*bytes);
        return bytes.has_value();
    }
    const std::string_view lineBreak = LineBreakBytes(fileFormat_.Break);
    std::string piece;
    if (Count() > 0) {
        EachPackedBlock(*this, 0, Count() - 1, [&](const TPackedRows& p, int first, int end) {
            piece.clear();
            for (int i = first; i <= end; ++i) {
                const std::string_view text = p.Text(i);
                // A long row goes as it stands, not copied.
                if (text.size() >= kPutDirectBytes) {
                    if (!piece.empty()) put(piece);
                    piece.clear();
                    put(text);
                } else {
                    piece += text;
                }
                if (PackedEnding(p, i) == reBreak) piece += lineBreak;
            }
            if (!piece.empty()) put(piece);
        });
    }
    if (!fileTail_.empty()) put(fileTail_);
    return true;
}

}  // namespace quodle
