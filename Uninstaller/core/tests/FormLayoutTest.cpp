// The uninstaller window at each scaling: a slip cuts the text, puts the bar over the label or
// makes the window grow at 100 %.
#include "FormLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Box = std::tuple<int, int, int, int>;  // left, top, width, height
Box Of(const PixelRect& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

TEST(FormLayout, ScalesTheFormsTwipsAndMakesRoomForALargerText) {
    const struct { unsigned dpi; int textWidth, textHeight, width, height; Box image, label, progress; } cases[] = {
        {96, 150, 13, 346, 95, {16, 20, 32, 32}, {64, 28, 273, 13}, {64, 60, 273, 17}},
        {96, 150, 24, 346, 95, {16, 20, 32, 32}, {64, 28, 273, 24}, {64, 60, 273, 17}},  // into the gap only
        {144, 225, 21, 519, 143, {24, 30, 48, 48}, {96, 42, 410, 21}, {96, 90, 410, 26}},
        {96, 400, 40, 473, 111, {16, 20, 32, 32}, {64, 28, 400, 40}, {64, 76, 273, 17}},  // a user's large font
    };
    for (const auto& c : cases) {
        const FormLayout l = FormLayout_AtDpi(c.dpi, c.textWidth, c.textHeight);
        EXPECT_EQ(std::make_tuple(l.clientWidth, l.clientHeight, Of(l.image), Of(l.label), Of(l.progress)),
                  std::make_tuple(c.width, c.height, c.image, c.label, c.progress)) << c.dpi << " " << c.textHeight;
    }
}

}  // namespace
