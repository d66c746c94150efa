// The real Uninstall.exe in "C:\Проба 文字\<test>\", a folder no ANSI code page names, driven
// as users and administrators drive it: answer its boxes, then look at the disk, the registry,
// the Start menu, the running programs, the log and the temporary folder.
#include "Dpi.h"
#include "InstallFileFormat.h"
#include "KtShellRegistration.h"
#include "Mfrm.h"
#include "MonitorDpi.h"
#include "WideText.h"
#include "WinTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

using namespace wintest;

namespace {

constexpr std::int32_t kHKLM = static_cast<std::int32_t>(0x80000002u), kHKCU = kHKLM - 1;
FileRecord Listed(const std::string& path, bool keep = false) { return {"", path, keep ? BooleanTrue : BooleanFalse}; }

std::string Copy(const std::string& from, const std::string& to) {
    Directory_Create(to.substr(0, to.rfind('\\') + 1));
    EXPECT_TRUE(CopyFileW(Wide_FromText(from).c_str(), Wide_FromText(to).c_str(), FALSE)) << to;
    return to;
}

class Uninstall : public ::testing::Test {
protected:
    Uninstall() {
        Directory_DeleteTree(AppDir());
        Copy(UNINSTALL_EXE, AppDir() + "Uninstall.exe");
        Directory_Create(Tree() + "Sibling");  // empty, so that a wrong removal would succeed
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) Registry_WriteRaw(root, Key() + "Unlisted", "v", REG_SZ, "x");
        Directory_Create(dir_.Path() + "cwd");
    }
    ~Uninstall() override {
        Registry_DeleteTree(HKEY_CURRENT_USER, key_.Path());
        Directory_DeleteTree(AppDir());
        RemoveDirectoryW(Wide_FromText(AppDir().substr(0, AppDir().find('\\', 3) + 1)).c_str());
        // A copy still at work would schedule itself after the restart-time list is put back;
        // its file is free once its process has ended, a moment after that.
        for (const auto& copy : NewInTemp())
            Eventually([&, folder = WindowsTempFolder_Get() + copy] {
                const auto pending = PendingDeletions_Get();
                if (std::find(pending.begin(), pending.end(), "\\??\\" + folder) == pending.end()) return false;
                Directory_DeleteTree(folder + "\\");
                return !Directory_Exists(folder);
            }, 15000);
    }
    std::string AppDir() const { return std::string("C:\\") + UnicodeFolderName + "\\" + Name() + "\\"; }
    std::string DataFile() const { return AppDir() + "Uninstall.dat"; }
    std::string Tree() const { return dir_.Path() + "Tree\\"; }
    std::string Key() const { return key_.Path() + "\\"; }
    void WriteDataFile(const EntrySet& set) {
        std::string bytes;
        ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
        File_Write(DataFile(), bytes);
    }
    // From another current directory, so that only the program's own folder counts.
    Process Start(const std::string& args = "") { return Process::Start(AppDir() + "Uninstall.exe", args, dir_.Path() + "cwd"); }
    // Waits for the end, watching that the process shows no window meanwhile.
    bool ShowsNoWindowUntilExit(Process& p) {
        for (const DWORD start = GetTickCount(); !p.WaitExit(5) && GetTickCount() - start < 30000;)
            if (!Window_FindAll({nullptr, nullptr, p.Id(), true}).empty()) return false;
        return true;
    }
    void ExpectEndsCleanly(Process& p, DWORD exitCode) {
        EXPECT_TRUE(p.WaitExit(8000)) << "a box is left: " << MessageBox_Read(MessageBox_WaitFor(p.Id(), 100)).text;
        EXPECT_EQ(p.ExitCode(), exitCode);
        EXPECT_TRUE(Directory_Exists(Tree() + "Sibling"));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) EXPECT_TRUE(Registry_KeyExists(root, Key() + "Unlisted"));
    }
    std::vector<std::string> NewInTemp() const {
        std::vector<std::string> added;
        for (const auto& name : Folder_ListNames(WindowsTempFolder_Get()))
            if (std::find(tempBefore_.begin(), tempBefore_.end(), name) == tempBefore_.end()) added.push_back(name);
        return added;
    }
    // After a run that removed nothing the uninstaller stays, and no copy went to temp to delete it.
    void ExpectStayed() {
        EXPECT_TRUE(File_Exists(AppDir() + "Uninstall.exe"));
        EXPECT_EQ(NewInTemp(), std::vector<std::string>{});
    }

