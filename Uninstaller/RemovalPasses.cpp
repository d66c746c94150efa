// The removal passes: each asks the core what to remove and in which order, and does only the
// platform's part here.
#include "RemovalPasses.h"

#include "AppDirWipe.h"
#include "FileSearch.h"
#include "KtShellRegistration.h"
#include "RemovalPlan.h"
#include "Rmod.h"
#include "UninstallBox.h"
#include "UninstallTexts.h"

namespace {

constexpr int kCsidlPrograms = 2;

bool IsListedForDeletion(const FileRecord& f) {
    return f.Keep == 0 && !f.FilePath.empty() && f.FilePath.back() != '\\';
}

// A program group is a folder below Programs; a GroupFolder that climbs out of it or names a
// drive would let the data file remove an empty folder anywhere.
bool IsBelowPrograms(const std::string& group) {
    if (group[0] == '\\' || group.find_first_of(":/") != std::string::npos) return false;
    std::string levels = "\\" + group + "\\";
    return levels.find("\\..\\") == std::string::npos && levels.find("\\.\\") == std::string::npos;
}

}  // namespace

void RegistryKeys_Remove(const std::vector<RegKeyRecord>& keys) {
    if (keys.empty()) return;
    for (const auto& k : RegistryKeyPlan_Make(keys))
        Registry_DeleteKey(static_cast<std::uint32_t>(k.RootKey), k.KeyPath);
}

bool Files_Remove(HWND owner, const std::vector<FileRecord>& files) {
    bool allRemoved = true;
    for (const auto& f : files) {
        if (!IsListedForDeletion(f)) continue;
        // A file that is not there counts as removed.
        while (File_ExistsBySearch(f.FilePath)) {
            File_DeleteMatching(f.FilePath);
            if (!File_ExistsBySearch(f.FilePath)) break;
            if (UninstallBox_Show(owner, Text_DeleteFailed(f.FilePath), MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
                allRemoved = false;
                break;
            }
        }
    }
    return allRemoved;
}

void Directories_Remove(const std::vector<FileRecord>& files, const InfoRecord& info, const BaseDirs& dirs) {
    if (files.empty()) return;
    const std::string windowsDir = Directory_GetFullPath(dirs.WindowsDir);
    const std::string systemDir = Directory_GetFullPath(dirs.SystemDir);
    for (const auto& entry : DirectoryPlan_Make(files)) {
        if (!Directory_IsPresent(entry)) continue;
        std::string dir = entry;
        if (dir.back() != '\\') dir += '\\';
        std::vector<std::string> listed = Directory_ListFiles(dir);
        // The one deletion not named file by file in the data file: files only, and only in a
        // folder that is certainly not the system's or a whole drive.
        if (!listed.empty() && Directory_IsAppDir(entry, info.AppFile) &&
            Directory_MayBeWiped(Directory_GetFullPath(dir), windowsDir, systemDir)) {
            for (const auto& name : listed) File_Delete(dir + name);
        }
        // The listing from before the wipe decides: an application directory that held files
        // stays, even once emptied.
        if (listed.empty()) Directory_Remove(dir);
    }
}

void Shortcuts_Remove(const std::vector<ShortcutRecord>& shortcuts, const InfoRecord& info) {
    // Installers put the application's desktop shortcut two levels above the Programs folder.
    ShellLink_Remove("..\\..\\Desktop", info.AppName);
    for (const auto& s : shortcuts) ShellLink_Remove(s.Folder, s.LinkName);
    if (info.GroupFolder.empty() || !IsBelowPrograms(info.GroupFolder)) return;
    std::string group = SpecialFolder_GetPath(kCsidlPrograms);
    if (group.empty()) return;
    if (group.back() != '\\') group += '\\';
    group += info.GroupFolder;
    if (Directory_IsPresent(group)) Directory_Remove(group);
}
