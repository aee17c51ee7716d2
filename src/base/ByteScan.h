#pragma once
// Word-at-a-time byte tests for the whole-document passes: eight bytes are
// tested with a few integer operations instead of eight compares.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quodle {

inline constexpr std::uint64_t kEachByte = 0x0101010101010101ull;

inline std::uint64_t LoadWord(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

inline void StoreWord(char* p, std::uint64_t x) { std::memcpy(p, &x, sizeof x); }

// 0x80 in every byte of x that equals c, 0 in the others (exact: no carry
// crosses a byte).
inline std::uint64_t MatchBytes(std::uint64_t x, unsigned char c) {
    const std::uint64_t y = x ^ (kEachByte * c);
    const std::uint64_t low7 = kEachByte * 0x7F;
    return ~(((y & low7) + low7) | y | low7);
}

// Index (0..7) of the first byte in memory order whose mark is set; the
// mask must not be 0.
inline int FirstMarkedByte(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return std::countr_zero(mask) >> 3;
    } else {
        return std::countl_zero(mask) >> 3;
    }
}

// The mask without the mark FirstMarkedByte reports.
inline std::uint64_t ClearFirstMarkedByte(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return mask & (mask - 1);
    } else {
        return mask & ~(std::uint64_t{1} << (63 - std::countl_zero(mask)));
    }
}

// Moves each byte's mark to the byte before it in memory order; the last
// byte's mark slot becomes 0.
inline std::uint64_t MarksToPreviousByte(std::uint64_t mask) {
    if constexpr (std::endian::native == std::endian::little) {
        return mask >> 8;
    } else {
        return mask << 8;
    }
}

// The mark of the last byte of a word in memory order.
inline constexpr std::uint64_t kLastByteMark =
    std::endian::native == std::endian::little ? std::uint64_t{0x80} << 56 : std::uint64_t{0x80};

// Marks of the bytes from index `from` (0..7) on in memory order.
inline std::uint64_t MarksFrom(int from) {
    if constexpr (std::endian::native == std::endian::little) {
        return ~std::uint64_t{0} << (8 * from);
    } else {
        return ~std::uint64_t{0} >> (8 * from);
    }
}

// Number of marked bytes; a multiply adds the eight 0/1 bytes into the top
// byte (no popcount instruction in the x86-64 baseline).
inline int MarkedBytes(std::uint64_t mask) { return static_cast<int>(((mask >> 7) * kEachByte) >> 56); }

// Copies the ASCII bytes that [src, src + n) starts with to dst and returns
// how many there are: the fast path of the UTF-8 conversions, where most
// of a source file is ASCII. Whole vectors or words are stored, so dst
// needs room for n bytes; the bytes past the returned count are garbage.
// The last vector or word of a stretch overlaps the one before it (whose
// bytes are known to be ASCII), so a short row costs no byte loop.
inline std::size_t CopyAsciiPrefix(const char* src, std::size_t n, char* dst) {
#if defined(__SSE2__)
    if (n >= 16) {
        for (std::size_t i = 0;; i += 16) {
            if (n - i < 16) i = n - 16;
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), v);
            if (const int high = _mm_movemask_epi8(v))
                return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
            if (i + 16 == n) return n;
        }
    }
#endif
    if (n >= 8) {
        for (std::size_t i = 0;; i += 8) {
            if (n - i < 8) i = n - 8;
            const std::uint64_t w = LoadWord(src + i);
            StoreWord(dst + i, w);
            if (const std::uint64_t high = w & (kEachByte * 0x80)) return i + static_cast<std::size_t>(FirstMarkedByte(high));
            if (i + 8 == n) return n;
        }
    }
    if (n >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, src, 4);
        std::memcpy(&tail, src + n - 4, 4);
        std::memcpy(dst, &head, 4);
        std::memcpy(dst + n - 4, &tail, 4);
        if (((head | tail) & 0x80808080u) == 0) return n;
    }
    std::size_t i = 0;
    for (; i < n && static_cast<unsigned char>(src[i]) < 0x80; ++i) dst[i] = src[i];
    return i;
}

}  // namespace quodle