private:
    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    ScratchDir dir_{Name()};
    ScratchKey key_{Name()};
    PendingRenamesKept pending_;
    const std::vector<std::string> tempBefore_ = Folder_ListNames(WindowsTempFolder_Get());
};

const std::string kUsage =
    "Removes the application that Uninstall.dat beside this program lists.\n\nUninstall [/S] [/LOG=file]\n\n"
    "/S\tSilent: no window and no questions. Files that cannot be deleted are skipped.\n"
    "/LOG=file\tAdds a record of the run to the file.\n/?\tShows this help.\n\n"
    "Exit codes: 0 removed, 1 answered No, 2 Uninstall.dat missing or invalid, 3 not all files removed, 4 command line "
    "not understood.";

// Each run ends after one box, or silently after none, with nothing removed and the uninstaller
// in place.
TEST_F(Uninstall, RunsThatRemoveNothingSayWhyAndTellByExitCode) {
    File_Write(Tree() + "f.txt", "x");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "Listed", "v", REG_SZ, "x");
    EntrySet set;
    set.Info.AppName = Ansi_FromText("Caf\xC3\xA9 App");  // installers write the ANSI code page
    set.Files = {Listed(Tree() + "f.txt")};
    set.RegKeys = {{kHKLM, Key() + "Listed", "", ""}};
    set.Shortcuts = {{"Group", "Link", ""}};  // last, so that a cut leaves the others whole
    std::string valid;
    ASSERT_TRUE(InstallFile_ToBytes(set, valid));
    const std::string missing = "Sorry, uninstallling is not possible as 'Uninstall.dat' was not found in the current "
                                "directory. Try to reinstall the target application and then start uninstall again.";
    const std::string log = Tree() + "No\\u.log";
    enum Data { None, Hidden, Valid, Locked, CutShort };
    const struct { std::string args; Data data; std::string box; const char* icon; DWORD exitCode; } cases[] = {
        {"", None, missing, "exclamation", 2},
        {"/S", None, "", "", 2},
        {"", Hidden, missing, "exclamation", 2},
        {"", Valid, "Do you really want to remove 'Caf\xC3\xA9 App' from this computer ?", "question", 1},
        {"", CutShort, "Error: the file '" + DataFile() + "' is no valid InstallFile !", "exclamation", 2},
        // Held open with no sharing, as an installer still writing it would.
        {"", Locked, "Error: the file '" + DataFile() + "' could not be read !", "exclamation", 2},
        {"/X", Valid, "The command line was not understood: /X\n\n" + kUsage, "exclamation", 4},
        {"/S /X", Valid, "", "", 4},
        {"/?", Valid, kUsage, "information", 0},
        {"/S /LOG=" + log, Valid, "", "", 4},
        {"/LOG=" + log, Valid, "The log file '" + log + "' cannot be opened: Path not found.\n\n" + kUsage, "exclamation", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args + " " + std::to_string(c.data));
        DeleteFileW(Wide_FromText(DataFile()).c_str());
        if (c.data != None) File_Write(DataFile(), c.data == CutShort ? valid.substr(0, valid.size() - 2) : valid);
        File_SetAttributes(DataFile(), c.data == Hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
        HANDLE lock = c.data != Locked ? INVALID_HANDLE_VALUE
                                       : CreateFileW(Wide_FromText(DataFile()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        Process p = Start(c.args);
        if (c.box.empty()) {
            EXPECT_TRUE(ShowsNoWindowUntilExit(p));
        } else {
            const bool question = c.exitCode == 1;
            HWND box = MessageBox_WaitFor(p.Id(), 15000);
            const MessageBoxInfo shown = MessageBox_Read(box);
            EXPECT_EQ(shown.text, c.box);
            EXPECT_EQ(shown.caption, "Uninstall");
            EXPECT_STREQ(BoxIcon_Name(shown.icon), c.icon);
            EXPECT_EQ(shown.buttons, (question ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"}));
            MessageBox_Press(box, question ? "No" : "OK");
        }
        ExpectEndsCleanly(p, c.exitCode);
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        EXPECT_TRUE(File_Exists(Tree() + "f.txt") && Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Listed"));
    }
    ExpectStayed();
}

// Killed during the file pass and started again, the run finishes: the data file goes last,
// whichever record names it, and the killed run's log lines are there. In between it closes the
// installation's running program, removes what is listed and leaves the rest, and logs what
// became of each record. (What "/" and ".." name, and runs cut short at every step, are proven
// on the in-memory disk by the property test.)
TEST_F(Uninstall, RemovesExactlyWhatIsListedAlsoWhenKilledAndStartedAgain) {
    const std::string t = Tree(), app = AppDir(), k = Key(), log = Tree() + "run log.txt";
    const std::string cyrillic = app + "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5.txt";  // "Данные.txt", the application's
    for (const std::string& f : {t + "Top\\Mid\\Low\\f1.txt", t + "Top\\f2.txt", t + "Keep\\kept.ini", t + "RO\\ro.txt", t + "Retry\\r.txt",
                                 app + "app.exe", app + "extra.txt", app + "hidden.txt", app + "settings.ini", cyrillic}) {
        Directory_Create(f.substr(0, f.rfind('\\') + 1));
        File_Write(f, "x");
    }
    for (const char* f : {"RO\\ro.txt", "Retry\\r.txt"}) File_SetAttributes(t + f, FILE_ATTRIBUTE_READONLY);
    File_SetAttributes(app + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, k + "Firm\\App\\Deep", "v", REG_SZ, "x");
    Registry_WriteRaw(HKEY_CURRENT_USER, k + "Firm\\App", "v", REG_SZ, "x");
    // The installation's program runs, and so does a program of the same name elsewhere.
    Process listed = Process::Start(Copy(STANDIN_EXE, app + "Vembrol.exe")), unlisted = Process::Start(Copy(STANDIN_EXE, t + "Other\\Vembrol.exe"));
    for (const Process* p : {&listed, &unlisted}) ASSERT_NE(Window_WaitFor({"Vembrol", nullptr, p->Id(), false}), nullptr);

    EntrySet set;
    set.Info = {"%currentdir%", "Vembrol E2E App", "%currentdir%app.exe", ""};
    set.Files = {Listed("%currentdir%Uninstall.dat"), Listed("%currentdir%*.dat"), Listed(t + "Top\\Mid\\Low\\f1.txt"),
                 Listed(t + "Top\\f2.txt"), Listed(t + "Keep\\kept.ini", true), Listed(t + "RO\\ro.txt"), Listed(t + "Retry\\r.txt"),
                 Listed("%currentdir%\\app.exe"), Listed("%CurrentDir%VEMBROL.exe"),
                 Listed("%currentdir%SETTINGS.ini", true), Listed("relative.txt")};
    set.RegKeys = {{kHKLM, k + "Firm\\App\\Deep", "", ""}, {kHKLM, k + "Firm", "", ""}, {kHKCU, k + "Firm\\App", "", ""}, {kHKCU, k + "Firm\\", "", ""}};
    WriteDataFile(set);

    Process first = Start("\"/LOG=" + log + "\"");
    HWND question = MessageBox_WaitFor(first.Id(), 15000);
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    Window_WaitGone(question, 5000);
    // The running program of the installation was closed before its file was due.
    EXPECT_NE(MessageBox_WaitFor(first.Id(), 15000), nullptr);
    EXPECT_TRUE(listed.WaitExit(0));
    first.Terminate();
    EXPECT_FALSE(File_Exists(t + "Top\\f2.txt"));
    EXPECT_TRUE(File_Exists(DataFile()));
    ExpectStayed();

    Process p = Start("/log=\"" + log + "\"");
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    EXPECT_EQ(MessageBox_Answer(p.Id(), "Cancel", 15000).text, "Error deleting file: " + t + "RO\\ro.txt\nPress 'Cancel' to skip this file.");
    HWND retry = MessageBox_WaitFor(p.Id(), 15000);
    EXPECT_EQ(MessageBox_Read(retry).text, "Error deleting file: " + t + "Retry\\r.txt\nPress 'Cancel' to skip this file.");
    File_SetAttributes(t + "Retry\\r.txt", FILE_ATTRIBUTE_NORMAL);
    MessageBox_Press(retry, "Retry");
    Window_WaitGone(retry, 5000);
    const MessageBoxInfo final = MessageBox_Answer(p.Id(), "OK", 20000);
    EXPECT_EQ(final.text, "Uninstalling finished, not all files have been removed.");
    EXPECT_STREQ(BoxIcon_Name(final.icon), "information");
    ExpectEndsCleanly(p, 3);
    EXPECT_TRUE(Eventually([&] { return !File_Exists(app + "Uninstall.exe"); }, 15000)) << "the uninstaller stays";
    EXPECT_TRUE(unlisted.Running());

    for (const std::string& gone : {t + "Top", t + "Retry", app + "app.exe",
                                    app + "Vembrol.exe", app + "extra.txt", cyrillic, DataFile()})
        EXPECT_FALSE(File_Exists(gone) || Directory_Exists(gone)) << gone;
    for (const std::string& kept : {t + "RO\\ro.txt", t + "Keep\\kept.ini", app + "hidden.txt", app + "settings.ini"})
        EXPECT_TRUE(File_Exists(kept)) << kept;
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Firm") || Registry_KeyExists(HKEY_CURRENT_USER, k + "Firm"));
    // Both runs append; the killed one left what it had done.
    const std::string shown = File_Read(log);
    for (const std::string& line : {"Key HKEY_LOCAL_MACHINE\\" + k + "Firm\\App\\Deep: deleted", "Key HKEY_CURRENT_USER\\" + k + "Firm\\App: not there",
                                    "File " + t + "Top\\f2.txt: removed", "File " + t + "RO\\ro.txt: skipped: " + SystemError_Text(ERROR_ACCESS_DENIED)})
        EXPECT_NE(shown.find(line + "\r\n"), std::string::npos) << line;
    const std::string last = "File " + DataFile() + ": removed\r\n";
    ASSERT_NE(shown.rfind(last), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.rfind(last) + last.size() + 20), "Outcome 3: finished, not all files have been removed\r\n");
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
}

// A symbolic link C:\<name> to a folder of drive C, made on the Linux side (Wine's start /unix
// runs a Linux program): to Windows programs a reparse point with its target's identity.
class FolderLink {
public:
    FolderLink(const std::string& name, const std::string& target) : link_(L"C:\\" + Wide_FromText(name)), onLinux_(OnLinux(name)) {
        std::system(("start /unix /bin/ln -sfn \"" + target + "\" \"" + onLinux_ + "\"").c_str());
        EXPECT_TRUE(Eventually([&] { return GetFileAttributesW(link_.c_str()) != INVALID_FILE_ATTRIBUTES; }));
        EXPECT_TRUE(GetFileAttributesW(link_.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    ~FolderLink() {
        std::system(("start /unix /bin/rm -f \"" + onLinux_ + "\"").c_str());
        Eventually([&] { return GetFileAttributesW(link_.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }

private:
    static std::string OnLinux(const std::string& name) { return std::string(std::getenv("WINEPREFIX")) + "/drive_c/" + name; }
    std::wstring link_;
    std::string onLinux_;
};

// A data file whose texts hold a NUL or line breaks reaches nothing unlisted: not the file, key
// or Start-menu entry its text names up to the NUL, and it forges no log line; the refused file
// counts as one that stayed.
TEST_F(Uninstall, HostileTextsReachNothingUnlisted) {
    using namespace std::string_literals;
    const std::string t = Tree(), log = t + "run.log", programs = SpecialFolder_GetPath(CSIDL_PROGRAMS), group = "VembrolE2E Hostile";
    File_Write(t + "victim.txt", "x");
    File_Write(t + "listed.txt", "x");
    Directory_Create(programs + group);
    File_Write(programs + group + "\\readme.txt", "x");
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "Shared", "v", REG_SZ, "x");
    EntrySet set;
    set.Info = {"", "Hostile App", "", "\0"s};
    set.Files = {Listed(t + "victim.txt\0.bak"s), Listed(t + "forged\r\n2026-01-01 00:00:00 Outcome 0: x.txt"), Listed(t + "listed.txt")};
    set.RegKeys = {{kHKLM, Key() + "Shared\0\\App"s, "", ""}};
    set.Shortcuts = {{group, "readme.txt\0"s, ""}};
    WriteDataFile(set);
    Process p = Start("/S \"/LOG=" + log + "\"");
    EXPECT_TRUE(ShowsNoWindowUntilExit(p));
    ExpectEndsCleanly(p, 3);
    EXPECT_TRUE(File_Exists(t + "victim.txt") && File_Exists(programs + group + "\\readme.txt"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Shared"));
    EXPECT_FALSE(File_Exists(t + "listed.txt"));
    const std::string shown = File_Read(log);
    for (const std::string& line : {"Info record: refused, its GroupFolder holds a NUL at byte 0: <NUL>\r\n"s,
                                    "File record 1: refused, its FilePath holds a NUL at byte " + std::to_string(t.size() + 10) + ": " + t + "victim.txt<NUL>.bak\r\n",
                                    "File record 2: refused, its FilePath holds a control character at byte " + std::to_string(t.size() + 6) + ": " + t +
                                        "forged<CR><LF>2026-01-01 00:00:00 Outcome 0: x.txt\r\n",
                                    "Key record 1: refused, its KeyPath holds a NUL"s, "Shortcut record 1: refused, its LinkName holds a NUL"s})
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    EXPECT_EQ(shown.find("\n2026-01-01"), std::string::npos) << "a forged line";
    Directory_DeleteTree(programs + group);
}

// Patterns mean what users mean: "*.htm" is not "page.html" or "notes.htmlx" (which the system's
// search finds through their short names), "bin\*." is the names without an extension, and a
// pattern never takes a folder. The log names each file a pattern removed.
TEST_F(Uninstall, PatternsMatchLongNamesAsUsersReadThem) {
    const std::string t = Tree() + "Look\\", log = Tree() + "run.log";
    for (const char* f : {"page.htm", "page.html", "notes.htmlx", "bin\\tool", "bin\\README", "bin\\tool.exe", "bin\\lib.d\\x"})
        Directory_Create((t + f).substr(0, (t + f).rfind('\\') + 1)), File_Write(t + f, "x");
    Directory_Create(t + "folder.htm");
    EntrySet set;
    set.Info = {"", "Pattern App", "", ""};
    set.Files = {Listed(t + "*.htm"), Listed(t + "bin\\*.")};
    WriteDataFile(set);
    Process p = Start("/S \"/LOG=" + log + "\"");
    EXPECT_TRUE(ShowsNoWindowUntilExit(p));
    ExpectEndsCleanly(p, 0);
    for (const char* gone : {"page.htm", "bin\\tool", "bin\\README"}) EXPECT_FALSE(File_Exists(t + gone)) << gone;
    for (const char* stays : {"page.html", "notes.htmlx", "bin\\tool.exe", "bin\\lib.d\\x"}) EXPECT_TRUE(File_Exists(t + stays)) << stays;
    EXPECT_TRUE(Directory_Exists(t + "folder.htm"));
    const std::string shown = File_Read(log);
    for (const char* file : {"page.htm", "bin\\tool", "bin\\README"})
        EXPECT_NE(shown.find("File " + t + file + ": removed, as it matches "), std::string::npos) << file << "\n" << shown;
}

// A drive letter for a folder of drive C, as subst makes one: a link in the prefix's dosdevices.
class DriveLetter {
public:
    DriveLetter(char letter, const std::string& folder) : root_(std::string(1, letter) + ":\\") {
        std::string relative = folder.substr(3);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        onLinux_ = std::string(std::getenv("WINEPREFIX")) + "/dosdevices/" + static_cast<char>(std::tolower(letter)) + ":";
        std::system(("start /unix /bin/ln -sfn \"../drive_c/" + relative + "\" \"" + onLinux_ + "\"").c_str());
        EXPECT_TRUE(Eventually([&] { return Directory_Exists(root_); })) << root_;
    }
    ~DriveLetter() {
        std::system(("start /unix /bin/rm -f \"" + onLinux_ + "\"").c_str());
        Eventually([&] { return !Directory_Exists(root_); });
    }

private:
    std::string root_, onLinux_;
};

std::string ShortPath(const std::string& path) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(Wide_FromText(path).c_str(), buffer, MAX_PATH);
    EXPECT_GT(length, 0u) << path;
    return Text_FromWide(buffer, length);
}

// Keep wins over a pattern, a second record and the wipe, whichever name the kept file is
// written with; the data file listed by its short name goes last; files deeper than 260
// characters go like any other.
TEST_F(Uninstall, KeepWinsUnderEveryNameAndDeepFilesGo) {
    const std::string t = Tree(), app = AppDir(), log = t + "run.log";
    std::string deep = t + "Deep\\";
    while (deep.size() < 300) deep += "a folder name of some length\\";
    for (const std::string& f : {t + "Ini\\settings.ini", t + "Ini\\other.ini", t + "Ini\\Configuration.ini", t + "Ini\\drive.ini",
                                 app + "app.exe", app + "kept.cfg", app + "extra.txt", deep + "deep.txt", deep + "deeper\\last.txt"}) {
        Directory_Create(f.substr(0, f.rfind('\\') + 1));
        File_Write(f, "x");
    }
    ASSERT_TRUE(File_Exists(deep + "deeper\\last.txt"));
    DriveLetter k('K', t + "Ini");
    File_Write(DataFile(), "");
    const std::string dataShort = ShortPath(DataFile()).substr(ShortPath(DataFile()).rfind('\\') + 1);
    ASSERT_NE(dataShort, "Uninstall.dat");
    // The application folder's name is no ANSI text, which the data file holds: it is reached
    // by its placeholder and by its short name.
    EntrySet set;
    set.Info = {"", "Keep App", "%currentdir%app.exe", ""};
    set.Files = {Listed(t + "Ini\\*.ini"), Listed(t + "INI\\SETTINGS.INI", true), Listed(ShortPath(t + "Ini\\Configuration.ini"), true),
                 Listed("K:\\drive.ini", true), Listed(t + "Ini\\drive.ini"), Listed("%currentdir%" + dataShort), Listed("%currentdir%app.exe"),
                 Listed(ShortPath(app + "kept.cfg"), true), Listed(deep + "deep.txt"), Listed(deep + "deeper\\last.txt")};
    WriteDataFile(set);
    Process p = Start("/S \"/LOG=" + log + "\"");
    EXPECT_TRUE(ShowsNoWindowUntilExit(p));
    ExpectEndsCleanly(p, 0);
    for (const std::string& kept : {t + "Ini\\settings.ini", t + "Ini\\Configuration.ini", t + "Ini\\drive.ini", app + "kept.cfg"})
        EXPECT_TRUE(File_Exists(kept)) << kept;
    for (const std::string& gone : {t + "Ini\\other.ini", app + "app.exe", app + "extra.txt", DataFile()})
        EXPECT_FALSE(File_Exists(gone)) << gone;
    EXPECT_FALSE(Directory_Exists(deep)) << "the deep folders go once emptied";
    const std::string shown = File_Read(log);
    EXPECT_NE(shown.find("File " + t + "Ini\\other.ini: removed, as it matches " + t + "Ini\\*.ini\r\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("File " + t + "Ini\\drive.ini: kept\r\n"), std::string::npos) << shown;
    // The data file goes after everything else, whatever its record's spelling: the next line
    // is the outcome, after its time.
    const std::string last = "File " + app + dataShort + ": removed\r\n";
    ASSERT_NE(shown.rfind(last), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.rfind(last) + last.size() + 20), "Outcome 0: everything listed was removed\r\n");
}

// What stays is told as staying: listed hidden and system files go, a read-only one asks and is
// skipped, and the run ends with exit code 3; a shortcut that cannot be removed, and the
// desktop shortcut of the application's name that leads elsewhere, stay with their reason in
// the log, and a missing one is "not there".
TEST_F(Uninstall, HiddenSystemAndStuckFilesAndShortcutsAreReportedAsTheyAre) {
    const std::string t = Tree(), app = AppDir(), log = t + "run.log";
    const std::string programs = SpecialFolder_GetPath(CSIDL_PROGRAMS), desktop = SpecialFolder_GetPath(CSIDL_DESKTOPDIRECTORY);
    const std::string group = "VembrolE2E Report", appName = "VembrolE2E Report App";
    for (const std::string& f : {t + "hidden.txt", t + "system.txt", t + "ro.txt", app + "app.exe", t + "user.exe"}) File_Write(f, "x");
    File_SetAttributes(t + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    File_SetAttributes(t + "system.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    File_SetAttributes(t + "ro.txt", FILE_ATTRIBUTE_READONLY);
    Directory_Create(programs + group);
    for (const char* link : {"Stuck", "Goes"}) ASSERT_TRUE(Shortcut_Create(programs + group + "\\" + link + ".lnk", app + "app.exe"));
    ASSERT_TRUE(Shortcut_Create(desktop + appName + ".lnk", t + "user.exe"));  // the user's own, of the same name
    // Held open without sharing, as a program that reads it would.
    HANDLE held = CreateFileW(Wide_FromText(programs + group + "\\Stuck.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EntrySet set;
    set.Info = {"", appName, app + "app.exe", group};
    set.Files = {Listed(t + "hidden.txt"), Listed(t + "system.txt"), Listed(t + "ro.txt"), Listed(app + "app.exe")};
    set.Shortcuts = {{group, "Stuck", ""}, {group, "Goes", ""}, {group, "Missing", ""}};
    WriteDataFile(set);
    Process p = Start("\"/LOG=" + log + "\"");
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    EXPECT_EQ(MessageBox_Answer(p.Id(), "Cancel", 15000).text, "Error deleting file: " + t + "ro.txt\nPress 'Cancel' to skip this file.");
    EXPECT_EQ(MessageBox_Answer(p.Id(), "OK", 20000).text, "Uninstalling finished, not all files have been removed.");
    ExpectEndsCleanly(p, 3);
    CloseHandle(held);
    EXPECT_FALSE(File_Exists(t + "hidden.txt") || File_Exists(t + "system.txt"));
    EXPECT_TRUE(File_Exists(t + "ro.txt"));
    EXPECT_TRUE(File_Exists(programs + group + "\\Stuck.lnk"));
    EXPECT_FALSE(File_Exists(programs + group + "\\Goes.lnk"));
    EXPECT_TRUE(File_Exists(desktop + appName + ".lnk"));
    const std::string shown = File_Read(log);
    for (const std::string& line : {"File " + t + "hidden.txt: removed\r\n", "File " + t + "system.txt: removed\r\n",
                                    "File " + t + "ro.txt: skipped: ", "Shortcut " + group + "\\Goes.lnk: removed\r\n",
                                    "Shortcut " + group + "\\Missing.lnk: not there\r\n", "Shortcut " + group + "\\Stuck.lnk: stayed: ",
                                    "Desktop shortcut " + appName + ".lnk: stays, as it leads to '" + t + "user.exe', outside the installation\r\n",
                                    std::string("Outcome 3: ")})
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    DeleteFileW(Wide_FromText(desktop + appName + ".lnk").c_str());
    Directory_DeleteTree(programs + group);
    File_SetAttributes(t + "ro.txt", FILE_ATTRIBUTE_NORMAL);
}

// An administrative share of this computer, as Wine has none: a link in the prefix's folder of
// network shares, leading to a folder below the Windows folder.
class LocalShare {
public:
    LocalShare(const std::string& name, const std::string& target) {
        const std::string unc = std::string(std::getenv("WINEPREFIX")) + "/dosdevices/unc/localhost";
        onLinux_ = unc + "/" + name;
        // Made through Wine's drive Z:, the Linux root, so that it is there before the link.
        std::string onZ = "Z:" + unc;
        std::replace(onZ.begin(), onZ.end(), '/', '\\');
        Directory_Create(onZ);
        std::system(("start /unix /bin/ln -sfn \"../../../drive_c/" + target + "\" \"" + onLinux_ + "\"").c_str());
        EXPECT_TRUE(Eventually([&] { return Directory_Exists("\\\\localhost\\" + name + "\\"); })) << name;
    }
    ~LocalShare() { std::system(("start /unix /bin/rm -f \"" + onLinux_ + "\"").c_str()); }

private:
    std::string onLinux_;
};

// Silent runs show nothing and tell the outcome by exit code. Their application folders are
// other names of the Windows folder or of folders below it, which the wipe never empties: the
// guard knows folders by identity, not by name.
TEST_F(Uninstall, SilentRunsThroughLinksNeverWipeTheWindowsFolder) {
    const std::string windows = WindowsDir_Get(), below = windows + "VembrolE2E\\", ro = Tree() + "ro.txt";
    const std::string drivers = windows + "system32\\spool\\drivers\\";
    Directory_Create(below + "Sub");
    Directory_Create(drivers + "VembrolE2E");
    FolderLink toWindows("VembrolE2E-Windows", "windows"), toBelow("VembrolE2E-Below", "windows/VembrolE2E");
    LocalShare printers("print$", "windows/system32/spool/drivers");
    // The folder the run means, and the same folder under its real name.
    const std::pair<std::string, std::string> folders[] = {{"C:\\VembrolE2E-Windows\\", windows},
                                                           {"C:\\VembrolE2E-Windows\\VembrolE2E\\", below},
                                                           {"C:\\VembrolE2E-Below\\", below},
                                                           {"C:\\VembrolE2E-Below\\Sub\\", below + "Sub\\"},
                                                           {"\\\\localhost\\print$\\VembrolE2E\\", drivers + "VembrolE2E\\"}};
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder.first);
        const bool readOnly = &folder == &folders[1];  // a file that stays: exit code 3
        for (const char* name : {"VembrolE2E-sentinel.txt", "VembrolE2E-listed.txt"}) File_Write(folder.second + name, "x");
        File_Write(ro, "x");
        File_SetAttributes(ro, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        EntrySet set;
        set.Info = {"", "Aliased App", folder.first + "app.exe", ""};
        set.Files = {Listed(folder.first + "VembrolE2E-listed.txt"), Listed(ro)};
        WriteDataFile(set);
        if (!File_Exists(AppDir() + "Uninstall.exe")) Copy(UNINSTALL_EXE, AppDir() + "Uninstall.exe");
        Process p = Start("/S");
        EXPECT_TRUE(ShowsNoWindowUntilExit(p));
        ExpectEndsCleanly(p, readOnly ? 3 : 0);
        EXPECT_FALSE(File_Exists(folder.second + "VembrolE2E-listed.txt"));
        EXPECT_TRUE(File_Exists(folder.second + "VembrolE2E-sentinel.txt"));
        EXPECT_EQ(File_Exists(ro), readOnly);
        File_SetAttributes(ro, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide_FromText(folder.second + "VembrolE2E-sentinel.txt").c_str());
        // Silent or not, a run that removed something removes the uninstaller afterwards.
        EXPECT_TRUE(Eventually([&] { return !File_Exists(AppDir() + "Uninstall.exe"); }, 15000));
    }
    Directory_DeleteTree(below);
    Directory_DeleteTree(drivers + "VembrolE2E");
}

// A few thousand files: the window answers at every moment, the 2-second pause included, and the
// bar advances. (The benchmark times the large run against the bare system calls.)
TEST_F(Uninstall, WindowAnswersAndShowsProgressThroughoutALongRun) {
    EntrySet set;
    set.Info.AppName = "Long App";
    for (int d = 0; d < 250; ++d) {
        const std::string dir = Tree() + "Long\\d" + std::to_string(d) + "\\";
        Directory_Create(dir);
        for (int f = 0; f < 20; ++f) {
            File_Write(dir + "f" + std::to_string(f), "x");
            set.Files.push_back(Listed(dir + "f" + std::to_string(f)));
        }
    }
    WriteDataFile(set);
    Process p = Start();
    HWND question = MessageBox_WaitFor(p.Id(), 15000);
    HWND main = Window_Find({nullptr, MfrmClassName, p.Id(), false}), bar = FindWindowExW(main, nullptr, PROGRESS_CLASSW, nullptr);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    ASSERT_TRUE(Window_WaitGone(question, 5000));
    RECT client = {};
    // 5190 x 1425 twips at the DPI of the window's monitor (346 x 95 pixels at 96).
    const UINT dpi = Dpi_ForWindow(main);
    EXPECT_TRUE(GetClientRect(main, &client) && client.right == Twips_ToPixels(5190, dpi) && client.bottom == Twips_ToPixels(1425, dpi));
    PostMessageW(main, WM_CLOSE, 0, 0);  // refused: a run half done must not lose its window

    int asked = 0, answered = 0;
    std::vector<DWORD_PTR> positions;
    HWND final = nullptr;
    for (const DWORD yes = GetTickCount(); !final && GetTickCount() - yes < 60000; final = MessageBox_WaitFor(p.Id(), 0)) {
        DWORD_PTR result = 0;
        ++asked;
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) ++answered;
        if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &result) && IsWindowVisible(main)) positions.push_back(result);
    }
    ASSERT_NE(final, nullptr);
    EXPECT_TRUE(Eventually([&] { return MessageBox_Read(final).text == "Application has been removed successfully."; }))
        << MessageBox_Read(final).text;
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(answered, asked);
    EXPECT_GT(asked, 20);  // the 2-second pause alone gives that many
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()) && positions.back() == 5000u) << positions.back();
    EXPECT_GT(std::count_if(positions.begin(), positions.end(), [](DWORD_PTR pos) { return pos > 0 && pos < 5000; }), 0);
    MessageBox_Press(final, "OK");
    ExpectEndsCleanly(p, 0);
    EXPECT_FALSE(Directory_Exists(Tree() + "Long\\d0") || Directory_Exists(Tree() + "Long\\d249"));
}

}  // namespace
