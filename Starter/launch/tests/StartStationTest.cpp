// The Start Station configuration in the registry, and starting its applications and folders.
#include "StarterShell.h"

#include "KtShellRegistration.h"
#include "LaunchTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

struct Value {
    std::string name;
    DWORD type;
    std::string data;  // REG_SZ data is written with its terminating NUL, as other programs do
};

std::string Dword(std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string Sz(const std::string& text) { return text + '\0'; }

// A Start Station key below a scratch key, with the values given.
struct StationKey {
    wintest::ScratchKey scratch{"StartStation"};
    std::string key = scratch.Path() + "\\KtStartStation\\";
    StartStationConfig config;
    explicit StationKey(const std::vector<Value>& values) {
        for (const auto& v : values) wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, key, v.name, v.type, v.data);
        StartStation_Init(config, 0x80000002u, scratch.Path());
    }
    std::string Read(const std::string& name) const {
        DWORD type = 0;
        std::string data;
        if (!wintest::Registry_ReadRaw(HKEY_LOCAL_MACHINE, key, name, &type, &data)) return "<missing>";
        while (!data.empty() && data.back() == '\0') data.pop_back();
        return type == REG_SZ ? data : "<type " + std::to_string(type) + ">";
    }
};

TEST(StartStationStore, InitAndLoadOfAMissingKeyGiveFiveEmptySlotsAndExplorer) {
    StartStationConfig config;
    config.BrowseApplication = "kept.exe";
    StartStation_Init(config, 0x80000002u, "Software\\Vembrol");
    EXPECT_EQ(config.StartStationBaseKey, "Software\\Vembrol\\");
    EXPECT_EQ(config.StartStationCount, 5);
    EXPECT_EQ(config.StartStationEntries.size(), 5u);
    EXPECT_EQ(config.BrowseApplication, "kept.exe");

    StationKey station({});
    station.config.StartStationEntries[0].FileType = 1;
    StartStation_Load(station.config);
    EXPECT_EQ(station.config.BrowseApplication, "explorer.exe");
    ASSERT_EQ(station.config.StartStationEntries.size(), 5u);
    for (const auto& e : station.config.StartStationEntries) EXPECT_EQ(e.FileType, 0);
}

TEST(StartStationStore, LoadReadsEveryValueAndSurvivesOutOfRangeNumbers) {
    StationKey station({
        {"browse application", REG_SZ, Sz("C:\\Tools\\browse.exe")},
        {"file type1", REG_DWORD, Dword(1)},
        {"file type description1", REG_SZ, Sz(" Player ")},
        {"application command1", REG_SZ, Sz("play")},
        {"application name1", REG_SZ, Sz("C:\\Tools\\Player.exe")},
        {"icon file1", REG_SZ, Sz("C:\\Tools\\Player.ico")},
        {"icon index1", REG_SZ, Sz("7,5")},
        {"file type2", REG_SZ, Sz("2abc")},
        {"icon index2", REG_SZ, Sz("-99999")},
        {"file type3", REG_SZ, Sz("12345")},
        {"icon index3", REG_SZ, Sz("9E999999")},
        {"file type4", REG_SZ, Sz("9E99")},
        {"icon index4", REG_DWORD, Dword(0xFFFFFFFFu)},
        {"file type5", REG_SZ, Sz("-9E99")},
        {"icon index5", REG_SZ, Sz("2147483648")},
    });
    StartStation_Load(station.config);
    const auto& e = station.config.StartStationEntries;
    EXPECT_EQ(station.config.BrowseApplication, "C:\\Tools\\browse.exe");
    EXPECT_EQ(e[0].FileType, 1);
    EXPECT_EQ(e[0].FileTypeDescription, " Player ");
    EXPECT_EQ(e[0].ApplicationCommand, "play");
    EXPECT_EQ(e[0].ApplicationName, "C:\\Tools\\Player.exe");
    EXPECT_EQ(e[0].IconFile, "C:\\Tools\\Player.ico");
    const std::int16_t types[] = {1, 2, 1234, 32767, -32768};
    const std::int16_t icons[] = {7, -32767, 32767, -1, 32767};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(e[i].FileType, types[i]) << "slot " << i + 1;
        EXPECT_EQ(e[i].IconIndex, icons[i]) << "slot " << i + 1;
    }
}

