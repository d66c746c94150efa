// The tray menu's commands chosen by keyboard in the real program, with stand-ins for Vembrol,
// foreign programs, the Start Station's programs and the browsers.
#include "StarterSession.h"

#include <chrono>

using namespace startertest;

namespace {

// A foreign window titled "Vembrol" is left alone; Vembrol itself is launched, restored and
// closed, and its extended help mode started.
TEST_F(StarterTest, FirstItemActsOnVembrolsOwnWindowOnlyAndExtendedHelpStartsItsMode) {
    const StarterInstall& install = Install("starter-target");
    const std::string other = install.root + "other\\Other.exe";
    StandIn_Copy(other);
    wintest::Process foreign = wintest::Process::Start(other, "/Window=Vembrol", install.root + "other");
    HWND foreignWindow = StandInWindow("Vembrol");
    ASSERT_NE(foreignWindow, nullptr);
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Launch, not Close
    const std::string target = install.dir + "Vembrol.exe";  // started unquoted, as it always was
    ASSERT_EQ(StandInLog(install.dir), Lines{StartLine(target, install.dir, target)});
    HWND vembrol = nullptr;
    ASSERT_TRUE(Eventually([&] {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"VembrolStandIn", L"Vembrol")) != nullptr;)
            if (w != foreignWindow) vembrol = w;
        return vembrol != nullptr;
    }));
    ShowWindow(vembrol, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return IsIconic(vembrol) != FALSE; }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Restore
    EXPECT_TRUE(Eventually([&] { return !IsIconic(vembrol); }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Close
    EXPECT_TRUE(wintest::Window_WaitGone(vembrol));
    EXPECT_TRUE(IsWindow(foreignWindow));

    ASSERT_TRUE(Menu_Choose(Keys(Item_SpecialModes, 1)));
    EXPECT_NE(StandInWindow("Vembrol (extended help mode)"), nullptr);
    EXPECT_EQ(StandInLog(install.dir, 3), (Lines{StartLine(target, install.dir, target), "closed|Vembrol",
                                                 StartLine(target, install.dir, target + " /ExtendedHelp")}));
    EXPECT_TRUE(IsWindow(foreignWindow));
}

// A Vembrol that stops answering must not take the Starter with it.
TEST_F(StarterTest, RestoreAndCloseOfAHungVembrolNeverBlockTheMenu) {
    const StarterInstall& install = Install("starter-hung");
    ASSERT_TRUE(Start());
    for (const char* state : {"/Minimized", ""}) {  // Restore, then Close
        SCOPED_TRACE(state);
        wintest::Process hung =
            wintest::Process::Start(install.dir + "Vembrol.exe", std::string(state) + " /Hang", install.dir);
        HWND vembrol = StandInWindow("Vembrol");
        ASSERT_NE(vembrol, nullptr);
        // Close waits a few seconds for a busy Vembrol; the system calls a window hung after five
        // seconds without a look at its messages, and then Close gives up at once.
        if (!*state) ASSERT_TRUE(Eventually([&] { return IsHungAppWindow(vembrol) != FALSE; }, 15000));

        ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));
        const auto chosen = std::chrono::steady_clock::now();
        wintest::PopupMenu_WaitClosed();
        Tray_Post(WM_RBUTTONUP);
        HWND popup = wintest::PopupMenu_WaitFor(2000);
        EXPECT_NE(popup, nullptr);
        EXPECT_LT(std::chrono::steady_clock::now() - chosen, std::chrono::seconds(2));
        if (popup) wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    }
}

