// The row table's whole-list machinery: the tally, exchanging all rows,
// rewriting front to back, replacing many spans in one pass and appending
// at load speed.
#include <algorithm>
#include <limits>
#include <optional>

#include "text/StringList.h"
#include "text/StringListBlock.h"

namespace quodle {

using rowstore::TByteBuffer;
using rowstore::U;

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

std::uint64_t TheStringList::DataFoldBefore(int index) const {
    if (dataFold_ == nullptr) return 0;
    const TDataFold& f = *dataFold_;
    index = std::clamp(index, 0, count_);
    auto rowsFold = [&](const Block& blk, int rows) {
        std::uint64_t acc = f.Identity;
        for (int r = 0; r < rows; ++r) acc = f.Join(acc, f.Lift(blk.Data(r)));
        return acc;
    };
    std::uint64_t acc = f.Identity;
    std::size_t b = 0;
    for (; b < blocks_.size() && starts_[b + 1] <= index; ++b) {
        Block& blk = *blocks_[b];
        if (blk.foldBy != dataFold_) {
            blk.fold = rowsFold(blk, blk.Rows());
            blk.foldBy = dataFold_;
        }
        acc = f.Join(acc, blk.fold);
    }
    if (b < blocks_.size() && starts_[b] < index) acc = f.Join(acc, rowsFold(*blocks_[b], index - starts_[b]));
    return acc;
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

std::size_t TheStringList::SplitBefore(int index) {
    if (index >= count_) return blocks_.size();
    const Place p = Locate(index);
    if (p.row == 0) return p.block;
    auto tail = std::make_unique<Block>();
    tail->AppendFrom(BlockAt(p.block), p.row, BlockAt(p.block).Rows());
    BlockAt(p.block).Truncate(p.row);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block + 1), std::move(tail));
    RecountFrom(p.block);
    return p.block + 1;
}

void TheStringList::ReplaceTakingAll(int index, int count, TheStringList& source) {
    if (index < 0 || count < 0 || index + count > count_ || &source == this) throw EListError();
    NotifyChanging();
    if (count > 0) RemoveRows(index, count);
    if (source.count_ > 0) {
        const std::size_t at = SplitBefore(index);
        const std::size_t moved = source.blocks_.size();
        // Their tallies were counted by the source's rule.
        for (auto& b : source.blocks_) b->tallyValid = false;
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(source.blocks_.begin()),
                       std::make_move_iterator(source.blocks_.end()));
        source.ReleaseAll();
        RecountFrom(at);
        // Small blocks at the two seams merge with their neighbours.
        Rebalance(at + moved);
        Rebalance(at);
    }
    NotifyChanged();
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

void TheStringList::TAppender::Append(std::span<const std::string_view> rows) { list_.AppendPacked(rows); }

void TheStringList::TAppender::Append(std::string_view row) { list_.AppendPacked({&row, 1}); }

void TheStringList::TAppender::Extend(std::string_view bytes, std::size_t more) {
    auto& blocks = list_.blocks_;
    if (list_.count_ == 0) throw EListError();
    Block* blk = blocks.back().get();
    // A row that outgrows its block's byte limit takes a block of its own,
    // as a long row appended whole does.
    if (blk->Rows() > 1 && blk->Bytes() + bytes.size() > list_.blockSize_.bytes) {
        auto own = std::make_unique<Block>();
        own->AppendFrom(*blk, blk->Rows() - 1, blk->Rows());
        blk->Truncate(blk->Rows() - 1);
        blk->ShrinkToFit();
        blocks.push_back(std::move(own));
        list_.RecountFrom(blocks.size() - 2);
        blk = blocks.back().get();
    }
    Block::CheckSize(blk->Bytes() + bytes.size());
    if (blk->Bytes() + bytes.size() > blk->text.Capacity())
        blk->text.Reserve(TByteBuffer::WithRoom(blk->Bytes() + bytes.size() + more));
    blk->text.Append(bytes.data(), bytes.size());
    blk->ends.back() += static_cast<std::uint32_t>(bytes.size());
}

void TheStringList::TAppender::SetLastAttribute1(std::uint32_t value) {
    if (list_.count_ == 0) return;
    list_.SetWord1At({list_.blocks_.size() - 1, list_.blocks_.back()->Rows() - 1}, value);
}

TheStringList::TAppender::TRoom TheStringList::TAppender::Room(std::size_t need) {
    auto& blocks = list_.blocks_;
    const TRowBlockSize size = list_.blockSize_;
    if (blocks.empty() || blocks.back()->Rows() >= size.rows || blocks.back()->Bytes() >= size.bytes ||
        (blocks.back()->Rows() > 0 && need > size.bytes - blocks.back()->Bytes())) {
        if (!blocks.empty()) blocks.back()->ShrinkToFit();
        blocks.push_back(std::make_unique<Block>());
        blocks.back()->ends.reserve(U(size.rows));
    }
    Block& blk = *blocks.back();
    // The text grows a step at a time: it is the newest allocation, so it
    // grows in place, and a block that fills up by rows is never given
    // memory it does not use.
    constexpr std::size_t kStep = 16 * 1024;
    const std::size_t left = size.bytes - blk.Bytes();
    const std::size_t want = std::min(left, std::max(need, kStep));
    blk.text.Reserve(TByteBuffer::WithRoom(blk.Bytes() + want) + kRoomSlack);
    return {blk.text.Spare(), std::min(left, blk.text.Capacity() - blk.Bytes() - kRoomSlack), size.rows - blk.Rows()};
}

