#pragma once
// TheStringList: the row table under every editor. Each item holds a text
// (Shift-JIS bytes), a state text, a data integer and two attribute words.
//
// Storage is a sequence of blocks of rows rather than one flat array, so an
// edit anywhere in a text of millions of rows only moves the bytes of one
// block. Each block packs the texts of its rows into one byte buffer with an
// end offset per row; attribute words and data integers are allocated per
// block only once some row in it is non-zero, and state texts (nearly always
// empty) live in a sparse side table. A loaded row costs its bytes plus about
// four bytes, and each block keeps a sixteenth of its bytes as room to grow.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quodle {

// The one error of the list: an index outside the list.
inline constexpr const char* kListIndexError = "リストのインデックスが範囲を超えています";

class EListError : public std::out_of_range {
public:
    EListError() : std::out_of_range(kListIndexError) {}
};

// Limits of one storage block. Tests use tiny sizes to reach every split and
// merge; the defaults keep an edit's memory move in the tens of kilobytes.
struct TRowBlockSize {
    int rows = 1024;
    std::size_t bytes = 64 * 1024;
};

// One piece of a bulk replacement: Count rows from Row give way to the next
// NewCount rows of the source.
struct TRowsSpan {
    int Row = 0;
    int Count = 0;
    int NewCount = 0;
    bool operator==(const TRowsSpan&) const = default;
};

class TheStringList {
public:
    explicit TheStringList(TRowBlockSize blockSize = {});
    virtual ~TheStringList();
    TheStringList(const TheStringList&) = delete;
    TheStringList& operator=(const TheStringList&) = delete;

    int Count() const { return count_; }
    // Rows the blocks can take without reallocating their offset tables; the
    // table is not one array, so there is no growth rule beyond the blocks'.
    int Capacity() const;
    TRowBlockSize BlockSize() const { return blockSize_; }

    // Texts. View() stays valid until the next change of the list.
    std::string Get(int index) const { return std::string(View(index)); }
    std::string_view View(int index) const;
    void Put(int index, std::string_view text);
    // Replaces `length` bytes of item `index`'s text from `offset` by `text`
    // (both cut to the text): a change inside a long text moves only the
    // bytes behind it.
    void PutPart(int index, std::size_t offset, std::size_t length, std::string_view text);
    int Add(std::string_view text);
    void Insert(int index, std::string_view text);
    void Delete(int index);
    // Swaps whole items, all five fields.
    void Exchange(int index1, int index2);
    // Empties the list and releases its storage.
    void Clear();

    // Range operations, one change notification each: they keep edits of many
    // rows linear in the rows touched.
    void InsertEmpty(int index, int count);
    void DeleteRange(int index, int count);
    // Inserts copies of count items of source (all five fields) before index.
    void InsertFrom(int index, const TheStringList& source, int sourceIndex, int count);
    // Replaces the items of [index, index + count) by copies of the
    // sourceCount items of source from sourceIndex, as one change.
    void ReplaceFrom(int index, int count, const TheStringList& source, int sourceIndex, int sourceCount);
    // Replaces the items of [index, index + count) by all items of source,
    // as one change, taking over its storage blocks instead of copying
    // them: a large insertion costs its blocks, not its bytes. `source` is
    // left empty.
    void ReplaceTakingAll(int index, int count, TheStringList& source);
    // Makes every replacement of `spans` (in ascending order, none reaching
    // into the next; else this throws EListError) in one pass over the
    // rows, as one change: scattered changes all over a large text cost one
    // copy of it, not a move of a block's bytes each. The source rows are
    // taken in order, their words cut to the bits of keep1 / keep2 and
    // without state texts; the rows replaced are appended to `displaced`
    // (all five fields) when it is given.
    void ReplaceSpans(std::span<const TRowsSpan> spans, const TheStringList& source, std::uint32_t keep1,
                      std::uint32_t keep2, TheStringList* displaced);
    // The same with the new rows given as texts, taken in order, every
    // other field zero: rows written once, where they stay.
    void ReplaceSpans(std::span<const TRowsSpan> spans, std::span<const std::string_view> texts,
                      TheStringList* displaced);

    // The other fields of an item. New items have them all zero or empty.
    int Data(int index) const;
    void SetData(int index, int value);
    std::string StateText(int index) const;
    void SetStateText(int index, std::string_view text);
    std::uint32_t Attribute1(int index) const;
    void SetAttribute1(int index, std::uint32_t value);
    std::uint32_t Attribute2(int index) const;
    void SetAttribute2(int index, std::uint32_t value);

    // Sum of the lengths of all texts.
    std::size_t TextBytes() const;

    // The rows of the storage block that holds `index`, as they are packed:
    // their texts back to back, row FirstRow + i ending at Ends[i], and
    // their word 1 (empty while all are zero). For passes over many rows at
    // memory speed; valid until the next change of the list.
    struct TPackedRows {
        int FirstRow = 0;
        std::string_view Texts;
        std::span<const std::uint32_t> Ends;
        std::span<const std::uint32_t> Words1;
        int Count() const { return static_cast<int>(Ends.size()); }
        std::string_view Text(int i) const {
            const std::size_t begin = i == 0 ? 0 : Ends[static_cast<std::size_t>(i) - 1];
            return Texts.substr(begin, Ends[static_cast<std::size_t>(i)] - begin);
        }
        std::uint32_t Word1(int i) const { return Words1.empty() ? 0 : Words1[static_cast<std::size_t>(i)]; }
    };
    TPackedRows PackedRowsAt(int index) const;

