// The real Uninstall.exe, driven as a user would: answer its boxes, then look at the disk, the
// registry and the Start menu.
#include "E2eFixture.h"
#include "KtShellRegistration.h"

using namespace wintest;

namespace {

void ExpectBox(const MessageBoxInfo& box, const std::string& text, const char* icon, std::vector<std::string> buttons) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Uninstall");
    EXPECT_STREQ(BoxIcon_Name(box.icon), icon);
    EXPECT_EQ(box.buttons, buttons);
}

class Run : public UninstallE2e {};

// Each run ends after one box, with nothing listed removed.
TEST_F(Run, MissingInvalidOrDeclinedDataRemovesNothing) {
    Directory_Create(Tree() + "Listed");
    File_Write(Tree() + "Listed\\f.txt", "x");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "Listed", "v", REG_SZ, "x");
    EntrySet set;
    set.Info.AppName = "Small App";
    set.Files = {E2eFile(Tree() + "Listed\\f.txt")};
    set.RegKeys = {{E2eHKLM, Key() + "Listed", "", ""}};
    set.Shortcuts = {{"Group", "Link", ""}};  // last, so that a cut leaves the others whole
    std::string valid, negative;
    ASSERT_TRUE(InstallFile_ToBytes(set, valid));
    negative = valid.substr(0, valid.size() - 4) + Int32_ToBytes(-5);
    const std::string missing =
        "Sorry, uninstallling is not possible as 'Uninstall.dat' was not found in the current directory. Try to "
        "reinstall the target application and then start uninstall again.";
    auto expectOnly = [&](const std::string& text, bool question) {
        Process p = Start();
        HWND box = MessageBox_WaitFor(p.Id(), 15000);
        Sleep(100);
        ExpectBox(MessageBox_Read(box), text, question ? "question" : "exclamation",
                  question ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"});
        HWND main = MainWindow(p.Id());
        EXPECT_EQ(main != nullptr && IsWindowVisible(main), text != missing) << text;
        MessageBox_Press(box, question ? "No" : "OK");
        ExpectEndsCleanly(p);
        EXPECT_TRUE(File_Exists(Tree() + "Listed\\f.txt") && Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Listed"));
    };
    expectOnly(missing, false);
    File_Write(DataFile(), valid);
    File_SetAttributes(DataFile(), FILE_ATTRIBUTE_HIDDEN);
    expectOnly(missing, false);
    File_SetAttributes(DataFile(), FILE_ATTRIBUTE_NORMAL);
    expectOnly("Do you really want to remove 'Small App' from this computer ?", true);
    for (const std::string& bytes : {std::string(), "installfile" + valid.substr(11), valid.substr(0, valid.size() - 2), negative}) {
        File_Write(DataFile(), bytes);
        expectOnly("Error: the file '" + DataFile() + "' is no valid InstallFile !", false);
    }
    // Held open with no sharing, as an installer still writing it would.
    File_Write(DataFile(), valid);
    HANDLE lock = CreateFileA(DataFile().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    expectOnly("Error: the file '" + DataFile() + "' could not be read !", false);
    CloseHandle(lock);
}

TEST_F(Run, RemovesEverythingListedAndReportsTheSkippedFile) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string t = Tree(), app = AppDir(), k = Key(), desktop = SpecialFolder_GetPath(0x10),
                      group = SpecialFolder_GetPath(2) + "Vembrol E2E Group\\", winTree = std::string(windows) + "\\VembrolE2E\\";
    for (const std::string& d : {t + "Top\\Mid\\Low", t + "Keep", t + "RO", t + "Retry", t + "Logs", group, winTree + "Sub"})
        Directory_Create(d);
    for (const std::string& f : {t + "Top\\Mid\\Low\\f1.txt", t + "Top\\f2.txt", t + "Keep\\kept.ini", t + "RO\\ro.txt",
                                 t + "Retry\\r.txt", t + "Logs\\a.log", app + "app.exe", app + "extra.txt", app + "hidden.txt", winTree + "Sub\\w1.txt", winTree + "w2.txt",
                                 group + "App.lnk", desktop + "Vembrol E2E App.lnk", desktop + "Vembrol E2E Other.lnk"})
        File_Write(f, "x");
    for (const char* f : {"RO\\ro.txt", "Retry\\r.txt"}) File_SetAttributes(t + f, FILE_ATTRIBUTE_READONLY);
    File_SetAttributes(app + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, k + "Firm\\App\\Deep", "v", REG_SZ, "x");
    Registry_WriteRaw(HKEY_CURRENT_USER, k + "Firm\\App", "v", REG_SZ, "x");

    EntrySet set;
    set.Info = {"%currentdir%", "Vembrol E2E App", "%currentdir%app.exe", "Vembrol E2E Group"};
    set.Files = {E2eFile(t + "Top\\Mid\\Low\\f1.txt"), E2eFile(t + "Top\\f2.txt"), E2eFile(t + "Keep\\kept.ini", true),
                 E2eFile(t + "RO\\ro.txt"), E2eFile(t + "Retry\\r.txt"), E2eFile(t + "Logs\\*.log"), E2eFile("%currentdir%\\app.exe"),
                 E2eFile("%windir%\\VembrolE2E\\Sub\\w1.txt"), E2eFile("%WinDir%VembrolE2E\\w2.txt")};
    set.RegKeys = {{E2eHKLM, k + "Firm\\App\\Deep", "", ""}, {E2eHKLM, k + "Firm", "", ""},
                   {E2eHKCU, k + "Firm\\App", "", ""}, {E2eHKCU, k + "Firm\\", "", ""}};
    set.Shortcuts = {{"%userfolder%", "App", ""}};
    WriteDataFile(set);

    Process p = Start();
    HWND question = MessageBox_WaitFor(p.Id(), 15000);
    // Closing the window while it waits changes nothing.
    HWND main = MainWindow(p.Id());
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main) && IsWindow(question));
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    Window_WaitGone(question, 5000);

    for (const char* answer : {"Cancel", "Retry"})
        ExpectBox(MessageBox_Answer(p.Id(), answer, 15000),
                  "Error deleting file: " + t + (answer[0] == 'C' ? "RO\\ro.txt" : "Retry\\r.txt") + "\nPress 'Cancel' to skip this file.",
                  "exclamation", {"Retry", "Cancel"});
    HWND again = MessageBox_WaitFor(p.Id(), 15000);
    File_SetAttributes(t + "Retry\\r.txt", FILE_ATTRIBUTE_NORMAL);
    MessageBox_Press(again, "Retry");
    Window_WaitGone(again, 5000);
    ExpectBox(MessageBox_Answer(p.Id(), "OK", 20000), "Uninstalling finished, not all files have been removed.", "information",
              {"OK"});
    ExpectEndsCleanly(p);

    for (const std::string& gone :
         {t + "Top", t + "Retry", t + "Logs", winTree, group, app + "app.exe", app + "extra.txt", DataFile(), desktop + "Vembrol E2E App.lnk"})
        EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES) << gone;
    for (const std::string& kept : {t + "RO\\ro.txt", t + "Keep\\kept.ini", app + "hidden.txt", desktop + "Vembrol E2E Other.lnk"})
        EXPECT_TRUE(File_Exists(kept)) << kept;
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Firm"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_CURRENT_USER, k + "Firm"));
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((desktop + "Vembrol E2E Other.lnk").c_str());
}

}  // namespace
