#pragma once
// Byte classes tested sixteen bytes at a time for the token scanner. A
// class is a handful of byte ranges; a test gives one bit per byte, so the
// end of a run (a word) is a count of trailing ones instead of a loop with
// a table lookup and a hard-to-predict exit per byte.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quodle {

// A set of bytes as at most kMax ranges; a set that needs more (or none)
// is not Usable, and its runs are scanned byte by byte.
class TByteRanges {
public:
    static constexpr int kMax = 6;

    constexpr TByteRanges() = default;
    // table: 256 flags, kept for the bytes tested one at a time.
    constexpr explicit TByteRanges(const bool* table) : table_(table) {
        int count = 0;
        for (int b = 0; b < 256;) {
            if (!table[b]) {
                ++b;
                continue;
            }
            const int lo = b;
            while (b < 256 && table[b]) ++b;
            if (count == kMax) return;
            lo_[count].fill(static_cast<std::uint8_t>(lo));
            span_[count].fill(static_cast<std::uint8_t>(b - 1 - lo));
            ++count;
        }
        // Unused slots repeat the first range: every test is the same code.
        for (int i = count; i > 0 && i < kMax; ++i) lo_[i] = lo_[0], span_[i] = span_[0];
        usable_ = count > 0;
    }

    bool Usable() const { return usable_; }
    bool Has(unsigned char b) const { return table_[b]; }

#if defined(__SSE2__)
    // 0xFF in each byte of v in the set.
    __m128i Test(__m128i v) const { return Test(v, std::make_integer_sequence<int, kMax>{}); }
#endif

private:
#if defined(__SSE2__)
    static __m128i Vec(const std::array<std::uint8_t, 16>& a) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(a.data()));
    }
    // b - lo <= span unsigned, with b - lo wrapping below lo.
    __m128i In(__m128i v, int i) const {
        return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, Vec(lo_[i])), Vec(span_[i])), _mm_setzero_si128());
    }
    template <int... kI>
    __m128i Test(__m128i v, std::integer_sequence<int, kI...>) const {
        __m128i in = _mm_setzero_si128();
        ((in = _mm_or_si128(in, In(v, kI))), ...);
        return in;
    }
#endif
    const bool* table_ = nullptr;
    bool usable_ = false;
    alignas(16) std::array<std::array<std::uint8_t, 16>, kMax> lo_{};
    alignas(16) std::array<std::array<std::uint8_t, 16>, kMax> span_{};
};

// The end of the run of the set's bytes in s from p on (p <= n, the text's
// length); nothing outside the text is read.
inline std::size_t RunEnd(const TByteRanges& set, const unsigned char* s, std::size_t p, std::size_t n) {
#if defined(__SSE2__)
    const auto outside = [&](const unsigned char* at) {
        return ~static_cast<unsigned>(_mm_movemask_epi8(set.Test(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)))));
    };
    for (; n - p >= 16; p += 16)
        if (const unsigned stop = outside(s + p) & 0xFFFF) return p + static_cast<std::size_t>(std::countr_zero(stop));
    if (p == n) return n;
    // The last few bytes: the text's last 16 shifted, or a copy when the text is shorter.
    const unsigned left = static_cast<unsigned>(n - p);
    unsigned stop;
    if (n >= 16) {
        stop = outside(s + n - 16) >> (16 - left);
    } else {
        std::array<unsigned char, 16> tail{};
        std::memcpy(tail.data(), s + p, left);
        stop = outside(tail.data());
    }
    stop &= (1u << left) - 1;
    return stop != 0 ? p + static_cast<std::size_t>(std::countr_zero(stop)) : n;
#else
    while (p < n && set.Has(s[p])) ++p;
    return p;
#endif
}

}  // namespace quodle
