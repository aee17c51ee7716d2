#include "base/BulkArray.h"

#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quodle::detail {

namespace {
// Below this, the heap serves the block from pages it already has.
constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
}  // namespace

void* AllocateBulk(std::size_t bytes, bool& mapped) {
    mapped = false;
    if (bytes == 0) return nullptr;
#if defined(__linux__)
    if (bytes >= kMapThreshold) {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        mapped = true;
        return p;
    }
#endif
    return ::operator new(bytes);
}

void* GrowBulk(void* p, std::size_t bytes, std::size_t usedBytes, std::size_t newBytes, bool& mapped) {
#if defined(__linux__)
    if (mapped) {
        void* q = mremap(p, bytes, newBytes, MREMAP_MAYMOVE);
        if (q == MAP_FAILED) throw std::bad_alloc();
        return q;
    }
#endif
    bool newMapped = false;
    void* q = AllocateBulk(newBytes, newMapped);
    if (usedBytes > 0) std::memcpy(q, p, usedBytes);
    if (p) FreeBulk(p, bytes, mapped);
    mapped = newMapped;
    return q;
}

void FreeBulk(void* p, std::size_t bytes, bool mapped) {
#if defined(__linux__)
    if (mapped) {
        munmap(p, bytes);
        return;
    }
#endif
    (void)bytes;
    (void)mapped;
    ::operator delete(p);
}

}  // namespace quodle::detail
