// A copy of the real Uninstall.exe in a scratch folder, and the unlisted folders and keys that
// no run may touch.
#pragma once

#include "EntrySet.h"
#include "InstallFileFormat.h"
#include "Mfrm.h"
#include "WinTest.h"

#include <gtest/gtest.h>

constexpr std::int32_t E2eHKLM = static_cast<std::int32_t>(0x80000002u), E2eHKCU = E2eHKLM - 1;

class UninstallE2e : public ::testing::Test {
protected:
    UninstallE2e() {
        wintest::Directory_Create(AppDir());
        EXPECT_TRUE(CopyFileA(UNINSTALL_EXE, (AppDir() + "Uninstall.exe").c_str(), FALSE)) << UNINSTALL_EXE;
        wintest::Directory_Create(Tree() + "Sibling");  // empty, so that a wrong removal would succeed
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            wintest::Registry_WriteRaw(root, Key() + "Unlisted", "v", REG_SZ, "x");
        wintest::Directory_Create(dir_.Path() + "cwd");
    }
    ~UninstallE2e() override { wintest::Registry_DeleteTree(HKEY_CURRENT_USER, key_.Path()); }
    std::string AppDir() const { return dir_.Path() + "App\\"; }
    std::string DataFile() const { return AppDir() + "Uninstall.dat"; }
    std::string Tree() const { return dir_.Path() + "Tree\\"; }
    std::string Key() const { return key_.Path() + "\\"; }
    void WriteDataFile(const EntrySet& set) {
        std::string bytes;
        ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
        wintest::File_Write(DataFile(), bytes);
    }
    // From another current directory, so that only the program's own folder counts.
    wintest::Process Start() { return wintest::Process::Start(AppDir() + "Uninstall.exe", "", dir_.Path() + "cwd"); }
    HWND MainWindow(DWORD processId) {
        wintest::WindowQuery q;
        q.className = MfrmClassName;
        q.processId = processId;
        q.visibleOnly = false;
        return wintest::Window_Find(q);
    }
    void ExpectEndsCleanly(wintest::Process& p) {
        EXPECT_TRUE(p.WaitExit(8000)) << "a box is left: " << wintest::MessageBox_Read(wintest::MessageBox_WaitFor(p.Id(), 100)).text;
        EXPECT_EQ(p.ExitCode(), 0u);
        EXPECT_TRUE(wintest::Directory_Exists(Tree() + "Sibling"));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) EXPECT_TRUE(wintest::Registry_KeyExists(root, Key() + "Unlisted"));
    }

private:
    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    wintest::ScratchDir dir_{Name()};
    wintest::ScratchKey key_{Name()};
};

inline FileRecord E2eFile(const std::string& path, bool keep = false) { return {"", path, keep ? BooleanTrue : BooleanFalse}; }
