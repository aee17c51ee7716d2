#include "editor/EditorEdits.h"

#include <algorithm>

#include "base/ShiftJis.h"
#include "editor/EditorCaret.h"

namespace quodle {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string Spaces(int count) { return std::string(static_cast<std::size_t>(std::max(0, count)), ' '); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsBlankText(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlank); }

bool IsLineStart(const TEditorStringList& rows, int row) { return row == 0 || rows.RowEnding(row - 1) != reWrapped; }

bool HasBreak(std::string_view text) { return text.find_first_of(kCrLf) != std::string_view::npos; }

// Cells of the character at byte i of a row that starts on `column`.
int CellsAt(std::string_view row, std::size_t i, int column, const TCellLayout& layout) {
    return row[i] == '\t' ? TabWidthAt(column, layout) : static_cast<int>(CharLengthAt(row, i));
}

}  // namespace

// ---------------------------------------------------------------- the patch

TRowsPatch::TRowsPatch(const TEditorStringList& rows, int first, int last) : rows_(rows) {
    const int n = rows.Count();
    const int lastCaret = LastCaretRow(rows);
    first = std::clamp(first, 0, lastCaret);
    last = std::clamp(last, first, lastCaret);
    first_ = first < n ? rows.LineStartRow(first) : first;
    const int lastReal = last < n ? rows.LineEndRow(last) : n - 1;
    realCount_ = std::max(0, lastReal - first_ + 1);
    for (int r = first_; r <= lastReal; ++r) {
        starts_.push_back(size_);
        size_ += rows.View(r).size() + (rows.RowEnding(r) == reBreak ? kCrLf.size() : 0);
    }
    if (last == n) starts_.push_back(size_);  // the row after the last
}

std::size_t TRowsPatch::PosOf(int row, int offset) const {
    const std::size_t i = static_cast<std::size_t>(std::clamp(row - first_, 0, static_cast<int>(starts_.size()) - 1));
    return std::min(starts_[i] + static_cast<std::size_t>(std::max(0, offset)), RowEndPos(first_ + static_cast<int>(i)));
}

std::size_t TRowsPatch::RowEndPos(int row) const {
    const int i = std::clamp(row - first_, 0, static_cast<int>(starts_.size()) - 1);
    // Up to the row's break, if it has one; the row after the last is empty.
    const std::size_t start = starts_[static_cast<std::size_t>(i)];
    return i < realCount_ ? start + rows_.View(first_ + i).size() : start;
}

void TRowsPatch::AppendOld(std::string& out, std::size_t from, std::size_t to) const {
    if (from >= to) return;
    out.reserve(out.size() + (to - from));
    std::size_t i = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), from) - starts_.begin()) - 1;
    for (; static_cast<int>(i) < realCount_ && starts_[i] < to; ++i) {
        const int r = first_ + static_cast<int>(i);
        const std::string_view text = rows_.View(r);
        const std::string_view brk = rows_.RowEnding(r) == reBreak ? kCrLf : std::string_view();
        // The part of the row's bytes and of its break that lies in the range.
        const std::size_t a = std::max(from, starts_[i]) - starts_[i];
        const std::size_t b = to - starts_[i];
        const std::size_t length = text.size();
        if (a < length) out.append(text.substr(a, b - a));
        const std::size_t breakFrom = std::max(a, length) - length;
        const std::size_t breakTo = std::min(std::max(b, length) - length, brk.size());
        if (breakFrom < breakTo) out.append(brk.substr(breakFrom, breakTo - breakFrom));
    }
}

void TRowsPatch::Replace(std::size_t pos, std::size_t length, std::string_view text) {
    pos = std::min(pos, size_);
    length = std::min(length, size_ - pos);
    pieces_.push_back({pos, length, std::string(text)});
}

