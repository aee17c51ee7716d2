#include "text/StringList.h"

#include <algorithm>
#include <limits>

#include "text/StringListBlock.h"

namespace quodle {

using rowstore::U;

namespace {
// Up to this many rows a replacement overwrites rows in place (no block is
// split for a typed character); beyond it rows are removed and inserted.
constexpr int kInPlaceRows = 8;
}  // namespace

TheStringList::TheStringList(TRowBlockSize blockSize) : blockSize_(blockSize) {
    if (blockSize_.rows < 1) blockSize_.rows = 1;
    if (blockSize_.bytes < 1) blockSize_.bytes = 1;
    starts_.push_back(0);
}

TheStringList::~TheStringList() = default;

int TheStringList::Capacity() const {
    std::size_t c = 0;
    for (const auto& b : blocks_) c += b->ends.capacity();
    return static_cast<int>(std::min<std::size_t>(c, std::numeric_limits<int>::max()));
}

std::size_t TheStringList::TextBytes() const {
    std::size_t n = 0;
    for (const auto& b : blocks_) n += b->Bytes();
    return n;
}

void TheStringList::CheckIndex(int index) const {
    if (index < 0 || index >= count_) throw EListError();
}

TheStringList::Place TheStringList::Locate(int index) const {
    std::size_t b = hint_;
    if (b >= blocks_.size() || index < starts_[b] || index >= starts_[b + 1]) {
        if (b + 1 < blocks_.size() && index >= starts_[b + 1] && index < starts_[b + 2]) {
            ++b;
        } else {
            const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
            b = static_cast<std::size_t>(it - starts_.begin()) - 1;
        }
        hint_ = b;
    }
    return {b, index - starts_[b]};
}

void TheStringList::RecountFrom(std::size_t b) {
    starts_.resize(blocks_.size() + 1);
    if (b == 0) starts_[0] = 0;
    for (std::size_t k = b; k < blocks_.size(); ++k) starts_[k + 1] = starts_[k] + blocks_[k]->Rows();
    count_ = starts_.back();
    if (hint_ >= blocks_.size()) hint_ = 0;
    StaleTally(b);
}

void TheStringList::Rebalance(std::size_t b) {
    if (b >= blocks_.size()) return;
    Block& blk = BlockAt(b);
    const int rows = blk.Rows();
    if (rows == 0) {
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        RecountFrom(b);
        return;
    }
    const std::size_t maxRows = U(blockSize_.rows);
    if (U(rows) > maxRows || (rows > 1 && blk.Bytes() > blockSize_.bytes)) {
        // Cut into pieces of equal row count, none above the byte limit
        // unless it holds a single row.
        const std::size_t byRows = (U(rows) + maxRows - 1) / maxRows;
        const std::size_t byBytes = (blk.Bytes() + blockSize_.bytes - 1) / blockSize_.bytes;
        const std::size_t pieces = std::max<std::size_t>({byRows, byBytes, 2});
        const int target = static_cast<int>((U(rows) + pieces - 1) / pieces);
        std::vector<std::unique_ptr<Block>> tail;
        int firstEnd = -1;
        for (int r = 0; r < rows;) {
            int e = r + 1;
            std::size_t bytes = blk.Text(r).size();
            while (e < rows && e - r < target && bytes + blk.Text(e).size() <= blockSize_.bytes)
                bytes += blk.Text(e++).size();
            if (firstEnd < 0) {
                firstEnd = e;
            } else {
                auto piece = std::make_unique<Block>();
                piece->AppendFrom(blk, r, e);
                tail.push_back(std::move(piece));
            }
            r = e;
        }
        blk.Truncate(firstEnd);
        blk.ShrinkToFit();
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b + 1), std::make_move_iterator(tail.begin()),
                       std::make_move_iterator(tail.end()));
        RecountFrom(b);
        return;
    }
    // Small neighbours merge, so deletions do not leave a trail of tiny blocks.
    const std::size_t mergeRows = std::max<std::size_t>(1, maxRows / 2);
    auto fits = [&](const Block& a, const Block& c) {
        return U(a.Rows() + c.Rows()) <= mergeRows && a.Bytes() + c.Bytes() <= blockSize_.bytes / 2;
    };
    if (b > 0 && fits(BlockAt(b - 1), blk)) {
        BlockAt(b - 1).AppendFrom(blk, 0, rows);
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        RecountFrom(b - 1);
    } else if (b + 1 < blocks_.size() && fits(blk, BlockAt(b + 1))) {
        blk.AppendFrom(BlockAt(b + 1), 0, BlockAt(b + 1).Rows());
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b + 1));
        RecountFrom(b);
    }
}

