#pragma once
// Byte classes tested sixteen bytes at a time for the token scanner. A
// class is a handful of byte ranges; a test gives one bit per byte, so the
// end of a run (a word) is a count of trailing ones instead of a loop with
// a table lookup and a hard-to-predict exit per byte.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
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
            // A range of 255 or 256 bytes has no signed limit below.
            if (count == kMax || b - lo > 254) return;
            bias_[count].fill(static_cast<std::uint8_t>(0x80 - lo));
            limit_[count].fill(static_cast<std::uint8_t>(b - 1 - lo - 127));
            ++count;
        }
        // Unused slots repeat the first range: every test is the same code.
        for (int i = count; i > 0 && i < kMax; ++i) bias_[i] = bias_[0], limit_[i] = limit_[0];
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
    // b - lo <= span unsigned, as a signed compare: b + 0x80 - lo < span - 127.
    __m128i In(__m128i v, int i) const { return _mm_cmpgt_epi8(Vec(limit_[i]), _mm_add_epi8(v, Vec(bias_[i]))); }
    template <int... kI>
    __m128i Test(__m128i v, std::integer_sequence<int, kI...>) const {
        __m128i in = _mm_setzero_si128();
        ((in = _mm_or_si128(in, In(v, kI))), ...);
        return in;
    }
#endif
    const bool* table_ = nullptr;
    bool usable_ = false;
    alignas(16) std::array<std::array<std::uint8_t, 16>, kMax> bias_{};
    alignas(16) std::array<std::array<std::uint8_t, 16>, kMax> limit_{};
};

#if defined(__SSE2__)
// Bit i set for each byte i of the 16 at s outside the set.
inline unsigned OutsideMask16(const TByteRanges& set, const unsigned char* s) {
    return ~static_cast<unsigned>(_mm_movemask_epi8(set.Test(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))))) &
           0xFFFF;
}

// RunEnd of a run of 16 bytes and more.
inline std::size_t RunEndLong(const TByteRanges& set, const unsigned char* s, std::size_t p, std::size_t n) {
    for (; n - p >= 16; p += 16)
        if (const unsigned stop = OutsideMask16(set, s + p)) return p + static_cast<std::size_t>(std::countr_zero(stop));
    // The text's last 16 bytes hold the rest.
    const unsigned stop = OutsideMask16(set, s + n - 16) >> (16 - (n - p));
    return stop != 0 ? p + static_cast<std::size_t>(std::countr_zero(stop)) : n;
}
#endif

// The end of the run of the set's bytes in s from p on (p <= n, the text's
// length); nothing outside the text is read. Inlined into the scan loop,
// which keeps the set's constants at hand.
#if defined(__GNUC__)
[[gnu::always_inline]]
#endif
inline std::size_t RunEnd(const TByteRanges& set, const unsigned char* s, std::size_t p, std::size_t n) {
#if defined(__SSE2__)
    if (n >= 16) {
        // 16 bytes from p, or the text's last 16 when fewer are left; a
        // stop mark just after them ends a run that fills them.
        const std::size_t from = std::min(p, n - 16);
        const unsigned shift = static_cast<unsigned>(p - from);
        const unsigned stop = (OutsideMask16(set, s + from) >> shift) | (1u << (16 - shift));
        const std::size_t end = p + static_cast<std::size_t>(std::countr_zero(stop));
        return end == from + 16 && end < n ? RunEndLong(set, s, end, n) : end;
    }
#endif
    while (p < n && set.Has(s[p])) ++p;
    return p;
}

}  // namespace quodle
