// The product installed as an installer of its time did it, the Starter used and removed from
// start-up, the uninstaller run: afterwards only what the programs mean to leave may differ.
#include "InstallFileFormat.h"
#include "WinTest.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

using namespace wintest;

namespace {

using Snapshot = std::map<std::string, std::string>;
const HKEY kLM = HKEY_LOCAL_MACHINE, kCU = HKEY_CURRENT_USER;

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? std::string(path) + "\\" : "";
}

// Registry names other programs look up, written out: a typo in the programs' constants shows.
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kRunKeyNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
const std::string kProductKey = "Software\\Vembrol", kStartUp = kProductKey + "\\Starter\\StartUp", kStartStation = kProductKey + "\\KtStartStation";
// The application's name is also its Start-menu group and desktop shortcut.
const std::string kApp = "Vembrol Lifecycle", kDir = "C:\\Program Files\\" + kApp + "\\";
const std::string kPrograms = ShellFolder(CSIDL_PROGRAMS), kDesktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
const std::string kFirm = "Software\\VembrolLifecycleFirm", kFirmApp = kFirm + "\\" + kApp, kKept = "Data\\settings.ini";
const std::string kRunData = "\"" + kDir + "Vembrol Starter.exe\"";
// A listed deep key below a listed ancestor, with unlisted levels between them.
const struct { HKEY root; std::string key, value; } kKeys[] = {
    {kLM, kProductKey, ""}, {kLM, kStartUp, ""}, {kLM, kStartStation, "application name1"}, {kLM, kFirmApp + "\\Settings\\Window\\Placement", "Left"},
    {kLM, kFirmApp, "Install Dir"}, {kCU, kFirmApp + "\\Recent Files", "1"}, {kCU, kFirmApp, "Language"}};

std::string Name(HKEY root, const std::string& key) { return (root == kLM ? "HKLM\\" : "HKCU\\") + key + "\\"; }
// Terminating NULs are dropped: writers differ in storing them, readers see the same text.
std::string Value(HKEY root, const std::string& key, const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!Registry_ReadRaw(root, key, name, &type, &data)) return "";
    return std::to_string(type) + ":" + data.erase(data.find_last_not_of('\0') + 1);
}
void Install(const std::string& path, const std::string& text) {
    Directory_Create(path.substr(0, path.rfind('\\') + 1));
    File_Write(path, text);
    EXPECT_EQ(File_Read(path), text) << path;  // what is listed must be there, or its absence would prove nothing
}

// Below a key that is not deep, only the names of its subkeys count.
void SnapKey(Snapshot& s, HKEY root, const std::string& key, bool deep) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    s[Name(root, key)] = "key";
    for (const std::string& value : Registry_ValueNames(root, key)) s[Name(root, key) + "[" + value + "]"] = Value(root, key, value);
    char sub[256];
    for (DWORD i = 0; RegEnumKeyA(k, i, sub, sizeof sub) == ERROR_SUCCESS; ++i)
        if (deep) SnapKey(s, root, key + "\\" + sub, true);
        else s[Name(root, key + "\\" + sub)] = "key";
    RegCloseKey(k);
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
        if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (!onlyShortcuts || (name.size() > 4 && name.compare(name.size() - 4, 4, ".lnk") == 0)))
            s[dir + name] = std::to_string(f.nFileSizeLow);
        else if ((f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !onlyShortcuts && name != "." && name != "..")
            SnapFiles(s, dir + name + "\\");
    } while (FindNextFileA(find, &f));
    FindClose(find);
}

// Every place either program could reach, listed or not, and what the system deletes at the next
// restart, in its order.
Snapshot Machine() {
    Snapshot s;
    for (HKEY root : {kLM, kCU})
        for (const std::string& key : {kProductKey, kFirm, std::string("Software"), kRunKey, kRunKeyNt}) SnapKey(s, root, key, key.find("Vembrol") != std::string::npos);
    for (const std::string& dir : {std::string("C:\\Program Files\\"), kPrograms, WindowsTempFolder_Get()}) SnapFiles(s, dir);
    SnapFiles(s, kDesktop, true);
    for (const auto& path : PendingDeletions_Get()) s["PendingFileRenameOperations"] += path + "|";
    return s;
}

