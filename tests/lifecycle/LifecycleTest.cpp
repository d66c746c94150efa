// The product's life on one machine, end to end under Wine: a test installer lays it down; the
// user runs the Starter, switches its autostart on and removes it from Windows start-up; then
// runs the uninstaller. Afterwards the machine must be as it was before the installation, except
// for what the programs mean to leave.
#include "LifecycleLayout.h"
#include "MachineGuard.h"
#include "MachineSnapshot.h"
#include "TestInstaller.h"
#include "WinTest.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace lifecycle;

namespace {

const std::string kAppFolder = kAppDir;
const std::string kStarterExe = kAppFolder + "Vembrol Starter.exe";
const std::string kUninstallExe = kAppFolder + "Uninstall.exe";
const std::string kStarterRunData = "\"" + kStarterExe + "\"";

// Every place either program could reach: the product's and the installer's keys, the names of
// all keys directly below Software, the Run keys of both roots, Program Files and the Start menu.
MachineSnapshot Machine_Snapshot(const Folders& folders) {
    MachineSnapshot s;
    s.AddRegistryTree(HKEY_LOCAL_MACHINE, kProductKey);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        s.AddRegistryTree(root, kFirmKey);
        s.AddRegistrySubkeys(root, "Software");
        s.AddRegistryValues(root, kRunKey);
        s.AddRegistryValues(root, kRunKeyNt);
    }
    s.AddFileTree("C:\\Program Files\\");
    s.AddFileTree(folders.programs);
    // Under Wine the desktop is the Linux home folder, whose other files change with whatever
    // else runs on the machine; a shortcut file is all either program may remove there.
    s.AddShortcutFiles(folders.desktop);
    return s;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "\n  " + line;
    return text;
}

std::uint64_t File_Size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// A string value without its terminating NULs; "(none)" when it is not there.
std::string String_Read(HKEY root, const std::string& key, const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!wintest::Registry_ReadRaw(root, key, name, &type, &data)) return "(none)";
    return data.erase(data.find_last_not_of('\0') + 1);
}