TheStringList::TPackedRows TheStringList::PackedRowsAt(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    const Block& b = BlockAt(p.block);
    return {index - p.row, {b.text.data(), b.text.size()}, b.ends, b.attr1};
}

std::string_view TheStringList::View(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    return BlockAt(p.block).Text(p.row);
}

void TheStringList::Put(int index, std::string_view text) {
    CheckIndex(index);
    NotifyChanging();
    const Place p = Locate(index);
    BlockAt(p.block).SetText(p.row, text);
    Rebalance(p.block);
    NotifyChanged();
}

void TheStringList::PutPart(int index, std::size_t offset, std::size_t length, std::string_view text) {
    CheckIndex(index);
    NotifyChanging();
    const Place p = Locate(index);
    Block& block = BlockAt(p.block);
    const std::size_t size = block.Text(p.row).size();
    offset = std::min(offset, size);
    block.SpliceText(p.row, offset, std::min(length, size - offset), text);
    Rebalance(p.block);
    NotifyChanged();
}

int TheStringList::Add(std::string_view text) {
    const int index = count_;
    Insert(index, text);
    return index;
}

void TheStringList::Insert(int index, std::string_view text) {
    if (index < 0 || index > count_) throw EListError();
    NotifyChanging();
    InsertRows(index, nullptr, 0, 1);
    const Place p = Locate(index);
    BlockAt(p.block).SetText(p.row, text);
    Rebalance(p.block);
    NotifyChanged();
}

void TheStringList::Delete(int index) {
    CheckIndex(index);
    NotifyChanging();
    RemoveRows(index, 1);
    NotifyChanged();
}

void TheStringList::InsertEmpty(int index, int count) {
    if (index < 0 || index > count_ || count < 0) throw EListError();
    if (count == 0) return;
    NotifyChanging();
    InsertRows(index, nullptr, 0, count);
    NotifyChanged();
}

void TheStringList::DeleteRange(int index, int count) {
    if (count < 0 || index < 0 || index + count > count_) throw EListError();
    if (count == 0) return;
    NotifyChanging();
    RemoveRows(index, count);
    NotifyChanged();
}

void TheStringList::InsertFrom(int index, const TheStringList& source, int sourceIndex, int count) {
    ReplaceFrom(index, 0, source, sourceIndex, count);
}

void TheStringList::ReplaceFrom(int index, int count, const TheStringList& source, int sourceIndex, int sourceCount) {
    if (index < 0 || count < 0 || index + count > count_ || sourceIndex < 0 || sourceCount < 0 ||
        sourceIndex + sourceCount > source.count_)
        throw EListError();
    if (&source == this) {
        TheStringList copy(blockSize_);
        copy.InsertRows(0, this, sourceIndex, sourceCount);
        ReplaceFrom(index, count, copy, 0, sourceCount);
        return;
    }
    NotifyChanging();
    // Rows present on both sides are overwritten in place; the rest is
    // removed or inserted behind them. Each row overwritten moves the rest
    // of its block, so many rows are removed and inserted whole instead.
    const int common = std::min(count, sourceCount);
    if (common > kInPlaceRows) {
        RemoveRows(index, count);
        InsertRows(index, &source, sourceIndex, sourceCount);
        NotifyChanged();
        return;
    }
    for (int k = 0; k < common; ++k) {
        const Place d = Locate(index + k);
        const Place s = source.Locate(sourceIndex + k);
        Block& db = BlockAt(d.block);
        const Block& sb = source.BlockAt(s.block);
        db.SetText(d.row, sb.Text(s.row));
        SetWord1At(d, sb.Word1(s.row));
        db.SetWord2(d.row, sb.Word2(s.row));
        db.SetData(d.row, sb.Data(s.row));
        db.SetState(d.row, sb.State(s.row));
        if (db.Rows() > 1 && db.Bytes() > blockSize_.bytes) Rebalance(d.block);
    }
    if (count > common) RemoveRows(index + common, count - common);
    if (sourceCount > common) InsertRows(index + common, &source, sourceIndex + common, sourceCount - common);
    NotifyChanged();
}

