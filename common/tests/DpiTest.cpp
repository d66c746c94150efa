// Display scaling arithmetic: a slip here cuts text, blurs icons or opens a window off screen.
#include "Dpi.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

TEST(DpiArithmetic, RoundsAsThePlatformTakesAnUnknownDpiAs96AndCentresOnAnyMonitor) {
    const struct { int value; unsigned from, to; int scaled; } scales[] = {
        {16, 96, 144, 24}, {1425, 1440, 144, 143}, {-11, 96, 144, -17},  // halves away from zero
        {16, 0, 120, 20},  {INT_MAX, 96, 192, INT_MAX}, {INT_MIN, 96, 192, INT_MIN}};
    for (const auto& c : scales) EXPECT_EQ(Dpi_Scale(c.value, c.from, c.to), c.scaled) << c.value << "@" << c.to;
    const struct { PixelRect area; int width, height, left, top; } centred[] = {
        {{-1920, 0, 0, 1040}, 519, 143, -1220, 448},   // a monitor left of the primary one
        {{1920, -300, 3360, 600}, 101, 101, 2589, 99},  // above it, odd spare pixels
        {{0, 0, 800, 600}, 1000, 700, 0, 0}};           // larger than the monitor: the caption stays on it
    for (const auto& c : centred) {
        const PixelRect r = Rect_CenteredIn(c.area, c.width, c.height);
        EXPECT_EQ(std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
                  std::make_tuple(c.left, c.top, c.width, c.height)) << c.area.left << "," << c.area.top;
    }
}

}  // namespace
