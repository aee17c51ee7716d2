#pragma once
// What the Windows side of base/ shares: a handle that closes itself, the
// system's error codes as errno values, and random names for files that
// must not collide.
#include <windows.h>

#include <cstddef>
#include <string>

namespace quodle::win32 {

class THandle {
public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~THandle() { Reset(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    HANDLE Release() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }
    // Closes now and reports whether the system took it.
    bool Close() { return !*this || CloseHandle(Release()) != FALSE; }
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (*this) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

// The errno value that names the same failure (EIO for the rare rest).
int ErrnoOf(DWORD error);

// `length` letters and digits from the system's random source.
std::wstring RandomSuffix(std::size_t length);

}  // namespace quodle::win32
