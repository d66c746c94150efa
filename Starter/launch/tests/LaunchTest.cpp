// The Start Station key, and starts of programs stored with blanks in their paths.
#include "StarterShell.h"

#include "WideText.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// The stand-in copied to path; each start appends "start|exe|cwd|command line" to standin.log beside it.
struct Planted {
    std::string path, log;
    explicit Planted(const std::string& p) : path(p), log(p.substr(0, p.find_last_of('\\') + 1) + "standin.log") {
        wintest::Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
        CopyFileW(Wide_FromText(VEMBROL_STANDIN_EXE).c_str(), Wide_FromText(path).c_str(), FALSE);
        DeleteFileW(Wide_FromText(log).c_str());
    }
    ~Planted() {
        // A stand-in that has just logged may still hold its file for a moment.
        wintest::Eventually([&] { return DeleteFileW(Wide_FromText(path).c_str()) || !wintest::File_Exists(path); });
        DeleteFileW(Wide_FromText(log).c_str());
    }
    // The logged command lines, waiting up to waitMs for the first one.
    std::vector<std::string> Starts(int waitMs = 10000) const {
        std::vector<std::string> lines;
        wintest::Eventually([&] {
            lines.clear();
            std::istringstream in(wintest::File_Read(log));
            for (std::string l; std::getline(in, l);)
                if (l.rfind("start|", 0) == 0) lines.push_back(l.substr(l.find('|', l.find('|', 6) + 1) + 1));
            for (auto& l : lines) l.erase(l.find_last_not_of('\r') + 1);
            return !lines.empty();
        }, waitMs);
        return lines;
    }
};

struct Station {
    wintest::ScratchKey scratch{"StartStation"};
    std::string key = scratch.Path() + "\\KtStartStation\\";
    StartStationConfig config;
    Station() { StartStation_Init(config, 0x80000002u, scratch.Path()); }
    std::string Read(const std::string& name) const {
        std::string data;
        wintest::Registry_ReadRaw(HKEY_LOCAL_MACHINE, key, name, nullptr, &data);
        return data.substr(0, data.find('\0'));
    }
    void Set(int n, std::int16_t type, const std::string& name) {
        config.StartStationEntries[n - 1].FileType = type;
        config.StartStationEntries[n - 1].ApplicationName = name;
    }
};

TEST(StartStationStore, SaveKeepsSixValuesOfFiveSlotsAndTheBrowserDropsTheRestAndNormalisesNumbers) {
    Station station;
    const std::uint32_t one = 1;
    wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, station.key, "file type1", REG_DWORD,
                               std::string(reinterpret_cast<const char*>(&one), 4));
    const std::pair<const char*, const char*> stored[] = {
        {"browse application", "C:\\Tools\\browse.exe"}, {"application name1", "C:\\Tools\\Player.exe"},
        {"icon index1", "7,5"}, {"file type2", "02"}, {"file type3", "1.6"}, {"icon index3", "-99999"},
        {"icon file4", "  blanks kept  "}, {"file type6", "1"}, {"stray", "x"}};
    for (auto [name, text] : stored)
        wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, station.key, name, REG_SZ, std::string(text) + '\0');
    StartStation_Load(station.config);
    EXPECT_TRUE(StartStation_Save(station.config));
    auto names = wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, station.key);
    std::vector<std::string> expected = {"browse application"};
    for (int n = 1; n <= 5; ++n)
        for (const char* v : {"file type", "file type description", "application command", "application name",
                              "icon file", "icon index"})
            expected.push_back(v + std::to_string(n));
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    const std::pair<const char*, const char*> written[] = {
        {"browse application", "C:\\Tools\\browse.exe"}, {"file type1", "1"}, {"icon index1", "7"},
        {"application name1", "C:\\Tools\\Player.exe"}, {"file type2", "2"},
        {"file type3", "2"}, {"icon index3", "-32767"}, {"icon file4", "  blanks kept  "}, {"file type5", "0"}};
    for (auto [name, text] : written) EXPECT_EQ(station.Read(name), text) << name;
}

// Vembrol, Start Station applications and browse applications in folders with blanks.
TEST(ProgramStarts, PathsWithBlanksAreStartedAsTheyAreAndAProgramPlantedAtAShorterPrefixNeverRuns) {
    wintest::ScratchDir dir("planted");
    wintest::Directory_Create(dir.Path() + "My Music");
    // No program here is a Vembrol.exe, so that each stand-in ends at once instead of opening a window.
    Planted vembrol(dir.Path() + "Target Test\\Tool.exe"), tool(dir.Path() + "Station Apps\\tool.exe");
    Planted browser(dir.Path() + "Browse Apps\\browse.exe");
    Planted plantedVembrol(dir.Path() + "Target.exe"), plantedTool(dir.Path() + "Station.exe");
    Planted plantedBrowser(dir.Path() + "Browse.exe");
    Station station;
    station.config.BrowseApplication = browser.path;
    station.Set(1, StartStationType_Application, tool.path);
    station.Set(2, StartStationType_Folder, dir.Path() + "My Music\\");
    TargetProgram_LaunchMode(vembrol.path, " /FastSort");
    StartStation_Launch(station.config, 1);
    StartStation_Launch(station.config, 2);
    // One start runs one program: once each has logged, no plant can have run in its place.
    EXPECT_EQ(vembrol.Starts(), std::vector<std::string>{vembrol.path + " /FastSort"});
    EXPECT_EQ(tool.Starts(), std::vector<std::string>{tool.path});
    EXPECT_EQ(browser.Starts(), std::vector<std::string>{browser.path + " " + dir.Path() + "My Music\\"});
    for (const Planted* plant : {&plantedVembrol, &plantedTool, &plantedBrowser})
        EXPECT_TRUE(plant->Starts(0).empty()) << plant->path;
    // The same command line without the program named runs the plant: the check above can fail.
    ASSERT_TRUE(Process_Start(vembrol.path + " /FastSort", ""));
    EXPECT_EQ(plantedVembrol.Starts().size(), 1u);
}

}  // namespace
