#include "editor/StringList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <limits>

namespace quodle {

namespace {

// The packed texts of one block. Unlike std::vector<char> it never
// zero-fills bytes that are about to be written, and when it grows it keeps
// room in proportion to the block, so a loaded block takes typing without
// reallocating and an edit never doubles a block's memory.
class TByteBuffer {
public:
    TByteBuffer() = default;
    TByteBuffer(const TByteBuffer&) = delete;
    TByteBuffer& operator=(const TByteBuffer&) = delete;
    ~TByteBuffer() { std::free(data_); }

    static std::size_t WithRoom(std::size_t n) { return n + n / 16 + 64; }

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

    void Reserve(std::size_t n) {
        if (n > capacity_) Reallocate(n);
    }
    // Capacity back to the size plus the usual room.
    void Fit() {
        if (capacity_ > WithRoom(size_)) Reallocate(WithRoom(size_));
    }
    // Opens n bytes at pos; their content is for the caller to write.
    char* OpenGap(std::size_t pos, std::size_t n) {
        if (n == 0) return data_ + pos;
        if (size_ + n > capacity_) Reallocate(WithRoom(size_ + n));
        std::memmove(data_ + pos + n, data_ + pos, size_ - pos);
        size_ += n;
        return data_ + pos;
    }
    void Erase(std::size_t pos, std::size_t n) {
        if (n == 0) return;
        std::memmove(data_ + pos, data_ + pos + n, size_ - pos - n);
        size_ -= n;
    }
    void Append(const char* p, std::size_t n) {
        if (n > 0) std::memcpy(OpenGap(size_, n), p, n);
    }

private:
    void Reallocate(std::size_t n) {
        if (n == 0) {
            std::free(data_);
            data_ = nullptr;
            capacity_ = 0;
            return;
        }
        char* p = static_cast<char*>(std::realloc(data_, n));
        if (p == nullptr) throw std::bad_alloc();
        data_ = p;
        capacity_ = n;
    }

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace

// One block of consecutive rows. Texts are packed in `text`; row r spans
// [ends[r-1], ends[r]). The word and data tables are empty while every row
// of the block has zero there. `or1`/`or2` collect every word bit ever
// written since the table was last rebuilt, so scans can skip blocks.
struct TheStringList::Block {
    TByteBuffer text;
    std::vector<std::uint32_t> ends;
    std::vector<std::uint32_t> attr1;
    std::vector<std::uint32_t> attr2;
    std::vector<std::int32_t> data;
    std::vector<std::pair<std::uint32_t, std::string>> states;  // by row, non-empty only
    std::uint32_t or1 = 0;
    std::uint32_t or2 = 0;
    int tallied = 0;           // rows of the list's tally, while tallyValid
    bool tallyValid = false;   // cleared by every change of rows or word 1 here

    int Rows() const { return static_cast<int>(ends.size()); }
    std::size_t Bytes() const { return text.size(); }
    std::size_t Begin(int r) const { return r == 0 ? 0 : ends[static_cast<std::size_t>(r) - 1]; }
    std::string_view Text(int r) const {
        const std::size_t b = Begin(r);
        return {text.data() + b, ends[static_cast<std::size_t>(r)] - b};
    }

