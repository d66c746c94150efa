// The real program under Wine, as a user meets it: start-up and the single instance, the tray icon
// and when its menu opens, the taskbar restarting, and the ways the Starter ends.
#include "StarterSession.h"

#include <gtest/gtest.h>

using namespace startertest;

namespace {

bool RunValue_Read(const char* key, std::string& data) {
    return Registry_ReadString(HKEY_LOCAL_MACHINE, key, kRunValue, data);
}

void RunValues_Delete() {
    for (const char* key : {kRunKey, kRunKeyNt}) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) continue;
        RegDeleteValueA(k, kRunValue);
        RegCloseKey(k);
    }
}

class StarterStartUp : public ::testing::Test {
protected:
    void TearDown() override { StandIns_CloseAll(); }
    RegistryGuard registry_;
};

TEST_F(StarterStartUp, WritesBothRunEntriesWithTheQuotedPath) {
    StarterInstall install("starter-run-entries");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    for (const char* key : {kRunKey, kRunKeyNt}) {
        SCOPED_TRACE(key);
        DWORD type = 0;
        ASSERT_TRUE(wintest::Registry_ReadRaw(HKEY_LOCAL_MACHINE, key, kRunValue, &type, nullptr));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        std::string data;
        ASSERT_TRUE(RunValue_Read(key, data));
        EXPECT_EQ(data, "\"C:\\vembrol-tests\\starter-run-entries\\Vembrol Starter.exe\"");
    }
    EXPECT_FALSE(IsWindowVisible(starter.MainWindow()));
    EXPECT_FALSE(IsWindowEnabled(starter.MainWindow()));
    // The autostart setting is off: nothing is started.
    Sleep(300);
    EXPECT_TRUE(StandInLog_Lines(install.Directory()).empty());
}

TEST_F(StarterStartUp, SecondCopyEndsAtOnceAndTouchesNothing) {
    StarterInstall install("starter-second-copy");
    StarterSession first;
    ASSERT_TRUE(first.Start(install));
    RunValues_Delete();

    wintest::Process second = wintest::Process::Start(install.ExePath(), "", install.Directory());
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.WaitExit(5000));
    EXPECT_EQ(second.ExitCode(), 0u);
    std::string data;
    EXPECT_FALSE(RunValue_Read(kRunKey, data));
    EXPECT_FALSE(RunValue_Read(kRunKeyNt, data));
    EXPECT_TRUE(first.Process().Running());
    EXPECT_TRUE(TrayIcon_Present(first.MainWindow()));

    // Once the first has ended, a new start is a first start again and registers itself.
    ASSERT_TRUE(first.Close());
    StarterSession again;
    ASSERT_TRUE(again.Start(install));
    EXPECT_TRUE(Eventually([] {
        std::string d;
        return RunValue_Read(kRunKey, d) && RunValue_Read(kRunKeyNt, d);
    }));
}

TEST_F(StarterStartUp, StartsVembrolOnlyWhenTheSettingSaysTrue) {
    struct Case {
        const char* stored;
        bool starts;
    };
    for (const Case& c : {Case{"tRUE", true}, Case{"1", false}}) {
        SCOPED_TRACE(c.stored);
        StarterInstall install("starter-autostart");
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue, c.stored);
        StarterSession starter;
        ASSERT_TRUE(starter.Start(install));
        StandInStart start;
        const bool started = StandInStart_WaitFirst(install.Directory(), start, c.starts ? 10000 : 1000);
        EXPECT_EQ(started, c.starts);
        if (started) {
            EXPECT_EQ(start.commandLine, install.TargetPath());
        }
        ASSERT_TRUE(starter.Close());
        StandIns_CloseAll();
    }
}

TEST_F(StarterStartUp, AutoStartWithVembrolMissingReportsItAndStaysInTheTray) {
    StarterInstall install("starter-autostart-missing", false);
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue, "True");
    wintest::Process process = wintest::Process::Start(install.ExePath(), "", install.Directory());
    const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(process.Id(), "OK");
    EXPECT_EQ(box.text, "Vembrol was not found in current directory  !");
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
    wintest::WindowQuery q;
    q.title = kMainCaption;
    q.processId = process.Id();
    q.visibleOnly = false;
    HWND main = wintest::Window_WaitFor(q);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(process.Running());
    EXPECT_TRUE(TrayIcon_Present(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process.WaitExit());
}

class StarterTray : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(starter_.Start(install_)); }
    void TearDown() override { StandIns_CloseAll(); }

    RegistryGuard registry_;
    StarterInstall install_{"starter-tray"};
    StarterSession starter_;
};

