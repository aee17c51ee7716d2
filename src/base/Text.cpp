#include "base/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "base/BulkArray.h"
#include "base/ShiftJis.h"
#include "base/Utf8Lead.h"

namespace quodle {

namespace {

// Shifts the ASCII letters in [from, to] by delta, stepping over double-byte
// characters whole.
std::string MapAsciiLetters(std::string_view s, char from, char to, int delta) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        char& c = out[i];
        if (c >= from && c <= to) c = static_cast<char>(c + delta);
        i += CharLengthAt(out, i);
    }
    return out;
}

}  // namespace

std::string AsciiUpper(std::string_view s) { return MapAsciiLetters(s, 'a', 'z', 'A' - 'a'); }

std::string AsciiLower(std::string_view s) { return MapAsciiLetters(s, 'A', 'Z', 'a' - 'A'); }

bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

std::vector<std::string_view> SplitCrLf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t cut; (cut = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(cut + 2))
        lines.push_back(text.substr(0, cut));
    lines.push_back(text);
    return lines;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const TUtf8Lead lead = Utf8Lead(b);
        const std::size_t len = lead.Length;
        if (len == 0 || i + len > s.size()) return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < lead.Low || second > lead.High) return false;
        for (std::size_t k = 2; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

namespace {

// Sort weight of one byte for CompareText.
constexpr std::array<std::uint16_t, 256> MakeTextWeights() {
    std::array<std::uint16_t, 256> w{};
    for (int b = 0; b < 256; ++b) {
        if (b >= '0' && b <= '9') {
            w[b] = static_cast<std::uint16_t>(0x80 + (b - '0'));
        } else if (b >= 'A' && b <= 'Z') {
            w[b] = static_cast<std::uint16_t>(0x90 + (b - 'A'));
        } else if (b >= 'a' && b <= 'z') {
            w[b] = static_cast<std::uint16_t>(0x90 + (b - 'a'));
        } else {
            w[b] = static_cast<std::uint16_t>(b < 0x80 ? b : 0x100 + b);
        }
    }
    return w;
}
constexpr std::array<std::uint16_t, 256> kTextWeights = MakeTextWeights();

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int wa = kTextWeights[static_cast<unsigned char>(a[i])];
        const int wb = kTextWeights[static_cast<unsigned char>(b[i])];
        if (wa != wb) return wa - wb;
        // Equal weights mean equal lead bytes, so both texts step over the
        // same double-byte character; its trail byte is compared as it is,
        // never case-folded.
        if (IsLeadByte(a[i]) && i + 1 < n) {
            ++i;
            if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace {

// The weights of CompareText renumbered densely from 0: they take fewer than
// 256 values, so a weight fits in one byte and keeps its order.
constexpr std::array<std::uint8_t, 256> MakeWeightRanks() {
    std::array<bool, 0x200> used{};
    for (const std::uint16_t w : kTextWeights) used[w] = true;
    std::array<std::uint16_t, 0x200> rankOf{};
    int next = 0;
    for (std::size_t w = 0; w < used.size(); ++w)
        if (used[w]) rankOf[w] = static_cast<std::uint16_t>(next++);
    std::array<std::uint8_t, 256> ranks{};
    for (int b = 0; b < 256; ++b) ranks[b] = static_cast<std::uint8_t>(rankOf[kTextWeights[b]]);
    return ranks;
}
constexpr std::array<std::uint8_t, 256> kWeightRanks = MakeWeightRanks();

// Below this many entries a plain comparison sort costs less than building
// the sort keys.
constexpr std::size_t kKeySortMinimum = 64;

// The texts of a list read as byte strings whose plain byte order is
// CompareText's order: each byte's weight rank, and the trail byte of a
// double-byte character as it is, so a key has one byte per text byte.
// Equal prefixes mean equal character boundaries, so a rank is only ever
// compared with a rank and a trail byte with a trail byte. The key bytes are
// made as they are read: a large list is sorted without a copy of its texts.
template <class List>
class TSortKeys {
public:
    // `list`: anything whose entries read as string views.
    explicit TSortKeys(const List& list) : list_(list), trailFirst_(list.size(), 0) {}

    // Up to eight key bytes of entry `i` from `depth` on, the first in the
    // highest byte, zeros after the key's end; and how many of them there
    // are (8 when the key may go on). Each entry is read at depth 0, 8, 16
    // and so on in turn: where a double-byte character was cut off at the
    // last read is kept, since it cannot be told by reading backwards.
    std::uint64_t Chunk(std::size_t i, std::size_t depth, std::uint32_t& count) {
        const std::string_view s = list_[i];
        const std::size_t n = std::min<std::size_t>(s.size() - std::min(depth, s.size()), 8);
        bool trail = trailFirst_[i] != 0;
        std::uint64_t chunk = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[depth + k]);
            chunk |= std::uint64_t{trail ? b : kWeightRanks[b]} << (56 - 8 * k);
            trail = !trail && IsLeadByte(b);
        }
        trailFirst_[i] = trail;
        count = static_cast<std::uint32_t>(n);
        return chunk;
    }

private:
    const List& list_;
    std::vector<std::uint8_t> trailFirst_;  // whether the next read starts on a trail byte
};

// One entry while sorting by eight key bytes at a time. Zero padding cannot
// be told from a zero key byte, so a shorter key is told by its Count.
struct TChunkItem {
    std::uint64_t Chunk;
    std::uint32_t Count;
    std::uint32_t Index;
    bool SameKeyBytes(const TChunkItem& o) const { return Chunk == o.Chunk && Count == o.Count; }
    bool Before(const TChunkItem& o) const { return Chunk != o.Chunk ? Chunk < o.Chunk : Count < o.Count; }
};

// Digit d of an item, least significant first: the count, then the chunk's
// bytes from its lowest.
unsigned Digit(const TChunkItem& item, int d) {
    return d == 0 ? item.Count : static_cast<unsigned>(item.Chunk >> (8 * (d - 1))) & 0xFF;
}
constexpr int kDigits = 9;

// A stable least-significant-digit radix sort by (Chunk, Count); digits on
// which all items agree are skipped.
// `spare` has room for `n` items; the sorted items end up in `items`.
void RadixSort(TChunkItem* items, TChunkItem* spare, std::size_t n) {
    std::array<std::array<std::size_t, 256>, kDigits> counts{};
    for (std::size_t k = 0; k < n; ++k)
        for (int d = 0; d < kDigits; ++d) ++counts[d][Digit(items[k], d)];
    TChunkItem* from = items;
    TChunkItem* to = spare;
    for (int d = 0; d < kDigits; ++d) {
        auto& c = counts[d];
        if (std::find(c.begin(), c.end(), n) != c.end()) continue;
        std::size_t at = 0;
        for (std::size_t& count : c) at += std::exchange(count, at);
        for (std::size_t k = 0; k < n; ++k) to[c[Digit(from[k], d)]++] = from[k];
        std::swap(from, to);
    }
    if (from != items) std::copy(from, from + n, items);
}

// Sorts `order` (indices into the list) by key; the keys agree on their
// first `depth` bytes. Groups that still agree on eight more bytes go on
// at the next depth, so only as much of each key is read as tells it apart.
template <class List>
void SortByKeys(TSortKeys<List>&& keys, std::vector<std::uint32_t>& order) {
    struct TGroup {
        std::size_t Begin, End, Depth;
    };
    std::vector<TGroup> groups = {{0, order.size(), 0}};
    // Whole-list buffers, written before they are read.
    TBulkArray<TChunkItem> itemBuffer(order.size()), spare(order.size());
    // Keys that share their first eight bytes (names with a common prefix:
    // most of a large document's) get their next eight read in the first
    // pass, which goes through the list in order; the second pass would read
    // them from all over the list. By entry; read only where Count is 8.
    TBulkArray<TChunkItem> secondChunks(order.size());
    while (!groups.empty()) {
        const TGroup g = groups.back();
        groups.pop_back();
        TChunkItem* items = itemBuffer.data();
        TChunkItem* second = secondChunks.data();
        const std::size_t n = g.End - g.Begin;
        for (std::size_t k = 0; k < n; ++k) {
            const std::uint32_t index = order[g.Begin + k];
            if (g.Depth == 8) {
                items[k] = {second[index].Chunk, second[index].Count, index};
                continue;
            }
            items[k] = {0, 0, index};
            items[k].Chunk = keys.Chunk(index, g.Depth, items[k].Count);
            if (g.Depth == 0 && items[k].Count == 8) second[index].Chunk = keys.Chunk(index, 8, second[index].Count);
        }
        if (n < kKeySortMinimum) {
            // Insertion keeps equal keys in order without the buffer a merge
            // sort takes: most groups are a function and its nested ones.
            for (std::size_t k = 1; k < n; ++k) {
                const TChunkItem item = items[k];
                std::size_t j = k;
                for (; j > 0 && item.Before(items[j - 1]); --j) items[j] = items[j - 1];
                items[j] = item;
            }
        } else {
            RadixSort(items, spare.data(), n);
        }
        for (std::size_t k = 0; k < n;) {
            std::size_t end = k + 1;
            while (end < n && items[end].SameKeyBytes(items[k])) ++end;
            if (end - k > 1 && items[k].Count == 8) groups.push_back({g.Begin + k, g.Begin + end, g.Depth + 8});
            for (; k < end; ++k) order[g.Begin + k] = items[k].Index;
        }
    }
}

}  // namespace

void SortTextList(std::vector<std::string>& list) {
    const auto before = [](const std::string& x, const std::string& y) { return CompareText(x, y) < 0; };
    if (list.size() < kKeySortMinimum) {
        // Insertion keeps equal entries in order and, unlike a merge sort,
        // needs no buffer: the nested definitions of every function come
        // through here, a few at a time.
        for (auto it = list.begin(); it != list.end(); ++it)
            std::rotate(std::upper_bound(list.begin(), it, *it, before), it, std::next(it));
        return;
    }
    if (list.size() > UINT32_MAX) {
        std::stable_sort(list.begin(), list.end(), before);
        return;
    }
    std::vector<std::uint32_t> order(list.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    SortByKeys(TSortKeys(list), order);
    // Gathered into a new list in order: the reads are independent of each
    // other, so the processor overlaps their cache misses (following the
    // permutation's cycles in place would wait for each in turn).
    std::vector<std::string> sorted;
    sorted.reserve(list.size());
    for (const std::uint32_t i : order) sorted.push_back(std::move(list[i]));
    list.swap(sorted);
}

void SortTextOrder(const TTextLines& list, std::vector<std::uint32_t>& order) {
    // Indices are 32 bits wide; a list with more entries would not fit in
    // memory anyway, but it must not be sorted wrongly.
    if (list.size() > UINT32_MAX) throw std::length_error("SortTextOrder: list too long");
    order.resize(list.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    if (list.size() >= kKeySortMinimum) {
        SortByKeys(TSortKeys(list), order);
        return;
    }
    const auto before = [&list](std::uint32_t x, std::uint32_t y) { return CompareText(list[x], list[y]) < 0; };
    for (auto it = order.begin(); it != order.end(); ++it)
        std::rotate(std::upper_bound(order.begin(), it, *it, before), it, std::next(it));
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The bytes that end an unquoted field: blanks and the comma.
constexpr std::array<bool, 256> MakeSeparators() {
    std::array<bool, 256> separators{};
    for (int b = 0; b <= ' '; ++b) separators[b] = true;
    separators[','] = true;
    return separators;
}
constexpr std::array<bool, 256> kSeparators = MakeSeparators();

// Reads a quoted field starting at s[i] == '"' into `out`; a doubled quote
// is one quote. Double-byte characters are stepped over whole so a trail
// byte is never taken for a quote.
void ReadQuoted(std::string_view s, std::size_t& i, std::string& out) {
    out.clear();
    ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                out.push_back('"');
                i += 2;
                continue;
            }
            ++i;
            return;
        }
        const std::size_t len = CharLengthAt(s, i);
        out.append(s.substr(i, len));
        i += len;
    }
}

}  // namespace

