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
// Blanks in the names: every path below starts with "C:\Проба 文字\Мой", and a start that lets
// Windows guess the program runs the planted Мой.exe instead.
TEST_F(StarterTest, InAnyScriptsFolderItRegistersItselfAndStartsExactlyTheNamedProgramsWithTheirArgumentsWhole) {
    const StarterInstall& install = Install("C:\\Проба 文字\\", true, "Мой Vembrol");
    const std::string apps = install.root + "Мой Приложения\\", app = apps + "Плеер 文字.exe";
    const std::string gone = install.root + "gone.exe", browse = install.root + "Мой browse\\Browse.exe";
    const std::string tool = install.dir + "Tool.exe", target = install.dir + "Vembrol.exe";
    for (const std::string& program : {install.root + "Мой.exe", app, browse, tool, install.root + "other\\Other.exe"})
        StandIn_Copy(program);
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"file type1", "1"}, {"application name1", app + " /x \"a b\" \"\""}, {"file type2", "2"},
             {"application name2", apps}, {"file type3", "1"}, {"application name3", install.root + "Мой gone\\p.exe /y"},
             {"file type4", "1"}, {"application name4", install.root + "Мой browse"},  // a folder
             {"file type5", "1"}, {"application name5", "Tool.exe C:\\notes\\a.txt"}, {"browse application", gone}})
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
    EXPECT_TRUE(IsWindow(foreignWindow));
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    EXPECT_EQ(StandInLog(apps), Started(app, apps, "\"" + app + "\" /x \"a b\" \"\"", {app, "/x", "a b", ""}));
    for (int slot : {3, 4}) {  // a program that is not there, and a folder
        ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, slot)));
        Expect_Warning(starter_, "Error starting application '" + install.root +
                                     (slot == 3 ? "Мой gone\\p.exe /y" : "Мой browse") + "' !");
    }
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 5)));  // a bare name, found beside the Starter
    EXPECT_EQ(StandInLog(install.dir, 2), Started(target, install.dir, "\"" + target + "\"", {target}) +
                                              Started(tool, install.dir, "\"" + tool + "\" C:\\notes\\a.txt",
                                                      {tool, "C:\\notes\\a.txt"}));

    wintest::UnchangeableKey standardUser(HKEY_LOCAL_MACHINE, kStartStationKey);
    ASSERT_TRUE(standardUser.Active());
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 2)));  // a folder, for the browse application
    EXPECT_EQ(wintest::InputBox_Answer(starter_.Id(), "Error during browsing", browse + " /e", "OK").prompt,
              "Please enter path to browse application (" + gone + " not found):");
    Expect_Warning(starter_, "The browse application could not be saved for next time, as this needs administrator "
                             "rights !");
    // Opened all the same, the folder as one argument; only the next time asks again.
    EXPECT_EQ(StandInLog(install.root + "Мой browse\\"),
              Started(browse, install.root + "Мой browse", "\"" + browse + "\" /e \"" + apps + "\\\"", {browse, "/e", apps}));
    EXPECT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application"), gone);

    // Visit Homepage: the .html browser, registered unquoted or quoted, gets the address as one argument.
    const std::string browser = install.root + "Мой web\\Browser.exe", command = "VembrolTestHtml\\shell\\open\\command";
    StandIn_Copy(browser);
    Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");
    Lines browsers;
    for (const auto& [registered, line] : std::vector<std::pair<std::string, std::string>>{
             {browser + " -url %1", " -url www.vembrol.example"}, {"\"" + browser + "\" -url \"%1\"", " -url \"www.vembrol.example\""}}) {
        Registry_WriteString(HKEY_CLASSES_ROOT, command, "", registered);
        ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));
        browsers = browsers + Started(browser, install.dir, "\"" + browser + "\"" + line, {browser, "-url", "www.vembrol.example"});
        EXPECT_EQ(StandInLog(install.root + "Мой web\\", browsers.size() / 2), browsers);
    }
    EXPECT_EQ(wintest::File_Read(install.root + "standin.log"), "");  // the plant never ran
}

