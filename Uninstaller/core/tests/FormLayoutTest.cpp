// The uninstaller window at each scaling: a slip shows a cut text, a bar over the label or a
// window that grows at 100 %.
#include "FormLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Box = std::tuple<int, int, int, int>;  // left, top, width, height
Box Of(const PixelRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

TEST(FormLayout, ScalesTheFormsTwipsAndMakesRoomForALargerText) {
    const struct { unsigned dpi; int textWidth, textHeight; int width, height; Box image, label, progress; } cases[] = {
        {96, 150, 13, 346, 95, {16, 20, 32, 32}, {64, 28, 273, 13}, {64, 60, 273, 17}},
        {96, 150, 24, 346, 95, {16, 20, 32, 32}, {64, 28, 273, 24}, {64, 60, 273, 17}},  // into the gap only
        {144, 225, 21, 519, 143, {24, 30, 48, 48}, {96, 42, 410, 21}, {96, 90, 410, 26}},
        {120, 80, 10, 433, 119, {20, 25, 40, 40}, {80, 35, 341, 16}, {80, 75, 341, 21}},
        {192, 300, 28, 692, 190, {32, 40, 64, 64}, {128, 56, 546, 28}, {128, 120, 546, 34}},
        {96, 400, 40, 473, 111, {16, 20, 32, 32}, {64, 28, 400, 40}, {64, 76, 273, 17}},  // a user's large font
    };
    for (const auto& c : cases) {
        const FormLayout l = FormLayout_AtDpi(c.dpi, c.textWidth, c.textHeight);
        EXPECT_EQ(std::make_tuple(l.clientWidth, l.clientHeight), std::make_tuple(c.width, c.height)) << c.dpi;
        EXPECT_EQ(Of(l.image), c.image) << c.dpi;
        EXPECT_EQ(Of(l.label), c.label) << c.dpi << " " << c.textHeight;
        EXPECT_EQ(Of(l.progress), c.progress) << c.dpi << " " << c.textHeight;
    }
}

}  // namespace
