// The tray menu's commands chosen by keyboard in the real program, with stand-ins for Vembrol,
// the Start Station's programs and the browsers.
#include "StarterSession.h"

using namespace startertest;

namespace {

using Lines = std::vector<std::string>;

HWND StandInWindow(const char* title) {
    HWND window = nullptr;
    Eventually([&] { return (window = FindWindowA("VembrolStandIn", title)) != nullptr; }, 10000);
    return window;
}

TEST_F(StarterTest, FirstItemLaunchesRestoresAndClosesVembrolAndExtendedHelpStartsItsMode) {
    const StarterInstall& install = Install("starter-target");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));
    HWND vembrol = StandInWindow("Vembrol");
    ASSERT_NE(vembrol, nullptr);
    ShowWindow(vembrol, SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return IsIconic(vembrol) != FALSE; }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Restore
    EXPECT_TRUE(Eventually([&] { return !IsIconic(vembrol); }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Close
    EXPECT_TRUE(wintest::Window_WaitGone(vembrol));

    ASSERT_TRUE(Menu_Choose(Keys(Item_SpecialModes, 1)));
    EXPECT_NE(StandInWindow("Vembrol (extended help mode)"), nullptr);
    const std::string target = install.dir + TargetFileName;  // started unquoted, as it always was
    EXPECT_EQ(StandInLog(install.dir, 3), (Lines{StartLine(target, install.dir, target), "closed|Vembrol",
                                                 StartLine(target, install.dir, target + " /ExtendedHelp")}));
}

TEST_F(StarterTest, MissingVembrolIsReportedAndAutoStartAsksOnlyBeforeSwitchingOn) {
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

    auto stored = [] { return Registry_String(HKEY_LOCAL_MACHINE, kStartUpKey, AutoStartValueName); };
    for (const char* answer : {"No", "Yes"}) {
        ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
        EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), answer).text, AutoStartQuestion);
    }
    EXPECT_TRUE(Eventually([&] { return stored() == "True"; }));
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
    EXPECT_TRUE(Eventually([&] { return stored() == "False"; }));
    EXPECT_EQ(wintest::MessageBox_WaitFor(starter_.Id(), 500), nullptr);
    EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, kStartUpKey), Lines{AutoStartValueName});
}

TEST_F(StarterTest, StartStationStartsInTheProgramsFolderAndAsksForABrowserUntilOneStarts) {
    const StarterInstall& install = Install("starter-station", true, "starter");
    const std::string root = install.scratch.Path(), player = root + "apps\\Player.exe";
    const std::string gone = root + "gone.exe", browse = root + "browse\\Browse.exe";
    StandIn_Copy(player);
    StandIn_Copy(browse);
    wintest::Directory_Create(root + "music");
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"file type1", "2"}, {"application name1", root + "music\\"}, {"file type2", "1"},
             {"application name2", player}, {BrowseApplicationValueName, gone}})
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, name, text);
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 2)));
    EXPECT_EQ(StandInLog(root + "apps\\"), Lines{StartLine(player, root + "apps", player)});

    auto prompt = [&](const std::string& text, const char* button) {
        return wintest::InputBox_Answer(starter_.Id(), BrowseTitle, text, button).prompt;
    };
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(prompt("", "Cancel"), BrowsePromptBegin + gone + BrowsePromptEnd);
    EXPECT_EQ(wintest::InputBox_WaitFor(starter_.Id(), BrowseTitle, 500), nullptr);
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(prompt(root + "gone too.exe", "OK"), BrowsePromptBegin + gone + BrowsePromptEnd);
    EXPECT_EQ(prompt(browse, "OK"), BrowsePromptBegin + root + "gone too.exe" + BrowsePromptEnd);
    EXPECT_EQ(StandInLog(root + "browse\\"),
              Lines{StartLine(browse, root + "browse", browse + " " + root + "music\\")});
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kStartStationKey, BrowseApplicationValueName), browse);
}

TEST_F(StarterTest, WebSiteOpensWithTheHtmlBrowserOrElseWithExplorer) {
    const StarterInstall& install = Install("starter-web", false);
    const std::string browser = install.scratch.Path() + "web browser\\Browser.exe";
    StandIn_Copy(browser);
    StandIn_Copy(install.dir + "explorer.exe");  // found beside the Starter before the system's
    Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");
    const std::string command = "VembrolTestHtml\\shell\\open\\command";
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.scratch.Path() + "web browser\\"),
              Lines{StartLine(browser, install.dir, browser + " www.vembrol.example")});
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + install.scratch.Path() + "gone.exe\" \"%1\"");
    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.dir),
              Lines{StartLine(install.dir + "explorer.exe", install.dir, "explorer.exe www.vembrol.example")});
}

}  // namespace
