// The real program under Wine, driven as a user would: start-up from a folder in any script,
// which windows are Vembrol's, a hung Vembrol, the tray icon by mouse and keyboard, Vembrol
// brought to the front, saves the registry refuses, the end.
#include "StarterSession.h"

#include <chrono>

using namespace startertest;

namespace {

void Expect_Warning(const wintest::Process& starter, const std::string& text) {
    const wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter.Id(), "OK");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Vembrol Starter");
    EXPECT_EQ(box.icon, wintest::BoxIcon::Exclamation);
}

// Cyrillic and CJK: outside every ANSI code page at once, so only the wide functions find them.
// Blanks in the names: a start that does not name its program runs the planted Мой.exe instead.
TEST_F(StarterTest, InAnyScriptsFolderItRegistersItselfLaunchesVembrolNotAForeignWindowAndStartStationApps) {
    const StarterInstall& install = Install("C:\\Проба 文字\\", true, "Мой Vembrol");
    const std::string apps = install.root + "Мой Приложения\\", app = apps + "Плеер 文字.exe";
    const std::string gone = install.root + "gone.exe", browse = install.root + "Мой browse\\Browse.exe";
    StandIn_Copy(install.root + "Мой.exe");
    StandIn_Copy(app);
    StandIn_Copy(browse);
    StandIn_Copy(install.root + "other\\Other.exe");
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"file type1", "1"}, {"application name1", app}, {"file type2", "2"}, {"application name2", apps},
             {"browse application", gone}})
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, name, text);
    wintest::Process foreign =
        wintest::Process::Start(install.root + "other\\Other.exe", "/Window=Vembrol", install.root + "other");
    HWND foreignWindow = StandInWindow("Vembrol");
    ASSERT_NE(foreignWindow, nullptr);
    ASSERT_TRUE(Start());
    for (const std::string& key : {kRunKey, kRunKeyNt})
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, key, kRunValue), "\"C:\\Проба 文字\\Мой Vembrol\\Vembrol Starter.exe\"");
    ASSERT_TRUE(wintest::Process::Start(install.exe, "", install.dir).WaitExit(5000));  // one copy per user

    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // Launch: the foreign window is not Vembrol's to close
    const std::string target = "C:\\Проба 文字\\Мой Vembrol\\Vembrol.exe";
    EXPECT_EQ(StandInLog(install.dir), Lines{StartLine(target, install.dir, target)});
    EXPECT_TRUE(IsWindow(foreignWindow));
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(StandInLog(apps), Lines{StartLine(app, "C:\\Проба 文字\\Мой Приложения", app)});

    wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kStartStationKey);
    ASSERT_TRUE(standardUser.Active());
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 2)));  // a folder, for the browse application
    EXPECT_EQ(wintest::InputBox_Answer(starter_.Id(), "Error during browsing", browse, "OK").prompt,
              "Please enter path to browse application (" + gone + " not found):");
    Expect_Warning(starter_, "The browse application could not be saved for next time, as this needs administrator "
                             "rights !");
    // Opened all the same; only the next time asks again.
    EXPECT_EQ(StandInLog(install.root + "Мой browse\\"),
              Lines{StartLine(browse, install.root + "Мой browse", browse + " " + apps)});
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application"), gone);

    // Visit Homepage: the .html browser by its own path; once it is gone, explorer.exe beside the Starter.
    const std::string browser = install.root + "Мой web\\Browser.exe", command = "VembrolTestHtml\\shell\\open\\command";
    StandIn_Copy(browser);
    StandIn_Copy(install.dir + "explorer.exe");
    Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.root + "Мой web\\"), Lines{StartLine(browser, install.dir, browser + " www.vembrol.example")});
    Registry_WriteString(HKEY_CLASSES_ROOT, command, "", "\"" + install.root + "Мой gone\\Browser.exe\" \"%1\"");
    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
    EXPECT_EQ(StandInLog(install.dir, 2), (Lines{StartLine(target, install.dir, target),
                                                 StartLine(install.dir + "explorer.exe", install.dir, "explorer.exe www.vembrol.example")}));
    EXPECT_EQ(wintest::File_Read(install.root + "standin.log"), "");  // the plant never ran
}

