// The real Uninstall.exe as administrators and long runs use it: silent runs, the log, the exit
// codes, the usage box, and a window that keeps answering while it shows its progress.
#include "E2eFixture.h"

#include <commctrl.h>

#include <regex>

using namespace wintest;

namespace {

class CommandLine : public UninstallE2e {
protected:
    // Waits for the process to end, watching that it never shows a window; the windows it did
    // show, by class.
    std::vector<std::string> WindowsShownUntilExit(Process& p) {
        std::vector<std::string> shown;
        WindowQuery q;
        q.processId = p.Id();
        const DWORD start = GetTickCount();
        while (!p.WaitExit(5) && GetTickCount() - start < 30000)
            for (HWND w : Window_FindAll(q)) shown.push_back(Window_GetClass(w) + " " + Window_GetText(w));
        return shown;
    }
};

const std::string kUsage =
    "Removes the application that Uninstall.dat beside this program lists.\n"
    "\n"
    "Uninstall [/S] [/LOG=file]\n"
    "\n"
    "/S\tSilent: no window and no questions. Files that cannot be deleted are skipped.\n"
    "/LOG=file\tAdds a record of the run to the file.\n"
    "/?\tShows this help.\n"
    "\n"
    "Exit codes: 0 removed, 1 answered No, 2 Uninstall.dat missing or invalid, 3 not all files removed, 4 command line "
    "not understood.";

TEST_F(CommandLine, SilentRunsShowNothingAndTellTheOutcomeByExitCode) {
    const std::string t = Tree(), log = Tree() + "run.log";
    struct Case {
        const char* name;
        bool dataFile, readOnly;
        DWORD exitCode;
    };
    const Case cases[] = {
        {"everything removed", true, false, 0},
        {"a read-only file stays", true, true, 3},
        {"no data file", false, false, 2},
    };
    for (const auto& c : cases) {
        Directory_Create(t + "Gone");
        Directory_Create(t + "RO");
        File_Write(t + "Gone\\a.txt", "x");
        File_Write(t + "RO\\ro.txt", "x");
        if (c.readOnly) File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_READONLY);
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "Firm\\App", "v", REG_SZ, "x");
        EntrySet set;
        set.Info.AppName = "Silent App";
        set.Files = {E2eFile(t + "Gone\\a.txt"), E2eFile(t + "RO\\ro.txt")};
        set.RegKeys = {{E2eHKLM, Key() + "Firm\\App", "", ""}};
        if (c.dataFile) WriteDataFile(set);
        DeleteFileW(Wide_FromText(log).c_str());

        Process p = Start("/S \"/LOG=" + log + "\"");
        EXPECT_EQ(WindowsShownUntilExit(p), std::vector<std::string>()) << c.name;
        ExpectEndsCleanly(p, c.exitCode);
        EXPECT_EQ(File_Exists(t + "Gone\\a.txt"), !c.dataFile) << c.name;
        EXPECT_EQ(File_Exists(t + "RO\\ro.txt"), c.readOnly || !c.dataFile) << c.name;
        EXPECT_EQ(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Firm\\App"), !c.dataFile) << c.name;
        EXPECT_NE(File_Read(log).find(" Outcome " + std::to_string(c.exitCode) + ": "), std::string::npos) << c.name;
        File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
        // A run that removed something deletes the uninstaller afterwards, silent or not; the
        // next case needs a fresh one, put there while the data file keeps the folder in use.
        const std::string exe = AppDir() + "Uninstall.exe";
        if (c.dataFile) {
            EXPECT_TRUE(Eventually([&] { return !File_Exists(exe); }, 10000)) << c.name;
            CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(exe).c_str(), FALSE);
        }
        DeleteFileW(Wide_FromText(DataFile()).c_str());
    }
}

