// Drives the real "Vembrol Starter.exe" for end-to-end tests: installs it with a stand-in Vembrol
// in a scratch folder, starts it, opens its tray menu and chooses items by keyboard, reads what the
// stand-ins logged, and keeps the registry values the Starter touches as they were.
#pragma once

#include "WinTest.h"

#include <functional>
#include <string>
#include <vector>

namespace startertest {

// The fixed texts as users see them, spelt out here so that a changed constant shows up.
inline constexpr char kAppTitle[] = "Vembrol Starter";
inline constexpr char kMainCaption[] = "Vembrol Starter v1.0";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunKeyNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Vembrol Starter";
inline constexpr char kProductKey[] = "Software\\Vembrol";
inline constexpr char kStartUpKey[] = "Software\\Vembrol\\Starter\\StartUp";
inline constexpr char kAutoStartValue[] = "auto start target program";
inline constexpr char kStartStationKey[] = "Software\\Vembrol\\KtStartStation";
inline constexpr char kStandInClass[] = "VembrolStandIn";

// Polls until condition holds; false after timeoutMs.
using wintest::Eventually;

// Windows paths of the built program and of the stand-in.
std::string BuiltStarter_Path();
std::string BuiltStandIn_Path();

// Copies the stand-in to path, creating its folder; its starts are logged in standin.log beside it.
void StandIn_Copy(const std::string& path);

// "start|<exe>|<cwd>|<command line>" as the stand-in logs it.
struct StandInStart {
    std::string exe;
    std::string cwd;
    std::string commandLine;
};
std::vector<std::string> StandInLog_Lines(const std::string& directory);
// Polls until the log beside directory holds at least count lines.
std::vector<std::string> StandInLog_WaitLines(const std::string& directory, size_t count, int timeoutMs = 10000);
bool StandInStart_Parse(const std::string& line, StandInStart& start);
// Polls for the first logged start; false on timeout.
bool StandInStart_WaitFirst(const std::string& directory, StandInStart& start, int timeoutMs = 10000);

// Closes every stand-in window still open and waits for them to go.
void StandIns_CloseAll();

// The Starter and a stand-in Vembrol.exe in C:\vembrol-tests\<name>\<subDirectory>.
class StarterInstall {
public:
    explicit StarterInstall(const std::string& name, bool withTarget = true, const std::string& subDirectory = "");
    const std::string& ScratchPath() const { return scratch_.Path(); }
    const std::string& Directory() const { return directory_; }  // ends with "\"
    const std::string& ExePath() const { return exe_; }
    std::string TargetPath() const { return directory_ + "Vembrol.exe"; }

private:
    wintest::ScratchDir scratch_;
    std::string directory_;
    std::string exe_;
};

// Saves, on construction, every registry value and key the Starter or these tests write, and then
// clears them (no Run entries, autostart off, no Start Station slots); puts everything back on
// destruction, so tests neither depend on nor disturb each other or the prefix.
class RegistryGuard {
public:
    RegistryGuard();
    ~RegistryGuard();
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    // A single value in a key that other programs share (the Run keys, ".html").
    struct SavedValue {
        HKEY root = nullptr;
        std::string path;
        std::string name;
        bool existed = false;
        DWORD type = 0;
        std::string data;
    };
    // A key of the product or of the tests, restored with exactly the values it had.
    struct SavedKey {
        HKEY root = nullptr;
        std::string path;
        bool existed = false;
        std::vector<SavedValue> values;
    };
    static SavedValue Value_Save(HKEY root, const std::string& path, const std::string& name);
    static SavedKey Key_Save(HKEY root, const std::string& path);

    std::vector<SavedValue> values_;
    std::vector<SavedKey> keys_;
    bool productKeyExisted_ = false;
};

// A REG_SZ value's raw data (with its terminating NUL), and reading one back without it.
void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
bool Registry_ReadString(HKEY root, const std::string& key, const std::string& name, std::string& text);

// Whether the shell holds a tray icon for (window, 1): modifying it succeeds only then.
bool TrayIcon_Present(HWND owner);
// Deletes that icon as a restarting taskbar would lose it.
bool TrayIcon_Delete(HWND owner);

// A running Starter; closed (and if need be terminated) when the session ends.
class StarterSession {
public:
    StarterSession() = default;
    ~StarterSession();
    StarterSession(const StarterSession&) = delete;
    StarterSession& operator=(const StarterSession&) = delete;

    // Starts the program with its own folder as current directory and waits for its main window
    // and tray icon; false when either does not come.
    bool Start(const StarterInstall& install);
    wintest::Process& Process() { return process_; }
    HWND MainWindow() const { return main_; }

    // Posts the tray callback with the mouse message and waits for the popup; null when none opens.
    HWND Menu_Open(LPARAM mouseMessage = WM_RBUTTONUP, int timeoutMs = 5000);
    // Opens the menu and presses the keys one after the other; false when the menu did not open.
    bool Menu_Choose(const std::vector<WORD>& keys);
    // Ends the Starter through its window, as Windows would; true when the process ended.
    bool Close();

private:
    wintest::Process process_;
    HWND main_ = nullptr;
};

// Keys that choose the n-th selectable item of the popup (separators are skipped), and that open
// the submenu of item n and choose its k-th item.
std::vector<WORD> Keys_Item(int n);
std::vector<WORD> Keys_SubItem(int n, int k);

// Positions of the popup's selectable items, as the user sees them.
enum PopupItem {
    Item_Target = 1,
    Item_SpecialModes = 2,
    Item_StartStation = 3,
    Item_Homepage = 4,
    Item_AutoStart = 5,
    Item_CloseStarter = 6,
    Item_RemoveStarter = 7,
};

}  // namespace startertest