void TheStringList::InsertRows(int index, const TheStringList* source, int sourceIndex, int count) {
    if (count <= 0) return;
    if (blocks_.empty()) {
        blocks_.push_back(std::make_unique<Block>());
        RecountFrom(0);
    }
    // Position: inside the block holding `index`, or the end of the last.
    std::size_t b;
    int r;
    if (index == count_) {
        b = blocks_.size() - 1;
        r = BlockAt(b).Rows();
    } else {
        const Place p = Locate(index);
        b = p.block;
        r = p.row;
    }
    Block& blk = BlockAt(b);
    if (source == nullptr) {
        blk.InsertRows(r, count);
    } else {
        // Split the block at r, append the copies to its head, then its tail.
        Block tail;
        tail.AppendFrom(blk, r, blk.Rows());
        blk.Truncate(r);
        int copied = 0;
        while (copied < count) {
            const Place s = source->Locate(sourceIndex + copied);
            const Block& sb = source->BlockAt(s.block);
            const int n = std::min(count - copied, sb.Rows() - s.row);
            blk.AppendFrom(sb, s.row, s.row + n);
            copied += n;
        }
        blk.AppendFrom(tail, 0, tail.Rows());
    }
    RecountFrom(b);
    Rebalance(b);
}

void TheStringList::RemoveRows(int index, int count) {
    const Place p = Locate(index);
    std::size_t b = p.block;
    int r = p.row;
    int left = count;
    // The first block loses a tail (or all), whole blocks go, the last
    // block loses a head.
    std::size_t firstWhole = b;
    std::size_t endWhole = b;
    Block& head = BlockAt(b);
    const int n0 = std::min(left, head.Rows() - r);
    if (r == 0 && n0 == head.Rows()) {
        endWhole = b + 1;
    } else {
        head.EraseRows(r, n0);
        firstWhole = endWhole = b + 1;
    }
    left -= n0;
    while (left > 0 && BlockAt(endWhole).Rows() <= left) left -= BlockAt(endWhole++).Rows();
    if (left > 0) BlockAt(endWhole).EraseRows(0, left);
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(firstWhole),
                  blocks_.begin() + static_cast<std::ptrdiff_t>(endWhole));
    RecountFrom(b);
    // The blocks now meeting at the cut may be small.
    const std::size_t after = firstWhole;
    if (after < blocks_.size()) Rebalance(after);
    if (b < blocks_.size() && b != after) Rebalance(b);
    if (blocks_.empty()) ReleaseAll();
}

void TheStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    NotifyChanging();
    struct Item {
        std::string text, state;
        std::int32_t data;
        std::uint32_t w1, w2;
    };
    auto take = [&](int i) {
        const Place p = Locate(i);
        const Block& b = BlockAt(p.block);
        return Item{std::string(b.Text(p.row)), std::string(b.State(p.row)), b.Data(p.row), b.Word1(p.row),
                    b.Word2(p.row)};
    };
    auto put = [&](int i, const Item& it) {
        const Place p = Locate(i);
        Block& b = BlockAt(p.block);
        b.SetText(p.row, it.text);
        b.SetState(p.row, it.state);
        b.SetData(p.row, it.data);
        SetWord1At(p, it.w1);
        b.SetWord2(p.row, it.w2);
        Rebalance(p.block);
    };
    const Item a = take(index1), c = take(index2);
    put(index1, c);
    put(index2, a);
    NotifyChanged();
}

void TheStringList::ReleaseAll() {
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    starts_.assign(1, 0);
    count_ = 0;
    hint_ = 0;
    StaleTally(0);
}

void TheStringList::Clear() {
    NotifyChanging();
    ReleaseAll();
    NotifyChanged();
}

int TheStringList::Data(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    return BlockAt(p.block).Data(p.row);
}

void TheStringList::SetData(int index, int value) {
    CheckIndex(index);
    const Place p = Locate(index);
    BlockAt(p.block).SetData(p.row, value);
}

std::string TheStringList::StateText(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    return std::string(BlockAt(p.block).State(p.row));
}

void TheStringList::SetStateText(int index, std::string_view text) {
    CheckIndex(index);
    const Place p = Locate(index);
    BlockAt(p.block).SetState(p.row, text);
}

std::uint32_t TheStringList::Attribute1(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    return BlockAt(p.block).Word1(p.row);
}

void TheStringList::SetAttribute1(int index, std::uint32_t value) {
    CheckIndex(index);
    SetWord1At(Locate(index), value);
}

