// The tray icon through the shell's notification-area call.
#include "Systray.h"

#include "WideText.h"

#include <algorithm>
#include <cwchar>

Systray_ShellFunction Systray_Shell = Shell_NotifyIconW;

namespace {

constexpr UINT kIconId = 1;
constexpr size_t kTipLength = 64;  // the tip field of the first structure layout

NOTIFYICONDATAW Systray_Data(HWND window, HICON icon, UINT callbackMessage, const std::string& tip) {
    NOTIFYICONDATAW data = {};
    // The full layout of Windows 7: the version request needs its uVersion field.
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = kIconId;
    // Under version 4 the shell shows the tip only when asked to; screen readers read it too.
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    // The tip ends with a NUL and the rest of the first layout's field holds blanks, as the
    // Starter has always handed it over; a tip that fills the field carries no NUL, and is never
    // cut inside a character that takes two UTF-16 units.
    std::wmemset(data.szTip, L' ', kTipLength);
    const std::wstring wide = Wide_FromText(tip);
    size_t n = std::min(wide.size(), kTipLength);
    if (n == kTipLength && IS_HIGH_SURROGATE(wide[n - 1])) --n;
    std::wmemcpy(data.szTip, wide.data(), n);
    if (n < kTipLength) data.szTip[n] = L'\0';
    return data;
}

}  // namespace

bool Systray_Add(HWND window, HICON icon, UINT callbackMessage, const std::string& tip) {
    NOTIFYICONDATAW data = Systray_Data(window, icon, callbackMessage, tip);
    return Systray_Shell(NIM_ADD, &data) != FALSE;
}

bool Systray_UseVersion4(HWND window) {
    NOTIFYICONDATAW data = Systray_Data(window, nullptr, 0, "");
    data.uFlags = 0;
    data.uVersion = NOTIFYICON_VERSION_4;
    return Systray_Shell(NIM_SETVERSION, &data) != FALSE;
}

bool Systray_SetIcon(HWND window, HICON icon) {
    NOTIFYICONDATAW data = Systray_Data(window, icon, 0, "");
    data.uFlags = NIF_ICON;
    return Systray_Shell(NIM_MODIFY, &data) != FALSE;
}

bool Systray_Remove(HWND window) {
    NOTIFYICONDATAW data = Systray_Data(window, nullptr, 0, "");
    return Systray_Shell(NIM_DELETE, &data) != FALSE;
}
