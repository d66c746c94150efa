// The product installed as an installer of its time did it, the Starter used and removed from
// start-up, the uninstaller run: afterwards only what the programs mean to leave may differ.
#include "InstallFileFormat.h"
#include "WinTest.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>

namespace {

// What the user reads and what other programs look up, written out: a typo in the programs'
// own constants must show here.
namespace T {
constexpr char MainCaption[] = "Vembrol Starter v1.0";
constexpr char TrayMessageName[] = "KtSystray";
constexpr char AutoStartQuestion[] =
    "Vembrol will now be automatically started at Windows start up so that you can use it to quickly play mp3 files and "
    "start any of the Start Station applications or to create your own skin. Do you agree ?";
constexpr char RemoveQuestion[] =
    "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool to clean up your mp3 "
    "collection. Do you really want to remove Vembrol Starter ?";
constexpr char RemoveConfirmed[] = "To reinstall Vembrol Starter just start it once again manually.";
constexpr char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char RunKeyNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
constexpr char RunValueName[] = "Vembrol Starter";
constexpr char ProductKey[] = "Software\\Vembrol\\";
constexpr char StartUpSubKey[] = "Starter\\StartUp\\";
constexpr char AutoStartValueName[] = "auto start target program";
constexpr char StartStationSubKey[] = "KtStartStation\\";
}  // namespace T
using Snapshot = std::map<std::string, std::string>;
const HKEY kLM = HKEY_LOCAL_MACHINE, kCU = HKEY_CURRENT_USER;

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? std::string(path) + "\\" : "";
}
// Listed without the trailing "\" of the Starter's key texts, as installers wrote them.
std::string NoSlash(std::string key) { return key.erase(key.find_last_not_of('\\') + 1); }

// The application's name is also its Start-menu group and desktop shortcut; the neighbour, a
// product of the same firm, begins like it, so a removal that matched by prefix takes it too.
const std::string kApp = "Vembrol Lifecycle", kNeighbour = kApp + " Tools", kDir = "C:\\Program Files\\" + kApp + "\\";
const std::string kPrograms = ShellFolder(CSIDL_PROGRAMS), kDesktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
const std::string kFirm = "Software\\VembrolLifecycleFirm", kFirmApp = kFirm + "\\" + kApp, kKept = "Data\\settings.ini";
const std::string kProductKey = NoSlash(T::ProductKey), kStartStation = NoSlash(kProductKey + "\\" + T::StartStationSubKey);
const std::string kStartUp = NoSlash(kProductKey + "\\" + T::StartUpSubKey), kRunData = "1:\"" + kDir + "Vembrol Starter.exe\"";
// A listed deep key below a listed ancestor, with unlisted levels between them.
const struct { HKEY root; std::string key, value, data; } kKeys[] = {
    {kLM, kProductKey, "", ""}, {kLM, kStartUp, "", ""}, {kLM, kStartStation, "application name1", "tools.exe"},
    {kLM, kFirmApp + "\\Settings\\Window\\Placement", "Left", "120"}, {kLM, kFirmApp, "Install Dir", kDir},
    {kCU, kFirmApp + "\\Recent Files", "1", "C:\\first.mp3"}, {kCU, kFirmApp, "Language", "English"}};

std::string Name(HKEY root, const std::string& key) { return (root == kLM ? "HKLM\\" : "HKCU\\") + key + "\\"; }

void SetString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    wintest::Registry_WriteRaw(root, key, name, REG_SZ, text + '\0');
    EXPECT_TRUE(wintest::Registry_KeyExists(root, key)) << key;
}

void Install(const std::string& path, const std::string& text) {
    wintest::Directory_Create(path.substr(0, path.rfind('\\') + 1));
    wintest::File_Write(path, text);
    EXPECT_EQ(wintest::File_Read(path), text) << path;
}