void TheStringList::SetWord1At(Place p, std::uint32_t value) {
    Block& blk = BlockAt(p.block);
    if (blk.tallyValid) {
        const bool was = Tallies(blk.Word1(p.row)), now = Tallies(value);
        if (was != now) {
            blk.tallied += now ? 1 : -1;
            StaleTally(p.block);
        }
    }
    blk.SetWord1(p.row, value);
}

std::uint32_t TheStringList::Attribute2(int index) const {
    CheckIndex(index);
    const Place p = Locate(index);
    return BlockAt(p.block).Word2(p.row);
}

void TheStringList::SetAttribute2(int index, std::uint32_t value) {
    CheckIndex(index);
    const Place p = Locate(index);
    BlockAt(p.block).SetWord2(p.row, value);
}

int TheStringList::FindPrevWithAttribute1(int from, std::uint32_t mask) const {
    return FindPrevWithWord(&Block::attr1, &Block::or1, from, mask);
}

int TheStringList::FindNextWithAttribute2(int from, std::uint32_t mask, int end) const {
    if (from < 0) from = 0;
    if (end < 0 || end > count_) end = count_;
    if (from >= end) return -1;
    const Place p = Locate(from);
    // An edit asks only about its own rows: the blocks past them are not visited.
    for (std::size_t b = p.block; b < blocks_.size() && starts_[b] < end; ++b) {
        const Block& blk = BlockAt(b);
        if ((blk.or2 & mask) == 0 || blk.attr2.empty()) continue;
        const int last = std::min(blk.Rows(), end - starts_[b]);
        for (int r = b == p.block ? p.row : 0; r < last; ++r)
            if (blk.attr2[U(r)] & mask) return starts_[b] + r;
    }
    return -1;
}

int TheStringList::FindPrevWithAttribute2(int from, std::uint32_t mask) const {
    return FindPrevWithWord(&Block::attr2, &Block::or2, from, mask);
}

int TheStringList::FindPrevWithWord(std::vector<std::uint32_t> Block::*words, std::uint32_t Block::*everSet, int from,
                                    std::uint32_t mask) const {
    if (count_ == 0 || from < 0) return -1;
    from = std::min(from, count_ - 1);
    const Place p = Locate(from);
    for (std::size_t b = p.block + 1; b-- > 0;) {
        const Block& blk = BlockAt(b);
        const std::vector<std::uint32_t>& table = blk.*words;
        if ((blk.*everSet & mask) == 0 || table.empty()) continue;
        for (int r = b == p.block ? p.row : blk.Rows() - 1; r >= 0; --r)
            if (table[U(r)] & mask) return starts_[b] + r;
    }
    return -1;
}

void TheStringList::MaskAttributesFrom(int first, std::uint32_t keep1, std::uint32_t keep2) {
    if (first < 0) first = 0;
    if (first >= count_) return;
    const Place p = Locate(first);
    for (std::size_t b = p.block; b < blocks_.size(); ++b) {
        Block& blk = BlockAt(b);
        const int r0 = b == p.block ? p.row : 0;
        if ((blk.or1 & ~keep1) == 0 && (blk.or2 & ~keep2) == 0 && blk.states.empty()) continue;
        auto mask = [&](std::vector<std::uint32_t>& table, std::uint32_t keep, std::uint32_t& orBits) {
            if (table.empty()) return;
            orBits = 0;
            for (std::size_t r = 0; r < table.size(); ++r) {
                if (r >= U(r0)) table[r] &= keep;
                orBits |= table[r];
            }
            if (orBits == 0) std::vector<std::uint32_t>().swap(table);
        };
        mask(blk.attr1, keep1, blk.or1);
        mask(blk.attr2, keep2, blk.or2);
        if ((~keep1 & tallyMask_) != 0) {
            blk.tallyValid = false;
            StaleTally(b);
        }
        blk.states.erase(blk.StateAt(r0), blk.states.end());
    }
}

void TheStringList::BeginUpdate() { ++updateCount_; }

void TheStringList::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) UpdateBlockClosed();
}

void TheStringList::Changing() {
    if (OnChanging) OnChanging();
}

void TheStringList::Changed() {
    if (OnChanged) OnChanged();
}

void TheStringList::NotifyChanging() {
    if (updateCount_ == 0) Changing();
}

void TheStringList::NotifyChanged() {
    if (updateCount_ == 0) Changed();
}

}  // namespace quodle
