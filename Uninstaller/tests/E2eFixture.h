// A copy of the real Uninstall.exe in an application folder whose name no ANSI code page holds,
// the unlisted folders and keys that no run may touch, and what the uninstaller leaves in the
// temporary folder.
#pragma once

#include "EntrySet.h"
#include "InstallFileFormat.h"
#include "Mfrm.h"
#include "WideText.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>

constexpr std::int32_t E2eHKLM = static_cast<std::int32_t>(0x80000002u), E2eHKCU = E2eHKLM - 1;

class UninstallE2e : public ::testing::Test {
protected:
    UninstallE2e() {
        wintest::Directory_DeleteTree(AppDir());
        wintest::Directory_Create(AppDir());
        EXPECT_TRUE(CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(AppDir() + "Uninstall.exe").c_str(), FALSE));
        wintest::Directory_Create(Tree() + "Sibling");  // empty, so that a wrong removal would succeed
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            wintest::Registry_WriteRaw(root, Key() + "Unlisted", "v", REG_SZ, "x");
        wintest::Directory_Create(dir_.Path() + "cwd");
    }
    ~UninstallE2e() override {
        wintest::Registry_DeleteTree(HKEY_CURRENT_USER, key_.Path());
        wintest::Directory_DeleteTree(AppDir());
        RemoveDirectoryW(Wide_FromText(AppDir().substr(0, AppDir().find('\\', 3) + 1)).c_str());
        // A copy still at work would schedule itself after the restart-time list is put back.
        for (const auto& copy : NewInTemp()) {
            const std::string folder = wintest::TempFolder_Get() + copy;
            wintest::Eventually([&] {
                const auto pending = wintest::PendingDeletions_Get();
                return std::find(pending.begin(), pending.end(), "\\??\\" + folder) != pending.end();
            }, 15000);
            // Its file is free once its process has ended, a moment after that.
            wintest::Eventually([&] {
                wintest::Directory_DeleteTree(folder + "\\");
                return !wintest::Directory_Exists(folder);
            }, 15000);
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
    std::vector<std::string> NewInTemp() const {
        std::vector<std::string> added;
        for (const auto& name : wintest::Folder_ListNames(wintest::TempFolder_Get()))
            if (std::find(tempBefore_.begin(), tempBefore_.end(), name) == tempBefore_.end()) added.push_back(name);
        return added;
    }
    // After a removal the uninstaller is gone; temp holds one new folder with nothing but the
    // copy that deleted it, and both are due for deletion at the next restart, the folder last
    // (which the copy schedules as its final act).
    void ExpectRemovedItself() {
        std::string copy;
        EXPECT_TRUE(wintest::Eventually(
            [&] {
                const auto added = NewInTemp();
                const auto pending = wintest::PendingDeletions_Get();
                copy = added.size() == 1 ? wintest::TempFolder_Get() + added[0] : "";
                return !wintest::File_Exists(AppDir() + "Uninstall.exe") && !copy.empty() && !pending.empty() &&
                       pending.back() == "\\??\\" + copy;
            },
            15000))
            << "the uninstaller stays, or its copy is not done";
        const auto pending = wintest::PendingDeletions_Get();
        EXPECT_NE(std::find(pending.begin(), pending.end(), "\\??\\" + copy + "\\Uninstall.exe"), pending.end());
        EXPECT_EQ(wintest::Folder_ListNames(copy), std::vector<std::string>{"Uninstall.exe"});
    }
    // After a run that removed nothing, the uninstaller stays and temp holds nothing new.
    void ExpectStayed() {
        EXPECT_TRUE(wintest::File_Exists(AppDir() + "Uninstall.exe"));
        EXPECT_EQ(NewInTemp(), std::vector<std::string>{});
    }

private:
    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    wintest::ScratchDir dir_{Name()};
    wintest::ScratchKey key_{Name()};
    wintest::PendingRenamesKept pending_;
    const std::vector<std::string> tempBefore_ = wintest::Folder_ListNames(wintest::TempFolder_Get());
};

inline FileRecord E2eFile(const std::string& path, bool keep = false) { return {"", path, keep ? BooleanTrue : BooleanFalse}; }
