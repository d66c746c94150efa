// The uninstaller window's layout at a DPI. Its boxes are kept in twips, the form's own unit, and
// turned into pixels at the DPI of the window's monitor (346 x 95 at 96 DPI).
#pragma once

#include "Dpi.h"

struct FormLayout {
    int clientWidth = 0, clientHeight = 0;
    PixelRect image, label, progress;
};

// The layout at dpi for a label whose text, in the window's font at that DPI, takes textWidth x
// textHeight pixels: the label grows to hold it, and the progress bar and the window move out of
// its way where a large font needs it.
FormLayout FormLayout_AtDpi(unsigned dpi, int textWidth, int textHeight);
