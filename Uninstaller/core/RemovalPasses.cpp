// The removal passes: the plans say what to remove and in which order; the disk, the platform
// and the interaction carry it out.
#include "RemovalPasses.h"

#include "DiskSearch.h"
#include "PathRules.h"
#include "RemovalPlan.h"
#include "UninstallTexts.h"
#include "WipeGuard.h"

#include <algorithm>
#include <unordered_set>

namespace {

bool IsListedForDeletion(const FileRecord& f) {
    return f.Keep == 0 && !f.FilePath.empty() && f.FilePath.back() != '\\';
}

// The files the data file keeps, as they are on disk now (a kept path may be a pattern).
std::vector<std::string> KeptFiles_Find(Disk& disk, const std::vector<FileRecord>& files) {
    std::vector<std::string> kept;
    for (const auto& f : files) {
        if (f.Keep == 0) continue;
        const std::string path = Path_Canonical(f.FilePath);
        if (path.empty() || path.back() == '\\') continue;
        for (auto& found : File_FindMatching(disk, path)) kept.push_back(std::move(found));
    }
    return kept;
}

bool IsAmong(const std::string& path, const std::vector<std::string>& paths) {
    for (const auto& p : paths)
        if (Path_Equal(path, p)) return true;
    return false;
}

}  // namespace

void RegistryKeys_Remove(RunPlatform& platform, RunInteraction& ui, const std::vector<RegKeyRecord>& keys) {
    if (keys.empty()) return;
    for (const auto& k : RegistryKeyPlan_Make(keys)) {
        const auto root = static_cast<std::uint32_t>(k.RootKey);
        ui.KeyDone(root, k.KeyPath, platform.DeleteKey(root, k.KeyPath));
    }
}

bool Files_Remove(Disk& disk, RunInteraction& ui, const std::vector<FileRecord>& files, const std::string& spared,
                  bool* sparedMatched) {
    bool allRemoved = true;
    for (const auto& f : files) {
        if (!IsListedForDeletion(f)) {
            ui.FileDone(f.FilePath, f.Keep != 0 ? FileFate::Kept : FileFate::NotThere, 0);
            continue;
        }
        // A file that is not there counts as removed.
        FileFate fate = FileFate::NotThere;
        std::uint32_t error = 0;
        const bool pattern = Path_IsPattern(f.FilePath);
        // Collected before deleting: deleting while the search is open would let it skip or
        // repeat names.
        auto matches = [&] {
            std::vector<std::string> found = File_FindMatching(disk, f.FilePath);
            const auto end = std::remove_if(found.begin(), found.end(),
                                            [&](const std::string& p) { return Path_Equal(p, spared); });
            if (end != found.end() && sparedMatched) *sparedMatched = true;
            found.erase(end, found.end());
            return found;
        };
        auto isThere = [&] { return pattern ? !matches().empty() : File_IsThere(disk, f.FilePath); };
        while (isThere()) {
            fate = FileFate::Removed;
            // A plain name that the system deleted is gone: no second look. A pattern may match
            // files that appeared meanwhile, so it is searched again.
            if (!pattern && (error = disk.RemoveFile(f.FilePath)) == 0) break;
            if (pattern) error = Files_Delete(disk, matches());
            if (!isThere()) break;
            if (!ui.RetryDeletion(Text_DeleteFailed(f.FilePath))) {
                allRemoved = false;
                fate = FileFate::Skipped;
                break;
            }
        }
        ui.FileDone(f.FilePath, fate, error);
    }
    return allRemoved;
}

bool Directories_Remove(Disk& disk, const std::vector<FileRecord>& files, const InfoRecord& info, const BaseDirs& dirs) {
    bool dataFileSpared = false;
    if (files.empty()) return dataFileSpared;
    const std::string appDir = Path_GetParent(Path_Canonical(info.AppFile));
    const std::string dataFile = Path_Canonical(dirs.DataFilePath);
    std::vector<std::string> kept;
    bool keptFound = false;
    // The plan keeps a folder once per listed file in it; a second look at a folder that went
    // (or stayed) changes nothing and costs the file system a search for a missing name.
    std::unordered_set<std::string> looked;
    for (const auto& entry : DirectoryPlan_Make(files)) {
        if (!looked.insert(entry).second) continue;
        const std::uint32_t attributes = disk.GetAttributes(entry);
        if (attributes == FileAttribute::Missing || !(attributes & FileAttribute::Directory)) continue;
        const std::string dir = Path_WithTrailingBackslash(entry);
        // Any other folder goes only when empty, which is what removing it tests anyway: it
        // needs no listing. A link is listed, so that a link to a folder with files stays.
        const bool isAppDir = !appDir.empty() && Path_Equal(dir, appDir);
        if (!isAppDir && !Attributes_IsReparsePoint(attributes)) {
            disk.RemoveFolder(dir);
            continue;
        }
        std::vector<std::string> listed = Directory_ListFiles(disk, dir);
        // The one deletion not named file by file in the data file: files only, and only in a
        // folder that is certainly not the system's or a whole drive. What the data file keeps
        // stays, and the data file itself goes last, so that a run cut short can be repeated.
        if (!listed.empty() && isAppDir && Folder_MayBeWiped(disk, dir, dirs)) {
            if (!keptFound) kept = KeptFiles_Find(disk, files);
            keptFound = true;
            for (const auto& name : listed) {
                const std::string file = dir + name;
                if (IsAmong(file, kept)) continue;
                if (Path_Equal(file, dataFile)) {
                    dataFileSpared = true;
                    continue;
                }
                disk.RemoveFile(file);
            }
        }
        // The listing from before the wipe decides: an application directory that held files
        // stays, even once emptied.
        if (listed.empty()) disk.RemoveFolder(dir);
    }
    return dataFileSpared;
}

void Shortcuts_Remove(Disk& disk, RunPlatform& platform, RunInteraction& ui,
                      const std::vector<ShortcutRecord>& shortcuts, const InfoRecord& info) {
    // Installers put the application's desktop shortcut two levels above the Programs folder.
    platform.RemoveShortcut("..\\..\\Desktop", info.AppName);
    for (const auto& s : shortcuts) ui.ShortcutDone(s.Folder, s.LinkName, platform.RemoveShortcut(s.Folder, s.LinkName));
    // Only a folder strictly below Programs: "...", blanks or a climb would name Programs itself
    // or a folder elsewhere, and an empty one of those would go.
    const std::string group = Path_StrictlyBelow(platform.ProgramsFolder(), info.GroupFolder);
    if (!group.empty() && Directory_IsPresent(disk, group)) disk.RemoveFolder(group);
}
