#include "base/FoldedNameSet.h"

#include <cstring>
#include <stdexcept>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

inline unsigned char FoldByte(unsigned char b) { return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 0x20) : b; }

}  // namespace

namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = kEachByte * 0x80;

// Upper-cases the letters of eight ASCII bytes at once: no byte has its high
// bit set, so the additions carry into no other byte.
std::uint64_t FoldAsciiWord(std::uint64_t x) {
    const std::uint64_t atLeastA = x + kEachByte * (0x80 - 'a');
    const std::uint64_t aboveZ = x + kEachByte * (0x80 - 'z' - 1);
    return x ^ (((atLeastA & ~aboveZ) & kHighBits) >> 2);
}

std::uint64_t MixWord(std::uint64_t h, std::uint64_t w) {
    h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
}

// Names with bytes of 0x80 and up: FNV-1a by character, trail bytes of
// double-byte characters as they are. Such a name never equals an ASCII
// one, so the two kinds may hash differently.
std::uint64_t FoldedHashByCharacter(std::string_view name) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto mix = [&h](unsigned char b) { h = (h ^ b) * 0x100000001b3ull; };
    const std::size_t n = name.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(b) && i + 1 < n) {
            mix(b);
            mix(static_cast<unsigned char>(name[++i]));
        } else {
            mix(FoldByte(b));
        }
    }
    return h ^ (h >> 29);
}

}  // namespace

std::uint64_t FoldedHash(std::string_view name) {
    // ASCII names, nearly all of them, eight bytes at a time.
    const std::size_t n = name.size();
    std::uint64_t h = n * 0xC2B2AE3D27D4EB4Full;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, name.data() + i, 8);
        if (x & kHighBits) return FoldedHashByCharacter(name);
        h = MixWord(h, FoldAsciiWord(x));
    }
    if (i < n) {
        std::uint64_t x = 0;
        std::memcpy(&x, name.data() + i, n - i);
        if (x & kHighBits) return FoldedHashByCharacter(name);
        h = MixWord(h, FoldAsciiWord(x));
    }
    return h ^ (h >> 29);
}

bool FoldedEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0) return true;  // the usual case
    const std::size_t n = a.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x) && i + 1 < n) {
            // Equal lead bytes start the same double-byte character in both;
            // its trail byte is compared as it is.
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldByte(x) != FoldByte(y)) {
            return false;
        }
    }
    return true;
}

std::size_t TFoldedNameSet::Slot(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = table_.size() - 1;
    const auto tag = static_cast<std::uint32_t>(hash);
    for (std::size_t at = static_cast<std::size_t>(hash >> 32) & mask;; at = (at + 1) & mask) {
        const TBucket b = table_[at];
        if (b.entry == 0 || (b.tag == tag && FoldedEquals((*this)[b.entry - 1], name))) return at;
    }
}

std::size_t TFoldedNameSet::Find(std::string_view name, std::uint64_t hash) const {
    if (table_.empty()) return npos;
    const std::uint32_t entry = table_[Slot(name, hash)].entry;
    return entry == 0 ? npos : entry - 1;
}

std::pair<std::size_t, bool> TFoldedNameSet::Insert(std::string_view name, std::uint64_t hash) {
    // Kept at most half full, so probes stay short and always end.
    if (2 * (size() + 1) > table_.size()) Grow();
    const std::size_t at = Slot(name, hash);
    if (table_[at].entry != 0) return {table_[at].entry - 1, false};
    if (size() >= 0xFFFFFFFFu) throw std::length_error("too many names");
    bytes_.append(name);
    ends_.push_back(bytes_.size());
    hashes_.push_back(hash);
    slots_.push_back(at);
    table_[at] = {static_cast<std::uint32_t>(size()), static_cast<std::uint32_t>(hash)};
    return {size() - 1, true};
}

void TFoldedNameSet::Grow() {
    table_.assign(table_.empty() ? 16 : table_.size() * 2, TBucket{0, 0});
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = 0; i < size(); ++i) {
        std::size_t at = static_cast<std::size_t>(hashes_[i] >> 32) & mask;
        while (table_[at].entry != 0) at = (at + 1) & mask;
        table_[at] = {static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(hashes_[i])};
        slots_[i] = at;
    }
}

void TFoldedNameSet::Clear() {
    // A table grown for a large set is dropped: the small sets that usually
    // follow would spread their look-ups over all of it and miss the cache.
    if (table_.size() > kKeptBuckets) {
        table_.clear();
        table_.shrink_to_fit();
    } else {
        for (const std::size_t at : slots_) table_[at] = TBucket{0, 0};
    }
    bytes_.clear();
    ends_.clear();
    hashes_.clear();
    slots_.clear();
}

}  // namespace quodle