TEST_F(StarterTest, MissingVembrolIsReportedAndAutoStartAsksBeforeSwitchingOnAndSaysWhenItCannot) {
    Install("starter-target-missing", false);
    ASSERT_TRUE(Start());
    const std::pair<std::vector<WORD>, const char*> starts[] = {
        {Keys(Item_Target), "Vembrol was not found in current directory  !"},
        {Keys(Item_SpecialModes, 1),
         "Vembrol was not found in current directory, please move this program to the right location !"}};
    for (const auto& [keys, text] : starts) {
        ASSERT_TRUE(Menu_Choose(keys));
        const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "OK");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Vembrol Starter");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
    }

    const std::string question =
        "Vembrol will now be automatically started at Windows start up so that you can use it to quickly play mp3 "
        "files and start any of the Start Station applications or to create your own skin. Do you agree ?";
    auto stored = [] { return Registry_String(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue); };
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
    EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "No").text, question);
    {
        wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kStartUpKey);
        ASSERT_TRUE(standardUser.Active());
        ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
        EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "Yes").text, question);
        const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "OK");
        EXPECT_EQ(box.text, "The Auto Start setting could not be saved, as changing it needs administrator rights !");
        EXPECT_EQ(box.caption, "Vembrol Starter");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
        EXPECT_EQ(stored(), "(none)");
        // Still off as stored, so the next choice asks again instead of switching off.
        ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
        EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "No").text, question);
    }
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
    wintest::MessageBox_Answer(starter_.Id(), "Yes");
    EXPECT_TRUE(Eventually([&] { return stored() == "True"; }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));  // off again, without a question
    EXPECT_TRUE(Eventually([&] { return stored() == "False"; }));
    EXPECT_EQ(wintest::MessageBox_WaitFor(starter_.Id(), 0), nullptr);
    EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, kStartUpKey), Lines{kAutoStartValue});
}

TEST_F(StarterTest, StartStationStartsInTheProgramsFolderAndAsksForABrowserUntilOneStarts) {
    const StarterInstall& install = Install("starter-station", true, "starter");
    const std::string root = install.root, player = root + "apps\\Player.exe";
    const std::string gone = root + "gone.exe", browse = root + "browse\\Browse.exe";
    StandIn_Copy(player);
    StandIn_Copy(browse);
    wintest::Directory_Create(root + "music");
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"file type1", "2"}, {"application name1", root + "music\\"}, {"file type2", "1"},
             {"application name2", player}, {"browse application", gone}})
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, name, text);
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 2)));
    EXPECT_EQ(StandInLog(root + "apps\\"), Lines{StartLine(player, root + "apps", player)});

    const std::string title = "Error during browsing";
    auto prompt = [&](const std::string& text, const char* button) {
        return wintest::InputBox_Answer(starter_.Id(), title, text, button).prompt;
    };
    auto asked = [](const std::string& browser) {
        return "Please enter path to browse application (" + browser + " not found):";
    };
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(prompt("", "Cancel"), asked(gone));
    EXPECT_EQ(wintest::InputBox_WaitFor(starter_.Id(), title, 0), nullptr);
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(prompt(root + "gone too.exe", "OK"), asked(gone));
    ASSERT_TRUE(Eventually([&] {  // saved before it is tried
        return Registry_String(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application") == root + "gone too.exe";
    }));
    {
        wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kStartStationKey);
        ASSERT_TRUE(standardUser.Active());
        EXPECT_EQ(prompt(browse, "OK"), asked(root + "gone too.exe"));
        const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "OK");
        EXPECT_EQ(box.text, "The browse application could not be saved for next time, as this needs administrator "
                            "rights !");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
        // Opened all the same; only the next time asks again.
        EXPECT_EQ(StandInLog(root + "browse\\"),
                  Lines{StartLine(browse, root + "browse", browse + " " + root + "music\\")});
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application"), root + "gone too.exe");
    }
}

TEST_F(StarterTest, WebSiteOpensWithTheHtmlBrowserOrElseWithExplorer) {
    const StarterInstall& install = Install("starter-web", false);
    const std::string browser = install.root + "web browser\\Browser.exe";
    StandIn_Copy(browser);
    StandIn_Copy(install.dir + "explorer.exe");  // found beside the Starter before the system's
    Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");
    const std::string command = "VembrolTestHtml\\shell\\open\\command";
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.root + "web browser\\"),
              Lines{StartLine(browser, install.dir, browser + " www.vembrol.example")});
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + install.root + "gone.exe\" \"%1\"");
    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.dir),
              Lines{StartLine(install.dir + "explorer.exe", install.dir, "explorer.exe www.vembrol.example")});
}

}  // namespace
