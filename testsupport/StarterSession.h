// Drives the real "Vembrol Starter.exe" beside a stand-in Vembrol in a scratch folder, whose
// name may hold any characters.
#pragma once

#include "WideText.h"
#include "WinTest.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>

namespace startertest {

using wintest::Eventually;
using Lines = std::vector<std::string>;

// Written out here rather than taken from the program: a typo there must fail a test.
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kRunKeyNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline const std::string kRunValue = "Vembrol Starter";
inline const std::string kStartUpKey = "Software\\Vembrol\\Starter\\StartUp";
inline const std::string kAutoStartValue = "auto start target program";
inline const std::string kStartStationKey = "Software\\Vembrol\\KtStartStation";

// The stand-in logs each start in standin.log beside itself: "start|<exe>|<cwd>|<command line>",
// then "argv|[<argument 0>][<argument 1>]..." as the system splits the command line.
void StandIn_Copy(const std::string& path);
Lines Started(const std::string& exe, std::string cwd, const std::string& commandLine, const Lines& arguments);
inline Lines operator+(Lines a, const Lines& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
// Waits up to ten seconds for that many events (starts, closed windows) in the log.
Lines StandInLog(const std::string& directory, size_t events = 1);
HWND StandInWindow(const std::string& title);                      // waited for
void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
std::string Registry_String(HKEY root, const std::string& key, const std::string& name);  // "(none)" if missing
bool TrayIcon(HWND owner, DWORD operation = NIM_MODIFY);  // NIM_MODIFY succeeds while the shell holds the icon
void Process_EndById(DWORD processId);  // for a process the Starter started on the test's behalf

// The Starter and, withTarget, a stand-in Vembrol.exe in <root>\<sub>; the root goes with it.
struct StarterInstall {
    std::string root, dir, exe;  // root and dir end with "\"
    ~StarterInstall() { wintest::Directory_DeleteTree(root); }
};

enum PopupItem { Item_Target = 1, Item_SpecialModes, Item_StartStation, Item_Homepage, Item_AutoStart,
                 Item_CloseStarter, Item_RemoveStarter };
std::vector<WORD> Keys(int n, int k = 0);  // choose the n-th selectable item, or the k-th of its submenu

// Clears the Run values and the Starter's keys, restoring them afterwards, so that tests neither
// depend on nor disturb each other or the prefix; closes the Starter and stand-ins.
class StarterTest : public ::testing::Test {
protected:
    StarterTest();
    ~StarterTest() override;
    // In C:\vembrol-tests\<name>\<sub>, or under name when it is a folder ("C:\...\"); it lives
    // until the Starter and stand-ins started from it have ended.
    const StarterInstall& Install(const std::string& name, bool withTarget = true, const std::string& sub = "");
    // In currentDir, the Starter's own folder by default; waits for the main window and the tray icon.
    bool Start(const std::string& currentDir = "");
    HWND Menu_Open(UINT event = WM_RBUTTONUP);
    bool Menu_Choose(const std::vector<WORD>& keys);  // false when the menu did not open
    // As the shell posts the callback in version 4: the event and the icon's id in lParam, the
    // anchor (the cursor for the mouse, the icon for the keyboard) in wParam.
    void Tray_Post(UINT event);
    void Tray_Post(UINT event, POINT anchor);
    // Returns once the Starter has handled every message posted to it before: the icon, taken
    // away, comes back only when the "TaskbarCreated" posted after them is handled.
    bool Starter_Drain();

    std::unique_ptr<StarterInstall> install_;
    wintest::Process starter_;
    HWND main_ = nullptr;

private:
    struct Saved { std::string path, name; bool existed; DWORD type; std::string data; };  // in HKEY_LOCAL_MACHINE
    std::vector<Saved> values_;
    bool productKeyExisted_;
};

}  // namespace startertest