TEST_F(CommandLine, LogTellsWhatBecameOfEachRecord) {
    const std::string t = Tree(), k = Key(), log = Tree() + "Logs\\uninstall log.txt";
    for (const char* d : {"Gone", "RO", "Keep", "Logs", "Hidden"}) Directory_Create(t + d);
    for (const char* f : {"Gone\\a.txt", "RO\\ro.txt", "Keep\\k.ini", "Hidden\\h.txt"}) File_Write(t + f, "x");
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_READONLY);
    File_SetAttributes(t + "Hidden\\h.txt", FILE_ATTRIBUTE_HIDDEN);  // the user's, never the installer's
    Registry_WriteRaw(HKEY_LOCAL_MACHINE, k + "Firm\\App", "v", REG_SZ, "x");
    File_Write(log, "an earlier run\r\n");
    EntrySet set;
    set.Info.AppName = "Logged App";
    set.Files = {E2eFile(t + "Gone\\a.txt"), E2eFile(t + "Missing.txt"), E2eFile(t + "Keep\\k.ini", true), E2eFile(t + "RO\\ro.txt"),
                 E2eFile(t + "Hidden\\h.txt")};
    set.RegKeys = {{E2eHKLM, k + "Firm\\App", "", ""}, {E2eHKLM, k + "Firm\\Nothing", "", ""}};
    set.Shortcuts = {{"Vembrol E2E None", "Link", ""}};
    WriteDataFile(set);

    // Interactive this time: the log is the same, and the skipped file is the user's Cancel.
    Process p = Start("/log=\"" + log + "\"");
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    EXPECT_EQ(MessageBox_Answer(p.Id(), "Cancel", 15000).text,
              "Error deleting file: " + t + "RO\\ro.txt\nPress 'Cancel' to skip this file.");
    EXPECT_EQ(MessageBox_Answer(p.Id(), "OK", 15000).text, "Uninstalling finished, not all files have been removed.");
    ExpectEndsCleanly(p, 3);

    const std::string shown = std::regex_replace(File_Read(log), std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "), "<time> ");
    const std::string hklm = "HKEY_LOCAL_MACHINE\\" + k;
    EXPECT_EQ(shown, "an earlier run\r\n"
                     "<time> Uninstall started\r\n"
                     "Data file: " + DataFile() + "\r\n"
                     "Key " + hklm + "Firm\\Nothing: not there\r\n"
                     "Key " + hklm + "Firm\\App: deleted\r\n"
                     "File " + t + "Gone\\a.txt: removed\r\n"
                     "File " + t + "Missing.txt: not there\r\n"
                     "File " + t + "Keep\\k.ini: kept\r\n"
                     "File " + t + "RO\\ro.txt: skipped: Access denied.\r\n"
                     "File " + t + "Hidden\\h.txt: not there\r\n"
                     "Shortcut Vembrol E2E None\\Link.lnk: not removed\r\n"
                     "<time> Outcome 3: finished, not all files have been removed\r\n");
    EXPECT_TRUE(File_Exists(t + "Hidden\\h.txt"));
    File_SetAttributes(t + "RO\\ro.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CommandLine, ASwitchNotUnderstoodRemovesNothing) {
    Directory_Create(Tree() + "Listed");
    File_Write(Tree() + "Listed\\f.txt", "x");
    EntrySet set;
    set.Files = {E2eFile(Tree() + "Listed\\f.txt")};
    WriteDataFile(set);
    struct Case {
        std::string args;
        DWORD exitCode;
        std::string box;  // empty: no box may appear
        const char* icon;
    };
    const Case cases[] = {
        {"/X", 4, "The command line was not understood: /X\n\n" + kUsage, "exclamation"},
        {"/S /X", 4, "", ""},
        {"/S /?", 4, "", ""},
        {"/LOG=", 4, "The command line was not understood: /LOG=\n\n" + kUsage, "exclamation"},
        {"/?", 0, kUsage, "information"},
        {"/S /LOG=" + Tree() + "NoSuchFolder\\u.log", 4, "", ""},
        {"/LOG=" + Tree() + "NoSuchFolder\\u.log", 4,
         "The log file '" + Tree() + "NoSuchFolder\\u.log' cannot be opened: Path not found.\n\n" + kUsage, "exclamation"},
    };
    for (const auto& c : cases) {
        Process p = Start(c.args);
        if (c.box.empty()) {
            EXPECT_EQ(WindowsShownUntilExit(p), std::vector<std::string>()) << c.args;
        } else {
            MessageBoxInfo box = MessageBox_Answer(p.Id(), "OK", 15000);
            EXPECT_EQ(box.text, c.box) << c.args;
            EXPECT_EQ(box.caption, "Uninstall");
            EXPECT_STREQ(BoxIcon_Name(box.icon), c.icon) << c.args;
            EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        }
        ExpectEndsCleanly(p, c.exitCode);
        EXPECT_TRUE(File_Exists(Tree() + "Listed\\f.txt")) << c.args;
        EXPECT_TRUE(File_Exists(DataFile())) << c.args;
    }
}

TEST_F(CommandLine, WindowAnswersAndShowsProgressThroughoutALongRun) {
    EntrySet set;
    set.Info.AppName = "Long App";
    for (int d = 0; d < 250; ++d) {
        const std::string dir = Tree() + "Long\\d" + std::to_string(d) + "\\";
        Directory_Create(dir);
        for (int f = 0; f < 20; ++f) {
            File_Write(dir + "f" + std::to_string(f), "x");
            set.Files.push_back(E2eFile(dir + "f" + std::to_string(f)));
        }
    }
    WriteDataFile(set);
    Process p = Start();
    HWND question = MessageBox_WaitFor(p.Id(), 15000);
    ASSERT_NE(question, nullptr);
    HWND main = MainWindow(p.Id());
    HWND bar = FindWindowExW(main, nullptr, PROGRESS_CLASSW, nullptr);
    ASSERT_NE(bar, nullptr);
    // The window grew by the bar's height (at 96 DPI); icon and label keep their places.
    RECT client, barRect;
    GetClientRect(main, &client);
    GetWindowRect(bar, &barRect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(std::vector<LONG>({client.right, client.bottom}), std::vector<LONG>({346, 95}));
    EXPECT_EQ(std::vector<LONG>({barRect.left, barRect.top, barRect.right, barRect.bottom}), std::vector<LONG>({64, 60, 337, 77}));
    ASSERT_TRUE(MessageBox_Press(question, "Yes"));
    ASSERT_TRUE(Window_WaitGone(question, 5000));

    // Asked without pause from the Yes to the final message, the 2-second pause included.
    int asked = 0, answered = 0;
    std::vector<DWORD_PTR> positions;
    HWND final = nullptr;
    for (const DWORD start = GetTickCount(); !final && GetTickCount() - start < 60000; final = MessageBox_WaitFor(p.Id(), 0)) {
        DWORD_PTR result = 0;
        ++asked;
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) ++answered;
        if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &result) && IsWindowVisible(main))
            positions.push_back(result);
    }
    ASSERT_NE(final, nullptr);
    EXPECT_TRUE(Eventually([&] { return MessageBox_Read(final).text == "Application has been removed successfully."; }))
        << MessageBox_Read(final).text;
    EXPECT_EQ(answered, asked);
    EXPECT_GT(asked, 20);  // the 2-second pause alone gives that many
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(positions.back(), 5000u);
    EXPECT_GT(std::count_if(positions.begin(), positions.end(), [](DWORD_PTR pos) { return pos > 0 && pos < 5000; }), 0)
        << "no position between the first and the last record was seen";
    MessageBox_Press(final, "OK");
    ExpectEndsCleanly(p, 0);
    EXPECT_FALSE(Directory_Exists(Tree() + "Long\\d0") || Directory_Exists(Tree() + "Long\\d249"));
}

}  // namespace