std::size_t TRowsPatch::NewPos(std::size_t pos, bool afterInserted) const {
    std::ptrdiff_t delta = 0;
    for (const TPiece& p : pieces_) {
        if (p.Pos > pos) break;
        const std::size_t newStart = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(p.Pos) + delta);
        if (p.Pos == pos) return newStart + (afterInserted ? p.Text.size() : 0);
        if (p.Pos + p.Length > pos) return newStart + p.Text.size();
        delta += static_cast<std::ptrdiff_t>(p.Text.size()) - static_cast<std::ptrdiff_t>(p.Length);
    }
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(pos) + delta);
}

std::optional<TRowsEdit> TRowsPatch::Build(std::size_t caret) const {
    if (pieces_.empty()) return std::nullopt;
    // Only the stretch from the first replacement to the end of the last
    // is carried; the rest of the lines stays where it is.
    const std::size_t head = pieces_.front().Pos;
    const std::size_t end = pieces_.back().Pos + pieces_.back().Length;
    std::string text;
    std::size_t at = head;
    for (const TPiece& p : pieces_) {
        AppendOld(text, at, p.Pos);
        text.append(p.Text);
        at = p.Pos + p.Length;
    }
    std::string old;
    AppendOld(old, head, end);
    if (text == old) return std::nullopt;
    return TRowsEdit{first_, realCount_, std::move(text), caret, head, size_ - end};
}

void ApplyEdit(TEditorScreenStrings& rows, const TRowsEdit& edit) {
    rows.ReplaceRows(edit.Row, edit.Count, edit.Head, edit.Tail, edit.Replacement);
}

std::string EditedText(const TEditorStringList& rows, const TRowsEdit& edit) {
    std::string text = edit.Count > 0 ? rows.RowsText(edit.Row, edit.Count).text : std::string();
    const std::size_t head = std::min(edit.Head, text.size());
    return text.replace(head, text.size() - head - std::min(edit.Tail, text.size() - head), edit.Replacement);
}

TRowOffset CaretAfterEdit(const TEditorStringList& rows, const TRowsEdit& edit) {
    return PositionOfTextOffset(rows, static_cast<std::int64_t>(edit.Caret), edit.Row);
}

// ---------------------------------------------------------------- helpers

int IndentWidth(std::string_view row, const TCellLayout& layout) {
    int width = 0;
    for (char c : row) {
        if (c == ' ') ++width;
        else if (c == '\t') width += TabWidthAt(width, layout);
        else break;
    }
    return width;
}