// Every trace of the product goes before and after, so that neither an earlier
// killed run nor another test decides the outcome.
struct Wiped {
    Wiped() { Wipe(); }
    ~Wiped() { Wipe(); }
    static void Wipe() {
        for (const std::string& dir : {kDir, kPrograms + kApp + "\\"}) Directory_DeleteTree(dir);
        DeleteFileA((kDesktop + kApp + ".lnk").c_str());
        for (HKEY root : {kLM, kCU}) Registry_DeleteTree(root, kFirm);
        Registry_DeleteTree(kLM, kProductKey);
        for (const std::string& key : {kRunKey, kRunKeyNt}) RegDeleteKeyValueA(kLM, key.c_str(), "Vembrol Starter");
    }
};

TEST(ProductLifecycle, InstallUseAndUninstallLeaveOnlyWhatTheProgramsMeanToLeave) {
    ASSERT_TRUE(kPrograms.size() > 3 && kDesktop.size() > 3) << "an unknown shell folder makes paths relative";
    Wiped wiped;
    // The firm's key is older than the product and outlives it: no one lists it.
    for (HKEY root : {kLM, kCU}) Registry_WriteRaw(root, kFirm, "", REG_SZ, "firm");
    PendingRenamesKept pendingKept;
    const Snapshot before = Machine();

    // Neither Uninstall.exe nor Uninstall.dat is listed, as installers did it: the uninstaller
    // leaves its own file to a temporary copy, and its wipe of the application folder takes the
    // data file, last of all.
    Directory_Create(kDir);
    for (const char* exe : {"Vembrol Starter.exe", "Uninstall.exe"}) ASSERT_TRUE(CopyFileA((DIST_DIR + std::string(exe)).c_str(), (kDir + exe).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(STANDIN_EXE, (kDir + "Vembrol.exe").c_str(), FALSE));
    EntrySet listing;
    listing.Info = {"%currentdir%", kApp, "%currentdir%\\Vembrol.exe", kApp};
    for (const std::string& file : {std::string("Vembrol.exe"), std::string("Vembrol Starter.exe"), kKept, std::string("Readme.txt"),
                                    std::string("Skins\\Dark\\a.skin"), std::string("Skins\\Light\\c.skin"), std::string("Data\\Library\\index.db")}) {
        if (!File_Exists(kDir + file)) Install(kDir + file, file);
        listing.Files.push_back({"", "%currentdir%\\" + file, file == kKept ? BooleanTrue : BooleanFalse});
    }
    for (const auto& k : kKeys) {
        Registry_WriteRaw(k.root, k.key, k.value, REG_SZ, "1");
        EXPECT_TRUE(Registry_KeyExists(k.root, k.key)) << k.key;
        listing.RegKeys.push_back({static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(k.root)), k.key, "", ""});
    }
    for (const std::string& link : {kApp, "Uninstall " + kApp}) {
        Install(kPrograms + kApp + "\\" + link + ".lnk", "shortcut");  // removed by name only
        listing.Shortcuts.push_back({"%userfolder%", link, ""});
    }
    // The desktop shortcut goes because it leads into the installation.
    ASSERT_TRUE(Shortcut_Create(kDesktop + kApp + ".lnk", kDir + "Vembrol.exe"));
    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(listing, bytes));
    Install(kDir + "Uninstall.dat", bytes);
    ASSERT_FALSE(HasFailure());
    const Snapshot installed = Machine();

    Process starter = Process::Start(kDir + "Vembrol Starter.exe", "", kDir);
    HWND window = Window_WaitFor({"Vembrol Starter v1.0", nullptr, starter.Id(), false});
    ASSERT_NE(window, nullptr);
    // Start-up writes both Run values once the icon is in the tray; then the Starter is resident.
    ASSERT_TRUE(Eventually([] { return Value(kLM, kRunKey, "Vembrol Starter") == "1:" + kRunData && Value(kLM, kRunKeyNt, "Vembrol Starter") == "1:" + kRunData; }, 10000));
    WaitForInputIdle(starter.Handle(), 5000);
    // Opens the tray menu as a click on the icon does, chooses an item and answers its question.
    auto choose = [&](int item, const char* question) {
        ASSERT_TRUE(PopupMenu_WaitClosed());
        PostMessageA(window, RegisterWindowMessageA("KtSystray"), 1, WM_RBUTTONUP);
        HWND popup = PopupMenu_WaitFor();
        ASSERT_NE(popup, nullptr);
        for (int i = 0; i < item; ++i) PopupMenu_SendKeys(popup, {VK_DOWN});
        PopupMenu_SendKeys(popup, {VK_RETURN});
        ASSERT_NE(MessageBox_Answer(starter.Id(), "Yes").text.find(question), std::string::npos) << question;
    };
    ASSERT_NO_FATAL_FAILURE(choose(5, "automatically started at Windows start up"));
    EXPECT_TRUE(Eventually([] { return Value(kLM, kStartUp, "auto start target program") == "1:True"; }));
    ASSERT_NO_FATAL_FAILURE(choose(7, "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool to "
                                      "clean up your mp3 collection. Do you really want to remove Vembrol Starter ?"));
    EXPECT_EQ(MessageBox_Answer(starter.Id(), "OK").text, "To reinstall Vembrol Starter just start it once again manually.");
    ASSERT_TRUE(starter.WaitExit());

    Process uninstaller = Process::Start(kDir + "Uninstall.exe", "", kDir);
    EXPECT_EQ(MessageBox_Answer(uninstaller.Id(), "Yes", 15000).text, "Do you really want to remove 'Vembrol Lifecycle' from this computer ?");
    // Any box in between, such as a file that would not go, would come here instead.
    EXPECT_EQ(MessageBox_Answer(uninstaller.Id(), "OK", 20000).text, "Application has been removed successfully.");
    ASSERT_TRUE(uninstaller.WaitExit());
    EXPECT_EQ(uninstaller.ExitCode(), 0u);
    // Scheduling its own folder for the next restart is the last thing the temporary copy does.
    EXPECT_TRUE(Eventually([&] {
        const std::string pending = Machine()["PendingFileRenameOperations"];
        return !File_Exists(kDir + "Uninstall.exe") && pending.find("Uninstall.exe|") != std::string::npos && pending.rfind("Uninstall.exe|") + 14 < pending.size();
    }, 15000));

    const Snapshot after = Machine();
    std::vector<std::string> differences;
    for (const auto& [name, value] : after)
        if (!before.count(name) || before.at(name) != value) differences.push_back("+ " + name + " = " + value);
    for (const auto& [name, value] : before)
        if (!after.count(name)) differences.push_back("- " + name);
    std::printf("Differences from the snapshot before installing:\n");
    for (const auto& line : differences) std::printf("  %s\n", line.c_str());

    // Only the kept file stays (with the folders that hold it), and the NT Run value that Remove
    // Starter keeps by design. Of the uninstaller, only a copy in a temporary folder of its own
    // stays, due for deletion at the next restart.
    std::string copyDir;
    for (const auto& [name, value] : after)
        if (name.rfind(WindowsTempFolder_Get(), 0) == 0 && !before.count(name) && value == "folder") copyDir = name;
    ASSERT_FALSE(copyDir.empty()) << "no temporary copy";
    std::vector<std::string> expected = {"+ " + kDir + " = folder", "+ " + kDir + "Data\\ = folder", "+ " + kDir + kKept + " = " + installed.at(kDir + kKept),
                                         "+ " + copyDir + " = folder", "+ " + copyDir + "Uninstall.exe = " + installed.at(kDir + "Uninstall.exe"),
                                         "+ " + Name(kLM, kRunKeyNt) + "[Vembrol Starter] = 1:" + kRunData,
                                         "+ PendingFileRenameOperations = " + (before.count("PendingFileRenameOperations") ? before.at("PendingFileRenameOperations") : "") +
                                             "\\??\\" + copyDir + "Uninstall.exe|\\??\\" + copyDir.substr(0, copyDir.size() - 1) + "|"};
    // A fresh system lacks the NT Run key itself.
    if (!before.count(Name(kLM, kRunKeyNt))) expected.insert(expected.end() - 2, "+ " + Name(kLM, kRunKeyNt) + " = key");
    EXPECT_EQ(differences, expected);
    Directory_DeleteTree(copyDir);  // no restart comes to the test prefix
}

}  // namespace
