#pragma once
// Inside the row table: the storage of one block of rows. Only the row
// table's own sources include this.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/StringList.h"

namespace quodle {

namespace rowstore {

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

    // Beyond 4 KiB the size is rounded up to whole KiB: freed blocks then
    // come in few sizes, which the allocator files and finds again quickly
    // (blocks of a thousand different sizes make every allocation next to
    // them slow, more so the larger the text), at about 1 % of memory.
    static std::size_t WithRoom(std::size_t n) {
        constexpr std::size_t kSmall = 4096, kStep = 1024;
        const std::size_t room = n + n / 16 + 64;
        return room <= kSmall ? room : (room + kStep - 1) / kStep * kStep;
    }

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }

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
    // The memory between the size and the capacity, for a writer that fills
    // it in place and then takes what it wrote with Commit.
    char* Spare() { return data_ + size_; }
    void Commit(std::size_t n) { size_ += n; }
    // Empty, keeping the memory.
    void Clear() { size_ = 0; }
    // Empty with room for n bytes; memory too small is given back rather
    // than grown, as there is nothing in it to keep.
    void ClearWithRoom(std::size_t n) {
        size_ = 0;
        if (n <= capacity_) return;
        std::free(data_);
        data_ = static_cast<char*>(std::malloc(n));
        if (data_ == nullptr) {
            capacity_ = 0;
            throw std::bad_alloc();
        }
        capacity_ = n;
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

}  // namespace rowstore

// One block of consecutive rows. Texts are packed in `text`; row r spans
// [ends[r-1], ends[r]). The word and data tables are empty while every row
// of the block has zero there. `or1`/`or2` collect every word bit ever
// written since the table was last rebuilt, so scans can skip blocks.
struct TheStringList::Block {
    rowstore::TByteBuffer text;
    std::vector<std::uint32_t> ends;
    std::vector<std::uint32_t> attr1;
    std::vector<std::uint32_t> attr2;
    std::vector<std::int32_t> data;
    std::vector<std::pair<std::uint32_t, std::string>> states;  // by row, non-empty only
    std::uint32_t or1 = 0;
    std::uint32_t or2 = 0;
    int tallied = 0;           // rows of the list's tally, while tallyValid
    bool tallyValid = false;   // cleared by every change of rows or word 1 here
    // The fold of the rows' data integers while foldBy names the fold that
    // made it; cleared by every change of rows or data here.
    std::uint64_t fold = 0;
    const TDataFold* foldBy = nullptr;

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

    void SetText(int r, std::string_view s) { SpliceText(r, 0, Text(r).size(), s); }

    // Bytes [offset, offset + length) of row r's text, which holds them,
    // replaced by s: only the bytes behind them move.
    void SpliceText(int r, std::size_t offset, std::size_t length, std::string_view s) {
        const std::size_t b = Begin(r) + offset, e = b + length;
        CheckSize(text.size() - length + s.size());
        if (s.size() > length) {
            text.OpenGap(e, s.size() - length);
        } else if (s.size() < length) {
            text.Erase(b + s.size(), length - s.size());
        }
        if (!s.empty()) std::memcpy(text.data() + b, s.data(), s.size());
        const std::uint32_t delta = static_cast<std::uint32_t>(s.size() - length);  // modular
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
    void SetData(int r, std::int32_t v) {
        SetSparse(data, ends.size(), r, v);
        foldBy = nullptr;
    }

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
        foldBy = nullptr;
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
        foldBy = nullptr;
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
        foldBy = nullptr;
        const std::size_t b = src.Begin(r0), e = src.ends[static_cast<std::size_t>(r1) - 1];
        CheckSize(text.size() + (e - b));
        const std::size_t base = text.size();
        const int oldRows = Rows();
        text.Append(src.text.data() + b, e - b);
        const std::size_t a = static_cast<std::size_t>(r0), z = static_cast<std::size_t>(r1);
        ends.resize(ends.size() + (z - a));
        // Modular: the offsets shift by base - b, which may be negative.
        const std::uint32_t shift = static_cast<std::uint32_t>(base - b);
        std::uint32_t* to = ends.data() + oldRows;
        for (std::size_t r = a; r < z; ++r) *to++ = src.ends[r] + shift;
        auto copy = [&](auto& dst, const auto& from, auto& orBits) {
            if (from.empty()) {
                if (!dst.empty()) dst.resize(ends.size(), 0);
                return;
            }
            std::uint32_t bits = 0;
            for (std::size_t r = a; r < z; ++r) bits |= static_cast<std::uint32_t>(from[r]);
            if (bits == 0 && dst.empty()) return;
            dst.resize(static_cast<std::size_t>(oldRows), 0);
            dst.insert(dst.end(), from.begin() + static_cast<std::ptrdiff_t>(a),
                       from.begin() + static_cast<std::ptrdiff_t>(z));
            orBits |= bits;
        };
        std::uint32_t dummy = 0;
        copy(attr1, src.attr1, or1);
        copy(attr2, src.attr2, or2);
        copy(data, src.data, dummy);
        for (auto it = src.StateAt(r0); it != src.states.end() && it->first < static_cast<std::uint32_t>(r1); ++it)
            states.emplace_back(it->first - static_cast<std::uint32_t>(r0) + static_cast<std::uint32_t>(oldRows),
                                it->second);
    }

    // Appends rows with the texts, `bytes` in all, every other field zero.
    void AppendTexts(std::span<const std::string_view> rows, std::size_t bytes) {
        CheckSize(text.size() + bytes);
        tallyValid = false;
        foldBy = nullptr;
        std::size_t offset = text.size();
        char* out = text.OpenGap(offset, bytes);
        for (const std::string_view s : rows) {
            if (!s.empty()) std::memcpy(out, s.data(), s.size());
            out += s.size();
            offset += s.size();
            ends.push_back(static_cast<std::uint32_t>(offset));
        }
        if (!attr1.empty()) attr1.resize(ends.size(), 0);
        if (!attr2.empty()) attr2.resize(ends.size(), 0);
        if (!data.empty()) data.resize(ends.size(), 0);
    }

    // Takes rows whose texts were written in place behind the last row:
    // each ends `ends[i]` bytes after where the text stood.
    void CommitTexts(std::span<const std::uint32_t> rowEnds) {
        if (rowEnds.empty()) return;
        tallyValid = false;
        foldBy = nullptr;
        const std::uint32_t base = static_cast<std::uint32_t>(text.size());
        text.Commit(rowEnds.back());
        for (const std::uint32_t e : rowEnds) ends.push_back(base + e);
        if (!attr1.empty()) attr1.resize(ends.size(), 0);
        if (!attr2.empty()) attr2.resize(ends.size(), 0);
        if (!data.empty()) data.resize(ends.size(), 0);
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

    // No rows, with room for `bytes` of text (memory it has is kept).
    void Reset(std::size_t bytes) {
        text.ClearWithRoom(bytes);
        ends.clear();
        attr1.clear();
        attr2.clear();
        data.clear();
        states.clear();
        or1 = or2 = 0;
        tallied = 0;
        tallyValid = false;
        foldBy = nullptr;
    }
};

namespace rowstore {
// Sizes are int in the interface; storage counts in size_t.
constexpr std::size_t U(int v) { return static_cast<std::size_t>(v); }
}  // namespace rowstore

}  // namespace quodle