std::string IndentText(int width, const TEditorCaretProp& caret) {
    if (!caret.TabIndent || caret.TabSpaceCount <= 0) return Spaces(width);
    return std::string(static_cast<std::size_t>(width / caret.TabSpaceCount), '\t') +
           Spaces(width % caret.TabSpaceCount);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool StartsShown(const TEditorStringList& rows, const TCellLayout& layout, TRowOffset pos) {
    return TEditorAttributeArray(RowTextOrEmpty(rows, pos.Row), layout).OffsetToColumn(pos.Offset) < kMaxMappedCells;
}

// ---------------------------------------------------------------- insertion

std::optional<TRowsEdit> InsertTextEdit(const TEditorStringList& rows, const TCellLayout& layout, TCellPos caret,
                                        std::string_view text, bool overwrite) {
    if (text.empty()) return std::nullopt;
    // Cells from kMaxMappedCells on are never shown, and the caret cannot
    // follow text put there: each further character would land before the
    // last. Only a break may go there, starting a row that shows.
    if (caret.Col >= kMaxMappedCells && text.front() != '\r' && text.front() != '\n') return std::nullopt;
    const int row = std::clamp(caret.Row, 0, LastCaretRow(rows));
    TRowsPatch patch(rows, row, row);
    const std::string_view rowText = RowTextOrEmpty(rows, row);
    const TEditorAttributeArray map = RowMapThrough(rowText, layout, caret.Col);
    if (caret.Col >= map.Width()) {
        // At or past the end: the row is padded up to the caret.
        const std::size_t end = patch.RowEndPos(row);
        patch.Replace(end, 0, Spaces(caret.Col - map.Width()) + std::string(text));
        return patch.Build(patch.NewPos(end));
    }
    const int offset = map.ColumnToOffset(map.CharStart(caret.Col));
    const std::size_t pos = patch.PosOf(row, offset);
    if (!overwrite || HasBreak(text)) {
        patch.Replace(pos, 0, text);
        return patch.Build(patch.NewPos(pos));
    }
    // Overwrite: take as many cells as the text is wide, on into the
    // following soft-wrapped rows of the line.
    const int width = ExpandedWidth(text, TCellLayout{layout.tabSpaceCount, 0});
    int r = row, o = offset, column = map.CharStart(caret.Col), cells = 0;
    while (cells < width) {
        const std::string_view t = RowTextOrEmpty(rows, r);
        if (static_cast<std::size_t>(o) >= t.size()) {
            if (r >= rows.Count() || rows.RowEnding(r) != reWrapped) break;
            ++r;
            o = 0;
            column = 0;
            continue;
        }
        const int c = CellsAt(t, static_cast<std::size_t>(o), column, layout);
        cells += c;
        column += c;
        o += static_cast<int>(CharLengthAt(t, static_cast<std::size_t>(o)));
    }
    const std::size_t end = patch.PosOf(r, o);
    patch.Replace(pos, end - pos, std::string(text) + Spaces(cells - width));
    return patch.Build(pos + text.size());
}

std::optional<TRowsEdit> ReplaceStreamEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                           const TStreamRange& range, std::string_view text) {
    if (!StartsShown(rows, layout, range.Start)) return std::nullopt;
    TRowsPatch patch(rows, range.Start.Row, range.End.Row);
    const std::size_t from = patch.PosOf(range.Start.Row, range.Start.Offset);
    const std::size_t to = std::max(from, patch.PosOf(range.End.Row, range.End.Offset));
    patch.Replace(from, to - from, text);
    return patch.Build(patch.NewPos(from));
}

std::optional<TRowsEdit> MoveTextEdit(const TEditorStringList& rows, const TCellLayout& layout,
                                      const TStreamRange& range, TCellPos target) {
    if (target.Col >= kMaxMappedCells || !StartsShown(rows, layout, range.Start)) return std::nullopt;
    const int row = std::clamp(target.Row, 0, LastCaretRow(rows));
    TRowsPatch patch(rows, std::min(range.Start.Row, row), std::max(range.End.Row, row));
    const std::size_t from = patch.PosOf(range.Start.Row, range.Start.Offset);
    const std::size_t to = std::max(from, patch.PosOf(range.End.Row, range.End.Offset));
    const TEditorAttributeArray map = RowMapThrough(RowTextOrEmpty(rows, row), layout, target.Col);
    const bool pastEnd = target.Col > map.Width();
    const std::size_t at =
        pastEnd ? patch.RowEndPos(row) : patch.PosOf(row, map.ColumnToOffset(map.CharStart(target.Col)));
    if (from == to || (from < at && at < to)) return std::nullopt;
    const std::string moved = Spaces(pastEnd ? target.Col - map.Width() : 0) + StreamText(rows, range);
    // The pieces go in ascending order.
    if (at <= from) {
        patch.Replace(at, 0, moved);
        patch.Replace(from, to - from, {});
    } else {
        patch.Replace(from, to - from, {});
        patch.Replace(at, 0, moved);
    }
    return patch.Build(patch.NewPos(at));
}

