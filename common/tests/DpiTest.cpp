// Display scaling arithmetic: a slip here cuts text, blurs icons or opens a window off screen.
#include "Dpi.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

TEST(DpiScale, RoundsHalvesAwayFromZeroTakesAnUnknownDpiAs96AndNeverWraps) {
    const struct { int value; unsigned from, to; int scaled; } cases[] = {
        {16, 96, 96, 16},     {16, 96, 120, 20},   {16, 96, 144, 24},       {16, 96, 192, 32},
        {5190, 1440, 96, 346}, {1425, 1440, 144, 143}, {1425, 1440, 96, 95},  // 142.5 and 95 exactly
        {-11, 96, 144, -17},  {-11, 96, 120, -14}, {24, 144, 96, 16},       {16, 0, 144, 24},
        {16, 144, 0, 11},     {INT_MAX, 96, 192, INT_MAX}, {INT_MIN, 96, 192, INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(Dpi_Scale(c.value, c.from, c.to), c.scaled) << c.value << " " << c.from << "->" << c.to;
    EXPECT_EQ(Twips_ToPixels(480, 144), 48);
}

TEST(RectCenteredIn, CentresOnTheMonitorWhereverItLiesAndKeepsAnOversizedCaptionOnIt) {
    const struct { PixelRect area; int width, height; int left, top; } cases[] = {
        {{0, 0, 1024, 768}, 400, 200, 312, 284},
        {{-1920, 0, 0, 1040}, 519, 143, -1220, 448},     // a monitor left of the primary one
        {{1920, -300, 3360, 600}, 101, 101, 2589, 99},   // above it, odd spare pixels
        {{0, 0, 800, 600}, 1000, 700, 0, 0},             // larger than the monitor
    };
    for (const auto& c : cases) {
        const PixelRect r = Rect_CenteredIn(c.area, c.width, c.height);
        EXPECT_EQ(std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
                  std::make_tuple(c.left, c.top, c.width, c.height)) << c.area.left << "," << c.area.top;
    }
}

}  // namespace
