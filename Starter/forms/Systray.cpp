// The tray icon: adding and deleting it, adding it again after the taskbar restarts, and the
// main form's handling of the tray's mouse messages.
#include "Systray.h"

#include "StarterTexts.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kIconId = 1;
constexpr size_t kTipLength = 64;  // the tip field of the 88-byte structure

// The tip of the icon as last added, for adding it again after a taskbar restart.
std::string Systray_LastTip;

NOTIFYICONDATAA Systray_Data(const Mfrm& form, UINT callbackMessage, const std::string& tip) {
    NOTIFYICONDATAA data = {};
    // The first, 88-byte layout: every shell understands it, and it carries all the Starter needs.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = form.hwnd();
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = form.Icon();
    // The tip ends with a NUL and the rest of the field holds blanks, as the Starter has always
    // handed it over; a tip that fills the field carries no NUL.
    std::memset(data.szTip, ' ', kTipLength);
    const size_t n = std::min(tip.size(), kTipLength);
    std::memcpy(data.szTip, tip.data(), n);
    if (n < kTipLength) data.szTip[n] = '\0';
    return data;
}

}  // namespace

bool Systray_Add(Mfrm& form, KtSubClassTarget& target, const std::string& tip) {
    if (form.SystrayMessage == 0) form.SystrayMessage = RegisterWindowMessageA(StarterText::TrayMessageName);
    // The shell sends this to every top-level window when the taskbar starts again, for example
    // after Explorer crashed; icons added before are gone by then.
    if (form.TaskbarCreatedMessage == 0) form.TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    NOTIFYICONDATAA data = Systray_Data(form, form.SystrayMessage, tip);
    if (!Shell_NotifyIconA(NIM_ADD, &data)) return false;
    Systray_LastTip = tip;
    KtSubClass(form, StarterText::TraySubclassName, target, true);
    return true;
}

bool Systray_Remove(Mfrm& form, KtSubClassTarget& target) {
    NOTIFYICONDATAA data = Systray_Data(form, 0, "");
    if (!Shell_NotifyIconA(NIM_DELETE, &data)) return false;
    KtSubClass(form, StarterText::TraySubclassName, target, false);
    return true;
}

bool Systray_Restore(Mfrm& form) {
    NOTIFYICONDATAA data = Systray_Data(form, form.SystrayMessage, Systray_LastTip);
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void Mfrm::KtSubClassWindowProc(const std::string&, HWND, UINT Msg, WPARAM, LPARAM lParam, LRESULT&, bool&) {
    if (TaskbarCreatedMessage != 0 && Msg == TaskbarCreatedMessage) {
        // Without this the Starter would have no interface left, and starting it again would
        // not help either, since a second copy ends at once.
        Systray_Restore(*this);
        return;
    }
    if (SystrayMessage == 0 || Msg != SystrayMessage) return;
    if (lParam != WM_LBUTTONUP && lParam != WM_RBUTTONUP) return;
    // The menu's modal loop dispatches further tray messages; a second popup cannot open while
    // one is open, and hiding the form under the open menu would keep it from closing on a click
    // elsewhere, so a click meanwhile is left to the open menu.
    if (popupOpen_) return;
    popupOpen_ = true;

    Form_SetSize(0, 0);
    Form_SetEnabled(true);
    Form_SetVisible(true);
    SetFocus(hwnd());
    // A popup menu closes on a click elsewhere only while its thread owns the foreground window.
    SetForegroundWindow(hwnd());
    PopUpMenu_Refresh(1);
    PopUpMenu_Refresh(2);
    PopUpMenu_Refresh(3);
    const std::int32_t x = ProgramGetMousePosX();
    const std::int32_t y = ProgramGetMousePosY();
    ProgramOpenPopUpMenu(x, y, 1);
    // Lets the switch away from the menu complete; without it the next opening can close at once.
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    Form_SetVisible(false);
    Form_SetEnabled(false);
    popupOpen_ = false;
}