// Terminating NULs are dropped: writers differ in storing them, readers see the same text.
// Below a key that is not deep, only the names of its subkeys count.
void SnapKey(Snapshot& s, HKEY root, const std::string& key, bool deep) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    s[Name(root, key)] = "key";
    for (const std::string& value : wintest::Registry_ValueNames(root, key)) {
        DWORD type = 0;
        std::string data;
        wintest::Registry_ReadRaw(root, key, value, &type, &data);
        s[Name(root, key) + "[" + value + "]"] = std::to_string(type) + ":" + data.erase(data.find_last_not_of('\0') + 1);
    }
    char sub[256];
    for (DWORD i = 0; RegEnumKeyA(k, i, sub, sizeof sub) == ERROR_SUCCESS; ++i)
        if (deep) SnapKey(s, root, key + "\\" + sub, true);
        else s[Name(root, key + "\\" + sub)] = "key";
    RegCloseKey(k);
}

std::string Value(const std::string& key, const char* name) {
    Snapshot s;
    SnapKey(s, kLM, key, false);
    return s[Name(kLM, key) + "[" + name + "]"];
}

// Under Wine the desktop is the Linux home folder, whose other files change with whatever else
// runs; there only shortcuts count.
void SnapFiles(Snapshot& s, const std::string& dir, bool onlyShortcuts = false) {
    WIN32_FIND_DATAA f;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &f);
    if (find == INVALID_HANDLE_VALUE) return;
    s[dir] = "folder";
    do {
        const std::string name = f.cFileName;
        if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (!onlyShortcuts || (name.size() > 4 && name.compare(name.size() - 4, 4, ".lnk") == 0))
                s[dir + name] = std::to_string(f.nFileSizeLow);
        } else if (!onlyShortcuts && name != "." && name != "..") {
            SnapFiles(s, dir + name + "\\");
        }
    } while (FindNextFileA(find, &f));
    FindClose(find);
}

// The files the system deletes at the next restart, in their order, as one text.
std::string PendingDeletions() {
    std::string list;
    for (const auto& path : wintest::PendingDeletions_Get()) list += path + "|";
    return list;
}

// Every place either program could reach, listed or not.
Snapshot Machine() {
    Snapshot s;
    for (HKEY root : {kLM, kCU}) {
        for (const std::string& key : {kProductKey, kFirm}) SnapKey(s, root, key, true);
        for (const char* key : {"Software", T::RunKey, T::RunKeyNt}) SnapKey(s, root, key, false);
    }
    SnapFiles(s, "C:\\Program Files\\");
    SnapFiles(s, kPrograms);
    SnapFiles(s, kDesktop, true);
    // What the uninstaller leaves behind to be deleted at the next restart.
    SnapFiles(s, wintest::TempFolder_Get());
    s["PendingFileRenameOperations"] = PendingDeletions();
    return s;
}

// Wipes every trace of the product and its neighbour before and after the test, so that neither
// an earlier killed run nor another test decides the outcome.
struct Wiped {
    Wiped() { Wipe(); }
    ~Wiped() { Wipe(); }
    static void Wipe() {
        for (const std::string& name : {kApp, kNeighbour}) {
            wintest::Directory_DeleteTree("C:\\Program Files\\" + name + "\\");
            wintest::Directory_DeleteTree(kPrograms + name + "\\");
            DeleteFileA((kDesktop + name + ".lnk").c_str());
        }
        for (HKEY root : {kLM, kCU}) wintest::Registry_DeleteTree(root, kFirm);
        wintest::Registry_DeleteTree(kLM, kProductKey);
        for (const char* key : {T::RunKey, T::RunKeyNt}) RegDeleteKeyValueA(kLM, key, T::RunValueName);
        RegDeleteKeyValueA(kLM, T::RunKey, kNeighbour.c_str());
    }
};

