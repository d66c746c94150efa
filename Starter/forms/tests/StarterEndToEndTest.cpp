// The real program under Wine: start-up from a folder named in any script, the single instance,
// the tray icon and its menu, the taskbar restarting, and the ways the Starter ends.
#include "StarterSession.h"

using namespace startertest;

namespace {

// Cyrillic and CJK: outside every ANSI code page at once, so only the wide functions find them.
TEST_F(StarterTest, FromAFolderInAnyScriptItRegistersItsTruePathStartsVembrolAndStartStationApps) {
    const StarterInstall& install = Install("C:\\Проба 文字\\", true, "Vembrol");
    const std::string app = install.root + "Приложения\\Плеер 文字.exe";
    StandIn_Copy(app);
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type1", "1");
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "application name1", app);
    ASSERT_TRUE(Start());
    for (const std::string& key : {kRunKey, kRunKeyNt}) {
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, kRunValue),
                  "\"C:\\Проба 文字\\Vembrol\\Vembrol Starter.exe\"");
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Wide_FromText(key).c_str(), L"Vembrol Starter");
    }
    // A second copy ends at once and writes nothing.
    ASSERT_TRUE(wintest::Process::Start(install.exe, "", install.dir).WaitExit(5000));
    for (const std::string& key : {kRunKey, kRunKeyNt})
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, kRunValue), "(none)");

    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));
    const std::string target = "C:\\Проба 文字\\Vembrol\\Vembrol.exe";
    EXPECT_EQ(StandInLog(install.dir), Lines{StartLine(target, install.dir, target)});
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(StandInLog(install.root + "Приложения\\"),
              Lines{StartLine(app, "C:\\Проба 文字\\Приложения", "C:\\Проба 文字\\Приложения\\Плеер 文字.exe")});

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
};

// One walk through what reaches the icon: mouse messages, a second click while the menu is open,
// a restarted taskbar, and a shutdown that another program cancels.
TEST_F(StarterTray, OnlyButtonReleasesOpenTheMenuATaskbarRestartBringsTheIconBackOnlyAnEndingSessionEnds) {
    for (LPARAM ignored : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK}) Tray_Post(ignored);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Wide_FromText(kRunKey).c_str(), L"Vembrol Starter");
    ASSERT_TRUE(Starter_Drain());  // the taskbar restarting, after the ignored messages
    wintest::WindowQuery menus;
    menus.className = "#32768";
    EXPECT_EQ(wintest::Window_Find(menus), nullptr);
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), "(none)");  // nothing rewritten

    for (LPARAM opens : {WM_LBUTTONUP, WM_RBUTTONUP}) {
        HWND popup = Menu_Open(opens);
        ASSERT_NE(popup, nullptr) << opens;
        Tray_Post(WM_LBUTTONUP);
        ASSERT_TRUE(Starter_Drain());
        // Still one menu, whose owner stays shown so that a click elsewhere closes it.
        EXPECT_EQ(wintest::Window_FindAll(menus).size(), 1u);
        EXPECT_TRUE(IsWindowVisible(main_));
        wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(main_) && !IsWindowEnabled(main_); }));
    }

    PostMessageW(main_, WM_QUERYENDSESSION, 0, 0);
    PostMessageW(main_, WM_ENDSESSION, FALSE, 0);
    ASSERT_TRUE(Starter_Drain());
    EXPECT_TRUE(starter_.Running());
    PostMessageW(main_, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_FALSE(TrayIcon(main_));
}

TEST_F(StarterTray, RemoveStarterKeepsItOnNoSaysWhenItCannotAndOnYesDropsTheUpperRunValueAndEnds) {
    ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
    wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "No");
    EXPECT_EQ(box.text, "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool "
                        "to clean up your mp3 collection. Do you really want to remove Vembrol Starter ?");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
    box = wintest::MessageBox_Answer(starter_.Id(), "OK");
    EXPECT_EQ(box.text, "Good boy.");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);

    const std::string registered = Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    {
        wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kRunKey);
        ASSERT_TRUE(standardUser.Active());
        ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
        wintest::MessageBox_Answer(starter_.Id(), "Yes");
        box = wintest::MessageBox_Answer(starter_.Id(), "OK");
        EXPECT_EQ(box.text, "Vembrol Starter could not be removed from Windows start up, as this needs "
                            "administrator rights !");
        EXPECT_EQ(box.caption, "Vembrol Starter");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
        ASSERT_TRUE(Starter_Drain());
        EXPECT_TRUE(starter_.Running());
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), registered);
    }

    ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
    wintest::MessageBox_Answer(starter_.Id(), "Yes");
    box = wintest::MessageBox_Answer(starter_.Id(), "OK");
    EXPECT_EQ(box.text, "To reinstall Vembrol Starter just start it once again manually.");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), "(none)");
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue), registered);
}

}  // namespace
