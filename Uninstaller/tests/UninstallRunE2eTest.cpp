// The real Uninstall.exe, driven as a user would: answer its boxes, then look at the disk, the
// registry and the Start menu.
#include "E2eFixture.h"
#include "KtShellRegistration.h"
#include "Mfrm.h"

using namespace wintest;

namespace {

constexpr int kCsidlPrograms = 2;
constexpr int kCsidlDesktopDirectory = 0x10;

std::string WindowsDir() {
    char buf[MAX_PATH] = {};
    GetWindowsDirectoryA(buf, MAX_PATH);
    return std::string(buf) + "\\";
}

struct ChildPlace {
    std::string text;
    RECT rect;
};

std::vector<ChildPlace> Children(HWND parent) {
    std::vector<ChildPlace> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        out.push_back({Window_GetText(c), r});
    }
    return out;
}

void ExpectBox(const MessageBoxInfo& box, const std::string& text, BoxIcon icon, std::vector<std::string> buttons) {
    ASSERT_NE(box.hwnd, nullptr) << "no box for: " << text;
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Uninstall");
    EXPECT_STREQ(BoxIcon_Name(box.icon), BoxIcon_Name(icon));
    EXPECT_EQ(box.buttons, buttons);
}

class FullRun : public UninstallE2e {
protected:
    FullRun() : UninstallE2e("e2e-full") {
        programs_ = SpecialFolder_GetPath(kCsidlPrograms);
        desktop_ = SpecialFolder_GetPath(kCsidlDesktopDirectory);
        windowsTree_ = WindowsDir() + "VembrolE2E\\";
        CleanShell();
    }
    ~FullRun() override {
        CleanShell();
        Directory_DeleteTree(windowsTree_);
    }
    void CleanShell() {
        Directory_DeleteTree(programs_ + "Vembrol E2E Group");
        DeleteFileA((desktop_ + "Vembrol E2E App.lnk").c_str());
        DeleteFileA((desktop_ + "Vembrol E2E Other.lnk").c_str());
    }
    std::string programs_, desktop_, windowsTree_;
};

TEST_F(FullRun, RemovesEverythingListedAndReportsTheSkippedFile) {
    const std::string t = Tree(), app = AppDir(), k = Key() + "\\";
    ASSERT_FALSE(programs_.empty());
    ASSERT_FALSE(desktop_.empty());
    for (const char* d : {"Top\\Mid\\Low", "Keep", "RO", "Retry", "Logs"}) Directory_Create(t + d);
    for (const char* f : {"Top\\Mid\\Low\\f1.txt", "Top\\f2.txt", "Keep\\kept.ini", "Keep\\plain.txt", "RO\\ro.txt",
                          "Retry\\r.txt", "Logs\\a.log", "Logs\\b.log"})
        File_Write(t + f, "x");
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_READONLY);
    File_SetAttributes(t + "Retry\\r.txt", FILE_ATTRIBUTE_READONLY);
    for (const char* f : {"app.exe", "extra.txt", "hidden.txt"}) File_Write(app + f, "x");
    File_SetAttributes(app + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Directory_Create(windowsTree_ + "Sub");
    File_Write(windowsTree_ + "Sub\\w1.txt", "x");
    File_Write(windowsTree_ + "w2.txt", "x");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, k + "Firm\\App\\Deep", "v", REG_SZ, "x");
    Registry_WriteRaw(HKEY_CURRENT_USER, k + "Firm\\App", "v", REG_SZ, "x");
    Directory_Create(programs_ + "Vembrol E2E Group");
    File_Write(programs_ + "Vembrol E2E Group\\App.lnk", "link");
    File_Write(desktop_ + "Vembrol E2E App.lnk", "link");
    File_Write(desktop_ + "Vembrol E2E Other.lnk", "link");

    EntrySet set;
    set.Info = {"%currentdir%", "Vembrol E2E App", "%currentdir%app.exe", "Vembrol E2E Group"};
    set.Files = {E2eFile(t + "Top\\Mid\\Low\\f1.txt"), E2eFile(t + "Top\\f2.txt"), E2eFile(t + "Keep\\kept.ini", true),
                 E2eFile(t + "Keep\\plain.txt"),        E2eFile(t + "RO\\ro.txt"),  E2eFile(t + "Retry\\r.txt"),
                 E2eFile(t + "Logs\\*.log"),            E2eFile("%currentdir%\\app.exe"),
                 E2eFile("%windir%\\VembrolE2E\\Sub\\w1.txt"), E2eFile("%WinDir%VembrolE2E\\w2.txt")};
    set.RegKeys = {{E2eHKLM, k + "Firm\\App\\Deep", "", ""}, {E2eHKLM, k + "Firm", "", ""},
                   {E2eHKCU, k + "Firm\\App", "", ""},       {E2eHKCU, k + "Firm\\", "", ""}};
    set.Shortcuts = {{"%userfolder%", "App", ""}};
    WriteDataFile(set);

    Process p = Start();
    HWND question = MessageBox_WaitFor(p.Id(), 15000);
    ASSERT_NE(question, nullptr);
    Sleep(100);
    ExpectBox(MessageBox_Read(question), "Do you really want to remove 'Vembrol E2E App' from this computer ?",
              BoxIcon::Question, {"Yes", "No"});

    // The window asks the user to wait, and refuses to close.
    HWND main = MainWindow(p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(Window_GetText(main), "Uninstall");
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 346);
    EXPECT_EQ(client.bottom, 78);
    auto children = Children(main);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].rect.left, 16);
    EXPECT_EQ(children[0].rect.top, 20);
    EXPECT_EQ(children[0].rect.right - children[0].rect.left, 32);
    EXPECT_EQ(children[0].rect.bottom - children[0].rect.top, 32);
    EXPECT_EQ(children[1].text, "Please wait, uninstalling...");
    EXPECT_EQ(children[1].rect.left, 64);
    EXPECT_EQ(children[1].rect.top, 28);
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main));
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindow(question));
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    Window_WaitGone(question, 5000);

    ExpectBox(MessageBox_Answer(p.Id(), "Cancel", 15000),
              "Error deleting file: " + t + "RO\\ro.txt\nPress 'Cancel' to skip this file.", BoxIcon::Exclamation,
              {"Retry", "Cancel"});
    const std::string retryText = "Error deleting file: " + t + "Retry\\r.txt\nPress 'Cancel' to skip this file.";
    ExpectBox(MessageBox_Answer(p.Id(), "Retry", 15000), retryText, BoxIcon::Exclamation, {"Retry", "Cancel"});
    HWND again = MessageBox_WaitFor(p.Id(), 15000);
    ASSERT_NE(again, nullptr);
    Sleep(50);
    EXPECT_EQ(MessageBox_Read(again).text, retryText);
    File_SetAttributes(t + "Retry\\r.txt", FILE_ATTRIBUTE_NORMAL);
    MessageBox_Press(again, "Retry");
    Window_WaitGone(again, 5000);
    const DWORD lastAnswer = GetTickCount();

    HWND final = MessageBox_WaitFor(p.Id(), 20000);
    const DWORD pause = GetTickCount() - lastAnswer;
    ASSERT_NE(final, nullptr);
    Sleep(100);
    EXPECT_GE(pause, 1900u) << "the run pauses 2 s before its report";
    EXPECT_FALSE(IsWindowVisible(main)) << "hidden before the report";
    ExpectBox(MessageBox_Read(final), "Uninstalling finished, not all files have been removed.", BoxIcon::Information, {"OK"});
    MessageBox_Press(final, "OK");
    ExpectEndsQuietly(p);

    // Files and folders: chains gone deepest first, the skipped and the kept file stay.
    EXPECT_FALSE(Directory_Exists(t + "Top"));
    EXPECT_FALSE(Directory_Exists(t + "Logs"));
    EXPECT_FALSE(Directory_Exists(t + "Retry"));
    EXPECT_TRUE(File_Exists(t + "RO\\ro.txt"));
    EXPECT_TRUE(File_Exists(t + "Keep\\kept.ini"));
    EXPECT_FALSE(File_Exists(t + "Keep\\plain.txt"));
    // Placeholders against the real Windows directory and the uninstaller's own folder.
    EXPECT_FALSE(Directory_Exists(windowsTree_));
    EXPECT_FALSE(File_Exists(app + "app.exe"));
    EXPECT_FALSE(File_Exists(app + "extra.txt")) << "wiped from the application directory";
    EXPECT_FALSE(File_Exists(DataFile())) << "wiped from the application directory";
    EXPECT_TRUE(File_Exists(app + "hidden.txt"));
    EXPECT_TRUE(File_Exists(app + "Uninstall.exe")) << "in use while the wipe ran";
    // Registry: both roots, with the unlisted level between listed keys.
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Firm"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_CURRENT_USER, k + "Firm"));
    // Shortcuts and the program group.
    EXPECT_FALSE(File_Exists(desktop_ + "Vembrol E2E App.lnk"));
    EXPECT_TRUE(File_Exists(desktop_ + "Vembrol E2E Other.lnk"));
    EXPECT_FALSE(Directory_Exists(programs_ + "Vembrol E2E Group"));
    ExpectSentinelsIntact();
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
}