    static void CheckSize(std::size_t bytes) {
        if (bytes > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("row block too large");
    }

    void SetText(int r, std::string_view s) {
        const std::size_t b = Begin(r), e = ends[static_cast<std::size_t>(r)];
        const std::size_t oldLen = e - b;
        CheckSize(text.size() - oldLen + s.size());
        if (s.size() > oldLen) {
            text.OpenGap(e, s.size() - oldLen);
        } else if (s.size() < oldLen) {
            text.Erase(b + s.size(), oldLen - s.size());
        }
        if (!s.empty()) std::memcpy(text.data() + b, s.data(), s.size());
        const std::uint32_t delta = static_cast<std::uint32_t>(s.size() - oldLen);  // modular
        for (std::size_t k = static_cast<std::size_t>(r); k < ends.size(); ++k) ends[k] += delta;
    }

    std::uint32_t Word1(int r) const { return attr1.empty() ? 0 : attr1[static_cast<std::size_t>(r)]; }
    std::uint32_t Word2(int r) const { return attr2.empty() ? 0 : attr2[static_cast<std::size_t>(r)]; }
    std::int32_t Data(int r) const { return data.empty() ? 0 : data[static_cast<std::size_t>(r)]; }

    template <class T>
    static void SetSparse(std::vector<T>& table, std::size_t rows, int r, T value) {
        if (table.empty()) {
            if (value == 0) return;
            table.assign(rows, 0);
        }
        table[static_cast<std::size_t>(r)] = value;
    }
    void SetWord1(int r, std::uint32_t v) {
        SetSparse(attr1, ends.size(), r, v);
        or1 |= v;
    }
    void SetWord2(int r, std::uint32_t v) {
        SetSparse(attr2, ends.size(), r, v);
        or2 |= v;
    }
    void SetData(int r, std::int32_t v) { SetSparse(data, ends.size(), r, v); }

    template <class States>
    static auto StateIn(States& s, int r) {
        return std::lower_bound(s.begin(), s.end(), static_cast<std::uint32_t>(r),
                                [](const auto& e, std::uint32_t k) { return e.first < k; });
    }
    auto StateAt(int r) const { return StateIn(states, r); }
    auto StateAt(int r) { return StateIn(states, r); }
    std::string_view State(int r) const {
        const auto it = StateAt(r);
        return it != states.end() && it->first == static_cast<std::uint32_t>(r) ? std::string_view(it->second)
                                                                                : std::string_view();
    }
    void SetState(int r, std::string_view s) {
        const auto pos = StateAt(r) - states.begin();
        const auto it = states.begin() + pos;
        const bool present = it != states.end() && it->first == static_cast<std::uint32_t>(r);
        if (s.empty()) {
            if (present) states.erase(it);
        } else if (present) {
            it->second.assign(s);
        } else {
            states.emplace(it, static_cast<std::uint32_t>(r), std::string(s));
        }
    }

    // Inserts n empty rows before row r.
    void InsertRows(int r, int n) {
        tallyValid = false;
        const std::size_t at = static_cast<std::size_t>(r);
        const std::uint32_t offset = static_cast<std::uint32_t>(Begin(r));
        ends.insert(ends.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(n), offset);
        if (!attr1.empty()) attr1.insert(attr1.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(n), 0u);
        if (!attr2.empty()) attr2.insert(attr2.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(n), 0u);
        if (!data.empty()) data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(n), 0);
        for (auto it = StateAt(r); it != states.end(); ++it) it->first += static_cast<std::uint32_t>(n);
    }

    // Removes rows [r, r + n).
    void EraseRows(int r, int n) {
        tallyValid = false;
        const std::size_t a = static_cast<std::size_t>(r), z = a + static_cast<std::size_t>(n);
        const std::size_t b = Begin(r), e = ends[z - 1];
        text.Erase(b, e - b);
        ends.erase(ends.begin() + static_cast<std::ptrdiff_t>(a), ends.begin() + static_cast<std::ptrdiff_t>(z));
        const std::uint32_t removed = static_cast<std::uint32_t>(e - b);
        for (std::size_t k = a; k < ends.size(); ++k) ends[k] -= removed;
        auto cut = [&](auto& table) {
            if (!table.empty())
                table.erase(table.begin() + static_cast<std::ptrdiff_t>(a), table.begin() + static_cast<std::ptrdiff_t>(z));
        };
        cut(attr1);
        cut(attr2);
        cut(data);
        const auto first = StateAt(r);
        auto last = first;
        while (last != states.end() && last->first < z) ++last;
        for (auto it = last; it != states.end(); ++it) it->first -= static_cast<std::uint32_t>(n);
        states.erase(first, last);
    }

    // Appends copies of rows [r0, r1) of `src`.
    void AppendFrom(const Block& src, int r0, int r1) {
        if (r1 <= r0) return;
        tallyValid = false;
        const std::size_t b = src.Begin(r0), e = src.ends[static_cast<std::size_t>(r1) - 1];
        CheckSize(text.size() + (e - b));
        const std::size_t base = text.size();
        const int oldRows = Rows();
        text.Append(src.text.data() + b, e - b);
        for (int r = r0; r < r1; ++r)
            ends.push_back(static_cast<std::uint32_t>(base + src.ends[static_cast<std::size_t>(r)] - b));
        auto copy = [&](auto& dst, const auto& from, auto& orBits) {
            if (from.empty()) {
                if (!dst.empty()) dst.resize(ends.size(), 0);
                return;
            }
            bool any = false;
            for (int r = r0; r < r1; ++r) any = any || from[static_cast<std::size_t>(r)] != 0;
            if (!any && dst.empty()) return;
            dst.resize(static_cast<std::size_t>(oldRows), 0);
            for (int r = r0; r < r1; ++r) {
                dst.push_back(from[static_cast<std::size_t>(r)]);
                orBits |= static_cast<std::uint32_t>(from[static_cast<std::size_t>(r)]);
            }
        };
        std::uint32_t dummy = 0;
        copy(attr1, src.attr1, or1);
        copy(attr2, src.attr2, or2);
        copy(data, src.data, dummy);
        for (auto it = src.StateAt(r0); it != src.states.end() && it->first < static_cast<std::uint32_t>(r1); ++it)
            states.emplace_back(it->first - static_cast<std::uint32_t>(r0) + static_cast<std::uint32_t>(oldRows),
                                it->second);
    }

