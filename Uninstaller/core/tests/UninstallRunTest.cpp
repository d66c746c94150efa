// The real run, passes and wipe guard on a disk in memory: what goes, what stays, what the user
// is asked and told, and the data file last of all.
#include "MemoryDisk.h"
#include "PathRules.h"
#include "RunFakes.h"
#include "UninstallTexts.h"
#include "WipeGuard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

constexpr Boolean Keep = BooleanTrue;

// C: with the Windows folder and an installation in C:\App\, D: elsewhere.
struct Machine {
    MemoryDisk disk;
    MemoryPlatform platform;
    RecordingInteraction ui;
    RunState state;

    Machine() {
        disk.AddVolume("C:\\", 0xC0C0);
        disk.AddVolume("D:\\", 0xD0D0);
        for (const char* file : {"C:\\Windows\\win.ini", "C:\\Windows\\System32\\kernel32.dll", "C:\\App\\Uninstall.exe",
                                 "C:\\App\\Uninstall.dat", "C:\\App\\App.exe", "C:\\App\\readme.txt",
                                 "C:\\App\\settings.ini", "C:\\App\\Data\\a.log", "C:\\App\\Data\\b.log",
                                 "C:\\App\\Data\\notes.txt", "C:\\Other\\x.txt", "C:\\Other\\y.txt", "D:\\Keep\\z.txt"})
            disk.AddFile(file);
        // A running program's file cannot be deleted: the uninstaller's own.
        disk.SetUndeletable("C:\\App\\Uninstall.exe");
        state.Dirs = BaseDirs_Make("C:\\Windows\\", "C:\\Windows\\System32\\", "C:\\App\\Uninstall.exe");
        platform.DataFile.Info = {"", "App", "%currentdir%\\App.exe", "Group"};
        platform.DataFile.Shortcuts = {{"Group", "App", ""}};
        platform.Shortcuts = {"Group|App"};
    }

    RunOutcome Run() {
        const std::vector<std::string> before = disk.Paths();
        const RunOutcome outcome = Uninstall_Run(state, disk, platform, ui);
        const std::vector<std::string> after = disk.Paths();
        gone.clear();
        for (const auto& p : before)
            if (std::find(after.begin(), after.end(), p) == after.end()) gone.insert(p);
        return outcome;
    }

    std::set<std::string> gone;
};

const std::set<std::string> kAppFolderWiped = {"C:\\App\\App.exe", "C:\\App\\readme.txt", "C:\\App\\settings.ini",
                                               "C:\\App\\Uninstall.dat"};

std::set<std::string> Plus(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}
std::set<std::string> Minus(std::set<std::string> a, const std::set<std::string>& b) {
    for (const auto& x : b) a.erase(x);
    return a;
}

struct RunCase {
    const char* name;
    std::vector<FileRecord> files;
    std::function<void(Machine&)> setUp;
    std::set<std::string> gone;
    RunOutcome outcome;
    const char* dataFileAs = "C:\\App\\Uninstall.dat";  // the data file's name in the last deletion
};