void TheStringList::TAppender::Commit(std::span<const std::uint32_t> ends) {
    if (ends.empty()) return;
    list_.blocks_.back()->CommitTexts(ends);
    list_.RecountFrom(list_.blocks_.size() - 1);
}

void TheStringList::AppendPacked(std::span<const std::string_view> rows) {
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
        // A batch sizes the block once.
        if (k > 1) {
            blk.text.Reserve(TByteBuffer::WithRoom(blk.text.size() + bytes));
            blk.ends.reserve(blk.ends.size() + k);
        }
        blk.AppendTexts(rows.subspan(i, k), bytes);
        i += k;
    }
    RecountFrom(firstChanged);
}

// ---------------------------------------------------------------- many spans at once

// Writes rows in order into blocks, each filled up to the block limits;
// whole blocks are taken over as they are once the block being filled is
// large enough to stand beside them. New blocks come from `spare` (blocks
// already read) while there are any: their memory is warm, and a rewrite
// of a large text asks the allocator for little.
class TheStringList::TBlockWriter {
public:
    TBlockWriter(TRowBlockSize size, std::vector<std::unique_ptr<Block>>& out, std::vector<std::unique_ptr<Block>>& spare)
        : size_(size), out_(out), spare_(spare) {}
    TBlockWriter(const TBlockWriter&) = delete;
    TBlockWriter& operator=(const TBlockWriter&) = delete;

    // Appends rows [r0, r1) of src; with `fresh`, their words cut to
    // keep1 / keep2 and without state texts.
    void Copy(const Block& src, int r0, int r1, bool fresh = false, std::uint32_t keep1 = 0, std::uint32_t keep2 = 0) {
        while (r0 < r1) {
            if (cur_ == nullptr) Open();
            const std::size_t roomRows = U(size_.rows) - U(cur_->Rows());
            const std::size_t roomBytes = size_.bytes > cur_->Bytes() ? size_.bytes - cur_->Bytes() : 0;
            const auto first = src.ends.begin() + r0;
            const auto last = src.ends.begin() + static_cast<std::ptrdiff_t>(std::min(U(r1), U(r0) + roomRows));
            // The rows that end within the room.
            int e = static_cast<int>(std::upper_bound(first, last, src.Begin(r0) + roomBytes) - src.ends.begin());
            if (e == r0) {
                if (cur_->Rows() > 0) {
                    Close();
                    continue;
                }
                e = r0 + 1;  // a row larger than a block stands alone
            }
            const int at = cur_->Rows();
            Room(src.ends[U(e) - 1] - src.Begin(r0));
            cur_->AppendFrom(src, r0, e);
            if (fresh) Clean(at, keep1, keep2);
            r0 = e;
            if (U(cur_->Rows()) >= U(size_.rows) || cur_->Bytes() >= size_.bytes) Close();
        }
    }

    // Appends rows with the texts, every other field zero.
    void CopyTexts(std::span<const std::string_view> texts) {
        for (std::size_t i = 0; i < texts.size();) {
            if (cur_ == nullptr) Open();
            const std::size_t roomRows = U(size_.rows) - U(cur_->Rows());
            const std::size_t roomBytes = size_.bytes > cur_->Bytes() ? size_.bytes - cur_->Bytes() : 0;
            std::size_t k = 0, bytes = 0;
            while (i + k < texts.size() && k < roomRows && bytes + texts[i + k].size() <= roomBytes)
                bytes += texts[i + k++].size();
            if (k == 0) {
                if (cur_->Rows() > 0) {
                    Close();
                    continue;
                }
                bytes = texts[i].size();  // a row larger than a block stands alone
                k = 1;
            }
            Room(bytes);
            cur_->AppendTexts(texts.subspan(i, k), bytes);
            i += k;
            if (U(cur_->Rows()) >= U(size_.rows) || cur_->Bytes() >= size_.bytes) Close();
        }
    }

    void Take(std::unique_ptr<Block> block) {
        if (cur_ != nullptr && !Large(*cur_)) {
            Copy(*block, 0, block->Rows());
            return;
        }
        Close();
        out_.push_back(std::move(block));
    }

    void Close() {
        if (cur_ == nullptr) return;
        cur_->ShrinkToFit();
        cur_ = nullptr;
    }

private:
    bool Large(const Block& b) const { return 2 * U(b.Rows()) >= U(size_.rows) || 2 * b.Bytes() >= size_.bytes; }

