// The main form's window and its start-up and shutdown sequences.
#include "MainForm.h"

#include "Rmod.h"
#include "SingleInstance.h"
#include "StarterResources.h"
#include "StarterTexts.h"
#include "Systray.h"

namespace {

constexpr char kClassName[] = "VembrolStarterMfrm";

LRESULT CALLBACK Mfrm_WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            MainForm().Form_Unload(0);  // does not return: the process ends there
        case WM_ENDSESSION:
            // Only a session that really ends; a shutdown that another program cancelled keeps
            // the Starter in the tray.
            if (wParam) MainForm().Form_Unload(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

HICON Icon_Load(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_STARTER), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

Mfrm& MainForm() {
    static Mfrm form;
    return form;
}

HWND Mfrm::hwnd() const {
    if (!hwnd_) Window_Create();
    return hwnd_;
}

HICON Mfrm::Icon() const {
    hwnd();
    return iconSmall_.get();
}

void Mfrm::Window_Create() const {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    icon_.reset(Icon_Load(instance, GetSystemMetrics(SM_CXICON)));
    iconSmall_.reset(Icon_Load(instance, GetSystemMetrics(SM_CXSMICON)));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Mfrm_WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon_.get();
    wc.hIconSm = iconSmall_.get();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
    // Shown only at zero size while the popup is open, so it must neither appear as a taskbar
    // button (tool window) nor keep a caption bar, below whose size a framed window cannot shrink.
    hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, StarterText::MainCaption, WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, instance, nullptr);
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.get()));
}

void Mfrm::Form_SetSize(int width, int height) {
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Mfrm::Form_SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

void Mfrm::Form_SetVisible(bool visible) { ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE); }

void Mfrm::Form_Load() {
    // Before anything else: a second copy must leave no trace, not even a window.
    if (!SingleInstance_Claim()) ExitProcess(0);

    const std::string StarterExePath = StarterExePath_Build(Starter_Directory(), Starter_BaseName());
    if (!Systray_Add(*this, *this, StarterText::TrayTip)) Form_Unload(0);
    StarterRunEntry_Write(StarterExePath);
    StartStation_Init(StartStation, RegRoot_LocalMachine, StarterText::ProductKey);

    Form_SetEnabled(false);
    Form_SetVisible(false);

    AutoStartTarget = AutoStart_Load();
    if (AutoStartTarget != BooleanFalse) TargetProgram_Launch();
}

void Mfrm::Form_Unload(std::int16_t) {
    Systray_Remove(*this, *this);
    KtUnSubClassAll();
    ExitProcess(0);
}