TCommaFields::TCommaFields(std::string_view s) : s_(s) {
    while (i_ < s_.size() && IsBlank(s_[i_])) ++i_;
}

bool TCommaFields::Next(std::string_view& field) {
    if (emptyLast_) {
        emptyLast_ = false;
        field = {};
        return true;
    }
    // Worked on in locals: `field` could alias the members, which would
    // otherwise be read back after every store.
    const char* const s = s_.data();
    const std::size_t n = s_.size();
    std::size_t i = i_;
    if (i >= n) return false;
    if (s[i] == '"') {
        ReadQuoted(s_, i, quoted_.emplace_back());
        field = quoted_.back();
    } else {
        const std::size_t start = i;
        while (i < n && !kSeparators[static_cast<unsigned char>(s[i])]) ++i;
        field = std::string_view(s + start, i - start);
    }
    while (i < n && IsBlank(s[i])) ++i;
    if (i < n && s[i] == ',') {
        emptyLast_ = i + 1 == n;
        do {
            ++i;
        } while (i < n && IsBlank(s[i]));
    }
    i_ = i;
    return true;
}

bool TCommaFields::Next(std::string& field) {
    std::string_view view;
    if (!Next(view)) return false;
    field.assign(view);
    return true;
}

std::vector<std::string> SplitCommaList(std::string_view s) {
    std::vector<std::string> fields;
    TCommaFields reader(s);
    for (std::string field; reader.Next(field);) fields.push_back(field);
    return fields;
}

}  // namespace quodle