    // A spare block keeps its memory when it is large enough: a block of
    // the old text is mostly as large as the one written in its place, and
    // asking the allocator for a full block each time, to trim it when
    // closed, fragments the heap until every allocation crawls.
    void Open() {
        if (spare_.empty()) {
            out_.push_back(std::make_unique<Block>());
        } else {
            out_.push_back(std::move(spare_.back()));
            spare_.pop_back();
        }
        cur_ = out_.back().get();
        cur_->Reset(cur_->text.Capacity() == 0 ? Full() : 0);
        cur_->ends.reserve(U(size_.rows));
    }

    // Room for `bytes` more; a block too small for them gets room for a
    // full block at once (trimmed when closed), not step by step.
    void Room(std::size_t bytes) {
        TByteBuffer& text = cur_->text;
        const std::size_t need = text.size() + bytes;
        if (need > text.Capacity()) text.Reserve(std::max(need, Full()));
    }

    std::size_t Full() const { return TByteBuffer::WithRoom(size_.bytes); }

    void Clean(int from, std::uint32_t keep1, std::uint32_t keep2) {
        auto cut = [&](std::vector<std::uint32_t>& table, std::uint32_t keep) {
            for (std::size_t r = U(from); r < table.size(); ++r) table[r] &= keep;
        };
        cut(cur_->attr1, keep1);
        cut(cur_->attr2, keep2);
        cur_->states.erase(cur_->StateAt(from), cur_->states.end());
    }

    TRowBlockSize size_;
    std::vector<std::unique_ptr<Block>>& out_;
    std::vector<std::unique_ptr<Block>>& spare_;
    Block* cur_ = nullptr;  // the block being filled, last of out_
};

void TheStringList::ReplaceSpans(std::span<const TRowsSpan> spans, const TheStringList& source, std::uint32_t keep1,
                                 std::uint32_t keep2, TheStringList* displaced) {
    if (&source == this && !spans.empty()) throw EListError();
    int next = 0;
    ReplaceSpansWith(spans, source.count_, displaced, [&](TBlockWriter& out, const TRowsSpan& s) {
        for (int left = s.NewCount; left > 0;) {
            const Place p = source.Locate(next);
            const Block& sb = source.BlockAt(p.block);
            const int n = std::min(left, sb.Rows() - p.row);
            out.Copy(sb, p.row, p.row + n, true, keep1, keep2);
            next += n;
            left -= n;
        }
    });
}

void TheStringList::ReplaceSpans(std::span<const TRowsSpan> spans, std::span<const std::string_view> texts,
                                 TheStringList* displaced) {
    if (texts.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw EListError();
    std::size_t next = 0;
    ReplaceSpansWith(spans, static_cast<int>(texts.size()), displaced, [&](TBlockWriter& out, const TRowsSpan& s) {
        out.CopyTexts(texts.subspan(next, U(s.NewCount)));
        next += U(s.NewCount);
    });
}

void TheStringList::ReplaceSpansWith(std::span<const TRowsSpan> spans, int available, TheStringList* displaced,
                                     const std::function<void(TBlockWriter&, const TRowsSpan&)>& put) {
    int end = 0, taken = 0;
    for (const TRowsSpan& s : spans) {
        if (s.Row < end || s.Count < 0 || s.NewCount < 0 || s.Row + s.Count > count_ || s.NewCount > available - taken)
            throw EListError();
        end = s.Row + s.Count;
        taken += s.NewCount;
    }
    if (spans.empty()) return;
    if (displaced == this) throw EListError();
    NotifyChanging();
    // The old blocks are read in order while the new ones are written, and
    // freed once passed, so the text is never held twice.
    std::vector<std::unique_ptr<Block>> old;
    std::vector<int> oldStarts;
    old.swap(blocks_);
    oldStarts.swap(starts_);
    const int oldCount = count_;
    std::vector<std::unique_ptr<Block>> spare;
    TBlockWriter out(blockSize_, blocks_, spare);
    std::optional<TBlockWriter> gone;
    if (displaced != nullptr) gone.emplace(displaced->blockSize_, displaced->blocks_, spare);
    std::size_t b = 0;
    int pos = 0;
    // The old rows up to `to` go to `w` (none: they are dropped).
    auto pass = [&](int to, TBlockWriter* w) {
        while (pos < to) {
            for (; oldStarts[b + 1] <= pos; ++b)
                if (old[b]) spare.push_back(std::move(old[b]));
            const int r0 = pos - oldStarts[b], r1 = std::min(to, oldStarts[b + 1]) - oldStarts[b];
            if (w != nullptr) {
                if (r0 == 0 && r1 == old[b]->Rows()) w->Take(std::move(old[b]));
                else w->Copy(*old[b], r0, r1);
            }
            pos += r1 - r0;
        }
    };
    for (const TRowsSpan& s : spans) {
        pass(s.Row, &out);
        pass(s.Row + s.Count, gone ? &*gone : nullptr);
        put(out, s);
    }
    pass(oldCount, &out);
    out.Close();
    old.clear();
    hint_ = 0;
    RecountFrom(0);
    if (gone) {
        gone->Close();
        // Counted by this list's tally rule.
        for (auto& blk : displaced->blocks_) blk->tallyValid = false;
        displaced->hint_ = 0;
        displaced->RecountFrom(0);
    }
    NotifyChanged();
}

}  // namespace quodle