// A downloads folder is where planted programs lie: the Starter started from one never looks
// there. The Run key is read-only, as for a standard user, so the Starter never registered.
TEST_F(StarterTest, StartedFromADownloadsFolderItRunsNothingFromThereAndRemovesWithNothingToRemove) {
    const StarterInstall& install = Install("starter-elsewhere", true, "Starter");
    const std::string downloads = install.root + "Downloads\\", music = install.root + "My Music\\";
    for (const std::string& planted : {downloads + "explorer.exe", downloads + "helper.exe", install.dir + "explorer.exe"})
        StandIn_Copy(planted);
    wintest::Directory_Create(music);
    for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
             {"file type1", "2"}, {"application name1", music},
             {"file type2", "1"}, {"application name2", "helper.exe C:\\notes\\a.txt"}})
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, name, text);
    Registry_WriteString(HKEY_CLASSES_ROOT, ".html", "", "VembrolTestHtml");  // a type without an open command
    wintest::UnchangeableKey runKey(HKEY_LOCAL_MACHINE, kRunKey);
    ASSERT_TRUE(runKey.Active());
    ASSERT_TRUE(Start(downloads));
    ASSERT_EQ(Registry_String(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), "(none)");

    // The folder opens in the system's Explorer (no stand-in opens a window), ended by its process id.
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 1)));
    HWND folderWindow = wintest::Window_WaitFor({"My Music"});
    ASSERT_NE(folderWindow, nullptr);
    Process_EndById(wintest::Window_GetProcessId(folderWindow));
    ASSERT_TRUE(Menu_Choose(Keys(Item_StartStation, 2)));
    Expect_Warning(starter_, "Error starting application 'helper.exe C:\\notes\\a.txt' !");
    ASSERT_TRUE(Menu_Choose(Keys(Item_Homepage)));  // no browser registered: Explorer, which starts fine
    EXPECT_EQ(wintest::MessageBox_WaitFor(starter_.Id(), 2000), nullptr);
    ASSERT_TRUE(Menu_Choose(Keys(Item_Target)));  // started in the Starter's folder, not in Downloads
    const std::string target = install.dir + "Vembrol.exe";
    EXPECT_EQ(StandInLog(install.dir), Started(target, install.dir, "\"" + target + "\"", {target}));
    EXPECT_EQ(wintest::File_Read(downloads + "standin.log"), "");

    ASSERT_TRUE(Menu_Choose(Keys(Item_RemoveStarter)));
    wintest::MessageBox_Answer(starter_.Id(), "Yes");
    EXPECT_EQ(wintest::MessageBox_Answer(starter_.Id(), "OK").text,
              "To reinstall Vembrol Starter just start it once again manually.");
    EXPECT_TRUE(starter_.WaitExit(5000));
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
    // A click on the icon while the question is open brings the question back to the front and
    // opens no menu, from which a second question could follow.
    ASSERT_TRUE(Menu_Choose(Keys(Item_AutoStart)));
    HWND asked = wintest::MessageBox_WaitFor(starter_.Id());
    ASSERT_NE(asked, nullptr);
    wintest::Process other = wintest::Process::Start(install.dir + "Vembrol.exe", "/Window=Other", install.dir);
    HWND otherWindow = StandInWindow("Other");
    ASSERT_TRUE(otherWindow && SetForegroundWindow(otherWindow) && GetForegroundWindow() == otherWindow);
    Tray_Post(WM_LBUTTONUP);
    EXPECT_EQ(wintest::PopupMenu_WaitFor(2000), nullptr);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == asked; }));
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
    const auto tail = [](const Lines& log, size_t n) { return Lines(log.end() - std::min(n, log.size()), log.end()); };
    const struct { UINT click, followUp, key; bool behindAnother; Lines logged; } forms[] = {
        {WM_LBUTTONUP, NIN_SELECT, NIN_KEYSELECT, false, Started(target, install.dir, "\"" + target + "\"", {target})},
        {WM_RBUTTONUP, WM_CONTEXTMENU, WM_CONTEXTMENU, true, {"closed|Vembrol|front"}},  // Launch, then Close
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
        EXPECT_EQ(tail(StandInLog(install.dir, n + 1), form.logged.size()), form.logged);
    }
    ASSERT_TRUE(Menu_Choose(Keys(Item_SpecialModes, 3)));  // the extended help mode
    EXPECT_EQ(tail(StandInLog(install.dir, 3), 2),
              Started(target, install.dir, "\"" + target + "\" /ExtendedHelp", {target, "/ExtendedHelp"}));
    EXPECT_NE(StandInWindow("Vembrol (extended help mode)"), nullptr);  // there for the clean-up to close
}

}  // namespace