TEST(StartStationStore, SaveRewritesTheKeyWithTheSlotValuesOnlyAndNormalisedNumbers) {
    StationKey station({
        {"browse application", REG_SZ, Sz("C:\\Tools\\browse.exe")},
        {"file type1", REG_DWORD, Dword(1)},
        {"application name1", REG_SZ, Sz("C:\\Tools\\Player.exe")},
        {"file type2", REG_SZ, Sz("02")},
        {"file type3", REG_SZ, Sz("1.6")},
        {"icon index3", REG_SZ, Sz("-5")},
        {"icon file4", REG_SZ, Sz("  blanks kept  ")},
        {"file type6", REG_SZ, Sz("1")},
        {"stray", REG_SZ, Sz("x")},
    });
    StartStation_Load(station.config);
    StartStation_Save(station.config);

    auto names = wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, station.key);
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {"browse application"};
    for (int n = 1; n <= 5; ++n)
        for (const char* v : {"file type", "file type description", "application command", "application name",
                              "icon file", "icon index"})
            expected.push_back(v + std::to_string(n));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    EXPECT_EQ(station.Read("browse application"), "C:\\Tools\\browse.exe");
    EXPECT_EQ(station.Read("file type1"), "1");
    EXPECT_EQ(station.Read("application name1"), "C:\\Tools\\Player.exe");
    EXPECT_EQ(station.Read("file type2"), "2");
    EXPECT_EQ(station.Read("file type3"), "2");
    EXPECT_EQ(station.Read("icon index3"), "-5");
    EXPECT_EQ(station.Read("icon file4"), "  blanks kept  ");
    EXPECT_EQ(station.Read("file type5"), "0");
    EXPECT_EQ(station.Read("application command5"), "");
}

// ---- launch ------------------------------------------------------------------------------------

