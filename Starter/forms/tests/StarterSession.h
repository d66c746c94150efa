// Drives the real "Vembrol Starter.exe" beside a stand-in Vembrol in a scratch folder.
#pragma once

#include "StarterTexts.h"
#include "WinTest.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>

namespace startertest {

using namespace StarterText;
using wintest::Eventually;

// Without the trailing "\", as the registry helpers take them.
inline std::string Key(std::string path) { return path.substr(0, path.size() - 1); }
inline const std::string kStartUpKey = Key(std::string(ProductKey) + StartUpSubKey);
inline const std::string kStartStationKey = Key(std::string(ProductKey) + StartStationSubKey);

// The stand-in logs "start|<exe>|<cwd>|<command line>" in standin.log beside itself.
void StandIn_Copy(const std::string& path);
std::string StartLine(const std::string& exe, std::string cwd, const std::string& commandLine);
// The lines logged in directory once there are count of them, or all after ten seconds.
std::vector<std::string> StandInLog(const std::string& directory, size_t count = 1);
void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
std::string Registry_String(HKEY root, const std::string& key, const std::string& name);  // "(none)" if missing
// NIM_MODIFY succeeds only while the shell holds the icon.
bool TrayIcon(HWND owner, DWORD operation = NIM_MODIFY);

// The Starter and, withTarget, a stand-in Vembrol.exe in C:\vembrol-tests\<name>\<sub>.
struct StarterInstall {
    explicit StarterInstall(const std::string& name, bool withTarget = true, const std::string& sub = "");
    wintest::ScratchDir scratch;
    std::string dir, exe;  // dir ends with "\"
};

enum PopupItem { Item_Target = 1, Item_SpecialModes, Item_StartStation, Item_Homepage, Item_AutoStart,
                 Item_CloseStarter, Item_RemoveStarter };
// Keys choosing the n-th selectable item, or the k-th item of its submenu.
std::vector<WORD> Keys(int n, int k = 0);

// Clears the Run values and the Starter's keys, restoring them (and ".html") afterwards, so that
// tests neither depend on nor disturb each other or the prefix; closes the Starter and stand-ins.
class StarterTest : public ::testing::Test {
protected:
    StarterTest();
    ~StarterTest() override;
    // The folder lives until the Starter and stand-ins started from it have ended.
    const StarterInstall& Install(const std::string& name, bool withTarget = true, const std::string& sub = "");
    bool Start();  // waits for the main window and the tray icon
    HWND Menu_Open(LPARAM mouseMessage = WM_RBUTTONUP);
    bool Menu_Choose(const std::vector<WORD>& keys);  // false when the menu did not open

    std::unique_ptr<StarterInstall> install_;
    wintest::Process starter_;
    HWND main_ = nullptr;

private:
    struct Saved { HKEY root; std::string path, name; bool existed; DWORD type; std::string data; };
    std::vector<Saved> values_;
    bool productKeyExisted_;
};

}  // namespace startertest
