// The uninstaller window's boxes in twips, in pixels at a DPI.
#include "FormLayout.h"

#include <algorithm>

namespace {

struct TwipsBox {
    int left, top, width, height;
};
constexpr int kProgressHeight = 255;
// The window is as it has always been, and taller by the progress bar below the label.
constexpr TwipsBox kClient = {0, 0, 5190, 1170 + kProgressHeight};
constexpr TwipsBox kImage1 = {240, 300, 480, 480};
constexpr TwipsBox kLabel1 = {960, 420, 4095, 195};
constexpr TwipsBox kProgress1 = {960, 900, 4095, kProgressHeight};
// The least room kept between the label's text and the bar.
constexpr int kLabelGap = 120;

PixelRect Box_AtDpi(const TwipsBox& box, unsigned dpi) {
    PixelRect r;
    r.left = Twips_ToPixels(box.left, dpi);
    r.top = Twips_ToPixels(box.top, dpi);
    r.right = r.left + Twips_ToPixels(box.width, dpi);
    r.bottom = r.top + Twips_ToPixels(box.height, dpi);
    return r;
}

}  // namespace

FormLayout FormLayout_AtDpi(unsigned dpi, int textWidth, int textHeight) {
    FormLayout layout;
    layout.clientWidth = Twips_ToPixels(kClient.width, dpi);
    layout.clientHeight = Twips_ToPixels(kClient.height, dpi);
    layout.image = Box_AtDpi(kImage1, dpi);
    layout.label = Box_AtDpi(kLabel1, dpi);
    layout.progress = Box_AtDpi(kProgress1, dpi);

    // The message font may be larger than the label's box was drawn for (a user's larger text, a
    // font of another design): the text is never cut, and the label keeps its right margin.
    PixelRect& label = layout.label;
    const int margin = layout.clientWidth - label.right;
    label.right = std::max(label.right, label.left + textWidth);
    label.bottom = std::max(label.bottom, label.top + textHeight);
    layout.clientWidth = std::max(layout.clientWidth, label.right + margin);
    const int shift = std::max(0, label.bottom + Twips_ToPixels(kLabelGap, dpi) - layout.progress.top);
    layout.progress.top += shift;
    layout.progress.bottom += shift;
    layout.clientHeight += shift;
    return layout;
}