std::string WithoutTrailingBackslash(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void Slot_Set(StartStationConfig& config, int n, std::int16_t type, const std::string& name) {
    config.StartStationEntries[static_cast<std::size_t>(n - 1)].FileType = type;
    config.StartStationEntries[static_cast<std::size_t>(n - 1)].ApplicationName = name;
}

TEST(StartStationLaunch, ApplicationStartsInItsOwnDirectoryAndTheStarterDirectoryComesBack) {
    wintest::ScratchDir dir("station-app");
    PlantedProgram player(dir.Path() + "Tools\\Player.exe");
    PlantedProgram inWindows(WindowsDir_Get() + "vembrol-station-test\\Tool.exe");
    CurrentDirectoryGuard cwd("C:\\");
    StationKey station({});

    Slot_Set(station.config, 1, StartStationType_Application, player.Path() + " /x");
    StartStation_Launch(station.config, 1);
    auto started = StartLog_WaitFor(player.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(_stricmp(started[0].directory.c_str(), (dir.Path() + "Tools").c_str()), 0) << started[0].directory;
    EXPECT_TRUE(TextContains(started[0].commandLine, "Player.exe /x")) << started[0].commandLine;
    EXPECT_EQ(CurrentDirectory_Get(), WithoutTrailingBackslash(Starter_Directory()));

    // The placeholder in any letter case; the doubled backslash it leaves still names the folder.
    SetCurrentDirectoryA("C:\\");
    Slot_Set(station.config, 5, StartStationType_Application, "%SyStEmRoOt%\\vembrol-station-test\\Tool.exe");
    StartStation_Launch(station.config, 5);
    started = StartLog_WaitFor(inWindows.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(_stricmp(started[0].directory.c_str(), (WindowsDir_Get() + "vembrol-station-test").c_str()), 0)
        << started[0].directory;
    EXPECT_EQ(CurrentDirectory_Get(), WithoutTrailingBackslash(Starter_Directory()));
    wintest::Directory_DeleteTree(WindowsDir_Get() + "vembrol-station-test");
}

TEST(StartStationLaunch, ApplicationThatCannotStartIsReportedOnceWithItsExpandedCommand) {
    StationKey station({});
    Slot_Set(station.config, 2, StartStationType_Application, "%systemroot%\\vembrol-missing.exe -x");
    wintest::BoxAnswerer answerer({"OK", "OK"}, 2000);
    StartStation_Launch(station.config, 2);
    const auto& boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vembrol Starter");
    EXPECT_EQ(boxes[0].text, "Error starting application '" + WindowsDir_Get() + "\\vembrol-missing.exe -x' !");
    EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes[0].icon, wintest::BoxIcon::Exclamation);
    EXPECT_EQ(CurrentDirectory_Get(), WithoutTrailingBackslash(Starter_Directory()));
}

TEST(StartStationLaunch, UndefinedSlotsUnknownTypesAndMissingFoldersStartNothing) {
    wintest::ScratchDir dir("station-none");
    PlantedProgram player(dir.Path() + "Player.exe");
    StationKey station({});
    station.config.BrowseApplication = player.Path();
    Slot_Set(station.config, 1, StartStationType_None, player.Path());
    Slot_Set(station.config, 2, 7, player.Path());
    Slot_Set(station.config, 3, StartStationType_Folder, dir.Path() + "no such folder\\");
    Slot_Set(station.config, 4, StartStationType_Application, "");
    wintest::BoxAnswerer answerer({"OK"}, 1000);
    for (std::int16_t index : std::vector<std::int16_t>{0, 1, 2, 3, 4, 6, -1}) StartStation_Launch(station.config, index);
    EXPECT_TRUE(answerer.Boxes().empty());
    Sleep(300);
    EXPECT_TRUE(StartLog_Read(player.LogPath()).empty());
}

TEST(StartStationLaunch, FolderOpensWithExplorerAndItsUnquotedPath) {
    wintest::ScratchDir dir("station-folder");
    wintest::Directory_Create(dir.Path() + "My Music");
    // Found before the system's own explorer.exe: the application directory is searched first.
    PlantedProgram explorer(wintest::ThisExe_Directory() + "explorer.exe");
    CurrentDirectoryGuard cwd("C:\\");
    StationKey station({});
    StartStation_Load(station.config);
    Slot_Set(station.config, 3, StartStationType_Folder, dir.Path() + "My Music\\");

    StartStation_Launch(station.config, 3);
    const auto started = StartLog_WaitFor(explorer.LogPath());
    ASSERT_EQ(started.size(), 1u);
    const std::string tail = " " + dir.Path() + "My Music\\";
    EXPECT_EQ(started[0].commandLine.substr(started[0].commandLine.size() - tail.size()), tail);
    EXPECT_TRUE(TextContains(started[0].commandLine, "explorer.exe")) << started[0].commandLine;
    EXPECT_EQ(started[0].directory, "C:\\");  // a browse application without directory changes none
}

TEST(StartStationLaunch, StoredPathsWithBlanksNeverStartAProgramPlantedAtAShorterPrefix) {
    wintest::ScratchDir dir("station-planted");
    wintest::Directory_Create(dir.Path() + "My Music");
    PlantedProgram tool(dir.Path() + "Station Apps\\tool.exe");
    PlantedProgram browser(dir.Path() + "Browse Apps\\browse.exe");
    PlantedProgram plantedTool(dir.Path() + "Station.exe");
    PlantedProgram plantedBrowser(dir.Path() + "Browse.exe");
    StationKey station({});
    station.config.BrowseApplication = browser.Path();
    Slot_Set(station.config, 1, StartStationType_Application, tool.Path());
    Slot_Set(station.config, 2, StartStationType_Folder, dir.Path() + "My Music\\");

    StartStation_Launch(station.config, 1);
    StartStation_Launch(station.config, 2);
    const auto toolStarts = StartLog_WaitFor(tool.LogPath());
    const auto browserStarts = StartLog_WaitFor(browser.LogPath());
    ASSERT_EQ(toolStarts.size(), 1u);
    ASSERT_EQ(browserStarts.size(), 1u);
    // The programs still read the command lines exactly as stored.
    EXPECT_EQ(toolStarts[0].commandLine, tool.Path());
    EXPECT_EQ(browserStarts[0].commandLine, browser.Path() + " " + dir.Path() + "My Music\\");
    Sleep(300);
    EXPECT_TRUE(StartLog_Read(plantedTool.LogPath()).empty());
    EXPECT_TRUE(StartLog_Read(plantedBrowser.LogPath()).empty());
}

// Answers the browse input boxes with the given texts ("" = Cancel) from a helper thread.
struct BrowseAnswers {
    std::vector<wintest::InputBoxInfo> seen;
    std::thread user;
    explicit BrowseAnswers(std::vector<std::string> answers) {
        user = std::thread([this, answers] {
            for (const auto& a : answers)
                seen.push_back(wintest::InputBox_Answer(GetCurrentProcessId(), "Error during browsing", a,
                                                        a.empty() ? "Cancel" : "OK"));
        });
    }
    ~BrowseAnswers() {
        if (user.joinable()) user.join();
    }
};

std::string BrowsePrompt(const std::string& browse) {
    return "Please enter path to browse application (" + browse + " not found):";
}

TEST(StartStationLaunch, MissingBrowseApplicationAskedForAndCancelSavesNothing) {
    wintest::ScratchDir dir("station-browse");
    const std::string gone = dir.Path() + "gone\\browser.exe";
    StationKey station({{"browse application", REG_SZ, Sz(gone)}, {"stray", REG_SZ, Sz("kept")}});
    StartStation_Load(station.config);
    Slot_Set(station.config, 1, StartStationType_Folder, dir.Path());

    BrowseAnswers answers({""});
    StartStation_Launch(station.config, 1);
    answers.user.join();
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].prompt, BrowsePrompt(gone));
    EXPECT_EQ(answers.seen[0].editText, "");
    EXPECT_EQ(station.config.BrowseApplication, "");
    EXPECT_EQ(station.Read("browse application"), gone);
    EXPECT_EQ(station.Read("stray"), "kept");
}

