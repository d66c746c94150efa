// The real Uninstall.exe, driven as a user would: answer its boxes, then look at the disk, the
// registry, the Start menu, the running programs and the temporary folder.
#include "E2eFixture.h"
#include "KtShellRegistration.h"
#include "WideText.h"

using namespace wintest;

namespace {

void ExpectBox(const MessageBoxInfo& box, const std::string& text, const char* icon, std::vector<std::string> buttons) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Uninstall");
    EXPECT_STREQ(BoxIcon_Name(box.icon), icon);
    EXPECT_EQ(box.buttons, buttons);
}

std::string Copy(const std::string& from, const std::string& to) {
    Directory_Create(to.substr(0, to.rfind('\\') + 1));
    EXPECT_TRUE(CopyFileW(Wide_FromText(from).c_str(), Wide_FromText(to).c_str(), FALSE)) << to;
    return to;
}

class Run : public UninstallE2e {};

// Each run ends after one box, with nothing listed removed and the uninstaller in place.
TEST_F(Run, MissingInvalidOrDeclinedDataRemovesNothing) {
    Directory_Create(Tree() + "Listed");
    File_Write(Tree() + "Listed\\f.txt", "x");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "Listed", "v", REG_SZ, "x");
    EntrySet set;
    set.Info.AppName = Ansi_FromText("Caf\xC3\xA9 App");  // installers write the ANSI code page
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
        ExpectBox(MessageBox_Read(box), text, question ? "question" : "exclamation",
                  question ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"});
        HWND main = MainWindow(p.Id());
        EXPECT_EQ(main != nullptr && IsWindowVisible(main), text != missing) << text;
        MessageBox_Press(box, question ? "No" : "OK");
        ExpectEndsCleanly(p, question ? 1 : 2);
        EXPECT_TRUE(File_Exists(Tree() + "Listed\\f.txt") && Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Listed"));
    };
    expectOnly(missing, false);
    File_Write(DataFile(), valid);
    File_SetAttributes(DataFile(), FILE_ATTRIBUTE_HIDDEN);
    expectOnly(missing, false);
    File_SetAttributes(DataFile(), FILE_ATTRIBUTE_NORMAL);
    expectOnly("Do you really want to remove 'Caf\xC3\xA9 App' from this computer ?", true);
    for (const std::string& bytes : {std::string(), "installfile" + valid.substr(11), valid.substr(0, valid.size() - 2), negative}) {
        File_Write(DataFile(), bytes);
        expectOnly("Error: the file '" + DataFile() + "' is no valid InstallFile !", false);
    }
    // Held open with no sharing, as an installer still writing it would.
    File_Write(DataFile(), valid);
    HANDLE lock = CreateFileW(Wide_FromText(DataFile()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    expectOnly("Error: the file '" + DataFile() + "' could not be read !", false);
    CloseHandle(lock);
    ExpectStayed();
}

TEST_F(Run, RemovesExactlyWhatIsListedAndReportsTheSkippedFile) {
    const std::string t = Tree(), app = AppDir(), k = Key(), desktop = SpecialFolder_GetPath(0x10),
                      group = SpecialFolder_GetPath(2) + "Vembrol E2E Group\\", winTree = WindowsDir_Get() + "VembrolE2E\\";
    const std::string cyrillic = app + "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5.txt";  // "Данные.txt"
    for (const std::string& d : {t + "Top\\Mid\\Low", t + "Keep", t + "RO", t + "Retry", t + "Logs", t + "Slash", t + "Dots\\App",
                                 t + "Dots\\Shared", group, winTree + "Sub"})
        Directory_Create(d);
    for (const std::string& f : {t + "Top\\Mid\\Low\\f1.txt", t + "Top\\f2.txt", t + "Keep\\kept.ini", t + "RO\\ro.txt", t + "Retry\\r.txt",
                                 t + "Logs\\a.log", t + "Slash\\s.txt", t + "s.txt", t + "Dots\\App\\y.txt", t + "Dots\\Shared\\x.dll",
                                 app + "app.exe", app + "extra.txt", app + "hidden.txt", app + "settings.ini", cyrillic,
                                 winTree + "Sub\\w1.txt", winTree + "w2.txt", group + "App.lnk", desktop + "Vembrol E2E App.lnk",
                                 desktop + "Vembrol E2E Other.lnk"})
        File_Write(f, "x");
    for (const char* f : {"RO\\ro.txt", "Retry\\r.txt"}) File_SetAttributes(t + f, FILE_ATTRIBUTE_READONLY);
    File_SetAttributes(app + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, k + "Firm\\App\\Deep", "v", REG_SZ, "x");
    Registry_WriteRaw(HKEY_CURRENT_USER, k + "Firm\\App", "v", REG_SZ, "x");
    // The installation's program runs, and so does a program of the same name elsewhere.
    Process listed = Process::Start(Copy(STANDIN_EXE, app + "Vembrol.exe")), unlisted = Process::Start(Copy(STANDIN_EXE, t + "Other\\Vembrol.exe"));
    for (const Process* p : {&listed, &unlisted}) ASSERT_NE(Window_WaitFor({"Vembrol", nullptr, p->Id(), false}), nullptr);

    EntrySet set;
    set.Info = {"%currentdir%", "Vembrol E2E App", "%currentdir%app.exe", "Vembrol E2E Group"};
    set.Files = {E2eFile(t + "Top\\Mid\\Low\\f1.txt"), E2eFile(t + "Top\\f2.txt"), E2eFile(t + "Keep\\kept.ini", true),
                 E2eFile(t + "RO\\ro.txt"), E2eFile(t + "Retry\\r.txt"), E2eFile(t + "Logs\\*.log"), E2eFile(t + "Slash/s.txt"),
                 E2eFile(t + "Dots\\App\\..\\Shared\\x.dll"), E2eFile(t + "Dots\\App\\.\\y.txt"), E2eFile("%currentdir%\\app.exe"),
                 E2eFile("%CurrentDir%VEMBROL.exe"), E2eFile("%currentdir%SETTINGS.ini", true), E2eFile("relative.txt"),
                 E2eFile("%windir%\\VembrolE2E\\Sub\\w1.txt"), E2eFile("%WinDir%VembrolE2E\\w2.txt")};
    set.RegKeys = {{E2eHKLM, k + "Firm\\App\\Deep", "", ""}, {E2eHKLM, k + "Firm", "", ""},
                   {E2eHKCU, k + "Firm\\App", "", ""}, {E2eHKCU, k + "Firm\\", "", ""}};
    set.Shortcuts = {{"%userfolder%", "App", ""}};
    WriteDataFile(set);

    Process p = Start();
    HWND question = MessageBox_WaitFor(p.Id(), 15000);
    // Closing the window while it waits changes nothing.
    HWND main = MainWindow(p.Id());
    PostMessageW(main, WM_CLOSE, 0, 0);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(Eventually([&] { return !IsWindow(main) || !IsWindowVisible(main) || !IsWindow(question); }, 500));
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    Window_WaitGone(question, 5000);

    // The running program of the installation was closed before its file was due.
    for (const char* answer : {"Cancel", "Retry"})
        ExpectBox(MessageBox_Answer(p.Id(), answer, 15000),
                  "Error deleting file: " + t + (answer[0] == 'C' ? "RO\\ro.txt" : "Retry\\r.txt") + "\nPress 'Cancel' to skip this file.",
                  "exclamation", {"Retry", "Cancel"});
    EXPECT_TRUE(listed.WaitExit(0));
    EXPECT_TRUE(unlisted.Running());
    HWND again = MessageBox_WaitFor(p.Id(), 15000);
    File_SetAttributes(t + "Retry\\r.txt", FILE_ATTRIBUTE_NORMAL);
    MessageBox_Press(again, "Retry");
    Window_WaitGone(again, 5000);
    ExpectBox(MessageBox_Answer(p.Id(), "OK", 20000), "Uninstalling finished, not all files have been removed.", "information",
              {"OK"});
    ExpectEndsCleanly(p, 3);
    ExpectRemovedItself();

    for (const std::string& gone : {t + "Top", t + "Retry", t + "Logs", t + "Slash", t + "Dots\\App", t + "Dots\\Shared", winTree, group,
                                    app + "app.exe", app + "Vembrol.exe", app + "extra.txt", cyrillic, DataFile(),
                                    desktop + "Vembrol E2E App.lnk"})
        EXPECT_FALSE(File_Exists(gone) || Directory_Exists(gone)) << gone;
    for (const std::string& kept : {t + "RO\\ro.txt", t + "Keep\\kept.ini", t + "s.txt", app + "hidden.txt", app + "settings.ini",
                                    desktop + "Vembrol E2E Other.lnk"})
        EXPECT_TRUE(File_Exists(kept)) << kept;
    EXPECT_TRUE(Directory_Exists(t + "Dots")) << "neither listed nor between listed folders";
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Firm"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_CURRENT_USER, k + "Firm"));
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Wide_FromText(desktop + "Vembrol E2E Other.lnk").c_str());
}

// Starts a program of the Linux side, as Wine lets a Windows program do; its process handle
// cannot be waited for, so callers wait for its effect.
bool Unix_Start(const std::string& program, const std::vector<std::string>& args) {
    std::string commandLine = program;
    for (const auto& a : args) commandLine += " \"" + a + "\"";
    std::wstring line = Wide_FromText(commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(Wide_FromText("Z:" + program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

std::string Unix_Path(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(Wide_FromText(windowsPath).c_str()) : nullptr;
    std::string path = unix ? unix : "";
    if (unix) HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

// A symbolic link inside the prefix: a reparse point that shows its target's contents and has
// its identity. Removed as a link only, never through it.
class FolderLink {
public:
    FolderLink(const std::string& link, const std::string& target) : link_(link), unixLink_(Unix_Path(link)) {
        EXPECT_TRUE(Unix_Start("/bin/ln", {"-sfn", Unix_Path(target), unixLink_}));
        Eventually([&] { return Attributes() != INVALID_FILE_ATTRIBUTES; });
    }
    ~FolderLink() {
        Unix_Start("/bin/rm", {"-f", unixLink_});
        Eventually([&] { return Attributes() == INVALID_FILE_ATTRIBUTES; });
    }
    bool IsReparsePoint() const { return Attributes() != INVALID_FILE_ATTRIBUTES && (Attributes() & FILE_ATTRIBUTE_REPARSE_POINT); }
    DWORD Attributes() const { return GetFileAttributesW(Wide_FromText(link_).c_str()); }

private:
    std::string link_, unixLink_;
};

// Another name of the Windows folder, or of a folder below it, is no application folder to
// empty: the guard knows folders by identity, not by name.
TEST_F(Run, WipeNeverEntersTheWindowsFolderByAnotherName) {
    const std::string windows = WindowsDir_Get(), below = windows + "VembrolE2E\\";
    Directory_Create(below + "Sub");
    FolderLink toWindows("C:\\VembrolE2E-Windows", windows), toBelow("C:\\VembrolE2E-Below", below);
    ASSERT_TRUE(toWindows.IsReparsePoint() && toBelow.IsReparsePoint());
    // The folder the run means, and the same folder under its real name.
    const std::pair<std::string, std::string> appFolders[] = {{"C:\\VembrolE2E-Windows\\", windows},
                                                               {"C:\\VembrolE2E-Windows\\VembrolE2E\\", below},
                                                               {"C:\\VembrolE2E-Below\\", below},
                                                               {"C:\\VembrolE2E-Below\\Sub\\", below + "Sub\\"}};
    for (const auto& folder : appFolders) {
        const std::string sentinel = folder.second + "VembrolE2E-sentinel.txt";
        File_Write(sentinel, "x");
        File_Write(folder.second + "VembrolE2E-listed.txt", "x");
        EntrySet set;
        set.Info = {"", "Aliased App", folder.first + "app.exe", ""};
        set.Files = {E2eFile(folder.first + "VembrolE2E-listed.txt")};
        WriteDataFile(set);
        if (!File_Exists(AppDir() + "Uninstall.exe")) Copy(UNINSTALL_EXE, AppDir() + "Uninstall.exe");
        Process p = Start();
        EXPECT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
        EXPECT_EQ(MessageBox_Answer(p.Id(), "OK", 20000).text, "Application has been removed successfully.");
        ExpectEndsCleanly(p);
        EXPECT_FALSE(File_Exists(folder.second + "VembrolE2E-listed.txt")) << folder.first;
        EXPECT_TRUE(File_Exists(sentinel)) << folder.first;
        DeleteFileW(Wide_FromText(sentinel).c_str());
        Eventually([&] { return !File_Exists(AppDir() + "Uninstall.exe"); }, 15000);
    }
    Directory_DeleteTree(below);
}

// Killed half-way, the run can be started again and finishes the job: the data file goes last.
TEST_F(Run, RunKilledDuringTheFilePassFinishesWhenStartedAgain) {
    const std::string app = AppDir(), stuck = Tree() + "RO\\ro.txt";
    const std::string cyrillic = app + "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5.txt";  // made by the application
    Directory_Create(Tree() + "RO");
    for (const std::string& f : {app + "app.exe", app + "Data\\db.bin", cyrillic, stuck}) {
        Directory_Create(f.substr(0, f.rfind('\\') + 1));
        File_Write(f, "x");
    }
    File_SetAttributes(stuck, FILE_ATTRIBUTE_READONLY);
    EntrySet set;
    set.Info = {"%currentdir%", "Killed App", "%currentdir%app.exe", ""};
    set.Files = {E2eFile("%currentdir%Uninstall.dat"), E2eFile("%currentdir%app.exe"), E2eFile(stuck), E2eFile("%currentdir%Data\\db.bin")};
    WriteDataFile(set);

    Process first = Start();
    ASSERT_NE(MessageBox_Answer(first.Id(), "Yes", 15000).hwnd, nullptr);
    EXPECT_NE(MessageBox_WaitFor(first.Id(), 15000), nullptr);
    first.Terminate();
    EXPECT_FALSE(File_Exists(app + "app.exe"));
    EXPECT_TRUE(File_Exists(DataFile()));
    ExpectStayed();

    File_SetAttributes(stuck, FILE_ATTRIBUTE_NORMAL);
    Process second = Start();
    EXPECT_EQ(MessageBox_Answer(second.Id(), "Yes", 15000).text, "Do you really want to remove 'Killed App' from this computer ?");
    EXPECT_EQ(MessageBox_Answer(second.Id(), "OK", 20000).text, "Application has been removed successfully.");
    ExpectEndsCleanly(second);
    ExpectRemovedItself();
    EXPECT_FALSE(File_Exists(stuck));
    EXPECT_TRUE(Eventually([&] { return !Directory_Exists(app); })) << "the application folder stays";
}

}  // namespace
