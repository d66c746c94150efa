// The forms in this process: a start-up whose taskbar refuses the icon at first, the tray icon
// at each DPI, the boxes of commands that start nothing or end nothing, and the browse
// application's save.
#include "Mfrm.h"
#include "MonitorDpi.h"
#include "StarterSession.h"
#include "RegistryRoots.h"
#include "Systray.h"

#include <tuple>

using namespace startertest;

namespace {

// Early in a log-on the taskbar may not be there yet, and no test desktop refuses an icon on its
// own: this shell refuses the first refusals additions, and records the calls the shell took.
int refusals = 0;
using ShellCall = std::tuple<DWORD, int, UINT>;  // message, icon width, flags or the version asked for
std::vector<ShellCall> calls;

BOOL WINAPI Shell_LateTaskbar(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_ADD && refusals > 0) return --refusals, FALSE;
    if (!Shell_NotifyIconW(message, data)) return FALSE;
    calls.emplace_back(message, wintest::Icon_Width(data->hIcon), message == NIM_SETVERSION ? data->uVersion : data->uFlags);
    return TRUE;
}

constexpr int kResident = 42;

// Runs the start-up with a late taskbar, then restarts the taskbar, which forgets the icon and
// refuses it again at first. Ends the process: kResident once the icon is back as it should be,
// another code for what went wrong; the Starter giving up ends it with 0.
[[noreturn]] void LateStart(int refusalsAtFirst, int refusalsAfterRestart) {
    Mfrm& form = MainForm();
    form.TrayWait_IntervalMs = 200;
    form.TrayWait_LimitMs = 1500;
    Systray_Shell = Shell_LateTaskbar;
    refusals = refusalsAtFirst;
    form.Form_Start();
    if (Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue) != "(none)") std::exit(1);  // written while waiting
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    PostMessageW(form.hwnd(), taskbarCreated, 0, 0);
    MSG msg;
    const auto called = [&](size_t count) {
        return Eventually([&] {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            return calls.size() >= count;
        }, 5000);
    };
    // Sharp at every scaling: the image the shell gets is the small-icon size at the form's DPI.
    // The keyboard's events need version 4 of the callback, asked for after every add, under
    // which the tip shows only when asked for.
    const int small = GetSystemMetrics(SM_CXSMICON), small144 = Metric_ForDpi(SM_CXSMICON, 144);
    const std::vector<ShellCall> added = {{NIM_ADD, small, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP},
                                          {NIM_SETVERSION, 0, NOTIFYICON_VERSION_4}};
    if (!called(2)) std::exit(2);
    if (!TrayIcon(form.hwnd())) std::exit(3);
    if (Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue) != "\"" + Module_GetPath() + "\"") std::exit(4);
    if (calls != added) std::exit(5);
    // Moved to a monitor at 150 %, then a restarted taskbar on the system's DPI again, which
    // refuses the icon at first too.
    RECT suggested = {0, 0, 0, 0};
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    if (small144 == small || calls.size() != 3 || calls[2] != ShellCall{NIM_MODIFY, small144, NIF_ICON}) std::exit(6);
    Systray_Remove(form.hwnd());
    refusals = refusalsAfterRestart;
    PostMessageW(form.hwnd(), taskbarCreated, 0, 0);
    if (!called(6) || std::vector<ShellCall>(calls.begin() + 4, calls.end()) != added) std::exit(7);
    Systray_Remove(form.hwnd());
    std::exit(kResident);
}

class LateTaskbar : public StarterTest {};

// Each start runs in a process of its own, as giving up ends the process.
TEST_F(LateTaskbar, StartUpAndARestartedTaskbarAreWaitedForAtItsSignalAndOnTheirOwnUntilTheIconIsTakenOrTheLimitPassed) {
    // Refused at start and at the first "TaskbarCreated", and after the restart three times more:
    // retries of the timer are taken.
    EXPECT_EXIT(LateStart(2, 3), ::testing::ExitedWithCode(kResident), "");
    // Refused for good, at start or after the restart: the Starter ends, silently, once the limit has passed.
    EXPECT_EXIT(LateStart(1000, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(LateStart(1, 1000), ::testing::ExitedWithCode(0), "");
}

// No Vembrol.exe lies beside this test program.
TEST(MenuCommands, TellWhenVembrolIsMissingAndWhenTheStarterStays) {
    using wintest::BoxIcon;
    MainForm().PopUpMenu_Refresh(1);  // the first item as the menu draws it: Launch
    const struct { std::int16_t menu, item; std::vector<std::string> buttons, texts; std::vector<BoxIcon> icons; } cases[] = {
        {MenuArray_Main, M1_Target, {"OK"}, {"Vembrol was not found in current directory  !"}, {BoxIcon::Exclamation}},
        {MenuArray_SpecialModes, M2_ExtendedHelp, {"OK"},
         {"Vembrol was not found in current directory, please move this program to the right location !"}, {BoxIcon::Exclamation}},
        // The question's text is the life-cycle test's to quote.
        {MenuArray_Main, M1_RemoveStarter, {"No", "OK"}, {"", "Good boy."}, {BoxIcon::Question, BoxIcon::Information}},
    };
    for (const auto& c : cases) {
        wintest::BoxAnswerer answerer(c.buttons);
        MainForm().ProgramReceivePopUpMenu_Click(c.menu, c.item);
        std::vector<std::string> texts;
        std::vector<BoxIcon> icons;
        for (const auto& box : answerer.Boxes()) {
            const bool quoted = texts.size() < c.texts.size() && !c.texts[texts.size()].empty();
            texts.push_back(quoted ? box.text : "");
            icons.push_back(box.icon);
            EXPECT_EQ(box.caption, "Vembrol Starter");
        }
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(icons, c.icons);
    }
}

// The key is shared with the product's other programs, which store what the Starter cannot read.
TEST(StartStationSave, StoresTheBrowseApplicationAloneAndLeavesEveryOtherValueAsItWas) {
    wintest::ScratchKey product("StartStationSave");
    const std::string key = product.Path() + "\\KtStartStation", nul(2, '\0');
    const auto text = [&](const std::string& t) { return wintest::Utf16_Bytes(t) + nul; };
    const struct { const char* name; DWORD type; std::string data; } stored[] = {
        {"icon file1", REG_SZ, text("C:\\" + std::string(70000, 'i') + ".ico")},  // beyond what a load holds
        {"application name2", REG_MULTI_SZ, text("C:\\One.exe") + text("C:\\Two.exe") + nul},
        {"application command3", REG_EXPAND_SZ, text("%SystemRoot%\\notepad.exe")},
        {"file type4", REG_SZ, text("02")},  // a rewrite would make it 2
        {"another program's setting", REG_BINARY, std::string("\x01\x02\0", 3)},
    };
    for (const auto& v : stored) ASSERT_TRUE(wintest::Registry_WriteStored(HKEY_LOCAL_MACHINE, key, v.name, v.type, v.data));
    StartStationConfig config;
    StartStation_Init(config, RegRoot_LocalMachine, product.Path());
    StartStation_Load(config);
    config.BrowseApplication = "C:\\Новый\\browse.exe";
    ASSERT_TRUE(StartStation_Save(config));

    for (const auto& v : stored) {
        DWORD type = 0;
        std::string data;
        EXPECT_TRUE(wintest::Registry_ReadStored(HKEY_LOCAL_MACHINE, key, v.name, &type, &data) && type == v.type &&
                    data == v.data) << v.name;
    }
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, "browse application"), config.BrowseApplication);
    EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, key).size(), std::size(stored) + 1);  // nothing else
}

}  // namespace