TEST_F(StarterTest, TheMenuIsNeverBlockedNorHiddenByAClickItsSavesAreCheckedAndOnlyAnEndingSessionEndsIt) {
    const StarterInstall& install = Install("starter-tray");
    ASSERT_TRUE(Start());
    for (const char* state : {"/Minimized", ""}) {  // Restore, then Close
        SCOPED_TRACE(state);
        wintest::Process hung =
            wintest::Process::Start(install.dir + "Vembrol.exe", std::string(state) + " /Hang", install.dir);
        HWND vembrol = StandInWindow("Vembrol");
        ASSERT_NE(vembrol, nullptr);
        // Close waits a few seconds for a busy Vembrol, none for one the system calls hung.
        if (!*state) { ASSERT_TRUE(Eventually([&] { return IsHungAppWindow(vembrol) != FALSE; }, 15000)); }
        ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));
        const auto chosen = std::chrono::steady_clock::now();
        HWND popup = Menu_Open();
        EXPECT_LT(std::chrono::steady_clock::now() - chosen, std::chrono::seconds(2));
        ASSERT_NE(popup, nullptr);
        wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
    }

    HWND popup = Menu_Open();
    ASSERT_NE(popup, nullptr);
    Tray_Post(WM_LBUTTONUP);
    ASSERT_TRUE(Starter_Drain());
    EXPECT_TRUE(IsWindowVisible(main_));  // the open menu's owner stays shown, so a click elsewhere closes it

    const std::string question =
        "Vembrol will now be automatically started at Windows start up so that you can use it to quickly play mp3 "
        "files and start any of the Start Station applications or to create your own skin. Do you agree ?";
    auto stored = [] { return Registry_String(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue); };
    const std::string registered = Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    {
        wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kStartUpKey), runKey(HKEY_LOCAL_MACHINE, kRunKey);
        ASSERT_TRUE(standardUser.Active() && runKey.Active());
        for (WORD key : Keys(Item_AutoStart)) wintest::PopupMenu_SendKeys(popup, {key});  // the menu still works
        EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "Yes").text, question);
        Expect_Warning(starter_, "The Auto Start setting could not be saved, as changing it needs administrator rights !");
        EXPECT_EQ(stored(), "(none)");
        ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));  // still off as stored: asks again instead of switching off
        EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "No").text, question);

        ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
        wintest::MessageBox_Answer(starter_.Id(), "Yes");
        Expect_Warning(starter_, "Vembrol Starter could not be removed from Windows start up, as this needs "
                                 "administrator rights !");
        ASSERT_TRUE(Starter_Drain());
        EXPECT_TRUE(starter_.Running());
        EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), registered);
    }
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
    wintest::MessageBox_Answer(starter_.Id(), "Yes");
    EXPECT_TRUE(Eventually([&] { return stored() == "True"; }));
    EXPECT_EQ(wintest::MessageBox_WaitFor(starter_.Id(), 0), nullptr);

    PostMessageW(main_, WM_QUERYENDSESSION, 0, 0);
    PostMessageW(main_, WM_ENDSESSION, FALSE, 0);  // another program cancelled the shutdown
    ASSERT_TRUE(Starter_Drain());
    EXPECT_TRUE(starter_.Running());
    PostMessageW(main_, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(starter_.WaitExit(5000));
    EXPECT_FALSE(TrayIcon(main_));
}

// The keyboard reaches the icon as today's shell reports it: Enter or Space (NIN_KEYSELECT), and
// Shift+F10 or the menu key (WM_CONTEXTMENU with no click before), anchored at the icon, far from
// the pointer. The shell follows each click with one of the same messages, which opens nothing,
// also when it comes only once the click's menu has closed.
TEST_F(StarterTest, TheKeyboardOpensTheMenuAtTheIconAndVembrolComesToTheFrontToClose) {
    const StarterInstall& install = Install("starter-keyboard");
    StandIn_Copy(install.root + "other\\Other.exe");
    ASSERT_TRUE(Start());
    POINT cursor = {};
    GetCursorPos(&cursor);
    const POINT icon = {cursor.x > 400 ? 40 : 600, 40}, elsewhere = {cursor.x > 400 ? 300 : 800, 300};
    const std::string target = install.dir + "Vembrol.exe";
    wintest::Process other;
    const struct { UINT click, followUp, key; bool behindAnother; std::string logged; } forms[] = {
        {WM_LBUTTONUP, NIN_SELECT, NIN_KEYSELECT, false, StartLine(target, install.dir, target)},  // Launch
        {WM_RBUTTONUP, WM_CONTEXTMENU, WM_CONTEXTMENU, true, "closed|Vembrol|front"},            // Close
    };
    for (size_t n = 0; n < std::size(forms); ++n) {
        const auto& form = forms[n];
        SCOPED_TRACE(form.key);
        if (form.behindAnother) {  // where a question Vembrol asks before closing would go unseen
            ASSERT_NE(StandInWindow("Vembrol"), nullptr);
            other = wintest::Process::Start(install.root + "other\\Other.exe", "/Window=Other", install.root + "other");
            HWND over = StandInWindow("Other");
            ASSERT_TRUE(Eventually([&] { return over && GetForegroundWindow() == over; }));
        }
        HWND popup = Menu_Open(form.click);
        ASSERT_NE(popup, nullptr);
        wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE});
        ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
        Tray_Post(form.followUp, elsewhere);
        Tray_Post(WM_MOUSEMOVE);
        Tray_Post(WM_LBUTTONDOWN);
        Tray_Post(form.key, icon);
        popup = wintest::PopupMenu_WaitFor();  // the first menu to open since the click's
        ASSERT_NE(popup, nullptr);
        RECT at = {};
        GetWindowRect(popup, &at);
        EXPECT_EQ(std::make_pair(at.left, at.top), std::make_pair(icon.x, icon.y));
        wintest::PopupMenu_SendKeys(popup, {VK_DOWN, VK_RETURN});
        EXPECT_EQ(StandInLog(install.dir, n + 1).back(), form.logged);
    }
    ASSERT_TRUE(Menu_Choose(Keys(Item_SpecialModes, 3)));  // the extended help mode
    EXPECT_EQ(StandInLog(install.dir, 3).back(), StartLine(target, install.dir, target + " /ExtendedHelp"));
    EXPECT_NE(StandInWindow("Vembrol (extended help mode)"), nullptr);  // there for the clean-up to close
}

}  // namespace
