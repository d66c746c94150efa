// The commands of the tray menu, chosen by keyboard in the real program: Vembrol started, restored
// and closed, its special mode, the missing-Vembrol messages, the autostart switch, removing the
// Starter, and the web site.
#include "StarterSession.h"

#include <gtest/gtest.h>

using namespace startertest;

namespace {

HWND StandInWindow_WaitFor(const char* title) {
    wintest::WindowQuery q;
    q.title = title;
    q.className = kStandInClass;
    return wintest::Window_WaitFor(q);
}

class StarterCommands : public ::testing::Test {
protected:
    void TearDown() override { StandIns_CloseAll(); }
    RegistryGuard registry_;
};

TEST_F(StarterCommands, FirstItemLaunchesRestoresAndClosesVembrol) {
    StarterInstall install("starter-target-control");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.Directory(), start));
    EXPECT_EQ(start.exe, install.TargetPath());
    EXPECT_EQ(start.commandLine, install.TargetPath());  // unquoted, as Vembrol has always been started
    HWND vembrol = StandInWindow_WaitFor("Vembrol");
    ASSERT_NE(vembrol, nullptr);

    ShowWindow(vembrol, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return IsIconic(vembrol) != FALSE; }));
    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));  // "Restore Vembrol (Minimized)"
    EXPECT_TRUE(Eventually([&] { return !IsIconic(vembrol); }));

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));  // "Close Vembrol (Running)"
    const auto lines = StandInLog_WaitLines(install.Directory(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "closed|Vembrol");
    EXPECT_TRUE(wintest::Window_WaitGone(vembrol));

    // With Vembrol gone the item launches again.
    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));
    EXPECT_EQ(StandInLog_WaitLines(install.Directory(), 3).size(), 3u);
    EXPECT_NE(StandInWindow_WaitFor("Vembrol"), nullptr);
}

TEST_F(StarterCommands, ExtendedHelpStartsTheModeOnlyWhileVembrolIsNotRunning) {
    StarterInstall install("starter-extended-help");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    // The submenu's first shown item is Extended Help: the fast modes are not shown.
    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_SpecialModes, 1)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.Directory(), start));
    EXPECT_EQ(start.commandLine, install.TargetPath() + " /ExtendedHelp");
    ASSERT_NE(StandInWindow_WaitFor("Vembrol (extended help mode)"), nullptr);

    // Now grayed: Return does nothing, and two Escapes close submenu and menu.
    auto keys = Keys_SubItem(Item_SpecialModes, 1);
    keys.push_back(VK_ESCAPE);
    keys.push_back(VK_ESCAPE);
    ASSERT_TRUE(starter.Menu_Choose(keys));
    ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
    Sleep(500);
    EXPECT_EQ(StandInLog_Lines(install.Directory()).size(), 1u);
}

TEST_F(StarterCommands, MissingVembrolIsReportedInTheWordsOfEachStart) {
    StarterInstall install("starter-target-missing", false);
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    struct Case {
        std::vector<WORD> keys;
        const char* text;
    };
    const Case cases[] = {
        {Keys_Item(Item_Target), "Vembrol was not found in current directory  !"},
        {Keys_SubItem(Item_SpecialModes, 1),
         "Vembrol was not found in current directory, please move this program to the right location !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(starter.Menu_Choose(c.keys));
        const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter.Process().Id(), "OK");
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, kAppTitle);
        EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_TRUE(starter.Process().Running());
    }
}

TEST_F(StarterCommands, UnquotedVembrolPathCannotStartAPlantedProgram) {
    // Windows tries "C:\vembrol-tests\starter-planted\Starter.exe" first for an unquoted
    // "C:\vembrol-tests\starter-planted\Starter Dir\Vembrol.exe".
    StarterInstall install("starter-planted", true, "Starter Dir");
    StandIn_Copy(install.ScratchPath() + "Starter.exe");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.Directory(), start));
    EXPECT_EQ(start.commandLine, "C:\\vembrol-tests\\starter-planted\\Starter Dir\\Vembrol.exe");
    ASSERT_NE(StandInWindow_WaitFor("Vembrol"), nullptr);
    StandIns_CloseAll();
    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_SpecialModes, 1)));
    auto lines = StandInLog_WaitLines(install.Directory(), 3);
    ASSERT_EQ(lines.size(), 3u) << lines.back();
    ASSERT_TRUE(StandInStart_Parse(lines[2], start));
    EXPECT_EQ(start.commandLine, "C:\\vembrol-tests\\starter-planted\\Starter Dir\\Vembrol.exe /ExtendedHelp");
    Sleep(500);
    EXPECT_TRUE(StandInLog_Lines(install.ScratchPath()).empty());
}

TEST_F(StarterCommands, AutoStartAsksBeforeSwitchingOnButNotBeforeSwitchingOff) {
    StarterInstall install("starter-autostart-switch");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    const DWORD pid = starter.Process().Id();
    auto stored = [] {
        std::string text;
        return Registry_ReadString(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue, text) ? text : "(none)";
    };

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_AutoStart)));
    wintest::MessageBoxInfo box = wintest::MessageBox_Answer(pid, "No");
    EXPECT_EQ(box.text,
              "Vembrol will now be automatically started at Windows start up so that you can use it to quickly play "
              "mp3 files and start any of the Start Station applications or to create your own skin. Do you agree ?");
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
    EXPECT_EQ(box.buttons, (std::vector<std::string>{"Yes", "No"}));
    Sleep(300);
    EXPECT_EQ(stored(), "(none)");

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_AutoStart)));
    box = wintest::MessageBox_Answer(pid, "Yes");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
    EXPECT_TRUE(Eventually([&] { return stored() == "True"; }));
    EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, kStartUpKey),
              std::vector<std::string>{kAutoStartValue});

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_AutoStart)));
    EXPECT_EQ(wintest::MessageBox_WaitFor(pid, 1000), nullptr);
    EXPECT_TRUE(Eventually([&] { return stored() == "False"; }));
    EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, kStartUpKey),
              std::vector<std::string>{kAutoStartValue});
}

