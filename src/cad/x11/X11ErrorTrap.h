#pragma once
// Catches the X errors of the requests made while it lives instead of letting
// Xlib's default handler end the program: windows of other programs may
// vanish at any moment. Xlib's handler is process-wide, so the one in force
// before is put back afterwards.
#include <X11/Xlib.h>

namespace quodle::x11 {

class TErrorTrap {
public:
    explicit TErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        failed_ = false;
        previous_ = XSetErrorHandler(&TErrorTrap::Record);
    }
    ~TErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    TErrorTrap(const TErrorTrap&) = delete;
    TErrorTrap& operator=(const TErrorTrap&) = delete;

    // Whether a request made so far failed; waits for the server's answers.
    bool Failed() {
        XSync(display_, False);
        return failed_;
    }

private:
    static int Record(Display*, XErrorEvent*) {
        failed_ = true;
        return 0;
    }

    Display* display_;
    XErrorHandler previous_;
    static inline bool failed_ = false;
};

}  // namespace quodle::x11
