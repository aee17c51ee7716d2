#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace quodle {
namespace {

TEST(WindowPlacement, AWindowNobodyCouldGrabOpensCentredOnThePrimaryScreen) {
    // The primary screen first, a second one to its right.
    const std::vector<TScreenRect> two{{0, 0, 1280, 800}, {1280, 0, 1920, 1080}};
    const std::vector<TScreenRect> one{{0, 0, 1280, 800}};
    const TWindowOrigin centred{(1280 - 543) / 2, (800 - 407) / 2};
    struct Case {
        TWindowOrigin wanted;
        const std::vector<TScreenRect>* screens;
        TWindowOrigin placed;
    } cases[] = {
        {{100, 100}, &one, {100, 100}},
        {{5000, 100}, &one, centred},          // right of every screen
        {{-100000, 0}, &one, centred},         // far left
        {{-400, 100}, &one, {-400, 100}},      // 143 pixels of it on the screen: grabbable
        {{-500, 100}, &one, centred},          // 43 pixels: not
        {{1250, 100}, &one, centred},          // 30 pixels on the only screen
        {{1250, 100}, &two, {1250, 100}},      // the rest on the second one
        {{2000, 500}, &two, {2000, 500}},      // wholly on the second one
        {{3150, 100}, &two, centred},          // 50 pixels on the second one
        {{100, 790}, &one, centred},           // its title band below the bottom edge
        {{100, 768}, &one, {100, 768}},        // the whole band just fits
        {{100, -5}, &one, centred},            // the title band above the top edge
        {{2147483647, -2147483647 - 1}, &two, centred},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceWindow(c.wanted, 543, 407, *c.screens), c.placed) << c.wanted.left << "," << c.wanted.top;

    // Centred on the primary screen wherever that stands; a window larger
    // than the screen is grabbable where its band lies on it.
    const std::vector<TScreenRect> shifted{{-1920, 200, 1920, 1080}, {0, 0, 1280, 800}};
    EXPECT_EQ(PlaceWindow({5000, 5000}, 543, 407, shifted), (TWindowOrigin{-1920 + 688, 200 + 336}));
    EXPECT_EQ(PlaceWindow({-10, 0}, 3000, 2000, one), (TWindowOrigin{-10, 0}));
    // Without any screen the wish stands.
    EXPECT_EQ(PlaceWindow({5000, 5000}, 543, 407, {}), (TWindowOrigin{5000, 5000}));
}

}  // namespace
}  // namespace quodle
