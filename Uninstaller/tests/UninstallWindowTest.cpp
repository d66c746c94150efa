// The uninstaller's window in this process at each DPI: the system's message font, the icons and
// boxes for the DPI, a DPI change as Windows announces it, and a window opened at 144 DPI. Wine
// gives every monitor one DPI (LogPixels) and never changes it by itself.
#include "Handles.h"
#include "Mfrm.h"
#include "MonitorDpi.h"
#include "WideText.h"
#include "WinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

using Box = std::tuple<int, int, int, int>;  // left, top, width, height in the client area

struct WindowSeen {
    Box image, label, progress;
    int icon = 0, smallIcon = 0;
    LOGFONTW font = {};
    SIZE text = {0, 0};  // the label's text in its own font
};

int IconWidth(HICON icon) {
    ICONINFO info = {};
    BITMAP image = {};
    if (icon && GetIconInfo(icon, &info)) GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(image), &image);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    return image.bmWidth;
}

Box Child_Box(HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// What the window shows, read back from its controls.
WindowSeen Window_Read(HWND window) {
    HWND image = FindWindowExW(window, nullptr, L"Static", nullptr), label = FindWindowExW(window, image, L"Static", nullptr);
    WindowSeen seen;
    seen.image = Child_Box(image);
    seen.label = Child_Box(label);
    seen.progress = Child_Box(FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr));
    seen.icon = IconWidth(reinterpret_cast<HICON>(SendMessageW(image, STM_GETICON, 0, 0)));
    seen.smallIcon = IconWidth(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    GetObjectW(font, sizeof(seen.font), &seen.font);
    ScreenDc screen(nullptr);
    ScopedSelectObject selected(screen.get(), font);
    GetTextExtentPoint32W(screen.get(), L"Please wait, uninstalling...", 28, &seen.text);
    return seen;
}

bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && std::wstring(a.lfFaceName) == b.lfFaceName;
}

TEST(UninstallWindow, FollowsADpiChangeWithItsSizeFontIconsAndBoxes) {
    Mfrm form;
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    const struct { UINT dpi; int width, height, icon, smallIcon; Box image, label, progress; } cases[] = {
        {144, 519, 143, 48, 24, {24, 30, 48, 48}, {96, 42, 410, 20}, {96, 90, 410, 26}},
        {120, 433, 119, 40, 20, {20, 25, 40, 40}, {80, 35, 341, 16}, {80, 75, 341, 21}},
        {96, 346, 95, 32, 16, {16, 20, 32, 32}, {64, 28, 273, 13}, {64, 60, 273, 17}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        // Windows asks for the size first, then suggests a rectangle of it with the change.
        SIZE size = {0, 0};
        SendMessageW(form.Hwnd(), 0x02E4 /* WM_GETDPISCALEDSIZE */, c.dpi, reinterpret_cast<LPARAM>(&size));
        RECT expected = {0, 0, c.width, c.height};
        WindowRect_FromClient(expected, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, c.dpi);
        EXPECT_EQ(std::make_pair(size.cx, size.cy),
                  std::make_pair(expected.right - expected.left, expected.bottom - expected.top));
        const RECT suggested = {40, 30, 40 + size.cx, 30 + size.cy};
        SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&suggested));

        RECT now = {};
        GetWindowRect(form.Hwnd(), &now);
        EXPECT_TRUE(EqualRect(&now, &suggested)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
        const WindowSeen seen = Window_Read(form.Hwnd());
        LOGFONTW message = {};
        ASSERT_TRUE(MessageFont_ForDpi(c.dpi, message));
        EXPECT_TRUE(SameFont(seen.font, message)) << seen.font.lfHeight << " " << Text_FromWide(seen.font.lfFaceName);
        EXPECT_EQ(std::make_pair(seen.icon, seen.smallIcon), std::make_pair(c.icon, c.smallIcon));
        EXPECT_EQ(seen.image, c.image);
        // Wine's message font fits the label's box at these DPIs; it grows for a larger font.
        EXPECT_EQ(std::make_tuple(std::get<0>(seen.label), std::get<1>(seen.label), std::get<2>(seen.label)),
                  std::make_tuple(std::get<0>(c.label), std::get<1>(c.label), std::get<2>(c.label)));
        EXPECT_GE(std::get<3>(seen.label), std::max(std::get<3>(c.label), static_cast<int>(seen.text.cy)));
        EXPECT_EQ(seen.progress, c.progress);
    }
}

// Each child process reads LogPixels as it starts; this one opens the window at 144 DPI.
[[noreturn]] void Window_OpenAt144() {
    Mfrm form;
    if (!form.Create(GetModuleHandleW(nullptr))) std::exit(1);
    if (Dpi_ForWindow(form.Hwnd()) != 144) std::exit(2);
    const WindowSeen seen = Window_Read(form.Hwnd());
    LOGFONTW message = {};
    if (!MessageFont_ForDpi(144, message) || !SameFont(seen.font, message)) std::exit(3);
    const int labelWidth = std::get<2>(seen.label), labelBottom = std::get<1>(seen.label) + std::get<3>(seen.label);
    if (seen.text.cx > labelWidth || seen.text.cy > std::get<3>(seen.label)) std::exit(4);  // the text is not cut
    if (labelBottom > std::get<1>(seen.progress) || seen.icon != 48) std::exit(5);
    // Centred on the work area of the mouse's monitor, the taskbar left out.
    POINT mouse = {};
    GetCursorPos(&mouse);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(mouse, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT r = {};
    GetWindowRect(form.Hwnd(), &r);
    const RECT& work = monitor.rcWork;
    if (std::abs((r.left - work.left) - (work.right - r.right)) > 1 || std::abs((r.top - work.top) - (work.bottom - r.bottom)) > 1)
        std::exit(6);
    std::exit(42);
}

TEST(UninstallWindow, OpensAt144DpiWithTheWholeTextInTheMessageFontCentredWhereTheMouseIs) {
    const std::string desktop = "Control Panel\\Desktop";
    DWORD type = 0;
    std::string saved;
    const bool had = wintest::Registry_ReadStored(HKEY_CURRENT_USER, desktop, "LogPixels", &type, &saved);
    ASSERT_TRUE(wintest::Registry_WriteStored(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, std::string("\x90\0\0\0", 4)));
    EXPECT_EXIT(Window_OpenAt144(), ::testing::ExitedWithCode(42), "");
    if (had) wintest::Registry_WriteStored(HKEY_CURRENT_USER, desktop, "LogPixels", type, saved);
    if (!had) RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
}

}  // namespace
