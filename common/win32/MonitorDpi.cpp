// Per-monitor DPI through user32's and shcore's newer calls where the system has them.
#include "MonitorDpi.h"

#include "Dpi.h"
#include "Handles.h"

#include <string>

namespace {

// A function of a system DLL, null where this Windows lacks it. GetProcAddress's result goes
// through the generic function pointer type, which converts to any other without a warning.
template <typename F>
F System_Function(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

template <typename F>
F User32_Function(const char* name) {
    return System_Function<F>(GetModuleHandleW(L"user32.dll"), name);
}

// shcore.dll (Windows 8.1 on) is loaded from the system folder by its full path, never through
// the search path, and stays loaded for the process.
HMODULE Shcore_Module() {
    static const HMODULE module = [] {
        wchar_t dir[MAX_PATH];
        const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH - 12) return HMODULE{};
        return LoadLibraryW((std::wstring(dir, n) + L"\\shcore.dll").c_str());
    }();
    return module;
}

}  // namespace

UINT Dpi_System() {
    static const auto forSystem = User32_Function<UINT(WINAPI*)()>("GetDpiForSystem");
    if (forSystem) return forSystem();
    ScreenDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : Dpi_Default;
}

namespace {

UINT Dpi_ForMonitor(HMONITOR monitor) {
    // MDT_EFFECTIVE_DPI is 0: the DPI the user chose for the monitor.
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = System_Function<GetDpiForMonitorFunction>(Shcore_Module(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y > 0) return y;
    return Dpi_System();
}

}  // namespace

UINT Dpi_ForWindow(HWND window) {
    static const auto forWindow = User32_Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    return Dpi_ForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

UINT Dpi_ForPoint(POINT point, RECT* workArea) {
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (workArea) {
        if (!GetMonitorInfoW(monitor, &info)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        *workArea = info.rcWork;
    }
    return Dpi_ForMonitor(monitor);
}

int Metric_ForDpi(int index, UINT dpi) {
    static const auto forDpi = User32_Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return Dpi_Scale(GetSystemMetrics(index), Dpi_System(), dpi);
}

bool MessageFont_ForDpi(UINT dpi, LOGFONTW& font) {
    using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = User32_Function<ForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
        return true;
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
    // Given at the system DPI.
    font = metrics.lfMessageFont;
    font.lfHeight = Dpi_Scale(font.lfHeight, Dpi_System(), dpi);
    return true;
}

void WindowRect_FromClient(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi) {
    using ForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = User32_Function<ForDpiFunction>("AdjustWindowRectExForDpi");
    if (forDpi && forDpi(&rect, style, FALSE, extendedStyle, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
}
