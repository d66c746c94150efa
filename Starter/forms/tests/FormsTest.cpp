// The forms in this process: the tray menu read back from the real platform menu (the tree as
// defined, what each refresh shows), and a start-up whose taskbar refuses the icon at first.
#include "MenuForm.h"
#include "Mfrm.h"
#include "RegistryRoots.h"
#include "StarterSession.h"
#include "Systray.h"

using namespace startertest;

namespace {

using Items = std::vector<std::string>;

// Each item as the user sees it: "-" for a separator, then grayed, checked and submenu size.
Items Items_Read(HMENU menu) {
    Items items;
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, static_cast<int>(i));
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION) & (sub ? 0xFFu : ~0u);  // high byte: item count
        std::string item = (state & MF_SEPARATOR) ? "-" : Text_FromWideBuffer(text, 256);
        if (state & MF_GRAYED) item += " (grayed)";
        if (state & MF_CHECKED) item += " (checked)";
        if (sub) item += " [" + std::to_string(GetMenuItemCount(sub)) + "]";
        items.push_back(item);
    }
    return items;
}

HMENU Dropdown(MENUfrm& form) { return GetSubMenu(GetMenu(form.hwnd()), 0); }

TEST(TrayMenu, ShowsTheDefinedTreeWithoutTheFastModes) {
    MENUfrm form;  // fresh, not refreshed
    EXPECT_EQ(Items_Read(GetMenu(form.hwnd())), Items{"[M1] [11]"});
    EXPECT_EQ(Items_Read(Dropdown(form)),
              (Items{"&Launch Vembrol (Normal Mode)", "-", "Launch Vembrol (Special Modes)... [1]",
                     "Launch Start Station Application... [5]", "-", "Visit &Homepage", "-", "&Auto Start Vembrol",
                     "-", "&Close Starter", "&Remove Starter"}));
    EXPECT_EQ(Items_Read(GetSubMenu(Dropdown(form), 2)), Items{"Extended Help"});
}

class TrayMenuRefresh : public StarterTest {};

TEST_F(TrayMenuRefresh, ShowsVembrolsStateTheSettingAndTheStartStationSlotsAsStored) {
    const StarterInstall& install = Install("forms-refresh");
    struct Case {
        const char* window;  // a top-level window of this title exists
        bool ofVembrol;      // owned by a Vembrol.exe, else by this test program
        int show;
        Boolean autoStart;
        Items first, modes;
    };
    const Case cases[] = {
        {nullptr, false, SW_HIDE, BooleanTrue, {"Launch Vembrol (Normal Mode)", "&Auto Start Vembrol (checked)"},
         {"Extended Help"}},
        {"Vembrol", false, SW_SHOWNOACTIVATE, BooleanFalse, {"Launch Vembrol (Normal Mode)", "&Auto Start Vembrol"},
         {"Extended Help"}},
        {"Vembrol", true, SW_SHOWNOACTIVATE, BooleanFalse, {"Close Vembrol (Running)", "&Auto Start Vembrol"},
         {"Extended Help (grayed)"}},
        {"FastSort - Vembrol", true, SW_SHOWMINNOACTIVE, BooleanFalse,
         {"Restore Vembrol (Minimized)", "&Auto Start Vembrol"}, {"Extended Help (grayed)"}},
    };
    HMENU dropdown = Dropdown(MenuForm());
    for (const Case& c : cases) {
        wintest::Process vembrol;
        HWND window = nullptr;
        if (c.window && c.ofVembrol) {
            vembrol = wintest::Process::Start(install.dir + "Vembrol.exe", std::string("/Window=") + c.window, install.dir);
            window = StandInWindow(c.window);
        } else if (c.window) {
            window = CreateWindowW(L"STATIC", Wide_FromText(c.window).c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        }
        if (window) ShowWindow(window, c.show);
        MainForm().AutoStartTarget = c.autoStart;
        MainForm().PopUpMenu_Refresh(1);
        MainForm().PopUpMenu_Refresh(2);
        const Items items = Items_Read(dropdown);
        EXPECT_EQ((Items{items[0], items[7]}), c.first) << (c.window ? c.window : "none");
        EXPECT_EQ(Items_Read(GetSubMenu(dropdown, 2)), c.modes);
        if (window && !c.ofVembrol) DestroyWindow(window);
    }
    MainForm().AutoStartTarget = BooleanFalse;

    // Re-read at every opening; captions as the menu shows them ("&&" is how it shows one "&").
    StartStation_Init(MainForm().StartStation, RegRoot_LocalMachine, "Software\\Vembrol\\");
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type1", "1");
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "application name1", "C:\\Tools\\R&B Tagger.exe");
    HMENU menu = GetSubMenu(dropdown, 3);
    MainForm().PopUpMenu_Refresh(3);
    EXPECT_EQ(Items_Read(menu), (Items{"R&&B Tagger", "[not defined] (grayed)", "[not defined] (grayed)",
                                       "[not defined] (grayed)", "[not defined] (grayed)"}));
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type1", "0");  // changed by another program
    MainForm().PopUpMenu_Refresh(3);
    EXPECT_EQ(Items_Read(menu).front(), "[not defined] (grayed)");
}

// Early in a log-on the taskbar may not be there yet, and no test desktop refuses an icon on its
// own: this shell refuses the first refusals additions.
int refusals = 0;
HICON iconShown = nullptr;
BOOL WINAPI Shell_LateTaskbar(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_ADD && refusals > 0) {
        --refusals;
        return FALSE;
    }
    if (message == NIM_ADD) iconShown = data->hIcon;
    return Shell_NotifyIconW(message, data);
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    return Eventually([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return condition();
    }, timeoutMs);
}

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return 0;
    BITMAP image = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(image), &image);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
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
    if (!PumpUntil([] { return iconShown != nullptr; }, 5000)) std::exit(2);
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