TEST_F(StarterTray, ButtonReleasesOpenTheMenuAndNothingElseDoes) {
    const UINT callback = RegisterWindowMessageA("KtSystray");
    for (LPARAM ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK}) {
        SCOPED_TRACE(ignored);
        PostMessageA(starter_.MainWindow(), callback, 1, ignored);
        EXPECT_EQ(wintest::PopupMenu_WaitFor(400), nullptr);
    }
    for (LPARAM opens : {WM_LBUTTONUP, WM_RBUTTONUP}) {
        SCOPED_TRACE(opens);
        HWND popup = starter_.Menu_Open(opens);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(wintest::Window_GetProcessId(popup), starter_.Process().Id());
        // While the menu is open the form is shown at zero size, enabled, and in the foreground,
        // so that a click elsewhere closes the menu.
        HWND main = starter_.MainWindow();
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(GetForegroundWindow(), main);
        RECT r = {};
        GetWindowRect(main, &r);
        EXPECT_EQ(r.right - r.left, 0);
        EXPECT_EQ(r.bottom - r.top, 0);

        wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
        ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(main) && !IsWindowEnabled(main); }));
    }
    // Dismissed menus started nothing.
    EXPECT_TRUE(StandInLog_Lines(install_.Directory()).empty());
}

TEST_F(StarterTray, AClickWhileTheMenuIsOpenLeavesThatMenuWorking) {
    HWND popup = starter_.Menu_Open(WM_RBUTTONUP);
    ASSERT_NE(popup, nullptr);
    HWND main = starter_.MainWindow();
    PostMessageA(main, RegisterWindowMessageA("KtSystray"), 1, WM_LBUTTONUP);
    Sleep(400);
    // The open menu keeps its shown owner (so a click elsewhere still closes it), and no second
    // menu appeared.
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(wintest::Window_FindAll([] {
                  wintest::WindowQuery q;
                  q.className = "#32768";
                  return q;
              }()).size(),
              1u);
    wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(main) && !IsWindowEnabled(main); }));
    // And the next click opens the menu as always.
    popup = starter_.Menu_Open(WM_LBUTTONUP);
    ASSERT_NE(popup, nullptr);
    wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    EXPECT_TRUE(wintest::PopupMenu_WaitClosed());
}

TEST_F(StarterTray, TaskbarRestartBringsTheIconBackAndChangesNothingElse) {
    HWND main = starter_.MainWindow();
    ASSERT_TRUE(TrayIcon_Present(main));
    ASSERT_TRUE(TrayIcon_Delete(main));  // what a restarting taskbar loses
    ASSERT_FALSE(TrayIcon_Present(main));
    RunValues_Delete();

    PostMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Eventually([&] { return TrayIcon_Present(main); }));
    std::string data;
    EXPECT_FALSE(RunValue_Read(kRunKey, data));
    // The icon still leads to the menu.
    HWND popup = starter_.Menu_Open(WM_LBUTTONUP);
    ASSERT_NE(popup, nullptr);
    wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    EXPECT_TRUE(wintest::PopupMenu_WaitClosed());
}

TEST_F(StarterTray, CloseStarterEndsTheProcessAndRemovesTheIcon) {
    HWND main = starter_.MainWindow();
    ASSERT_TRUE(TrayIcon_Present(main));
    ASSERT_TRUE(starter_.Menu_Choose(Keys_Item(Item_CloseStarter)));
    ASSERT_TRUE(starter_.Process().WaitExit(5000));
    EXPECT_EQ(starter_.Process().ExitCode(), 0u);
    // Wine's shell also drops the icons of destroyed windows, a little later: this catches an icon
    // left behind only when it looks first.
    EXPECT_FALSE(TrayIcon_Present(main));
    // Nothing is asked and nothing removed on the way out.
    std::string data;
    EXPECT_TRUE(RunValue_Read(kRunKey, data));
}

TEST_F(StarterTray, WindowsEndingTheSessionEndsTheStarterButAQueryDoesNot) {
    HWND main = starter_.MainWindow();
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageA(main, WM_ENDSESSION, FALSE, 0);  // the shutdown was cancelled
    Sleep(300);
    ASSERT_TRUE(starter_.Process().Running());
    EXPECT_TRUE(TrayIcon_Present(main));

    PostMessageA(main, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(starter_.Process().WaitExit(5000));
    EXPECT_FALSE(TrayIcon_Present(main));
}

}  // namespace
