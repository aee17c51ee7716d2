#pragma once
// A small set of byte values and the scans for them that carry a search:
// up to four values are compared sixteen bytes at a time, more through a
// table.
#include <array>
#include <cstddef>

namespace quodle {

class TByteSet {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    void Add(unsigned char b);
    bool Contains(unsigned char b) const { return table_[b]; }
    int Size() const { return size_; }

    // The first position in [from, to) whose byte is in the set, or `to`.
    std::size_t FindFirst(const char* s, std::size_t from, std::size_t to) const;
    // The last position in [from, to) whose byte is in the set, or npos.
    std::size_t FindLast(const char* s, std::size_t from, std::size_t to) const;

private:
    std::array<bool, 256> table_{};
    std::array<unsigned char, 4> values_{};
    int size_ = 0;
};

}  // namespace quodle
