// A start-up in this process whose taskbar refuses the icon at first.
#include "Mfrm.h"
#include "StarterSession.h"
#include "Systray.h"

using namespace startertest;

namespace {

// Early in a log-on the taskbar may not be there yet, and no test desktop refuses an icon on its
// own: this shell refuses the first refusals additions.
int refusals = 0;
HICON iconShown = nullptr;
BOOL WINAPI Shell_LateTaskbar(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_ADD && refusals > 0) return --refusals, FALSE;
    if (message == NIM_ADD) iconShown = data->hIcon;
    return Shell_NotifyIconW(message, data);
}

int IconWidth(HICON icon) {
    ICONINFO info = {};
    BITMAP image = {};
    if (GetIconInfo(icon, &info)) GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(image), &image);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    return image.bmWidth;
}

constexpr int kResident = 42;

// Runs the start-up with a late taskbar and ends the process: kResident once the start-up has
// completed as it should, another code for what went wrong; the Starter giving up ends it with 0.
[[noreturn]] void LateStart(int refusalsAtFirst) {
    Mfrm& form = MainForm();
    form.TrayWait_IntervalMs = 200;
    form.TrayWait_LimitMs = 1500;
    Systray_Shell = Shell_LateTaskbar;
    refusals = refusalsAtFirst;
    form.Form_Start();
    if (Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue) != "(none)") std::exit(1);  // written while waiting
    PostMessageW(form.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    MSG msg;
    const auto shown = [&] {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return iconShown != nullptr;
    };
    if (!Eventually(shown, 5000)) std::exit(2);
    if (!TrayIcon(form.hwnd())) std::exit(3);
    if (Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue) != "\"" + Module_GetPath() + "\"") std::exit(4);
    // Sharp at every scaling: the image the shell gets is the system's small-icon size.
    if (IconWidth(iconShown) != GetSystemMetrics(SM_CXSMICON)) std::exit(5);
    Systray_Remove(form.hwnd());
    std::exit(kResident);
}

class LateTaskbar : public StarterTest {};

// Each start runs in a process of its own, as giving up ends the process.
TEST_F(LateTaskbar, StartUpWaitsForTheTaskbarAtItsSignalAndOnItsOwnThenCompletesOrGivesUp) {
    // Refused at start and at the first "TaskbarCreated"; a retry of the timer is taken.
    EXPECT_EXIT(LateStart(2), ::testing::ExitedWithCode(kResident), "");
    // Refused for good: the Starter ends, silently, once the limit has passed.
    EXPECT_EXIT(LateStart(1000), ::testing::ExitedWithCode(0), "");
}

}  // namespace