    // Rows read in order from a start row, straight from the packed blocks:
    // a pass down the text looks each block up once, not each row. Valid
    // until the next change of the list.
    class TRowCursor {
    public:
        TRowCursor(const TheStringList& list, int row) : list_(&list), row_(row) {
            if (row_ >= 0 && row_ < list.Count()) Load();
        }
        int Row() const { return row_; }
        bool AtEnd() const { return row_ >= list_->Count(); }
        std::string_view Text() const { return block_.Texts.substr(begin_, end_ - begin_); }
        std::uint32_t Word1() const { return block_.Word1(i_); }
        // Whether the row's text holds byte c. Asked row after row for a
        // rare byte, this looks through each block once instead of each row.
        bool Holds(char c) {
            if (c != hitByte_ || hit_ < begin_) {
                const std::string_view rest = block_.Texts.substr(begin_);
                const std::size_t at = rest.find(c);
                hit_ = at == std::string_view::npos ? block_.Texts.size() : begin_ + at;
                hitByte_ = c;
            }
            return hit_ < end_;
        }
        void Next() {
            ++row_;
            if (++i_ < block_.Count()) {
                begin_ = end_;
                end_ = block_.Ends[static_cast<std::size_t>(i_)];
            } else if (row_ < list_->Count()) {
                Load();
            }
        }

    private:
        void Load() {
            block_ = list_->PackedRowsAt(row_);
            i_ = row_ - block_.FirstRow;
            begin_ = i_ == 0 ? 0 : block_.Ends[static_cast<std::size_t>(i_) - 1];
            end_ = block_.Ends[static_cast<std::size_t>(i_)];
            hitByte_ = -1;
        }

        const TheStringList* list_;
        int row_;
        TPackedRows block_;
        int i_ = 0;
        std::size_t begin_ = 0;
        std::size_t end_ = 0;
        int hitByte_ = -1;  // the byte hit_ is for
        std::size_t hit_ = 0;  // where it next occurs in the block, or the block's end
    };

    // Change notification: OnChanging before and OnChanged after every Put,
    // Insert, Add, Delete, Exchange, Clear and range operation, unless an
    // update block is open; the outermost EndUpdate fires the changed side.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    std::function<void()> OnChanging;
    std::function<void()> OnChanged;

    // Fast scans over the packed words, skipping blocks whose words were
    // never given such bits.
    // The last row at or before `from` whose word 1 has a bit of mask set, or -1.
    int FindPrevWithAttribute1(int from, std::uint32_t mask) const;
    // The first row at or after `from` (and before `end`, when given) / the
    // last row at or before `from` whose word 2 has a bit of mask set, or -1.
    int FindNextWithAttribute2(int from, std::uint32_t mask, int end = -1) const;
    int FindPrevWithAttribute2(int from, std::uint32_t mask) const;
    // From row `first` to the end: keeps only the bits in keep1/keep2 of the
    // two words and empties the state texts.
    void MaskAttributesFrom(int first, std::uint32_t keep1, std::uint32_t keep2);

    // Exchanges all rows with `other` (one change on each side). Each list
    // keeps its block size and its tally rule.
    void SwapRows(TheStringList& other);

    // The tally: the rows whose word 1 holds a given value in given bits
    // (see SetTally). It is kept per block, so counting the tallied rows
    // before an index or finding the n-th row that is not tallied costs
    // O(log blocks) and part of one block, and stepping through the
    // untallied rows in order costs O(1) each.
    int TalliedBefore(int index) const;
    // Index of the n-th (from 0) row that is not tallied; Count() when there
    // are not that many.
    int NthUntallied(int n) const;

    // How the data integers fold over rows in order (see SetDataFold): Lift
    // makes the fold of one row, Join puts two folds one after the other.
    struct TDataFold {
        std::uint64_t (*Lift)(std::int32_t data);
        std::uint64_t (*Join)(std::uint64_t before, std::uint64_t after);
        std::uint64_t Identity;
    };
    // The fold of the data integers of the rows before `index`; Identity
    // while no fold is set. Each block keeps its own fold until its rows or
    // their data change, so this costs a join per block before `index`,
    // a lift per row before it in its block, and refolding changed blocks.
    std::uint64_t DataFoldBefore(int index) const;

    // Appends rows at the end at load speed; rows are packed straight into
    // blocks of exact size. Used by loaders; fires no notification (the
    // caller reports the load as one change).
    class TAppender {
    public:
        explicit TAppender(TheStringList& list);
        ~TAppender();
        TAppender(const TAppender&) = delete;
        TAppender& operator=(const TAppender&) = delete;
        // Rows of one batch; the views may die after the call.
        void Append(std::span<const std::string_view> rows);
        void Append(std::string_view row);
        // Appends bytes to the text of the last row (there must be one).
        // `more` is how many bytes may still follow: room for them is made
        // at once, so a row that arrives piece by piece is never copied to
        // grow and never held twice.
        void Extend(std::string_view bytes, std::size_t more);
        // Sets word 1 of the last appended row.
        void SetLastAttribute1(std::uint32_t value);