std::optional<TRowsEdit> ReplaceBoxEdit(const TEditorStringList& rows, const TCellLayout& layout, const TBoxRange& box,
                                        std::string_view text) {
    if (box.Left >= kMaxMappedCells) return std::nullopt;
    const int top = std::clamp(box.Top, 0, LastCaretRow(rows));
    const int bottom = std::clamp(box.Bottom, top, LastCaretRow(rows));
    TRowsPatch patch(rows, top, bottom);
    std::size_t caret = 0;
    for (int r = top; r <= bottom; ++r) {
        const TByteSpan part = BoxPartOfRow(RowTextOrEmpty(rows, r), layout, box.Left, box.Right);
        const std::size_t from = patch.PosOf(r, part.Begin);
        if (r != top) {
            patch.Replace(from, static_cast<std::size_t>(part.End - part.Begin), {});
            continue;
        }
        // The text goes in at the box's left column, padding a short row.
        const TEditorAttributeArray map = RowMapThrough(RowTextOrEmpty(rows, r), layout, box.Left);
        const std::string pad = text.empty() ? std::string() : Spaces(box.Left - map.Width());
        patch.Replace(from, static_cast<std::size_t>(part.End - part.Begin), pad + std::string(text));
        caret = from + pad.size() + text.size();
    }
    // The top row comes first: nothing before it moved.
    return patch.Build(caret);
}

// ---------------------------------------------------------------- keys

TEditOutcome EnterKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                      TCellPos pos, bool shift, bool overwrite) {
    const int n = rows.Count();
    const int row = std::clamp(pos.Row, 0, LastCaretRow(rows));
    if (row >= n) {
        // The row after the last: a break is appended.
        TRowsPatch patch(rows, row, row);
        const std::size_t end = patch.Size();
        patch.Replace(end, 0, kCrLf);
        return {patch.Build(patch.NewPos(end)), std::nullopt};
    }
    if (overwrite) return {std::nullopt, TCellPos{std::min(row + 1, LastCaretRow(rows)), 0}};

    const int lineStart = rows.LineStartRow(row);
    int indent = 0;
    if (caret.AutoIndent) {
        indent = IndentWidth(rows.View(lineStart), layout);
        if (row == lineStart && pos.Col < indent) indent = pos.Col;
        if (indent == 0 && caret.PrevSpaceIndent && row == lineStart && rows.View(row).empty()) {
            for (int r = lineStart - 1; r >= 0; --r) {
                r = rows.LineStartRow(r);
                if (!rows.View(r).empty()) {
                    indent = IndentWidth(rows.View(r), layout);
                    break;
                }
            }
        }
    }
    const std::string indentText = IndentText(indent, caret);
    TRowsPatch patch(rows, row, row);
    if (shift) {
        const std::size_t at = patch.PosOf(lineStart, 0);
        patch.Replace(at, 0, indentText + std::string(kCrLf));
        return {patch.Build(at + indentText.size()), std::nullopt};
    }
    const std::size_t at = patch.PosOf(row, OffsetOfCol(rows, layout, row, pos.Col));
    patch.Replace(at, 0, std::string(kCrLf) + indentText);
    return {patch.Build(patch.NewPos(at)), std::nullopt};
}

TEditOutcome TabKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                    TCellPos pos, bool overwrite) {
    const int width = TabWidthAt(pos.Col, layout);
    if (overwrite) return {std::nullopt, TCellPos{pos.Row, pos.Col + width}};
    return {InsertTextEdit(rows, layout, pos, caret.SoftTab ? Spaces(width) : std::string("\t"), false),
            std::nullopt};
}

