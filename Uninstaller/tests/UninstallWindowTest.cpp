// The uninstaller's window in a process of its own at 144 DPI (Wine gives every monitor the DPI
// of LogPixels and never changes it by itself), then moved to monitors at 120 and 96 DPI as
// Windows announces it: the system's message font, the whole text, the icons and the boxes.
#include "Handles.h"
#include "Mfrm.h"
#include "MonitorDpi.h"
#include "WinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

int IconWidth(LRESULT icon) { return wintest::Icon_Width(reinterpret_cast<HICON>(icon)); }

RECT Child_Box(HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

[[noreturn]] void Fail(UINT dpi, const char* what) {
    std::fprintf(stderr, "at %u DPI: %s\n", dpi, what);
    std::exit(1);
}

[[noreturn]] void Window_At144ThenMoved() {
    Mfrm form;
    if (!form.Create(GetModuleHandleW(nullptr)) || Dpi_ForWindow(form.Hwnd()) != 144) Fail(0, "no window at 144 DPI");
    HWND window = form.Hwnd(), image = FindWindowExW(window, nullptr, L"Static", nullptr);
    HWND label = FindWindowExW(window, image, L"Static", nullptr), bar = FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr);
    RECT r = {}, client = {};
    GetWindowRect(window, &r);
    GetClientRect(window, &client);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    POINT mouse = {};
    GetCursorPos(&mouse);
    GetMonitorInfoW(MonitorFromPoint(mouse, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;  // the taskbar left out
    if (std::abs(r.left + r.right - work.left - work.right) > 1 || std::abs(r.top + r.bottom - work.top - work.bottom) > 1)
        Fail(144, "not centred where the mouse is");
    if (client.right != 519 || client.bottom != 143) Fail(144, "not 5190 x 1425 twips");

    const struct { UINT dpi; int icon, smallIcon, left, barTop, width, height; } steps[] = {
        {144, 48, 24, 96, 90, 519, 143}, {120, 40, 20, 80, 75, 433, 119}, {96, 32, 16, 64, 60, 346, 95}};
    for (const auto& s : steps) {
        if (s.dpi != 144) {
            // Windows asks for the size at the new DPI, then suggests a rectangle of that size.
            SIZE asked = {0, 0};
            RECT wanted = {0, 0, s.width, s.height};
            WindowRect_FromClient(wanted, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, s.dpi);
            SendMessageW(window, 0x02E4 /* WM_GETDPISCALEDSIZE */, s.dpi, reinterpret_cast<LPARAM>(&asked));
            if (asked.cx != wanted.right - wanted.left || asked.cy != wanted.bottom - wanted.top) Fail(s.dpi, "size asked");
            const RECT suggested = {40, 30, 40 + asked.cx, 30 + asked.cy};
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(s.dpi, s.dpi), reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(window, &r);
            if (!EqualRect(&r, &suggested)) Fail(s.dpi, "not at the suggested rectangle");
        }
        LOGFONTW message = {}, shown = {};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
        GetObjectW(font, sizeof(shown), &shown);
        if (!MessageFont_ForDpi(s.dpi, message) || shown.lfHeight != message.lfHeight ||
            std::wstring(shown.lfFaceName) != message.lfFaceName)
            Fail(s.dpi, "not the message font");
        SIZE text = {};
        ScreenDc screen(nullptr);
        ScopedSelectObject selected(screen.get(), font);
        GetTextExtentPoint32W(screen.get(), L"Please wait, uninstalling...", 28, &text);
        const RECT at = Child_Box(label), barAt = Child_Box(bar);
        if (at.left != s.left || barAt.left != s.left || barAt.top != s.barTop) Fail(s.dpi, "boxes");
        if (text.cx > at.right - at.left || text.cy > at.bottom - at.top || at.bottom > barAt.top) Fail(s.dpi, "text cut");
        if (IconWidth(SendMessageW(image, STM_GETICON, 0, 0)) != s.icon ||
            IconWidth(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)) != s.smallIcon)
            Fail(s.dpi, "icons");
    }
    std::exit(0);
}

TEST(UninstallWindow, OpensAt144DpiInTheMessageFontCentredWhereTheMouseIsAndFollowsAMove) {
    wintest::ScreenDpiForNewProcesses dpi(144);
    EXPECT_EXIT(Window_At144ThenMoved(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
