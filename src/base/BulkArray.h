#pragma once
// Uninitialised storage for the multi-megabyte arrays of a whole-document
// pass (code-only text, line offsets). On Linux large blocks are mappings of
// their own, which grow without copying. They are not asked for huge pages:
// on a virtual machine that hands memory back to its host, a fresh huge page
// can cost a hundred times its share of small ones (a 100 MB pass took a
// second longer).
#include <cstddef>
#include <type_traits>
#include <utility>

namespace quodle {

namespace detail {
void* AllocateBulk(std::size_t bytes, bool& mapped);
void* GrowBulk(void* p, std::size_t bytes, std::size_t usedBytes, std::size_t newBytes, bool& mapped);
void FreeBulk(void* p, std::size_t bytes, bool mapped);
}  // namespace detail

template <class T>
class TBulkArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    TBulkArray() = default;
    explicit TBulkArray(std::size_t count) : count_(count) {
        data_ = static_cast<T*>(detail::AllocateBulk(count * sizeof(T), mapped_));
    }
    TBulkArray(TBulkArray&& o) noexcept
        : data_(std::exchange(o.data_, nullptr)),
          count_(std::exchange(o.count_, 0)),
          mapped_(std::exchange(o.mapped_, false)) {}
    TBulkArray& operator=(TBulkArray&& o) noexcept {
        if (this != &o) {
            Release();
            data_ = std::exchange(o.data_, nullptr);
            count_ = std::exchange(o.count_, 0);
            mapped_ = std::exchange(o.mapped_, false);
        }
        return *this;
    }
    TBulkArray(const TBulkArray&) = delete;
    TBulkArray& operator=(const TBulkArray&) = delete;
    ~TBulkArray() { Release(); }

    // Room for `count` elements, the first `used` kept. A mapped block
    // grows where the system can move its pages instead of copying them.
    void Grow(std::size_t count, std::size_t used) {
        data_ = static_cast<T*>(detail::GrowBulk(data_, count_ * sizeof(T), used * sizeof(T), count * sizeof(T), mapped_));
        count_ = count;
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t capacity() const { return count_; }

private:
    void Release() {
        if (data_) detail::FreeBulk(data_, count_ * sizeof(T), mapped_);
        data_ = nullptr;
    }

    T* data_ = nullptr;
    std::size_t count_ = 0;
    bool mapped_ = false;
};

}  // namespace quodle
