// The main form's window, its start-up and shutdown sequences, and the tray icon's messages.
#include "Mfrm.h"

#include "FormWindow.h"
#include "MenuForm.h"
#include "MonitorDpi.h"
#include "RegistryRoots.h"
#include "SingleInstance.h"
#include "StarterResources.h"
#include "StarterTexts.h"
#include "Systray.h"
#include "WideText.h"

namespace {

constexpr wchar_t kClassName[] = L"VembrolStarterMfrm";
constexpr UINT_PTR kTrayWaitTimer = 1;

// Sent by the shell to every top-level window when the taskbar (re)starts; 0 until the form's
// window exists.
UINT TaskbarCreatedMessage = 0;

LRESULT CALLBACK Mfrm_WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_TIMER && wParam == kTrayWaitTimer) || (msg != 0 && msg == TaskbarCreatedMessage)) {
        MainForm().Taskbar_Available();
        return 0;
    }
    switch (msg) {
        case WM_CLOSE:
            MainForm().Form_Unload(0);  // does not return: the process ends there
        case WM_DPICHANGED:
            // The form is never seen, so the rectangle Windows suggests for it is of no use.
            MainForm().Dpi_Changed(LOWORD(wParam));
            return 0;
        case WM_ENDSESSION:
            // Only a session that really ends; a shutdown that another program cancelled keeps
            // the Starter in the tray.
            if (wParam) MainForm().Form_Unload(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// An elevated Starter hears nothing from a taskbar that runs without elevation unless it lets the
// message through. Looked up at run time: systems before Windows 7 have no such function.
void Message_AllowFromTaskbar(HWND window, UINT message) {
    using AllowFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto allow = user32 ? reinterpret_cast<AllowFunction>(reinterpret_cast<void (*)()>(
                                    GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                              : nullptr;
    if (allow && message != 0) allow(window, message, MSGFLT_ALLOW, nullptr);
}

// Keeps the first visible dialog of the system's dialog class: a message box or the input box.
BOOL CALLBACK Box_Keep(HWND window, LPARAM found) {
    wchar_t name[8] = {};
    if (!IsWindowVisible(window) || !GetClassNameW(window, name, 8) || lstrcmpW(name, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A message box or the input box of the Starter that is open; null when there is none.
HWND Box_OpenOnThisThread() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Box_Keep, reinterpret_cast<LPARAM>(&box));
    return box;
}

// The icon resource holds an image for every display scaling; asking for the exact size the
// system uses keeps the shell from scaling a neighbouring one.
HICON Icon_Load(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_STARTER), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

}  // namespace

Mfrm& MainForm() {
    static Mfrm form;
    return form;
}

// ---- the window ----------------------------------------------------------------------------------

HWND Mfrm::hwnd() const {
    if (!hwnd_) Window_Create();
    return hwnd_;
}

HICON Mfrm::Icon() const {
    if (!trayIcon_) TrayIcon_Load(Dpi_ForWindow(hwnd()));
    return trayIcon_.get();
}

bool Mfrm::TrayIcon_Load(UINT dpi) const {
    if (trayIcon_ && dpi == trayIconDpi_) return false;
    // The shell keeps a copy of the image it shows, so the old one may go at once.
    trayIcon_.reset(Icon_Load(Metric_ForDpi(SM_CXSMICON, dpi)));
    trayIconDpi_ = dpi;
    return true;
}

void Mfrm::Window_Create() const {
    icon_.reset(Icon_Load(GetSystemMetrics(SM_CXICON)));
    iconSmall_.reset(Icon_Load(GetSystemMetrics(SM_CXSMICON)));
    TaskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    // Shown only at zero size while the popup is open, so it must neither appear as a taskbar
    // button (tool window) nor keep a caption bar, below whose size a framed window cannot shrink.
    const RECT nowhere = {0, 0, 0, 0};
    hwnd_ = FormWindow_Create({kClassName, Mfrm_WindowProc, icon_.get(), iconSmall_.get()}, StarterText::MainCaption,
                              WS_POPUP, WS_EX_TOOLWINDOW, nowhere, nullptr);
    Message_AllowFromTaskbar(hwnd_, TaskbarCreatedMessage);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.get()));
}

void Mfrm::Form_SetSize(int width, int height) {
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Mfrm::Form_SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

void Mfrm::Form_SetVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

// ---- start-up and shutdown -------------------------------------------------------------------

void Mfrm::Form_Load() {
    // Before anything else: a second copy must leave no trace, not even a window.
    if (!SingleInstance_Claim()) ExitProcess(0);
    // Started from a downloads folder (a console, an installer's "launch now", a shortcut's
    // "Start in"), the Starter must never run a program that lies there.
    SetCurrentDirectoryW(Wide_FromText(Starter_Directory()).c_str());
    Form_Start();
}

void Mfrm::Form_Start() {
    MenuForm().Click_SetHandler(
        [this](std::int16_t MenuIndex, std::int16_t Index) { ProgramReceivePopUpMenu_Click(MenuIndex, Index); });
    if (Tray_Add()) {
        Form_StartResident();
        return;
    }
    // Nothing is written until the icon is there: a Starter that gives up leaves no trace.
    TrayWait_Begin();
}

void Mfrm::TrayWait_Begin() {
    trayWaiting_ = true;
    trayWaitStart_ = GetTickCount();
    // Without the timer nothing would ever ask the taskbar again: a Starter with no icon and no
    // way to get one would only keep a new start from running, so it ends, leaving no trace.
    if (!SetTimer(hwnd(), kTrayWaitTimer, TrayWait_IntervalMs, nullptr)) Form_Unload(0);
}

void Mfrm::Form_StartResident() {
    resident_ = true;
    StarterRunEntry_Write(StarterExePath_Build(Starter_Directory(), Starter_BaseName()));
    StartStation_Init(StartStation, RegRoot_LocalMachine, StarterText::ProductKey);

    Form_SetEnabled(false);
    Form_SetVisible(false);

    AutoStartTarget = AutoStart_Load();
    if (AutoStartTarget != BooleanFalse) TargetProgram_Launch();
}

void Mfrm::Form_Unload(std::int16_t) {
    if (Systray_Remove(hwnd())) KtSubClass(*this, StarterText::TraySubclassName, *this, false);
    KtUnSubClassAll();
    ExitProcess(0);
}

// ---- the tray icon ---------------------------------------------------------------------------

bool Mfrm::Tray_Add() {
    if (SystrayMessage == 0) SystrayMessage = RegisterWindowMessageW(Wide_FromText(StarterText::TrayMessageName).c_str());
    Message_AllowFromTaskbar(hwnd(), SystrayMessage);
    if (!Systray_Add(hwnd(), Icon(), SystrayMessage, StarterText::TrayTip)) return false;
    trayVersion4_ = Systray_UseVersion4(hwnd());
    KtSubClass(*this, StarterText::TraySubclassName, *this, true);
    return true;
}

bool Mfrm::Tray_AddAgain() {
    TrayIcon_Load(Dpi_ForWindow(hwnd()));
    if (Systray_Add(hwnd(), Icon(), SystrayMessage, StarterText::TrayTip)) {
        trayVersion4_ = Systray_UseVersion4(hwnd());
        return true;
    }
    // "TaskbarCreated" also comes when the taskbar merely changed its scaling and kept its icons;
    // then adding fails, and changing the icon tells that it is there.
    return Systray_SetIcon(hwnd(), Icon());
}

void Mfrm::Dpi_Changed(UINT dpi) {
    if (TrayIcon_Load(dpi) && SystrayMessage != 0) Systray_SetIcon(hwnd(), Icon());
}

void Mfrm::Taskbar_Available() {
    // A restarted taskbar has forgotten every icon; without this the Starter would have no
    // interface left, and starting it again would not help, as a second copy ends at once.
    const bool added = resident_ ? Tray_AddAgain() : Tray_Add();
    if (added) {
        if (trayWaiting_) KillTimer(hwnd(), kTrayWaitTimer);
        trayWaiting_ = false;
        if (!resident_) Form_StartResident();
    } else if (!trayWaiting_) {
        // A taskbar that has only just restarted may still be too busy to take the icon.
        TrayWait_Begin();
    } else if (GetTickCount() - trayWaitStart_ >= TrayWait_LimitMs) {
        // Without an icon the Starter cannot be used, and it would keep a new start from running.
        Form_Unload(0);
    }
}

void Mfrm::KtSubClassWindowProc(const std::string&, HWND, UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT&,
                                bool&) {
    if (SystrayMessage == 0 || Msg != SystrayMessage) return;
    const TrayCallback callback = TrayCallback_Decode(trayVersion4_, wParam, lParam);
    // Every event is counted, also while the menu is open: the follow-up of the click that
    // opened it may arrive in its modal loop.
    const TrayOpen open = trayClicks_.Event_Receive(callback.event);
    // The menu's modal loop dispatches further tray messages; a second popup cannot open while
    // one is open, and hiding the form under the open menu would keep it from closing on a click
    // elsewhere, so a click meanwhile is left to the open menu.
    if (open == TrayOpen::Nothing || popupOpen_) return;
    // One question at a time: a menu over an open question could ask a second one on top of it,
    // and the two answers would contradict each other.
    if (HWND box = Box_OpenOnThisThread()) {
        SetForegroundWindow(box);
        return;
    }
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
    // The keyboard's menu opens at the icon, which the shell names; the mouse's under the pointer.
    const bool atAnchor = open == TrayOpen::AtAnchor;
    const std::int32_t x = atAnchor ? callback.anchorX : ProgramGetMousePosX();
    const std::int32_t y = atAnchor ? callback.anchorY : ProgramGetMousePosY();
    ProgramOpenPopUpMenu(x, y, MenuArray_Main);
    // Lets the switch away from the menu complete; without it the next opening can close at once.
    PostMessageW(hwnd(), WM_NULL, 0, 0);
    Form_SetVisible(false);
    Form_SetEnabled(false);
    popupOpen_ = false;
}
