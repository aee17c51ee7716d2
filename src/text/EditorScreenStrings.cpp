#include "text/EditorScreenStrings.h"

#include <algorithm>

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
    return std::min(NthUntallied(line - 1) + 1, Count());
}

int TEditorStringList::RowToLine(int row) const {
    row = std::clamp(row, 0, Count());
    return row - TalliedBefore(row);
}

TEditorStringList::TRowsText TEditorStringList::RowsText(int row, int count) const {
    TRowsText result;
    if (row < 0 || row >= Count()) return result;
    const int last = count < 0 ? LineEndRow(row) : std::min(Count() - 1, row + count - 1);
    std::size_t bytes = 0;
    for (int r = row; r <= last; ++r) bytes += View(r).size() + 2;
    result.text.reserve(bytes);
    for (int r = row; r <= last; ++r) {
        result.text.append(View(r));
        result.ending = RowEnding(r);
        if (result.ending == reBreak) result.text.append("\r\n");
    }
    result.rowCount = std::max(0, last - row + 1);
    return result;
}

namespace {

// A row's bytes in the text of rows: its own and its CR LF.
std::size_t RowTextBytes(const TEditorStringList& rows, int row) {
    return rows.View(row).size() + (rows.RowEnding(row) == reBreak ? 2 : 0);
}

}  // namespace

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
}

bool TEditorScreenStrings::Detach(TEditorClient* editor) {
    editors_.erase(std::remove(editors_.begin(), editors_.end(), editor), editors_.end());
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

void TEditorScreenStrings::PutRows(int row, int count, const TEditorStringList& rows) {
    if (row < 0 || count < 0 || row + count > Count()) return;
    TEditScope scope(*this);
    const int n = count, m = rows.Count();
    // Marks the old rows hand to the new ones; a mark never disappears
    // while some row of the range remains.
    std::vector<std::uint16_t> marks(static_cast<std::size_t>(m), 0);
    auto old = [&](int j) { return RowMarks(row + j); };
    if (m < n) {
        std::uint16_t surplus = 0;
        for (int j = 0; j < n - m; ++j) surplus |= old(j);
        if (m == 0) marksInUse_ &= static_cast<std::uint16_t>(~surplus);
        else marks[0] |= surplus;
        for (int k = 0; k < m; ++k) marks[static_cast<std::size_t>(k)] |= old(n - m + k);
    } else if (m == n) {
        for (int k = 0; k < m; ++k) marks[static_cast<std::size_t>(k)] = old(k);
    } else {
        for (int j = 1; j < n; ++j) marks[static_cast<std::size_t>(m - n + j)] |= old(j);
        if (n > 0) {
            // A break typed at column 0 pushes the old first row down; typed
            // anywhere else, the row stays where its text begins.
            const TEditorClient* focused = FocusedEditor();
            const bool atColumn0 = focused == nullptr || focused->CaretCol() == 0;
            marks[static_cast<std::size_t>(atColumn0 ? m - n : 0)] |= old(0);
        }
    }
    ReplaceFrom(row, n, rows, 0, m);
    for (int k = 0; k < m; ++k) {
        const std::uint16_t own = RowMarks(row + k);
        marksInUse_ |= own;
        if (marks[static_cast<std::size_t>(k)] != 0)
            SetRowMarks(row + k, static_cast<std::uint16_t>(own | marks[static_cast<std::size_t>(k)]));
    }
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
    const std::size_t size = View(row).size(), bytes = RowTextBytes(*this, row);
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
    record.StoreOldText(View(row).substr(head, end - head), text, head, RowTextBytes(*this, row) - end);
    PutPart(row, head, end - head, text);
    InvalidateRowState(row);
    const int changed = UpdateStates(row, true);
    lastChange_ = {true, row, 1, 1, changed};
}

void TEditorScreenStrings::RestoreRows(const TUndoData& record, TUndoData& inverse) {
    const int row = record.FirstRow;
    if (record.NewRowCount == 1 && record.OldEnding == RowEnding(row)) {
        // An edit inside one row goes back inside it (the shared parts are
        // cut as WholeOldText cuts them).
        const std::size_t bytes = RowTextBytes(*this, row);
        const std::size_t head = std::min(record.SharedHead, bytes);
        const std::size_t tail = std::min(record.SharedTail, bytes - head);
        const std::size_t end = InRowEnd(row, head, tail, record.OldText);
        if (end != std::string_view::npos) {
            SpliceRow(row, head, end, record.OldText, inverse);
            return;
        }
    }
    const TRowsText produced = record.NewRowCount > 0 ? RowsText(row, record.NewRowCount) : TRowsText{};
    TEditScope scope(*this);
    int restored = 0;
    std::string old;
    if (record.OldEnding == reInvalid) {
        // The edit only added rows.
        DeleteRowsPassingMarks(row, produced.rowCount);
    } else {
        old = record.WholeOldText(produced.text);
        TEditorStringList scratch;
        SplitIntoRows(old, scratch);
        // Old rows that ended inside a line: a row end that the split sees
        // as the end of the text must not leave an empty row behind.
        if (record.OldEnding == reWrapped && scratch.Count() > 0 && scratch.View(scratch.Count() - 1).empty())
            scratch.Delete(scratch.Count() - 1);
        // An empty row without a break is a row all the same.
        if (scratch.Count() == 0) scratch.Add({});
        scratch.SetRowEnding(scratch.Count() - 1, record.OldEnding);
        PutRows(row, produced.rowCount, scratch);
        restored = scratch.Count();
    }
    const int changed = UpdateStates(row, true);
    lastChange_ = {true, row, produced.rowCount, restored, changed};
    inverse.FirstRow = row;
    inverse.NewRowCount = restored;
    inverse.OldEnding = produced.ending;
    inverse.StoreOldText(produced.text, restored > 0 ? RowsText(row, restored).text : std::string());
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

    std::string newText;
    if (first < row) newText = RowsText(first, row - first).text;
    newText.append(text);
    if (row + count <= last) newText.append(RowsText(row + count, last - (row + count) + 1).text);
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
    undo.NewRowCount = scratch.Count();

    PutRows(from, oldCount, scratch);
    undo.StoreOldText(old.text, scratch.Count() > 0 ? RowsText(from, scratch.Count()).text : std::string());
    const int changed = UpdateStates(from, true);
    lastChange_ = {true, from, oldCount, scratch.Count(), changed};
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
    auto scan = [&](int at, TRowParseState start) {
        start.RowEnding = RowEnding(at);
        // A token cut by a soft wrap is scanned whole, with the next row.
        TRowParseState next = start.RowEnding == reWrapped && at + 1 < Count()
                                  ? parser->ScanWrappedRow(View(at), start, View(at + 1), RowEnding(at + 1))
                                  : parser->ScanRow(View(at), start);
        next.PrevRowEnding = start.RowEnding;
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
        if (state.SameStateAs(RowState(r))) break;
        SetRowState(r, state);
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

std::string TEditorScreenStrings::AllText() const {
    std::string text;
    const int n = Count();
    text.reserve(TextBytes() + 2 * static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        text.append(View(r));
        if (RowEnding(r) == reBreak) text.append("\r\n");
    }
    return text;
}

void TEditorScreenStrings::LoadFromFile(const std::string& path) {
    TEditScope scope(*this);
    ClearAll();
    try {
        AppendFileLines(path, *this);
    } catch (...) {
        Clear();
        for (TEditorClient* e : editors_) e->InvalidateAll();
        throw;
    }
    FinishFullChange();
}

}  // namespace quodle