TEST(ProductLifecycle, InstallUseAndUninstallLeaveOnlyWhatTheProgramsMeanToLeave) {
    ASSERT_TRUE(kPrograms.size() > 3 && kDesktop.size() > 3) << "an unknown shell folder makes paths relative";
    Wiped wiped;
    for (const std::string& file : {"C:\\Program Files\\" + kNeighbour + "\\tools.exe", kPrograms + kNeighbour + "\\Tools.lnk",
                                    kDesktop + kNeighbour + ".lnk"})
        Install(file, "neighbour");
    SetString(kLM, T::RunKey, kNeighbour, "tools.exe /tray");
    for (HKEY root : {kLM, kCU}) SetString(root, kFirm + "\\" + kNeighbour + "\\Recent Files", "1", "C:\\first.mp3");
    wintest::PendingRenamesKept pendingKept;
    const Snapshot before = Machine();

    // Neither Uninstall.exe nor Uninstall.dat is listed, as installers did it: the uninstaller
    // leaves its own file to a temporary copy, and its wipe of the application folder takes the
    // data file, last of all.
    wintest::Directory_Create(kDir);
    for (const char* exe : {"Vembrol Starter.exe", "Uninstall.exe"})
        ASSERT_TRUE(CopyFileA((DIST_DIR + std::string(exe)).c_str(), (kDir + exe).c_str(), FALSE)) << exe;
    ASSERT_TRUE(CopyFileA(STANDIN_EXE, (kDir + "Vembrol.exe").c_str(), FALSE));
    EntrySet listing;
    listing.Info = {"%currentdir%", kApp, "%currentdir%\\Vembrol.exe", kApp};
    for (const std::string& file : {std::string("Vembrol.exe"), std::string("Vembrol Starter.exe"), kKept,
                                    std::string("Readme.txt"), std::string("Skins\\Dark\\a.skin"),
                                    std::string("Skins\\Light\\c.skin"), std::string("Data\\Library\\index.db")}) {
        if (!wintest::File_Exists(kDir + file)) Install(kDir + file, file);
        listing.Files.push_back({"", "%currentdir%\\" + file, file == kKept ? BooleanTrue : BooleanFalse});
    }
    for (const auto& k : kKeys) {
        if (!k.value.empty()) SetString(k.root, k.key, k.value, k.data);
        listing.RegKeys.push_back({static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(k.root)), k.key, "", ""});
    }
    for (const char* name : {"file type1", "file type description1", "application command1", "icon file1", "icon index1"})
        SetString(kLM, kStartStation, name, "1");
    for (const std::string& link : {kApp, "Uninstall " + kApp}) {
        Install(kPrograms + kApp + "\\" + link + ".lnk", "shortcut");  // removed by name only
        listing.Shortcuts.push_back({"%userfolder%", link, ""});
    }
    Install(kDesktop + kApp + ".lnk", "shortcut");
    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(listing, bytes));
    Install(kDir + "Uninstall.dat", bytes);
    ASSERT_FALSE(HasFailure());  // what is listed must be there, or its absence would prove nothing
    const Snapshot installed = Machine();

    wintest::Process starter = wintest::Process::Start(kDir + "Vembrol Starter.exe", "", kDir);
    ASSERT_TRUE(starter.Started());
    HWND window = wintest::Window_WaitFor({T::MainCaption, nullptr, starter.Id(), false});
    ASSERT_NE(window, nullptr);
    // Start-up writes both Run values once the icon is in the tray; then the Starter is resident.
    ASSERT_TRUE(wintest::Eventually(
        [] { return Value(T::RunKey, T::RunValueName) == kRunData && Value(T::RunKeyNt, T::RunValueName) == kRunData; }, 10000));
    WaitForInputIdle(starter.Handle(), 5000);
    // Opens the tray menu as a click on the icon does; the keyboard skips separators.
    auto choose = [&](int item, const char* question) {
        ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
        PostMessageA(window, RegisterWindowMessageA(T::TrayMessageName), 1, WM_RBUTTONUP);
        HWND popup = wintest::PopupMenu_WaitFor();
        ASSERT_NE(popup, nullptr);
        for (int i = 0; i < item; ++i) wintest::PopupMenu_SendKeys(popup, {VK_DOWN});
        wintest::PopupMenu_SendKeys(popup, {VK_RETURN});
        ASSERT_EQ(wintest::MessageBox_Answer(starter.Id(), "Yes").text, question);
    };
    ASSERT_NO_FATAL_FAILURE(choose(5, T::AutoStartQuestion));
    EXPECT_TRUE(wintest::Eventually([] { return Value(kStartUp, T::AutoStartValueName) == "1:True"; }));
    ASSERT_NO_FATAL_FAILURE(choose(7, T::RemoveQuestion));
    EXPECT_EQ(wintest::MessageBox_Answer(starter.Id(), "OK").text, T::RemoveConfirmed);
    ASSERT_TRUE(starter.WaitExit());

    wintest::Process uninstaller = wintest::Process::Start(kDir + "Uninstall.exe", "", kDir);
    ASSERT_TRUE(uninstaller.Started());
    EXPECT_EQ(wintest::MessageBox_Answer(uninstaller.Id(), "Yes", 15000).text,
              "Do you really want to remove 'Vembrol Lifecycle' from this computer ?");
    // Any box in between, such as a file that would not go, would come here instead.
    EXPECT_EQ(wintest::MessageBox_Answer(uninstaller.Id(), "OK", 20000).text, "Application has been removed successfully.");
    ASSERT_TRUE(uninstaller.WaitExit());
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
    // A copy in the temporary folder deletes the uninstaller once it has ended; scheduling its
    // own folder for the next restart is the last thing it does.
    EXPECT_TRUE(wintest::Eventually(
        [&] {
            const std::string pending = PendingDeletions();
            return !wintest::File_Exists(kDir + "Uninstall.exe") && pending.find("Uninstall.exe|") != std::string::npos &&
                   pending.rfind("Uninstall.exe|") + 14 < pending.size();
        },
        15000));

    const Snapshot after = Machine();
    std::printf("Differences from the snapshot before installing:\n");
    for (const auto& [name, value] : after)
        if (!before.count(name) || before.at(name) != value) std::printf("  + %s = %s\n", name.c_str(), value.c_str());
    for (const auto& [name, value] : before)
        if (!after.count(name)) std::printf("  - %s\n", name.c_str());

    // Only the kept file stays (with the folders that hold it), and the NT Run value that Remove
    // Starter keeps by design, its key being one a fresh system lacks. Of the uninstaller, only a
    // copy in a temporary folder of its own stays, due for deletion at the next restart.
    Snapshot expected = before, lost, gained;
    for (const std::string& kept : {kDir, kDir + "Data\\", kDir + kKept}) expected[kept] = installed.at(kept);
    expected[Name(kLM, T::RunKeyNt)] = "key";
    expected[Name(kLM, T::RunKeyNt) + "[" + T::RunValueName + "]"] = kRunData;
    std::string copyDir;
    for (const auto& entry : after)
        if (entry.first.rfind(wintest::TempFolder_Get(), 0) == 0 && !before.count(entry.first) && entry.second == "folder") copyDir = entry.first;
    ASSERT_FALSE(copyDir.empty()) << "no temporary copy";
    expected[copyDir] = "folder";
    expected[copyDir + "Uninstall.exe"] = installed.at(kDir + "Uninstall.exe");
    expected["PendingFileRenameOperations"] = before.at("PendingFileRenameOperations") + "\\??\\" + copyDir + "Uninstall.exe|\\??\\" +
                                              copyDir.substr(0, copyDir.size() - 1) + "|";
    std::set_difference(expected.begin(), expected.end(), after.begin(), after.end(), std::inserter(lost, lost.end()));
    std::set_difference(after.begin(), after.end(), expected.begin(), expected.end(), std::inserter(gained, gained.end()));
    EXPECT_EQ(lost, Snapshot{}) << "missing or changed";
    EXPECT_EQ(gained, Snapshot{}) << "unexpected or changed";

    wintest::Directory_DeleteTree(copyDir);  // no restart comes to the test prefix
}

}  // namespace