TEST(StartStationLaunch, EachAnsweredBrowseApplicationIsSavedAndTriedUntilOneStarts) {
    wintest::ScratchDir dir("station-browse");
    PlantedProgram browser(dir.Path() + "Browser\\browse.exe");
    const std::string gone = dir.Path() + "gone.exe", stillGone = dir.Path() + "still gone.exe";
    StationKey station({{"browse application", REG_SZ, Sz(gone)}, {"stray", REG_SZ, Sz("dropped")}});
    StartStation_Load(station.config);
    Slot_Set(station.config, 2, StartStationType_Folder, dir.Path());

    BrowseAnswers answers({stillGone, browser.Path()});
    StartStation_Launch(station.config, 2);
    answers.user.join();
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(answers.seen[0].prompt, BrowsePrompt(gone));
    EXPECT_EQ(answers.seen[1].prompt, BrowsePrompt(stillGone));
    const auto started = StartLog_WaitFor(browser.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_TRUE(TextContains(started[0].commandLine, "browse.exe " + dir.Path())) << started[0].commandLine;
    EXPECT_EQ(_stricmp(started[0].directory.c_str(), (dir.Path() + "Browser").c_str()), 0) << started[0].directory;
    EXPECT_EQ(station.Read("browse application"), browser.Path());
    EXPECT_EQ(station.Read("stray"), "<missing>");
    EXPECT_EQ(station.Read("file type2"), "2");  // the whole in-memory copy is written
    EXPECT_EQ(station.Read("application name2"), dir.Path());
    EXPECT_EQ(CurrentDirectory_Get(), WithoutTrailingBackslash(Starter_Directory()));
}

}  // namespace
