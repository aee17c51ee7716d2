#include "text/WrapLayout.h"


#include "base/ShiftJis.h"

namespace quodle {

namespace {

// Cells and characters of one row's map, walked by whole characters.
class TCursor {
public:
    TCursor(std::string_view rest, const TEditorAttributeArray& map) : rest_(rest), map_(map) {}

    char Code(int cell) const { return map_.At(cell); }
    // The character that starts on cell `cell` (empty past the text).
    std::string_view CharAt(int cell) const {
        const std::size_t offset = static_cast<std::size_t>(map_.ColumnToOffset(cell));
        return offset < rest_.size() ? rest_.substr(offset, CharLengthAt(rest_, offset)) : std::string_view();
    }
    // The start cell of the character that ends just before cell `cell`.
    int PrevStart(int cell) const { return map_.CharStart(cell - 1); }
    std::string_view CharBefore(int cell) const { return CharAt(PrevStart(cell)); }
    int CellsOf(int cell) const {
        int n = Code(cell) == kCellDoubleFirst ? 2 : 1;
        while (Code(cell + n) == kCellTabFill) ++n;
        return n;
    }
    bool AtEnd(int cell) const { return static_cast<std::size_t>(map_.ColumnToOffset(cell)) >= rest_.size(); }

private:
    std::string_view rest_;
    const TEditorAttributeArray& map_;
};

bool IsBreakCell(char code) { return code == kCellDelimiter || code == kCellTabFill || code == kCellDoubleSecond; }

}  // namespace

bool TLineWrapper::FitsOneRow(std::string_view line) const {
    // Every byte takes at least one cell, and only tabs take more.
    const int wrap = layout_.wrapByte;
    if (line.size() >= static_cast<std::size_t>(wrap)) return false;
    // Tabs mostly indent: the leading ones are summed, the rest of the line
    // is usually free of tabs and then one cell per byte.
    int width = 0;
    std::size_t i = 0;
    for (; i < line.size() && line[i] == '\t'; ++i)
        if ((width += TabWidthAt(width, layout_)) >= wrap) return false;
    const std::string_view rest = line.substr(i);
    if (rest.find('\t') == std::string_view::npos) return width + static_cast<int>(rest.size()) < wrap;
    for (const char c : rest)
        if ((width += c == '\t' ? TabWidthAt(width, layout_) : 1) >= wrap) return false;
    return true;
}

int TLineWrapper::RowCells(std::string_view rest, const TEditorAttributeArray& map) const {
    const int wrap = layout_.wrapByte;
    const TCursor c(rest, map);
    int k = wrap;  // the row would take cells [0, k)
    if (c.Code(k - 1) == kCellDoubleFirst) {
        // A double-byte character is never cut: it goes to the next row.
        --k;
    } else if (option_.WordBreak() && map.Width() > wrap) {
        // Never stops inside a double-byte character: its second cell is a
        // break cell met first.
        while (k > wrap / 3 && !IsBreakCell(c.Code(k - 1))) --k;
    }
    // A tab belongs to the row its first cell stands in.
    while (c.Code(k) == kCellTabFill) ++k;

    if (option_.FollowPunctuation()) {
        const std::string& punctuation = option_.PunctuationStr();
        while (k < wrap + 2 && CharInSet(punctuation, c.CharAt(k))) k += c.CellsOf(k);
    }
    if (option_.Leading() && !c.AtEnd(k)) {
        const std::string& lead = option_.LeadStr();
        const std::string& follow = option_.FollowStr();
        const int floor = (wrap / 5) * 4;
        while (k > floor && CharInSet(lead, c.CharBefore(k))) k = c.PrevStart(k);
        if (CharInSet(follow, c.CharAt(k)))
            while (k > floor && (CharInSet(lead, c.CharBefore(k)) || CharInSet(follow, c.CharAt(k))))
                k = c.PrevStart(k);
    }
    return k;
}

std::size_t TLineWrapper::PlainRowBytes(std::string_view rest) const {
    const int wrap = layout_.wrapByte;
    int width = 0;
    std::size_t i = 0;
    while (i < rest.size()) {
        if (rest[i] == '\t') {
            if (width >= wrap) break;
            width += TabWidthAt(width, layout_);
            ++i;
            continue;
        }
        const std::size_t n = CharLengthAt(rest, i);
        if (width + static_cast<int>(n) > wrap) break;
        width += static_cast<int>(n);
        i += n;
    }
    return i;
}

void TLineWrapper::Split(std::string_view line, std::vector<std::size_t>& ends) const {
    const std::size_t first = ends.size();
    std::size_t start = 0;
    const bool plain = !option_.WordBreak() && !option_.FollowPunctuation() && !option_.Leading();
    // The map reaches three cells past the row for the punctuation that may
    // hang there and the character after it.
    const int mapped = layout_.wrapByte + 3;
    while (start < line.size()) {
        const std::string_view rest = line.substr(start);
        if (FitsOneRow(rest)) break;
        if (plain) {
            start += PlainRowBytes(rest);
        } else {
            const TEditorAttributeArray map(rest, layout_, mapped);
            start += static_cast<std::size_t>(map.ColumnToOffset(RowCells(rest, map)));
        }
        ends.push_back(start);
    }
    if (start < line.size() || ends.size() == first || !option_.FollowRetMark()) ends.push_back(line.size());
}

}  // namespace quodle
