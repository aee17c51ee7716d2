#include "search/ByteSet.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quodle {

void TByteSet::Add(unsigned char b) {
    if (table_[b]) return;
    table_[b] = true;
    if (size_ < 4) values_[static_cast<std::size_t>(size_)] = b;
    ++size_;
    // Unused lanes repeat the first value, so a scan always compares four.
    for (int i = size_; i < 4; ++i) values_[static_cast<std::size_t>(i)] = values_[0];
}

#if defined(__SSE2__)
namespace {

struct TLanes {
    __m128i v0, v1, v2, v3;
    explicit TLanes(const std::array<unsigned char, 4>& values)
        : v0(_mm_set1_epi8(static_cast<char>(values[0]))),
          v1(_mm_set1_epi8(static_cast<char>(values[1]))),
          v2(_mm_set1_epi8(static_cast<char>(values[2]))),
          v3(_mm_set1_epi8(static_cast<char>(values[3]))) {}
    unsigned Mask(const char* p) const {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i eq = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, v0), _mm_cmpeq_epi8(x, v1)),
                                        _mm_or_si128(_mm_cmpeq_epi8(x, v2), _mm_cmpeq_epi8(x, v3)));
        return static_cast<unsigned>(_mm_movemask_epi8(eq));
    }
};

}  // namespace
#endif

std::size_t TByteSet::FindFirst(const char* s, std::size_t from, std::size_t to) const {
    if (from >= to || size_ == 0) return to;
    if (size_ == 1) {
        const void* hit = std::memchr(s + from, values_[0], to - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s) : to;
    }
    std::size_t i = from;
#if defined(__SSE2__)
    if (size_ <= 4) {
        const TLanes lanes(values_);
        for (; i + 16 <= to; i += 16)
            if (const unsigned mask = lanes.Mask(s + i)) return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; i < to; ++i)
        if (table_[static_cast<unsigned char>(s[i])]) return i;
    return to;
}

std::size_t TByteSet::FindLast(const char* s, std::size_t from, std::size_t to) const {
    if (from >= to || size_ == 0) return npos;
    std::size_t i = to;
#if defined(__SSE2__)
    if (size_ <= 4) {
        const TLanes lanes(values_);
        while (i >= from + 16) {
            i -= 16;
            if (const unsigned mask = lanes.Mask(s + i)) return i + 31 - static_cast<std::size_t>(std::countl_zero(mask));
        }
    }
#endif
    while (i > from) {
        --i;
        if (table_[static_cast<unsigned char>(s[i])]) return i;
    }
    return npos;
}

}  // namespace quodle
