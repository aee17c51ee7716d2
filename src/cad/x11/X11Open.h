#pragma once
// Connecting to an X server. A busy server whose queue of new connections is
// full makes the connect fail with EAGAIN; that is tried again for a moment
// instead of being taken for a missing display.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cerrno>

namespace quodle::x11 {

inline Display* OpenDisplay(const char* name) {
    constexpr int kAttempts = 20;
    constexpr useconds_t kPauseUs = 25000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        errno = 0;
        if (Display* display = XOpenDisplay(name)) return display;
        if (errno != EAGAIN) return nullptr;
        ::usleep(kPauseUs);
    }
    return nullptr;
}

}  // namespace quodle::x11
