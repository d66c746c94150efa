// A copy of the real Uninstall.exe in an application folder whose name no ANSI code page holds,
// the unlisted folders and keys that no run may touch, and what the uninstaller leaves in the
// temporary folder.
#pragma once

#include "EntrySet.h"
#include "InstallFileFormat.h"
#include "Mfrm.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <set>

constexpr std::int32_t E2eHKLM = static_cast<std::int32_t>(0x80000002u), E2eHKCU = E2eHKLM - 1;

class UninstallE2e : public ::testing::Test {
protected:
    UninstallE2e() {
        wintest::Directory_DeleteTree(AppDir());
        wintest::Directory_Create(AppDir());
        EXPECT_TRUE(CopyFileW(Wide(UNINSTALL_EXE).c_str(), Wide(AppDir() + "Uninstall.exe").c_str(), FALSE)) << UNINSTALL_EXE;
        wintest::Directory_Create(Tree() + "Sibling");  // empty, so that a wrong removal would succeed
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            wintest::Registry_WriteRaw(root, Key() + "Unlisted", "v", REG_SZ, "x");
        wintest::Directory_Create(dir_.Path() + "cwd");
        tempBefore_ = TempEntries();
    }
    ~UninstallE2e() override {
        wintest::Registry_DeleteTree(HKEY_CURRENT_USER, key_.Path());
        wintest::Directory_DeleteTree(AppDir());
        RemoveDirectoryW(Wide(AppDir().substr(0, AppDir().find('\\', 3) + 1)).c_str());
        for (const auto& copy : NewTempEntries()) {
            PendingRenames_Forget(TempDir() + copy);
            wintest::Directory_DeleteTree(TempDir() + copy + "\\");
        }
    }
    // "C:\Проба 文字\<test>\": found, expanded and removed like any other folder.
    std::string AppDir() const { return std::string("C:\\") + wintest::UnicodeFolderName + "\\" + Name() + "\\"; }
    std::string DataFile() const { return AppDir() + "Uninstall.dat"; }
    std::string Tree() const { return dir_.Path() + "Tree\\"; }
    std::string Key() const { return key_.Path() + "\\"; }
    void WriteDataFile(const EntrySet& set) {
        std::string bytes;
        ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
        wintest::File_Write(DataFile(), bytes);
    }
    // From another current directory, so that only the program's own folder counts.
    wintest::Process Start(const std::string& args = "") {
        return wintest::Process::Start(AppDir() + "Uninstall.exe", args, dir_.Path() + "cwd");
    }
    HWND MainWindow(DWORD processId) {
        wintest::WindowQuery q;
        q.className = MfrmClassName;
        q.processId = processId;
        q.visibleOnly = false;
        return wintest::Window_Find(q);
    }
    // exitCode: 0 all removed, 1 answered No, 2 data file problem, 3 a file stayed.
    void ExpectEndsCleanly(wintest::Process& p, DWORD exitCode = 0) {
        EXPECT_TRUE(p.WaitExit(8000)) << "a box is left: " << wintest::MessageBox_Read(wintest::MessageBox_WaitFor(p.Id(), 100)).text;
        EXPECT_EQ(p.ExitCode(), exitCode);
        EXPECT_TRUE(wintest::Directory_Exists(Tree() + "Sibling"));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) EXPECT_TRUE(wintest::Registry_KeyExists(root, Key() + "Unlisted"));
    }

    static std::wstring Wide(const std::string& text);
    static std::string TempDir();
    // Folders and files directly in the temporary folder.
    static std::set<std::string> TempEntries();
    std::set<std::string> NewTempEntries() const;
    // The paths that PendingFileRenameOperations will delete at the next restart.
    static std::vector<std::string> PendingDeletions();
    static void PendingRenames_Forget(const std::string& prefix);
    // After a removal: the uninstaller is gone, and the temporary folder holds one new folder
    // with nothing but the copy that deleted it, itself and its folder due for deletion at the
    // next restart.
    void ExpectRemovedItself();
    // After a run that removed nothing: the uninstaller stays, nothing was added to temp.
    void ExpectStayed();

private:
    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    wintest::ScratchDir dir_{Name()};
    wintest::ScratchKey key_{Name()};
    std::set<std::string> tempBefore_;
};

inline FileRecord E2eFile(const std::string& path, bool keep = false) { return {"", path, keep ? BooleanTrue : BooleanFalse}; }