TEditOutcome BackspaceKey(const TEditorStringList& rows, const TCellLayout& layout, const TEditorCaretProp& caret,
                          TCellPos pos) {
    const int row = std::clamp(pos.Row, 0, LastCaretRow(rows));
    if (pos.Col <= 0) {
        if (row == 0) return {};
        const int prev = row - 1;
        TRowsPatch patch(rows, prev, row);
        if (rows.RowEnding(prev) == reWrapped) {
            // Within one line: the last character of the row above goes.
            const std::string_view t = rows.View(prev);
            const TEditorAttributeArray map = WholeRowMap(t, layout);
            const int from = map.ColumnToOffset(map.CharStart(map.Width() - 1));
            const std::size_t at = patch.PosOf(prev, from);
            patch.Replace(at, t.size() - static_cast<std::size_t>(from), {});
            return {patch.Build(at), std::nullopt};
        }
        // The row's text would go on after the row above, out of sight when
        // that one fills the shown cells; an empty row just goes.
        if (!RowTextOrEmpty(rows, row).empty() && WiderThan(rows.View(prev), layout, kMaxMappedCells - 1)) return {};
        const std::size_t end = patch.RowEndPos(prev);
        patch.Replace(end, kCrLf.size(), {});
        return {patch.Build(end), std::nullopt};
    }
    const std::string_view text = RowTextOrEmpty(rows, row);
    const TEditorAttributeArray map = RowMapThrough(text, layout, pos.Col);
    if (pos.Col > map.Width()) return {std::nullopt, TCellPos{row, pos.Col - 1}};

    TRowsPatch patch(rows, row, row);
    if (caret.BackSpaceUnIndent && IsLineStart(rows, row) &&
        ((pos.Col == IndentWidth(text, layout)) || IsBlankText(text))) {
        // Back to the indent of the nearest line above that stands left of
        // the caret; blank lines have no indent to offer.
        int target = 0;
        for (int r = row - 1; r >= 0; --r) {
            r = rows.LineStartRow(r);
            const std::string_view above = rows.View(r);
            if (IsBlankText(above)) continue;
            const int width = IndentWidth(above, layout);
            if (width < pos.Col) {
                target = width;
                break;
            }
        }
        const std::size_t at = patch.PosOf(row, 0);
        patch.Replace(at, static_cast<std::size_t>(OffsetOfCol(rows, layout, row, pos.Col)), Spaces(target));
        return {patch.Build(at + static_cast<std::size_t>(target)), std::nullopt};
    }
    const int from = map.ColumnToOffset(map.CharStart(pos.Col - 1));
    const int to = map.ColumnToOffset(pos.Col);
    const std::size_t at = patch.PosOf(row, from);
    patch.Replace(at, static_cast<std::size_t>(to - from), {});
    return {patch.Build(at), std::nullopt};
}

TEditOutcome DeleteKey(const TEditorStringList& rows, const TCellLayout& layout, TCellPos pos) {
    const int row = pos.Row;
    if (row < 0 || row >= rows.Count()) return {};
    const std::string_view text = rows.View(row);
    const TEditorAttributeArray map = RowMapThrough(text, layout, pos.Col);
    if (pos.Col < map.Width()) {
        // A character that starts past the shown cells was never seen; one
        // that starts in them (a tab or a double-byte character reaching
        // past) may go, and the hidden text moves into view.
        if (map.CharStart(pos.Col) >= kMaxMappedCells) return {};
        TRowsPatch patch(rows, row, row);
        const int from = map.ColumnToOffset(map.CharStart(pos.Col));
        const std::size_t at = patch.PosOf(row, from);
        patch.Replace(at, CharLengthAt(text, static_cast<std::size_t>(from)), {});
        return {patch.Build(at), std::nullopt};
    }
    const TRowEnding ending = rows.RowEnding(row);
    if (ending == reNoBreak) return {};
    // Joined there, the next row's text would start out of sight.
    if (ending == reBreak && pos.Col >= kMaxMappedCells && !RowTextOrEmpty(rows, row + 1).empty()) return {};
    // At or past the end: pad up to the caret and join the next row (within
    // a soft-wrapped line, its first character goes instead of a break).
    TRowsPatch patch(rows, row, row + 1);
    const std::size_t end = patch.RowEndPos(row);
    const std::string pad = Spaces(pos.Col - map.Width());
    std::size_t length = kCrLf.size();
    if (ending == reWrapped) {
        const std::string_view next = RowTextOrEmpty(rows, row + 1);
        length = next.empty() ? 0 : CharLengthAt(next, 0);
    }
    patch.Replace(end, length, pad);
    return {patch.Build(end + pad.size()), std::nullopt};
}

