#pragma once
// A set of names compared the program's way: after upper-casing the ASCII
// letters a-z (trail bytes of double-byte characters as they are). Each name
// keeps the spelling it was first inserted with, and the names keep their
// insertion order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quodle {

// Hash of a name's upper-cased form (AsciiUpper) without building it.
std::uint64_t FoldedHash(std::string_view name);
// AsciiUpper(a) == AsciiUpper(b) without building either.
bool FoldedEquals(std::string_view a, std::string_view b);

class TFoldedNameSet {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Valid until the next Insert or Clear.
    std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(start, ends_[i] - start);
    }

    // Index of the name equal to `name` after upper-casing, or npos.
    std::size_t Find(std::string_view name) const { return Find(name, FoldedHash(name)); }
    std::size_t Find(std::string_view name, std::uint64_t hash) const;
    // Index of the equal name, inserting a copy of `name` when there is
    // none; second is true when it was inserted.
    std::pair<std::size_t, bool> Insert(std::string_view name) { return Insert(name, FoldedHash(name)); }
    std::pair<std::size_t, bool> Insert(std::string_view name, std::uint64_t hash);

    // Empties the set in time proportional to its size, not to its largest
    // size so far: one large set must not slow down the small ones that
    // follow it.
    void Clear();

private:
    struct TBucket {
        std::uint32_t entry;  // 1 + name index, 0 when free
        std::uint32_t tag;    // low half of the name's hash
    };
    static constexpr std::size_t kKeptBuckets = 4096;  // 32 KB
    void Grow();
    // The bucket that holds the name, or the free one where it would go.
    std::size_t Slot(std::string_view name, std::uint64_t hash) const;

    // The names are copied into one buffer: a look-up that meets a name
    // compares bytes close together instead of somewhere in a large text.
    std::string bytes_;
    std::vector<std::size_t> ends_;     // end of each name in bytes_
    std::vector<std::uint64_t> hashes_;
    std::vector<std::size_t> slots_;    // bucket of each name
    std::vector<TBucket> table_;
};

}  // namespace quodle
