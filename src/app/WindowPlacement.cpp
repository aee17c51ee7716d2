#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

#include "app/Settings.h"

namespace quodle {
namespace {

constexpr std::int64_t kTitleBand = 32;   // rows of the window that must be on a screen
constexpr std::int64_t kGrabWidth = 64;   // and this much of their width

// The overlap of [a, a + aSize) and [b, b + bSize), in 64 bits: the wanted
// origin may be any value the caller has.
std::int64_t Overlap(std::int64_t a, std::int64_t aSize, std::int64_t b, std::int64_t bSize) {
    return std::max<std::int64_t>(0, std::min(a + aSize, b + bSize) - std::max(a, b));
}

}  // namespace

TWindowOrigin PlaceWindow(TWindowOrigin wanted, int width, int height, std::span<const TScreenRect> screens) {
    if (screens.empty()) return wanted;
    const std::int64_t band = std::min<std::int64_t>(kTitleBand, std::max(height, 1));
    const std::int64_t grab = std::min<std::int64_t>(kGrabWidth, std::max(width, 1));
    for (const TScreenRect& s : screens)
        if (Overlap(wanted.top, band, s.top, s.height) >= band && Overlap(wanted.left, width, s.left, s.width) >= grab)
            return wanted;
    const TScreenRect& primary = screens.front();
    return {primary.left + settings::CenteredOrigin(primary.width, width),
            primary.top + settings::CenteredOrigin(primary.height, height)};
}

}  // namespace quodle