        // Writing rows in place, for a loader that would otherwise copy
        // them twice: Room() is where the next rows' texts go, back to back
        // (a new block when the last one is full or would not take `need`
        // bytes more), and how many bytes and rows fit there — at least
        // `need` bytes unless a block cannot hold them; Commit() takes the
        // rows written, each ending ends[i] bytes after Room().Text. Text
        // holds kRoomSlack bytes more than Bytes says, for writers that copy
        // in whole words.
        static constexpr std::size_t kRoomSlack = 16;
        struct TRoom {
            char* Text = nullptr;
            std::size_t Bytes = 0;
            int Rows = 0;
        };
        TRoom Room(std::size_t need = 0);
        void Commit(std::span<const std::uint32_t> ends);

    private:
        TheStringList& list_;
    };

    // Rewrites the whole list front to back at load speed: the old rows are
    // read in order while new ones are appended to the list (through a
    // TAppender), and each old block is freed once reading has passed it, so
    // the text is never held twice. Fires no notification.
    class TRewriter {
    public:
        explicit TRewriter(TheStringList& list);
        ~TRewriter();
        TRewriter(const TRewriter&) = delete;
        TRewriter& operator=(const TRewriter&) = delete;
        int OldCount() const { return old_->count_; }
        struct TOldRow {
            std::string_view text;  // lives until released
            std::uint32_t word1;
            std::uint32_t word2;
        };
        // An old row at or after the released ones.
        TOldRow OldRow(int index) const;
        // The old rows before `index` are not read any more.
        void Release(int index);

    private:
        std::unique_ptr<TheStringList> old_;
        std::size_t released_ = 0;  // old blocks freed
    };

protected:
    // Tallies the rows whose (word 1 & mask) == value; nothing until set.
    void SetTally(std::uint32_t mask, std::uint32_t value);
    // Folds the data integers by `fold`, which must outlive the list.
    void SetDataFold(const TDataFold* fold) { dataFold_ = fold; }

    virtual void Changing();
    virtual void Changed();
    // The outermost EndUpdate; fires the changed side by default.
    virtual void UpdateBlockClosed() { Changed(); }

private:
    struct Block;
    class TBlockWriter;
    struct Place {
        std::size_t block;
        int row;  // within the block
    };

    Place Locate(int index) const;
    void CheckIndex(int index) const;
    Block& BlockAt(std::size_t b) { return *blocks_[b]; }
    const Block& BlockAt(std::size_t b) const { return *blocks_[b]; }
    void RecountFrom(std::size_t b);
    // FindPrevWithAttribute1/2 over one word's table and its ever-set bits.
    int FindPrevWithWord(std::vector<std::uint32_t> Block::*words, std::uint32_t Block::*everSet, int from,
                         std::uint32_t mask) const;
    // Splits oversize blocks and merges small neighbours around block b.
    void Rebalance(std::size_t b);
    // Makes row `index` the first row of a block (or the end) and returns
    // that block's position.
    std::size_t SplitBefore(int index);
    void RemoveRows(int index, int count);
    void InsertRows(int index, const TheStringList* source, int sourceIndex, int count);
    void AppendPacked(std::span<const std::string_view> rows);
    // ReplaceSpans with `available` new rows, which `put` writes span by span.
    void ReplaceSpansWith(std::span<const TRowsSpan> spans, int available, TheStringList* displaced,
                          const std::function<void(TBlockWriter&, const TRowsSpan&)>& put);
    void ReleaseAll();
    void NotifyChanging();
    void NotifyChanged();
    // Every write of word 1 goes through here, keeping the block's tally.
    void SetWord1At(Place p, std::uint32_t value);
    bool Tallies(std::uint32_t word1) const { return (word1 & tallyMask_) == tallyValue_; }
    // The tally prefix of block b and those after it must be recomputed.
    void StaleTally(std::size_t b) const;
    int BlockTally(std::size_t b) const;
    void UpdateTally() const;

    TRowBlockSize blockSize_;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::vector<int> starts_;  // first row of each block; one extra entry = count_
    int count_ = 0;
    int updateCount_ = 0;
    mutable std::size_t hint_ = 0;  // block of the last lookup: sequential reads stay O(1)
    std::uint32_t tallyMask_ = 0;
    std::uint32_t tallyValue_ = 1;  // a value outside the mask: nothing tallied
    mutable std::vector<int> tallyStarts_{0};  // tallied rows before each block
    mutable std::size_t tallyFrom_ = 0;        // entries above this one are stale
    mutable int untalliedN_ = -1;              // the last NthUntallied answer
    mutable int untalliedRow_ = -1;
    const TDataFold* dataFold_ = nullptr;
};

}  // namespace quodle