    // Drops rows from r on (their copies went elsewhere).
    void Truncate(int r) {
        if (r >= Rows()) return;
        EraseRows(r, Rows() - r);
    }

    void ShrinkToFit() {
        text.Fit();
        ends.shrink_to_fit();
    }
};

namespace {
// Sizes are int in the interface; storage counts in size_t.
constexpr std::size_t U(int v) { return static_cast<std::size_t>(v); }
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
    // removed or inserted behind them.
    const int common = std::min(count, sourceCount);
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
    if (count_ == 0 || from < 0) return -1;
    from = std::min(from, count_ - 1);
    const Place p = Locate(from);
    for (std::size_t b = p.block + 1; b-- > 0;) {
        const Block& blk = BlockAt(b);
        if ((blk.or1 & mask) == 0 || blk.attr1.empty()) continue;
        for (int r = b == p.block ? p.row : blk.Rows() - 1; r >= 0; --r)
            if (blk.attr1[U(r)] & mask) return starts_[b] + r;
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

// ---------------------------------------------------------------- tally

void TheStringList::SetTally(std::uint32_t mask, std::uint32_t value) {
    tallyMask_ = mask;
    tallyValue_ = value;
    for (auto& b : blocks_) b->tallyValid = false;
    StaleTally(0);
}

void TheStringList::StaleTally(std::size_t b) const {
    tallyFrom_ = std::min(tallyFrom_, b);
    untalliedN_ = untalliedRow_ = -1;
}

int TheStringList::BlockTally(std::size_t b) const {
    Block& blk = *blocks_[b];
    if (!blk.tallyValid) {
        if (blk.attr1.empty()) {
            blk.tallied = Tallies(0) ? blk.Rows() : 0;
        } else {
            int n = 0;
            for (const std::uint32_t w : blk.attr1) n += Tallies(w) ? 1 : 0;
            blk.tallied = n;
        }
        blk.tallyValid = true;
    }
    return blk.tallied;
}

void TheStringList::UpdateTally() const {
    const std::size_t n = blocks_.size();
    if (tallyFrom_ >= n && tallyStarts_.size() == n + 1) return;
    const std::size_t from = std::min(tallyFrom_, n);
    tallyStarts_.resize(n + 1);
    tallyStarts_[0] = 0;
    for (std::size_t b = from; b < n; ++b) tallyStarts_[b + 1] = tallyStarts_[b] + BlockTally(b);
    tallyFrom_ = n;
}

int TheStringList::TalliedBefore(int index) const {
    index = std::clamp(index, 0, count_);
    UpdateTally();
    if (index == count_) return tallyStarts_.back();
    const Place p = Locate(index);
    const Block& blk = BlockAt(p.block);
    int n = tallyStarts_[p.block];
    if (blk.attr1.empty()) return n + (Tallies(0) ? p.row : 0);
    for (int r = 0; r < p.row; ++r) n += Tallies(blk.attr1[U(r)]) ? 1 : 0;
    return n;
}

int TheStringList::NthUntallied(int n) const {
    if (n < 0) return -1;
    if (n == untalliedN_) return untalliedRow_;
    int row;
    if (untalliedN_ >= 0 && n == untalliedN_ + 1) {
        // The next one in order: step on from the last answer.
        row = untalliedRow_ + 1;
        while (row < count_ && Tallies(Attribute1(row))) ++row;
    } else {
        UpdateTally();
        // The last block with no more than n untallied rows before it.
        std::size_t lo = 0, hi = blocks_.size();
        while (hi - lo > 1) {
            const std::size_t mid = (lo + hi) / 2;
            if (starts_[mid] - tallyStarts_[mid] <= n) lo = mid;
            else hi = mid;
        }
        if (blocks_.empty() || starts_.back() - tallyStarts_.back() <= n) return count_;
        const Block& blk = BlockAt(lo);
        int left = n - (starts_[lo] - tallyStarts_[lo]);
        if (BlockTally(lo) == 0) {
            row = starts_[lo] + left;
        } else {
            int r = 0;
            for (;; ++r) {
                if (!Tallies(blk.Word1(r)) && left-- == 0) break;
            }
            row = starts_[lo] + r;
        }
    }
    if (row >= count_) return count_;
    untalliedN_ = n;
    untalliedRow_ = row;
    return row;
}

void TheStringList::SwapRows(TheStringList& other) {
    if (&other == this) return;
    NotifyChanging();
    other.NotifyChanging();
    std::swap(blocks_, other.blocks_);
    std::swap(starts_, other.starts_);
    std::swap(count_, other.count_);
    hint_ = other.hint_ = 0;
    // The blocks' tallies were counted by their old list's rule.
    if (tallyMask_ != other.tallyMask_ || tallyValue_ != other.tallyValue_) {
        for (auto& b : blocks_) b->tallyValid = false;
        for (auto& b : other.blocks_) b->tallyValid = false;
    }
    StaleTally(0);
    other.StaleTally(0);
    NotifyChanged();
    other.NotifyChanged();
}

// ---------------------------------------------------------------- rewriter

TheStringList::TRewriter::TRewriter(TheStringList& list) : old_(std::make_unique<TheStringList>(list.blockSize_)) {
    std::swap(list.blocks_, old_->blocks_);
    std::swap(list.starts_, old_->starts_);
    std::swap(list.count_, old_->count_);
    list.hint_ = 0;
    for (auto& b : list.blocks_) b->tallyValid = false;
    list.StaleTally(0);
}

TheStringList::TRewriter::~TRewriter() = default;

TheStringList::TRewriter::TOldRow TheStringList::TRewriter::OldRow(int index) const {
    old_->CheckIndex(index);
    const Place p = old_->Locate(index);
    const Block& b = old_->BlockAt(p.block);
    return {b.Text(p.row), b.Word1(p.row), b.Word2(p.row)};
}

void TheStringList::TRewriter::Release(int index) {
    auto& blocks = old_->blocks_;
    while (released_ < blocks.size() && old_->starts_[released_ + 1] <= index) blocks[released_++].reset();
}

// ---------------------------------------------------------------- appender

TheStringList::TAppender::TAppender(TheStringList& list) : list_(list) {}

TheStringList::TAppender::~TAppender() {
    if (!list_.blocks_.empty()) list_.blocks_.back()->ShrinkToFit();
}

void TheStringList::TAppender::Append(const std::vector<std::string_view>& rows) { list_.AppendPacked(rows); }

void TheStringList::TAppender::Append(std::string_view row) { list_.AppendPacked({row}); }

void TheStringList::TAppender::SetLastAttribute1(std::uint32_t value) {
    if (list_.count_ == 0) return;
    list_.SetWord1At({list_.blocks_.size() - 1, list_.blocks_.back()->Rows() - 1}, value);
}

void TheStringList::AppendPacked(const std::vector<std::string_view>& rows) {
    const std::size_t maxRows = U(blockSize_.rows);
    const std::size_t firstChanged = blocks_.empty() ? 0 : blocks_.size() - 1;
    std::size_t i = 0;
    while (i < rows.size()) {
        if (blocks_.empty() || U(blocks_.back()->Rows()) >= maxRows ||
            blocks_.back()->Bytes() >= blockSize_.bytes) {
            if (!blocks_.empty()) blocks_.back()->ShrinkToFit();
            blocks_.push_back(std::make_unique<Block>());
        }
        Block& blk = *blocks_.back();
        // Take as many rows as the block can hold, then size it exactly.
        std::size_t k = 0, bytes = 0;
        while (i + k < rows.size() && U(blk.Rows()) + k < maxRows &&
               (blk.Bytes() + bytes + rows[i + k].size() <= blockSize_.bytes || (blk.Rows() == 0 && k == 0))) {
            bytes += rows[i + k].size();
            ++k;
        }
        if (k == 0) {  // the next row does not fit beside the others
            blk.ShrinkToFit();
            blocks_.push_back(std::make_unique<Block>());
            continue;
        }
        Block::CheckSize(blk.Bytes() + bytes);
        blk.tallyValid = false;
        // A batch sizes the block once.
        if (k > 1) {
            blk.text.Reserve(TByteBuffer::WithRoom(blk.text.size() + bytes));
            blk.ends.reserve(blk.ends.size() + k);
        }
        std::size_t offset = blk.text.size();
        char* out = blk.text.OpenGap(offset, bytes);
        for (std::size_t j = 0; j < k; ++j) {
            const std::string_view s = rows[i + j];
            if (!s.empty()) std::memcpy(out, s.data(), s.size());
            out += s.size();
            offset += s.size();
            blk.ends.push_back(static_cast<std::uint32_t>(offset));
        }
        if (!blk.attr1.empty()) blk.attr1.resize(blk.ends.size(), 0);
        if (!blk.attr2.empty()) blk.attr2.resize(blk.ends.size(), 0);
        if (!blk.data.empty()) blk.data.resize(blk.ends.size(), 0);
        i += k;
    }
    RecountFrom(firstChanged);
}

}  // namespace quodle
