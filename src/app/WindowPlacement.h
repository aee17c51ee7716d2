#pragma once
// Where the main window opens: at the position the settings file keeps,
// unless that would leave it where nobody can grab it.
#include <span>

namespace quodle {

struct TScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
};
struct TWindowOrigin {
    int left = 0, top = 0;
    bool operator==(const TWindowOrigin&) const = default;
};

// The origin for a window of that size asked to stand at `wanted`: there,
// when its title band (its top 32 rows, at least 64 pixels of them wide)
// lies on one of the screens; else centred on the primary screen, the first
// one. A screen unplugged since the last run, or a damaged settings file,
// then never leaves the window off every screen. No screens: `wanted`.
TWindowOrigin PlaceWindow(TWindowOrigin wanted, int width, int height, std::span<const TScreenRect> screens);

}  // namespace quodle
