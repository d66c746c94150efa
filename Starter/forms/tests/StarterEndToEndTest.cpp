// The real program under Wine: start-up and the single instance, the tray icon and its menu, the
// taskbar restarting, and the ways the Starter ends.
#include "StarterSession.h"

using namespace startertest;

namespace {

TEST_F(StarterTest, FirstStartRegistersItselfASecondEndsAtOnceAndCloseStarterEnds) {
    const StarterInstall& install = Install("starter-start");
    ASSERT_TRUE(Start());
    for (const char* key : {RunKey, RunKeyNt}) {
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, RunValueName),
                  "\"C:\\vembrol-tests\\starter-start\\Vembrol Starter.exe\"");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key, RunValueName);
    }
    ASSERT_TRUE(wintest::Process::Start(install.exe, "", install.dir).WaitExit(5000));
    for (const char* key : {RunKey, RunKeyNt})
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, RunValueName), "(none)");

    ASSERT_TRUE(Menu_Choose(Keys(Item_CloseStarter)));
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_FALSE(TrayIcon(main_));
}

class StarterTray : public StarterTest {
protected:
    void SetUp() override {
        Install("starter-tray");
        ASSERT_TRUE(Start());
    }
    void Tray_Post(LPARAM mouse) { PostMessageA(main_, RegisterWindowMessageA(TrayMessageName), 1, mouse); }
};

TEST_F(StarterTray, ButtonReleasesOpenTheMenuAndNothingElseDoes) {
    for (LPARAM ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        Tray_Post(ignored);
        EXPECT_EQ(wintest::PopupMenu_WaitFor(400), nullptr) << ignored;
    }
    for (LPARAM opens : {WM_LBUTTONUP, WM_RBUTTONUP}) {
        HWND popup = Menu_Open(opens);
        ASSERT_NE(popup, nullptr) << opens;
        wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    }
}

TEST_F(StarterTray, AClickWhileTheMenuIsOpenLeavesThatMenuWorking) {
    HWND popup = Menu_Open();
    ASSERT_NE(popup, nullptr);
    Tray_Post(WM_LBUTTONUP);
    Sleep(400);
    // Still one menu, whose owner stays shown so that a click elsewhere closes it.
    wintest::WindowQuery menus;
    menus.className = "#32768";
    EXPECT_EQ(wintest::Window_FindAll(menus).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(main_));
    wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(main_) && !IsWindowEnabled(main_); }));
    EXPECT_TRUE(Menu_Choose({VK_ESCAPE}));
}

// Only a session that really ends takes the icon away; a shutdown cancelled elsewhere leaves
// the Starter in the tray.
TEST_F(StarterTray, OnlyAnEndingSessionEndsTheStarter) {
    PostMessageA(main_, WM_QUERYENDSESSION, 0, 0);
    PostMessageA(main_, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(starter_.WaitExit(500));
    PostMessageA(main_, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_FALSE(TrayIcon(main_));
}

TEST_F(StarterTray, TaskbarRestartBringsBackTheIconAndRewritesNothing) {
    ASSERT_TRUE(TrayIcon(main_, NIM_DELETE));
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunKey, RunValueName);
    PostMessageA(main_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Eventually([&] { return TrayIcon(main_); }));
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, RunKey, RunValueName), "(none)");
    EXPECT_TRUE(Menu_Choose({VK_ESCAPE}));
}

TEST_F(StarterTray, RemoveStarterKeepsItOnNoAndOnYesDropsTheUpperRunValueAndEnds) {
    ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
    EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "No").text, RemoveQuestion);
    wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "OK");
    EXPECT_EQ(box.text, "Good boy.");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);

    ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
    box = wintest::MessageBox_Answer(starter_.Id(), "Yes");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
    box = wintest::MessageBox_Answer(starter_.Id(), "OK");
    EXPECT_EQ(box.text, "To reinstall Vembrol Starter just start it once again manually.");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, RunKey, RunValueName), "(none)");
    EXPECT_NE(Registry_String(HKEY_LOCAL_MACHINE, RunKeyNt, RunValueName), "(none)");
}

}  // namespace
