// The test installer; see TestInstaller.h.
#include "TestInstaller.h"

#include "InstallFileFormat.h"
#include "Rmod.h"
#include "WinTest.h"

#include <utility>

namespace lifecycle {
namespace {

constexpr std::int32_t kHKLM = static_cast<std::int32_t>(RegRoot_LocalMachine);
constexpr std::int32_t kHKCU = static_cast<std::int32_t>(RegRoot_CurrentUser);

std::string File_Install(const std::string& path, const std::string& text) {
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    wintest::Directory_Create(folder);
    wintest::File_Write(path, text);
    return wintest::File_Read(path) == text ? "" : "cannot write " + path;
}

std::string Program_Install(const std::string& source, const std::string& target) {
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
        return "cannot copy " + source + " to " + target + ", error " + std::to_string(GetLastError());
    return "";
}

// The product's other programs register the Start Station applications; the installer fills
// the first two slots, one application and one folder, each with all six values.
void StartStation_Fill() {
    const std::string key = kStartStationKey;
    const struct {
        const char* type;
        const char* description;
        std::string name;
    } slots[] = {
        {"1", "Tools", std::string(kNeighbourDir) + "tools.exe"},
        {"2", "Skins", std::string(kAppDir) + "Skins\\"},
    };
    Registry_SetValue(RegRoot_LocalMachine, key, "browse application", "explorer.exe", RegKind_String);
    int n = 0;
    for (const auto& slot : slots) {
        const std::string i = std::to_string(++n);
        Registry_SetValue(RegRoot_LocalMachine, key, "file type" + i, slot.type, RegKind_String);
        Registry_SetValue(RegRoot_LocalMachine, key, "file type description" + i, slot.description, RegKind_String);
        Registry_SetValue(RegRoot_LocalMachine, key, "application command" + i, "", RegKind_String);
        Registry_SetValue(RegRoot_LocalMachine, key, "application name" + i, slot.name, RegKind_String);
        Registry_SetValue(RegRoot_LocalMachine, key, "icon file" + i, "", RegKind_String);
        Registry_SetValue(RegRoot_LocalMachine, key, "icon index" + i, "0", RegKind_String);
    }
}

void FirmKeys_Fill() {
    Registry_SetValue(RegRoot_LocalMachine, kFirmProductKey, "Install Dir", kAppDir, RegKind_String);
    Registry_SetValue(RegRoot_LocalMachine, kFirmProductKey, "Version", "1.0", RegKind_String);
    Registry_SetValue(RegRoot_LocalMachine, kFirmDeepKey, "Left", "120", RegKind_String);
    Registry_SetValue(RegRoot_LocalMachine, kFirmDeepKey, "Maximized", 0, RegKind_Dword);
    Registry_SetValue(RegRoot_CurrentUser, kFirmProductKey, "Language", "English", RegKind_String);
    Registry_SetValue(RegRoot_CurrentUser, kFirmUserKey, "1", "C:\\Music\\first.mp3", RegKind_String);
}

FileRecord Listed(const std::string& relative, bool keep = false) {
    return {"", "%currentdir%\\" + relative, keep ? BooleanTrue : BooleanFalse};
}

}  // namespace

const std::vector<InstalledFile> kInstalledFiles = {
    {"Readme.txt", "Vembrol cleans up your mp3 collection.\r\n"},
    {"Skins\\Dark\\a.skin", "[Skin]\r\nName=Dark A\r\n"},
    {"Skins\\Dark\\b.skin", "[Skin]\r\nName=Dark B\r\n"},
    {"Skins\\Light\\c.skin", "[Skin]\r\nName=Light\r\n"},
    {"Data\\Library\\index.db", "INDEX 0001"},
};

const std::vector<std::string> kGroupShortcuts = {"Vembrol", "Uninstall Vembrol Lifecycle"};

EntrySet Installation_Listing() {
    EntrySet set;
    set.Info = {"%currentdir%", kAppName, "%currentdir%\\Vembrol.exe", kAppName};
    // Neither Uninstall.exe nor Uninstall.dat: the uninstaller cannot remove itself while it runs,
    // and the wipe of the application folder takes the data file.
    set.Files.push_back(Listed("Vembrol.exe"));
    set.Files.push_back(Listed("Vembrol Starter.exe"));
    for (const InstalledFile& f : kInstalledFiles) set.Files.push_back(Listed(f.path));
    set.Files.push_back(Listed(kKeptFile, true));
    // The ancestor before its descendants here, the deep key before its ancestor there: the
    // uninstaller orders them itself.
    set.RegKeys = {
        {kHKLM, kProductKey, "", ""},
        {kHKLM, kStartStationKey, "", ""},
        {kHKLM, kStartUpKey, "", ""},
        {kHKLM, kFirmDeepKey, "", ""},
        {kHKLM, kFirmProductKey, "", ""},
        {kHKCU, kFirmUserKey, "", ""},
        {kHKCU, kFirmProductKey, "", ""},
    };
    for (const std::string& name : kGroupShortcuts) set.Shortcuts.push_back({"%userfolder%", name, ""});
    return set;
}

std::string Product_Install(const Folders& folders, const InstallSources& sources) {
    if (folders.programs.empty() || folders.desktop.empty()) return "the shell names no Programs or desktop folder";
    const std::string app = kAppDir;
    wintest::Directory_Create(app);
    for (const auto& [source, name] : {std::pair{sources.starter, "Vembrol Starter.exe"},
                                       std::pair{sources.uninstaller, "Uninstall.exe"},
                                       std::pair{sources.standIn, "Vembrol.exe"}}) {
        std::string error = Program_Install(source, app + name);
        if (!error.empty()) return error;
    }
    for (const InstalledFile& f : kInstalledFiles) {
        std::string error = File_Install(app + f.path, f.text);
        if (!error.empty()) return error;
    }
    std::string error = File_Install(app + kKeptFile, kKeptText);
    if (!error.empty()) return error;

    FirmKeys_Fill();
    StartStation_Fill();

    // The shortcut files need not be valid links: the uninstaller only removes them by name.
    for (const std::string& name : kGroupShortcuts) {
        error = File_Install(folders.Group() + name + ".lnk", "shortcut to " + app + "Vembrol.exe");
        if (!error.empty()) return error;
    }
    error = File_Install(folders.DesktopShortcut(), "shortcut to " + app + "Vembrol.exe");
    if (!error.empty()) return error;

    std::string bytes;
    if (!InstallFile_ToBytes(Installation_Listing(), bytes)) return "the listing does not fit the data file";
    return File_Install(app + "Uninstall.dat", bytes);
}

}  // namespace lifecycle
