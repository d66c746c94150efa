// The display scaling the system reports, per monitor where it can. The calls Windows 7 lacks
// are looked up at run time, so both programs still start there and use the one DPI it knows.
#pragma once

#include "Win32.h"

// The DPI every monitor had at log-on, the only one Windows 7 knows.
UINT Dpi_System();
// The DPI of the monitor the window is on.
UINT Dpi_ForWindow(HWND window);
// The DPI of the monitor under the point (the nearest one when the point is on none), and that
// monitor's work area.
UINT Dpi_ForPoint(POINT point, RECT* workArea);
// A system metric (SM_CXSMICON, ...) at dpi.
int Metric_ForDpi(int index, UINT dpi);
// The font of message boxes at dpi; false when the system gives none.
bool MessageFont_ForDpi(UINT dpi, LOGFONTW& font);
// Grows a client rectangle to the window rectangle of a window of this style at dpi.
void WindowRect_FromClient(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi);