std::optional<TRowsEdit> BoxPasteEdit(const TEditorStringList& rows, const TCellLayout& layout, TCellPos target,
                                      std::string_view text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || target.Col >= kMaxMappedCells) return std::nullopt;
    const int n = rows.Count();
    const int first = std::clamp(target.Row, 0, LastCaretRow(rows));
    const int col = std::max(0, target.Col);
    const int lastNeeded = first + static_cast<int>(lines.size()) - 1;
    TRowsPatch patch(rows, first, std::min(lastNeeded, LastCaretRow(rows)));

    std::size_t caretPos = 0;
    bool caretInTail = false;
    std::vector<std::string> appended;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = first + static_cast<int>(i);
        if (r >= n) {
            appended.push_back(Spaces(col) + std::string(lines[i]));
            continue;
        }
        const std::string_view t = rows.View(r);
        const TEditorAttributeArray map = RowMapThrough(t, layout, col);
        std::size_t at;
        std::string insert;
        if (map.Width() < col) {
            at = patch.RowEndPos(r);
            insert = Spaces(col - map.Width());
        } else {
            at = patch.PosOf(r, map.ColumnToOffset(map.CharStart(col)));
        }
        insert.append(lines[i]);
        patch.Replace(at, 0, insert);
        caretPos = at;
    }
    std::size_t tailCaret = 0;
    if (!appended.empty()) {
        // Past the last row the lines become new rows; a text that ended
        // with a break still does.
        const bool endsWithBreak = n > 0 && rows.RowEnding(n - 1) == reBreak;
        std::string tail;
        for (std::size_t i = 0; i < appended.size(); ++i) {
            if (i > 0 || (n > 0 && !endsWithBreak)) tail.append(kCrLf);
            tail.append(appended[i]);
            tailCaret = tail.size();
        }
        if (endsWithBreak) tail.append(kCrLf);
        caretPos = patch.Size();
        patch.Replace(caretPos, 0, tail);
        caretInTail = true;
    }
    const std::size_t caret =
        caretInTail ? patch.NewPos(caretPos, false) + tailCaret : patch.NewPos(caretPos);
    return patch.Build(caret);
}

std::optional<TRowsEdit> BoxPasteOverEdit(const TEditorScreenStrings& rows, const TCellLayout& layout,
                                          const TRowsEdit& removal, int column, std::string_view text) {
    const int lineCount = static_cast<int>(SplitLines(text).size());
    if (lineCount == 0) return removal;
    // The copy: the removal's rows as it leaves them, then whole lines of
    // the rows below, as many as the paste may reach.
    const int n = rows.Count();
    const int below = removal.Row + removal.Count;
    const int end = below < n ? rows.LineEndRow(std::min(n - 1, below + lineCount - 1)) + 1 : below;
    std::string window = EditedText(rows, removal);
    if (end > below) window += rows.RowsText(below, end - below).text;
    TEditorStringList copy;
    rows.SplitIntoRows(window, copy);
    // A copy that reaches the end of a text without a final break ends so too.
    if (end == n && copy.Count() > 0 && (window.empty() || (window.back() != '\n' && window.back() != '\r')))
        copy.SetRowEnding(copy.Count() - 1, reNoBreak);

    const TRowOffset at = PositionOfTextOffset(copy, static_cast<std::int64_t>(removal.Caret), 0);
    // Past the shown cells the column need not be exact: it is refused.
    const int col =
        column >= 0 ? column : TEditorAttributeArray(RowTextOrEmpty(copy, at.Row), layout).OffsetToColumn(at.Offset);
    // Refused whole: the selection is not deleted either.
    if (col >= kMaxMappedCells) return std::nullopt;
    const std::optional<TRowsEdit> paste = BoxPasteEdit(copy, layout, {at.Row, col}, text);
    if (!paste) return removal;
    // Both edits as one replacement of the original rows.
    std::string merged = paste->Row > 0 ? copy.RowsText(0, paste->Row).text : std::string();
    const std::size_t caret = merged.size() + paste->Caret;
    merged += EditedText(copy, *paste);
    const int after = paste->Row + paste->Count;
    if (after < copy.Count()) merged += copy.RowsText(after, copy.Count() - after).text;
    return TRowsEdit{removal.Row, end - removal.Row, std::move(merged), caret};
}

}  // namespace quodle
