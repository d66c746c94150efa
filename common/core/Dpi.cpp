// Display scaling arithmetic, in 64 bits so that no product of a length and a DPI can wrap.
#include "Dpi.h"

#include <algorithm>
#include <climits>
#include <cstdint>

int Dpi_Scale(int value, unsigned fromDpi, unsigned toDpi) {
    const std::int64_t from = fromDpi ? fromDpi : Dpi_Default, to = toDpi ? toDpi : Dpi_Default;
    const std::int64_t twice = 2 * static_cast<std::int64_t>(value) * to;
    const std::int64_t rounded = (twice + (twice < 0 ? -from : from)) / (2 * from);
    return static_cast<int>(std::clamp<std::int64_t>(rounded, INT_MIN, INT_MAX));
}

PixelRect Rect_CenteredIn(const PixelRect& area, int width, int height) {
    const std::int64_t spareX = static_cast<std::int64_t>(area.right) - area.left - width;
    const std::int64_t spareY = static_cast<std::int64_t>(area.bottom) - area.top - height;
    PixelRect r;
    r.left = static_cast<int>(area.left + std::max<std::int64_t>(spareX / 2, 0));
    r.top = static_cast<int>(area.top + std::max<std::int64_t>(spareY / 2, 0));
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}