// Modifying an icon succeeds only while the shell holds it.
bool TrayIcon_Present(HWND owner) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class ProductLifecycle : public ::testing::Test {
protected:
    // Lays the product down and checks that everything the data file lists is really there, so
    // that its absence afterwards means something.
    void Install() {
        ASSERT_FALSE(folders_.programs.empty());
        ASSERT_FALSE(folders_.desktop.empty());
        // The snapshot sees the neighbour in every kind of place, so it would see it go.
        for (const std::string& name :
             {std::string(kNeighbourDir) + "tools.exe", folders_.programs + kNeighbour + "\\Tools.lnk",
              folders_.desktop + kNeighbour + ".lnk", ValueEntry_Name(HKEY_LOCAL_MACHINE, kRunKey, kNeighbour),
              KeyEntry_Name(HKEY_LOCAL_MACHINE, std::string(kFirmKey) + "\\" + kNeighbour),
              KeyEntry_Name(HKEY_CURRENT_USER, std::string(kFirmKey) + "\\" + kNeighbour + "\\Recent Files")})
            EXPECT_TRUE(before_.Has(name)) << name;

        const std::string error = Product_Install(folders_, {STARTER_EXE, UNINSTALL_EXE, STANDIN_EXE});
        ASSERT_EQ(error, "");

        const MachineSnapshot installed = Machine_Snapshot(folders_);
        std::vector<std::string> expected = {
            kAppFolder + "Vembrol.exe",
            kStarterExe,
            kUninstallExe,
            kAppFolder + "Uninstall.dat",
            kAppFolder + kKeptFile,
            KeyEntry_Name(HKEY_LOCAL_MACHINE, kFirmDeepKey),
            ValueEntry_Name(HKEY_LOCAL_MACHINE, kFirmProductKey, "Install Dir"),
            KeyEntry_Name(HKEY_CURRENT_USER, kFirmUserKey),
            ValueEntry_Name(HKEY_CURRENT_USER, kFirmProductKey, "Language"),
            ValueEntry_Name(HKEY_LOCAL_MACHINE, kStartStationKey, "application name1"),
            ValueEntry_Name(HKEY_LOCAL_MACHINE, kStartStationKey, "icon index2"),
            folders_.DesktopShortcut(),
        };
        for (const InstalledFile& f : kInstalledFiles) expected.push_back(kAppFolder + f.path);
        for (const std::string& name : kGroupShortcuts) expected.push_back(folders_.Group() + name + ".lnk");
        for (const std::string& name : expected) EXPECT_TRUE(installed.Has(name)) << "not installed: " << name;
        ASSERT_FALSE(HasFailure());
    }

    // Opens the tray menu as a click on the icon does and chooses the n-th item that the
    // keyboard reaches (separators are skipped).
    void Menu_Choose(HWND main, int n) {
        ASSERT_TRUE(wintest::PopupMenu_WaitClosed());
        PostMessageA(main, RegisterWindowMessageA("KtSystray"), 1, WM_RBUTTONUP);
        HWND popup = wintest::PopupMenu_WaitFor();
        ASSERT_NE(popup, nullptr) << "the tray menu did not open";
        ASSERT_EQ(wintest::Window_GetProcessId(popup), starter_.Id());
        for (int i = 0; i < n; ++i) wintest::PopupMenu_SendKeys(popup, {VK_DOWN});
        wintest::PopupMenu_SendKeys(popup, {VK_RETURN});
    }

    void Starter_Use() {
        starter_ = wintest::Process::Start(kStarterExe, "", kAppFolder);
        ASSERT_TRUE(starter_.Started()) << "error " << GetLastError();
        wintest::WindowQuery q;
        q.title = "Vembrol Starter v1.0";
        q.processId = starter_.Id();
        q.visibleOnly = false;
        HWND main = wintest::Window_WaitFor(q);
        ASSERT_NE(main, nullptr) << "the Starter's main window did not come";
        // Start-up writes both Run entries after the icon is in the tray; then it is resident.
        ASSERT_TRUE(wintest::Eventually(
            [] {
                return String_Read(HKEY_LOCAL_MACHINE, kRunKey, kRunValue) == kStarterRunData &&
                       String_Read(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue) == kStarterRunData;
            },
            10000))
            << String_Read(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
        ASSERT_TRUE(TrayIcon_Present(main));
        WaitForInputIdle(starter_.Handle(), 5000);

        // "Auto Start Vembrol", the fifth item.
        ASSERT_NO_FATAL_FAILURE(Menu_Choose(main, 5));
        wintest::MessageBoxInfo box = wintest::MessageBox_Answer(starter_.Id(), "Yes");
        ASSERT_NE(box.hwnd, nullptr) << "no autostart question";
        EXPECT_EQ(box.text,
                  "Vembrol will now be automatically started at Windows start up so that you can use it to quickly "
                  "play mp3 files and start any of the Start Station applications or to create your own skin. Do you "
                  "agree ?");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Question);
        ASSERT_TRUE(wintest::Eventually([] { return String_Read(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue) == "True"; },
                               5000))
            << String_Read(HKEY_LOCAL_MACHINE, kStartUpKey, kAutoStartValue);

        // "Remove Starter", the seventh.
        ASSERT_NO_FATAL_FAILURE(Menu_Choose(main, 7));
        box = wintest::MessageBox_Answer(starter_.Id(), "Yes");
        ASSERT_NE(box.hwnd, nullptr) << "no removal question";
        EXPECT_EQ(box.text,
                  "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool to "
                  "clean up your mp3 collection. Do you really want to remove Vembrol Starter ?");
        box = wintest::MessageBox_Answer(starter_.Id(), "OK");
        ASSERT_NE(box.hwnd, nullptr) << "no notice after the removal";
        EXPECT_EQ(box.text, "To reinstall Vembrol Starter just start it once again manually.");
        EXPECT_EQ(box.icon, wintest::BoxIcon::Information);
        ASSERT_TRUE(starter_.WaitExit(10000)) << "the Starter still runs after Remove";
        EXPECT_EQ(String_Read(HKEY_LOCAL_MACHINE, kRunKey, kRunValue), "(none)");
        EXPECT_EQ(String_Read(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue), kStarterRunData);
    }

    void Uninstall_Run() {
        uninstaller_ = wintest::Process::Start(kUninstallExe, "", kAppFolder);
        ASSERT_TRUE(uninstaller_.Started()) << "error " << GetLastError();
        const wintest::MessageBoxInfo question = wintest::MessageBox_Answer(uninstaller_.Id(), "Yes", 15000);
        ASSERT_NE(question.hwnd, nullptr) << "no question from the uninstaller";
        EXPECT_EQ(question.text, "Do you really want to remove 'Vembrol Lifecycle' from this computer ?");
        EXPECT_EQ(question.icon, wintest::BoxIcon::Question);
        EXPECT_EQ(question.buttons, (std::vector<std::string>{"Yes", "No"}));

        // Any box in between (a file that would not go) would show up here instead.
        const wintest::MessageBoxInfo report = wintest::MessageBox_Answer(uninstaller_.Id(), "OK", 20000);
        ASSERT_NE(report.hwnd, nullptr) << "no final message from the uninstaller";
        EXPECT_EQ(report.caption, "Uninstall");
        EXPECT_EQ(report.text, "Application has been removed successfully.");
        EXPECT_EQ(report.icon, wintest::BoxIcon::Information);
        EXPECT_EQ(report.buttons, std::vector<std::string>{"OK"});
        ASSERT_TRUE(uninstaller_.WaitExit(10000)) << "the uninstaller still runs after its report";
        EXPECT_EQ(uninstaller_.ExitCode(), 0u);
    }

    // The machine as it was, plus exactly what outlives the product.
    MachineSnapshot Expected_AfterUninstall(bool starterRan) const {
        MachineSnapshot expected = before_;
        // The kept file stays, and the folders that hold it.
        expected.Set(kAppFolder, kFolderEntry);
        expected.Set(kAppFolder + "Data\\", kFolderEntry);
        expected.Set(kAppFolder + kKeptFile, File_Describe(std::strlen(kKeptText)));
        // The uninstaller wipes the remaining files of the application folder, Uninstall.dat
        // included, but cannot delete its own executable while it runs.
        expected.Set(kUninstallExe, File_Describe(File_Size(UNINSTALL_EXE)));
        if (starterRan) {
            // Remove Starter deletes only the upper Run value; the Windows NT one stays, and
            // with it the key that a fresh system lacks.
            expected.Set(KeyEntry_Name(HKEY_LOCAL_MACHINE, kRunKeyNt), kKeyEntry);
            expected.Set(ValueEntry_Name(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue),
                         StringValue_Describe(kStarterRunData));
        }
        return expected;
    }

    void ExpectMachineAsBeforeExcept(bool starterRan) {
        const std::vector<std::string> differences =
            Snapshot_Differences(Expected_AfterUninstall(starterRan), Machine_Snapshot(folders_));
        EXPECT_TRUE(differences.empty()) << differences.size() << " difference(s) from the machine before:"
                                         << Lines(differences);
    }

    // Declared in this order so that the processes end before the machine is put back.
    Folders folders_ = Folders_Get();
    MachineGuard machine_{folders_};
    MachineSnapshot before_ = Machine_Snapshot(folders_);
    wintest::Process starter_;
    wintest::Process uninstaller_;
};

TEST_F(ProductLifecycle, InstallUseAndUninstallLeaveOnlyWhatTheProgramsMeanToLeave) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(Starter_Use());
    ASSERT_NO_FATAL_FAILURE(Uninstall_Run());
    ExpectMachineAsBeforeExcept(true);
}

// A user who never started the Starter: no Run value is left at all, and the Starter's listed
// key, never created, does not stand in the way of the product key.
TEST_F(ProductLifecycle, UninstallWithoutEverStartingTheStarterLeavesOnlyTheKeptFile) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(Uninstall_Run());
    ExpectMachineAsBeforeExcept(false);
}

}  // namespace