class SmallRun : public UninstallE2e {
protected:
    SmallRun() : UninstallE2e("e2e-small") {}
    // One listed folder with one file, one listed key.
    EntrySet Listing() {
        Directory_Create(Tree() + "Listed");
        File_Write(Tree() + "Listed\\f.txt", "x");
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "\\Listed", "v", REG_SZ, "x");
        EntrySet set;
        set.Info.AppName = "Small App";
        set.Files = {E2eFile(Tree() + "Listed\\f.txt")};
        set.RegKeys = {{E2eHKLM, Key() + "\\Listed", "", ""}};
        return set;
    }
};

TEST_F(SmallRun, AnswerNoRemovesNothingAndShowsNothingMore) {
    WriteDataFile(Listing());
    Process p = Start();
    ExpectBox(MessageBox_Answer(p.Id(), "No", 15000), "Do you really want to remove 'Small App' from this computer ?",
              BoxIcon::Question, {"Yes", "No"});
    ExpectEndsQuietly(p);
    EXPECT_TRUE(File_Exists(Tree() + "Listed\\f.txt"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "\\Listed"));
    EXPECT_TRUE(File_Exists(DataFile()));
    ExpectSentinelsIntact();
}

TEST_F(SmallRun, AFileRetriedUntilItGoesLeavesTheSuccessMessage) {
    WriteDataFile(Listing());
    File_SetAttributes(Tree() + "Listed\\f.txt", FILE_ATTRIBUTE_READONLY);
    Process p = Start();
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    HWND failed = MessageBox_WaitFor(p.Id(), 15000);
    ASSERT_NE(failed, nullptr);
    File_SetAttributes(Tree() + "Listed\\f.txt", FILE_ATTRIBUTE_NORMAL);
    MessageBox_Press(failed, "Retry");
    Window_WaitGone(failed, 5000);
    ExpectBox(MessageBox_Answer(p.Id(), "OK", 20000), "Application has been removed successfully.", BoxIcon::Information,
              {"OK"});
    ExpectEndsQuietly(p);
    EXPECT_FALSE(Directory_Exists(Tree() + "Listed"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "\\Listed"));
    ExpectSentinelsIntact();
}

}  // namespace
