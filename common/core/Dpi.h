// Display scaling arithmetic: lengths designed at 96 DPI or in twips, at a monitor's DPI, and
// where a window goes on a monitor. The platform supplies the numbers.
#pragma once

constexpr unsigned Dpi_Default = 96;  // 100 % scaling
constexpr unsigned Dpi_Twips = 1440;  // twips per inch

// value measured at fromDpi, at toDpi: rounded to the nearest pixel, halves away from zero (as
// the platform's MulDiv rounds), saturated at the int range. A DPI of 0, which the platform
// reports for a window it does not know, counts as 96.
int Dpi_Scale(int value, unsigned fromDpi, unsigned toDpi);
inline int Twips_ToPixels(int twips, unsigned dpi) { return Dpi_Scale(twips, Dpi_Twips, dpi); }

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A window of width x height centred in area (a monitor's work area). One larger than the area
// keeps its top left corner inside it, so that its caption stays where the user can take it.
PixelRect Rect_CenteredIn(const PixelRect& area, int width, int height);