TEST_F(StarterCommands, RemoveAnsweredNoKeepsTheStarterRegistered) {
    StarterInstall install("starter-remove-no");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    const DWORD pid = starter.Process().Id();

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_RemoveStarter)));
    wintest::MessageBoxInfo box = wintest::MessageBox_Answer(pid, "No");
    EXPECT_EQ(box.text,
              "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool to clean up "
              "your mp3 collection. Do you really want to remove Vembrol Starter ?");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
    EXPECT_EQ(box.buttons, (std::vector<std::string>{"Yes", "No"}));
    box = wintest::MessageBox_Answer(pid, "OK");
    EXPECT_EQ(box.text, "Good boy.");
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});

    Sleep(300);
    EXPECT_TRUE(starter.Process().Running());
    std::string data;
    EXPECT_TRUE(Registry_ReadString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, data));
    EXPECT_TRUE(Registry_ReadString(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue, data));
}

TEST_F(StarterCommands, RemoveAnsweredYesTellsFirstThenDropsTheUpperRunValueAndEnds) {
    StarterInstall install("starter-remove-yes");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    const DWORD pid = starter.Process().Id();
    HWND main = starter.MainWindow();

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_RemoveStarter)));
    EXPECT_EQ(wintest::MessageBox_Answer(pid, "Yes").icon, wintest::BoxIcon::Question);
    HWND notice = wintest::MessageBox_WaitFor(pid);
    ASSERT_NE(notice, nullptr);
    Sleep(100);
    const wintest::MessageBoxInfo box = wintest::MessageBox_Read(notice);
    EXPECT_EQ(box.text, "To reinstall Vembrol Starter just start it once again manually.");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Information);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    std::string data;
    EXPECT_TRUE(Registry_ReadString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, data)) << "removed before the notice";
    wintest::MessageBox_Press(notice, "OK");

    ASSERT_TRUE(starter.Process().WaitExit(5000));
    EXPECT_FALSE(Registry_ReadString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, data));
    EXPECT_TRUE(Registry_ReadString(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue, data));
    EXPECT_FALSE(TrayIcon_Present(main));
}

class StarterWebSite : public StarterCommands {
protected:
    void Association_Set(const std::string& command) {
        Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");
        Registry_WriteString(HKEY_CLASSES_ROOT, "VembrolTestHtml\\shell\\open\\command", "", command);
    }
};

TEST_F(StarterWebSite, OpensTheAddressWithTheRegisteredBrowser) {
    StarterInstall install("starter-web", true, "starter");
    const std::string browser = install.ScratchPath() + "web browser\\Browser.exe";
    StandIn_Copy(browser);
    // At the prefix where an unquoted browser path would break first.
    StandIn_Copy(install.ScratchPath() + "web.exe");
    Association_Set("\"" + browser + "\" \"%1\"");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Homepage)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.ScratchPath() + "web browser\\", start));
    EXPECT_EQ(start.exe, browser);
    EXPECT_EQ(start.commandLine, browser + " www.vembrol.example");
    Sleep(300);
    EXPECT_TRUE(StandInLog_Lines(install.ScratchPath()).empty());
    EXPECT_TRUE(StandInLog_Lines(install.Directory()).empty());
}

TEST_F(StarterWebSite, FallsBackToExplorerWhenTheBrowserCannotStart) {
    // "explorer.exe" is looked up beside the Starter first, so a stand-in there records the start.
    for (bool registered : {true, false}) {
        SCOPED_TRACE(registered ? "registered browser missing" : "no browser registered");
        StarterInstall install("starter-web-fallback", false);
        StandIn_Copy(install.Directory() + "explorer.exe");
        if (registered) {
            Association_Set("\"" + install.ScratchPath() + "gone\\Browser.exe\" \"%1\"");
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, "");
                RegCloseKey(key);
            }
        }
        StarterSession starter;
        ASSERT_TRUE(starter.Start(install));
        ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Homepage)));
        StandInStart start;
        ASSERT_TRUE(StandInStart_WaitFirst(install.Directory(), start));
        EXPECT_EQ(start.exe, install.Directory() + "explorer.exe");
        EXPECT_EQ(start.commandLine, "explorer.exe www.vembrol.example");
        EXPECT_EQ(wintest::MessageBox_WaitFor(starter.Process().Id(), 300), nullptr);
    }
}

TEST_F(StarterWebSite, TellsTheUserOnceWhenNoBrowserStarts) {
    StarterInstall install("starter-web-none", false);
    // Found before the system's explorer.exe, and no program: that start fails too.
    wintest::File_Write(install.Directory() + "explorer.exe", "not a program");
    Association_Set("\"" + install.ScratchPath() + "gone\\Browser.exe\" \"%1\"");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Homepage)));
    const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter.Process().Id(), "OK");
    EXPECT_EQ(box.text, "Error starting Internet browser application, please go to www.vembrol.example manually !");
    EXPECT_EQ(box.caption, kAppTitle);
    EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
    EXPECT_EQ(wintest::MessageBox_WaitFor(starter.Process().Id(), 500), nullptr);
}

}  // namespace
