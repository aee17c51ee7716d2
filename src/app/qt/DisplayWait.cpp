#include "app/qt/DisplayWait.h"

#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#ifdef QUODLE_X11
#include <X11/Xlib.h>
#endif

namespace quodle {

namespace {

// The value of a toolkit option ("-name VALUE", or with two dashes).
std::string OptionValue(int argc, char** argv, std::string_view name) {
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.starts_with("--")) arg.remove_prefix(1);
        if (arg.starts_with('-') && arg.substr(1) == name) return argv[i + 1];
    }
    return {};
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool UsesX11(int argc, char** argv) {
    std::string platform = OptionValue(argc, argv, "platform");
    if (platform.empty()) platform = Environment("QT_QPA_PLATFORM");
    if (!platform.empty()) return platform.starts_with("xcb");
    // Left to itself the toolkit may choose Wayland in a Wayland session.
    return Environment("WAYLAND_DISPLAY").empty() && Environment("XDG_SESSION_TYPE") != "wayland";
}

}  // namespace

TDisplayWait::TDisplayWait([[maybe_unused]] int argc, [[maybe_unused]] char** argv,
                           [[maybe_unused]] int patienceMs) {
#ifdef QUODLE_X11
    if (!UsesX11(argc, argv)) return;
    std::string name = OptionValue(argc, argv, "display");
    if (name.empty()) name = Environment("DISPLAY");
    if (name.empty()) {
        error_ = "no X display: DISPLAY is not set";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    while ((display_ = XOpenDisplay(name.c_str())) == nullptr) {
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = "cannot connect to the X display \"" + name + "\"";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
#endif
}

TDisplayWait::~TDisplayWait() { Release(); }

void TDisplayWait::Release() {
#ifdef QUODLE_X11
    if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
#endif
    display_ = nullptr;
}

}  // namespace quodle