TEST(UninstallRun, RemovesExactlyWhatTheDataFileOwns) {
    const std::string aeLower = "C:\\App\\\xC3\xA4rger.ini", aeUpper = "C:\\APP\\\xC3\x84RGER.INI";
    const RunCase cases[] = {
        {"kept file in the application folder", {{"", "%currentdir%\\App.exe"}, {"", "C:\\App\\settings.ini", Keep}}, nullptr,
         Minus(kAppFolderWiped, {"C:\\App\\settings.ini"}), RunOutcome::AllRemoved},
        {"kept by its short name in another case", {{"", "%currentdir%\\App.exe"}, {"", "c:\\app\\CONFIG~1.INI", Keep}},
         [](Machine& m) { m.disk.AddFile("C:\\App\\Configuration.ini"); }, kAppFolderWiped, RunOutcome::AllRemoved},
        {"kept beyond ASCII case", {{"", "%currentdir%\\App.exe"}, {"", aeUpper, Keep}},
         [&](Machine& m) { m.disk.AddFile(aeLower); }, kAppFolderWiped, RunOutcome::AllRemoved},
        {"an application folder without other files goes with its last listed file", {{"", "C:\\Other\\x.txt"}, {"", "C:\\Other\\y.txt"}},
         [](Machine& m) { m.platform.DataFile.Info.AppFile = "C:\\Other\\x.txt"; },
         {"C:\\Other\\x.txt", "C:\\Other\\y.txt", "C:\\Other\\"}, RunOutcome::AllRemoved},
        {"a pattern takes its matches only", {{"", "C:\\App\\Data\\*.log"}}, nullptr,
         {"C:\\App\\Data\\a.log", "C:\\App\\Data\\b.log"}, RunOutcome::AllRemoved},
        {"'..' names the folder it leads to, never the drive",
         {{"", "C:\\App\\Sub\\..\\..\\Other\\x.txt"}, {"", "C:/Other/../../../Other//y.txt"}}, nullptr,
         {"C:\\Other\\x.txt", "C:\\Other\\y.txt", "C:\\Other\\"}, RunOutcome::AllRemoved},
        {"data file listed twice and matched by a pattern",
         {{"", "C:\\App\\*.dat"}, {"", "%currentdir%\\Uninstall.dat"}, {"", "C:\\APP\\UNINSTALL.DAT"}, {"", "C:\\App\\App.exe"}},
         nullptr, kAppFolderWiped, RunOutcome::AllRemoved},
        {"a file that stays is skipped with Cancel", {{"", "C:\\App\\App.exe"}},
         [](Machine& m) { m.disk.SetUndeletable("C:\\App\\App.exe"); }, Minus(kAppFolderWiped, {"C:\\App\\App.exe"}),
         RunOutcome::FileStayed},
        {"a file retried until it goes", {{"", "C:\\App\\App.exe"}},
         [](Machine& m) {
             m.disk.SetUndeletable("C:\\App\\App.exe");
             m.ui.RetryAnswer = [&m](const std::string&) { return m.disk.SetUndeletable("C:\\App\\App.exe", false); };
         },
         kAppFolderWiped, RunOutcome::AllRemoved},
        {"listed hidden and system files go", {{"", "C:\\Other\\x.txt"}, {"", "C:\\Other\\y.txt"}},
         [](Machine& m) {
             m.disk.AddFile("C:\\Other\\x.txt", FileAttribute::Hidden);
             m.disk.AddFile("C:\\Other\\y.txt", FileAttribute::System | FileAttribute::Hidden);
         },
         {"C:\\Other\\x.txt", "C:\\Other\\y.txt", "C:\\Other\\"}, RunOutcome::AllRemoved},
        {"a hidden read-only file still asks and stays", {{"", "C:\\Other\\x.txt"}},
         [](Machine& m) { m.disk.AddFile("C:\\Other\\x.txt", FileAttribute::Hidden | FileAttribute::ReadOnly); }, {},
         RunOutcome::FileStayed},
        {"a file whose attributes cannot be read stays, and says so", {{"", "C:\\Other\\x.txt"}, {"", "C:\\Other\\y.txt"}},
         [](Machine& m) { m.disk.SetUnreadable("C:\\Other\\x.txt"); }, {"C:\\Other\\y.txt"}, RunOutcome::FileStayed},
        {"a pattern spares what another record keeps", {{"", "C:\\Other\\*.txt"}, {"", "C:\\Other\\x.txt", Keep}}, nullptr,
         {"C:\\Other\\y.txt"}, RunOutcome::AllRemoved},
        {"kept by its short name against a pattern", {{"", "C:\\Other\\*.txt"}, {"", "C:\\OTHER\\CONFIG~1.TXT", Keep}},
         [](Machine& m) { m.disk.AddFile("C:\\Other\\Configuration.txt"); },
         {"C:\\Other\\x.txt", "C:\\Other\\y.txt"}, RunOutcome::AllRemoved},
        {"kept through another drive letter, listed again by its own",
         {{"", "C:\\Other\\x.txt"}, {"", "K:\\x.txt", Keep}, {"", "C:\\Other\\y.txt"}},
         [](Machine& m) { m.disk.MapRoot("K:\\", "C:\\Other"); }, {"C:\\Other\\y.txt"}, RunOutcome::AllRemoved},
        {"kept through a folder link against a pattern", {{"", "C:\\Other\\*.txt"}, {"", "D:\\L\\y.txt", Keep}},
         [](Machine& m) { m.disk.AddLink("D:\\L", "C:\\Other"); }, {"C:\\Other\\x.txt"}, RunOutcome::AllRemoved},
        {"kept in the wipe under another drive letter", {{"", "%currentdir%\\App.exe"}, {"", "K:\\settings.ini", Keep}},
         [](Machine& m) { m.disk.MapRoot("K:\\", "C:\\App"); }, Minus(kAppFolderWiped, {"C:\\App\\settings.ini"}),
         RunOutcome::AllRemoved},
        {"the data file by its short name goes last", {{"", "C:\\APP\\UNINST~1.DAT"}, {"", "C:\\App\\App.exe"}}, nullptr,
         kAppFolderWiped, RunOutcome::AllRemoved, "C:\\APP\\UNINST~1.DAT"},
        {"the data file by another drive letter goes last", {{"", "K:\\Uninstall.dat"}, {"", "C:\\App\\App.exe"}},
         [](Machine& m) { m.disk.MapRoot("K:\\", "C:\\App"); }, kAppFolderWiped, RunOutcome::AllRemoved, "K:\\Uninstall.dat"},
        {"the program's own path in the system's raw form", {{"", "C:\\App\\Uninstall.dat"}, {"", "C:\\App\\App.exe"}},
         [](Machine& m) {
             m.state.Dirs = BaseDirs_Make("C:\\Windows\\", "C:\\Windows\\System32\\", "\\\\?\\C:\\App\\Uninstall.exe");
         },
         kAppFolderWiped, RunOutcome::AllRemoved},
        {"the Windows folder by another drive letter is never wiped", {{"", "W:\\Windows\\App.exe"}},
         [](Machine& m) {
             m.disk.MapRoot("W:\\", "C:\\");
             m.disk.AddFile("C:\\Windows\\App.exe");
             m.disk.AddFile("C:\\Windows\\Uninstall.dat");
             m.state.Dirs = BaseDirs_Make("C:\\Windows\\", "C:\\Windows\\System32\\", "W:\\Windows\\Uninstall.exe");
             m.platform.DataFile.Info.AppFile = "W:\\Windows\\App.exe";
         },
         {"C:\\Windows\\App.exe"}, RunOutcome::AllRemoved},
        {"an application folder that is a link is never wiped", {{"", "C:\\Apps\\Link\\App.exe"}},
         [](Machine& m) {
             m.disk.AddFolder("C:\\Apps");
             m.disk.AddLink("C:\\Apps\\Link", "C:\\Other");
             m.disk.AddFile("C:\\Other\\App.exe");
             m.platform.DataFile.Info.AppFile = "C:\\Apps\\Link\\App.exe";
         },
         {"C:\\Other\\App.exe"}, RunOutcome::AllRemoved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        m.platform.DataFile.Files = c.files;
        if (c.setUp) c.setUp(m);
        EXPECT_EQ(m.Run(), c.outcome);
        EXPECT_EQ(m.gone, c.gone);
        EXPECT_EQ(m.ui.Lines.back(), "information: " + std::string(c.outcome == RunOutcome::AllRemoved ? Text_RemovedAll
                                                                                                         : Text_NotAllRemoved));
        EXPECT_TRUE(m.disk.Exists("C:\\Windows\\win.ini"));
        EXPECT_TRUE(m.disk.Exists("D:\\Keep\\z.txt"));
        // The data file goes last of all deletions, after every shortcut.
        if (m.gone.count("C:\\App\\Uninstall.dat")) {
            EXPECT_TRUE(Path_Equal(m.disk.Removed().back(), c.dataFileAs)) << m.disk.Removed().back();
            const std::size_t told = m.ui.IndexOf("file " + std::string(c.dataFileAs) + ": removed");
            if (told < m.ui.Lines.size()) {
                EXPECT_GT(told, m.ui.IndexOf("shortcut"));
            }
        }
    }
}

TEST(UninstallRun, AsksAndTellsInItsOrder) {
    Machine m;
    m.platform.DataFile.Files = {{"", "C:\\App\\App.exe"}, {"", "C:\\App\\settings.ini", Keep}};
    m.platform.Keys = {{0x80000001u, "Software\\Firm\\App\\"}};
    m.platform.DataFile.RegKeys = {{static_cast<std::int32_t>(0x80000001u), "Software\\Firm\\App", "", ""}};
    m.disk.SetUndeletable("C:\\App\\App.exe");
    EXPECT_EQ(m.Run(), RunOutcome::FileStayed);
    EXPECT_EQ(m.ui.Lines, (std::vector<std::string>{
                              "data file C:\\App\\Uninstall.dat",
                              "window shown",
                              "question: Do you really want to remove 'App' from this computer ?",
                              "removal begins",
                              "note: Desktop shortcut App.lnk: not there",
                              "key 2147483649 Software\\Firm\\App\\: 0",
                              "retry or cancel: Error deleting file: C:\\App\\App.exe\nPress 'Cancel' to skip this file.",
                              "file C:\\App\\App.exe: skipped 5",
                              "file C:\\App\\settings.ini: kept",
                              "shortcut Group|App: 0",
                              "window hidden",
                              "information: Uninstalling finished, not all files have been removed.",
                          }));
    EXPECT_EQ(m.platform.Closed, (std::vector<std::string>{"C:\\App\\App.exe", "C:\\App\\settings.ini"}));
}

TEST(UninstallRun, DataFileProblemsAndNoRemoveNothing) {
    struct Case {
        const char* name;
        std::function<void(Machine&)> setUp;
        RunOutcome outcome;
        std::vector<std::string> lines;
    };
    const std::string dat = "C:\\App\\Uninstall.dat";
    const Case cases[] = {
        {"hidden data file", [](Machine& m) { m.disk.AddFile("C:\\App\\Uninstall.dat", FileAttribute::Hidden); },
         RunOutcome::DataFileProblem, {"data file " + dat, std::string("problem: ") + Text_DataFileMissing}},
        {"invalid data file", [](Machine& m) { m.platform.ReadOutcome = InstallFileRead::Invalid; },
         RunOutcome::DataFileProblem, {"data file " + dat, "window shown", "problem: " + Text_InvalidFile(dat)}},
        {"unreadable data file", [](Machine& m) { m.platform.ReadOutcome = InstallFileRead::Unreadable; },
         RunOutcome::DataFileProblem, {"data file " + dat, "window shown", "problem: " + Text_Unreadable(dat)}},
        {"the answer No", [](Machine& m) { m.ui.ConfirmAnswer = false; }, RunOutcome::UserSaidNo,
         {"data file " + dat, "window shown", "question: " + Text_ConfirmRemoval("App")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        m.platform.DataFile.Files = {{"", "C:\\App\\App.exe"}};
        c.setUp(m);
        EXPECT_EQ(m.Run(), c.outcome);
        EXPECT_EQ(m.ui.Lines, c.lines);
        EXPECT_TRUE(m.gone.empty());
    }
}

// A run cut short at any point keeps the data file while anything listed is left, so that the
// next run finishes the job.
TEST(UninstallRun, RunCutShortAnywhereLeavesTheDataFileForTheNextRun) {
    const std::vector<FileRecord> files = {{"", "C:\\App\\*.dat"},  {"", "C:\\App\\App.exe"},  {"", "C:\\App\\Data\\*.log"},
                                           {"", "C:\\Other\\x.txt"}, {"", "%currentdir%\\Uninstall.dat"}};
    Machine whole;
    whole.platform.DataFile.Files = files;
    whole.Run();
    const std::set<std::string> all = whole.gone;
    ASSERT_TRUE(all.count("C:\\App\\Uninstall.dat"));
    for (std::size_t k = 0; k <= whole.disk.Calls(); ++k) {
        SCOPED_TRACE(k);
        Machine m;
        m.platform.DataFile.Files = files;
        m.disk.FailAfter(k);
        m.Run();
        if (m.gone.count("C:\\App\\Uninstall.dat")) {
            EXPECT_EQ(m.gone, all);
        }
        const std::set<std::string> first = m.gone;
        m.disk.FailAfter(static_cast<std::size_t>(-1));
        m.ui.Lines.clear();
        m.Run();
        EXPECT_EQ(Plus(first, m.gone), all);
    }
}

// Texts that the system would read otherwise than the run's rules (up to a NUL) name nothing:
// such a record is dropped and logged, a refused file is a file that stayed, and a refused
// application file, name or group only skips the steps that use it.
TEST(UninstallRun, HostileTextsNameNothing) {
    using namespace std::string_literals;
    Machine m;
    m.platform.Keys = {{0x80000001u, "Software\\Shared\\"}, {0x80000001u, "Software\\Shared\\App\\"}};
    m.platform.Shortcuts = {"Group|readme.txt", "..\\..\\Desktop|App\r\nOutcome 0", "Group|App"};
    m.platform.Targets["..\\..\\Desktop|App\r\nOutcome 0"] = "C:\\App\\App.exe";
    m.platform.DataFile.Info = {"", "App\r\nOutcome 0", "C:\\App\\App.exe\0.x"s, "\0"s};
    m.platform.DataFile.Files = {{"", "C:\\Other\\x.txt\0.bak"s}, {"", "C:\\App\\readme.txt"}, {"", "C:\\Other\\<y>.txt"}};
    m.platform.DataFile.RegKeys = {{static_cast<std::int32_t>(0x80000001u), "Software\\Shared\0\\App"s, "", ""}};
    m.platform.DataFile.Shortcuts = {{"Group", "readme.txt\0"s, ""}, {"Group", "App", ""}};
    EXPECT_EQ(m.Run(), RunOutcome::FileStayed);
    EXPECT_EQ(m.gone, (std::set<std::string>{"C:\\App\\readme.txt"})) << "no wipe without the application file";
    EXPECT_EQ(m.platform.Keys.size(), 2u);
    EXPECT_EQ(m.platform.Shortcuts, (std::set<std::string>{"Group|readme.txt", "..\\..\\Desktop|App\r\nOutcome 0"}));
    std::vector<std::string> refusals;
    for (const auto& line : m.ui.Lines)
        if (line.find(": refused, its ") != std::string::npos) refusals.push_back(line.substr(0, line.find(" holds")));
    EXPECT_EQ(refusals, (std::vector<std::string>{"note: Info record: refused, its AppName", "note: Info record: refused, its AppFile",
                                                  "note: Info record: refused, its GroupFolder", "note: File record 1: refused, its FilePath",
                                                  "note: File record 3: refused, its FilePath", "note: Key record 1: refused, its KeyPath",
                                                  "note: Shortcut record 1: refused, its LinkName"}));
    EXPECT_EQ(m.ui.IndexOf("note: Desktop shortcut"), m.ui.Lines.size()) << "the desktop step is skipped";
}

// Another program swaps the application folder for a link to the Windows folder between any
// two of the run's calls: the wipe deletes in the folder it checked or nowhere, never through
// the link, and the data file it held back goes from that folder too.
TEST(UninstallRun, TheWipeCannotBeRedirectedBetweenCheckAndDelete) {
    const std::vector<FileRecord> files = {{"", "C:\\Other\\x.txt"}, {"", "%currentdir%\\readme.txt"}};
    auto set = [&](Machine& m) {
        m.platform.DataFile.Files = files;
        for (const char* name : {"win.ini", "Uninstall.dat", "App.exe", "settings.ini"}) m.disk.AddFile(std::string("C:\\Windows\\") + name);
        m.disk.AddFile("C:\\App\\win.ini");
    };
    Machine whole;
    set(whole);
    whole.Run();
    ASSERT_TRUE(whole.gone.count("C:\\App\\win.ini")) << "the wipe reaches the folder's files";
    for (std::size_t k = 1; k <= whole.disk.Calls() + 1; ++k) {
        SCOPED_TRACE(k);
        Machine m;
        set(m);
        m.disk.OnCall(k, [&m] {
            ASSERT_TRUE(m.disk.Rename("C:\\App", "C:\\Moved"));
            ASSERT_TRUE(m.disk.AddLink("C:\\App", "C:\\Windows"));
        });
        m.Run();
        for (const char* name : {"win.ini", "Uninstall.dat", "App.exe", "settings.ini", "System32\\kernel32.dll"})
            EXPECT_TRUE(m.disk.Exists(std::string("C:\\Windows\\") + name)) << name;
    }
}

// The desktop shortcut named after the application goes only when it leads into the
// installation; every other outcome is told in the log. Shortcuts that stay keep the final
// message but say why.
TEST(UninstallRun, TheDesktopShortcutGoesOnlyWhenItLeadsIntoTheInstallation) {
    struct Case {
        const char* name;
        const char* target;  // nullptr: no such shortcut
        std::function<void(Machine&)> setUp;
        bool goes;
        const char* note;
    };
    const std::string desktop = "..\\..\\Desktop|App";
    const Case cases[] = {
        {"to the application", "C:\\App\\App.exe", nullptr, true, "removed"},
        {"to a folder below it, by its short name", "C:\\APP\\DATAFO~1\\NOTES.TXT",
         [](Machine& m) { m.disk.AddFile("C:\\App\\Data folder\\notes.txt"); }, true, "removed"},
        {"to the application by another drive letter", "K:\\App.exe", [](Machine& m) { m.disk.MapRoot("K:\\", "C:\\App"); },
         true, "removed"},
        {"to a listed file elsewhere", "C:\\Other\\x.txt", [](Machine& m) { m.platform.DataFile.Files.push_back({"", "C:\\Other\\x.txt"}); },
         true, "removed"},
        {"to a listed file under another spelling", "C:\\Other\\x.txt",
         [](Machine& m) {
             m.disk.MapRoot("K:\\", "C:\\Other");
             m.platform.DataFile.Files.push_back({"", "K:\\x.txt"});
         },
         true, "removed"},
        {"to a kept file elsewhere", "C:\\Other\\x.txt", [](Machine& m) { m.platform.DataFile.Files.push_back({"", "C:\\Other\\x.txt", Keep}); },
         false, "stays, as it leads to 'C:\\Other\\x.txt', outside the installation"},
        {"to another program", "D:\\Keep\\z.txt", nullptr, false, "stays, as it leads to 'D:\\Keep\\z.txt', outside the installation"},
        {"to a look-alike folder", "C:\\App2\\App.exe", [](Machine& m) { m.disk.AddFile("C:\\App2\\App.exe"); }, false,
         "stays, as it leads to 'C:\\App2\\App.exe', outside the installation"},
        {"to nothing on disk", "", nullptr, false, "stays, as it leads to '', outside the installation"},
        {"of an application at a drive's root", "C:\\Other\\x.txt", [](Machine& m) { m.platform.DataFile.Info.AppFile = "C:\\App.exe"; },
         false, "stays, as it leads to 'C:\\Other\\x.txt', outside the installation"},
        {"none there", nullptr, nullptr, false, "not there"},
        {"of an application without a name", nullptr, [](Machine& m) { m.platform.DataFile.Info.AppName = ""; }, false,
         "skipped, as no shortcut on the desktop can have this name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        m.platform.DataFile.Files = {{"", "C:\\App\\App.exe"}};
        if (c.target) {
            m.platform.Shortcuts.insert(desktop);
            m.platform.Targets[desktop] = c.target;
        }
        if (c.setUp) c.setUp(m);
        EXPECT_EQ(m.Run(), RunOutcome::AllRemoved);
        EXPECT_EQ(m.platform.Shortcuts.count(desktop), c.target && !c.goes ? 1u : 0u);
        EXPECT_LT(m.ui.IndexOf("note: Desktop shortcut " + m.platform.DataFile.Info.AppName + ".lnk: " + c.note), m.ui.Lines.size());
    }
    Machine stuck;
    stuck.platform.DataFile.Files = {{"", "C:\\App\\App.exe"}};
    stuck.platform.Shortcuts.insert(desktop);
    stuck.platform.Targets[desktop] = "C:\\App\\App.exe";
    stuck.platform.Stuck = {{desktop, DiskError::AccessDenied}, {"Group|App", DiskError::AccessDenied}};
    EXPECT_EQ(stuck.Run(), RunOutcome::AllRemoved);
    EXPECT_LT(stuck.ui.IndexOf("note: Desktop shortcut App.lnk: stayed 5"), stuck.ui.Lines.size());
    EXPECT_LT(stuck.ui.IndexOf("shortcut Group|App: 5"), stuck.ui.Lines.size());
}

TEST(WipeGuard, RefusesEveryOtherNameOfASystemFolderOrARoot) {
    struct Case {
        const char* dir;
        bool mayBeWiped;
    };
    MemoryDisk disk;
    disk.AddVolume("C:\\", 1);
    disk.AddVolume("E:\\", 2);
    disk.AddFolder("C:\\Windows\\System32\\Sub");
    disk.AddFolder("C:\\App\\Deep");
    disk.AddFolder("C:\\Apps");
    disk.AddLink("C:\\Apps\\ToWindows", "C:\\Windows");
    disk.AddLink("C:\\Apps\\ToApp", "C:\\App");
    disk.MapRoot("S:\\", "C:\\App");
    disk.MapRoot("\\\\server\\share\\", "C:\\");
    disk.AddFolder("C:\\Mnt");
    disk.AddLink("C:\\Mnt\\E", "E:\\");
    // A share of this computer whose folder lies below the Windows folder, which the system
    // does not name for it.
    disk.AddFolder("C:\\Windows\\System32\\spool\\drivers\\App");
    disk.MapRoot("\\\\localhost\\print$\\", "C:\\Windows\\System32\\spool\\drivers", true);
    const BaseDirs dirs = BaseDirs_Make("C:\\Windows\\", "C:\\Windows\\System32\\", "C:\\App\\Uninstall.exe");
    const Case cases[] = {
        {"C:\\App\\", true},
        {"C:\\App\\Deep\\", true},
        {"c:\\app\\", true},
        {"\\\\server\\share\\App\\", true},
        {"C:\\", false},
        {"C:\\Windows\\", false},
        {"C:\\WINDOWS\\System32\\", false},
        {"C:\\Windows\\System32\\Sub\\", false},
        {"\\\\server\\share\\", false},
        {"\\\\server\\share\\Windows\\", false},
        {"S:\\", false},
        {"C:\\Apps\\ToApp\\", false},
        {"C:\\Apps\\ToWindows\\System32\\Sub\\", false},
        {"C:\\Mnt\\E\\", false},
        {"C:\\Missing\\", false},
        {"\\\\localhost\\print$\\App\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Folder_MayBeWiped(disk, c.dir, dirs), c.mayBeWiped) << c.dir;
    disk.FailAfter(disk.Calls());
    EXPECT_FALSE(Folder_MayBeWiped(disk, "C:\\App\\", dirs)) << "a disk that cannot tell";
}

TEST(WipeGuard, KnowsTheNamesThisComputerAnswersTo) {
    const struct {
        const char* server;
        bool self;
    } cases[] = {
        {"localhost", true}, {"LOCALHOST", true},   {"127.0.0.1", true},  {"127.1.2.3", true},
        {"127.0.0", false},  {"127.0.0.1.5", false}, {"127.0.0.1000", false}, {"127..0.1", false},
        {"::1", true},       {"0--1.ipv6-literal.net", true}, {"Vembrol-PC", true}, {"vembrol-pc.corp.example", true},
        {"server", false},   {"vembrol-pc2", false}, {"", false},         {"128.0.0.1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Server_IsThisComputer(c.server, "VEMBROL-PC"), c.self) << c.server;
}

}  // namespace
