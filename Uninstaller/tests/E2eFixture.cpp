// End-to-end fixture: see E2eFixture.h.
#include "E2eFixture.h"

#include "InstallFileFormat.h"
#include "Mfrm.h"

using namespace wintest;

UninstallE2e::UninstallE2e(const std::string& name) : dir_(name), key_(name) {
    Directory_Create(AppDir());
    EXPECT_TRUE(CopyFileA(UNINSTALL_EXE, (AppDir() + "Uninstall.exe").c_str(), FALSE)) << UNINSTALL_EXE;
    // Sentinels: a sibling folder and the parent above the highest listed folder, both empty so
    // that a wrong removal would succeed, and unlisted keys beside and above listed ones.
    Directory_Create(Tree() + "Sibling");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "\\Unlisted", "v", REG_SZ, "x");
    Registry_WriteRaw(HKEY_CURRENT_USER, Key() + "\\Unlisted", "v", REG_SZ, "x");
    Directory_Create(Root() + "cwd");
}

UninstallE2e::~UninstallE2e() { Registry_DeleteTree(HKEY_CURRENT_USER, Key()); }

void UninstallE2e::WriteDataFile(const EntrySet& set) {
    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
    File_Write(DataFile(), bytes);
}

Process UninstallE2e::Start() {
    Process p = Process::Start(AppDir() + "Uninstall.exe", "", Root() + "cwd");
    EXPECT_TRUE(p.Started());
    return p;
}

HWND UninstallE2e::MainWindow(DWORD processId) {
    WindowQuery q;
    q.className = MfrmClassName;
    q.processId = processId;
    q.visibleOnly = false;
    return Window_Find(q);
}

void UninstallE2e::ExpectEndsQuietly(Process& p) {
    bool ended = p.WaitExit(8000);
    if (!ended) {
        MessageBoxInfo extra = MessageBox_Read(MessageBox_WaitFor(p.Id(), 100));
        ADD_FAILURE() << "still running; box shown: \"" << extra.text << "\"";
        return;
    }
    EXPECT_EQ(p.ExitCode(), 0u);
}

void UninstallE2e::ExpectSentinelsIntact() {
    EXPECT_TRUE(Directory_Exists(Tree() + "Sibling"));
    EXPECT_TRUE(Directory_Exists(Tree()));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "\\Unlisted"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_CURRENT_USER, Key() + "\\Unlisted"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key()));
}

FileRecord E2eFile(const std::string& path, bool keep) { return {"", path, keep ? BooleanTrue : BooleanFalse}; }
