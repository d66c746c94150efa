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

constexpr const char* DesktopFolder = "..\\..\\Desktop";

bool IsListedForDeletion(const FileRecord& f) {
    return f.Keep == 0 && !f.FilePath.empty() && f.FilePath.back() != '\\';
}

// One listed file by its name (no pattern).
FileFate File_Remove(Disk& disk, RunInteraction& ui, const std::string& path, const KeptSet& kept, std::uint32_t& error) {
    const std::uint32_t attributes = disk.GetAttributes(path, error);
    if (attributes == FileAttribute::Missing) {
        if (!DiskError_IsNotThere(error)) return FileFate::Stayed;
        error = 0;
        return FileFate::NotThere;
    }
    error = 0;
    if (attributes & (FileAttribute::Directory | FileAttribute::Device)) return FileFate::NotThere;
    if (kept.Holds(disk, path)) return FileFate::Kept;
    // The installer listed it, whoever hid it since; read-only stays the user's question.
    const std::uint32_t hiding = attributes & (FileAttribute::Hidden | FileAttribute::System);
    if (hiding) disk.ClearAttributes(path, hiding);
    for (;;) {
        error = disk.RemoveFile(path);
        if (error == 0) return FileFate::Removed;
        std::uint32_t lookError = 0;
        if (disk.GetAttributes(path, lookError) == FileAttribute::Missing && DiskError_IsNotThere(lookError)) {
            error = 0;
            return FileFate::Removed;
        }
        if (!ui.RetryDeletion(Text_DeleteFailed(path))) return FileFate::Skipped;
    }
}

// One pattern record: its visible matches, less what is kept or held back.
FileFate Pattern_Remove(Disk& disk, RunInteraction& ui, const std::string& pattern, const KeptSet& kept,
                        const KeptSet* heldBack, bool* heldBackMatched, std::uint32_t& error) {
    // Collected before deleting: deleting while the search is open would let it skip or
    // repeat names.
    auto matches = [&] {
        std::vector<std::string> found = File_FindMatching(disk, pattern);
        const auto end = std::remove_if(found.begin(), found.end(), [&](const std::string& p) {
            if (kept.Holds(disk, p)) return true;
            if (!heldBack || !heldBack->Holds(disk, p)) return false;
            if (heldBackMatched) *heldBackMatched = true;
            return true;
        });
        found.erase(end, found.end());
        return found;
    };
    std::vector<std::string> found = matches();
    if (found.empty()) return FileFate::NotThere;
    for (;;) {
        for (const auto& file : found) {
            if (const std::uint32_t e = disk.RemoveFile(file)) error = e;
            else ui.PatternMatchRemoved(pattern, file);
        }
        // A pattern may match files that appeared meanwhile, so it is searched again.
        found = matches();
        if (found.empty()) {
            error = 0;
            return FileFate::Removed;
        }
        if (!ui.RetryDeletion(Text_DeleteFailed(pattern))) return FileFate::Skipped;
    }
}

// The visible files directly in folder, by long name.
std::vector<std::string> Folder_ListFiles(DiskFolder& folder) {
    std::vector<std::string> names;
    folder.List([&](const DiskEntry& e) {
        if (Attributes_IsVisibleFile(e.Attributes)) names.push_back(e.Name);
        return true;
    });
    return names;
}

// The wipe goes through folder only when the folder it holds is the one the guard accepted: a
// folder swapped for a link (or another folder) after it was opened, or before it was
// checked, fails one of the two comparisons.
bool Folder_WipeAllowed(Disk& disk, DiskFolder& folder, const std::string& dir, const BaseDirs& dirs) {
    const std::uint32_t attributes = folder.Attributes();
    if (attributes == FileAttribute::Missing || !(attributes & FileAttribute::Directory) ||
        Attributes_IsReparsePoint(attributes))
        return false;
    DiskIdentity checked, held;
    return Folder_MayBeWiped(disk, dir, dirs, &checked) && folder.Identify(held) && held == checked;
}

// Whether target lies in folder (or below it), by identity, so that a short name or another
// drive letter in either text changes nothing.
bool Path_LiesIn(Disk& disk, const std::string& target, const std::string& folder) {
    DiskIdentity wanted;
    if (!disk.Identify(folder, wanted)) return false;
    const std::string root = Path_GetRoot(target);
    std::string level = Path_GetParent(target);
    for (int depth = 0; level.size() > root.size() && depth < 4096; ++depth) {
        DiskIdentity id;
        if (disk.Identify(level, id) && id == wanted) return true;
        level = Path_GetParent(level.substr(0, level.size() - 1));
    }
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

bool Files_Remove(Disk& disk, RunInteraction& ui, const std::vector<FileRecord>& files, const KeptSet& kept,
                  const KeptSet* heldBack, bool* heldBackMatched) {
    bool allRemoved = true;
    for (const auto& f : files) {
        if (!IsListedForDeletion(f)) {
            ui.FileDone(f.FilePath, f.Keep != 0 ? FileFate::Kept : FileFate::NotThere, 0);
            continue;
        }
        std::uint32_t error = 0;
        const FileFate fate = Path_IsPattern(f.FilePath)
                                  ? Pattern_Remove(disk, ui, f.FilePath, kept, heldBack, heldBackMatched, error)
                                  : File_Remove(disk, ui, f.FilePath, kept, error);
        if (fate == FileFate::Skipped || fate == FileFate::Stayed) allRemoved = false;
        ui.FileDone(f.FilePath, fate, error);
    }
    return allRemoved;
}

HeldBackFile Directories_Remove(Disk& disk, const std::vector<FileRecord>& files, const InfoRecord& info,
                                const BaseDirs& dirs, const KeptSet& kept, const KeptSet& heldBack) {
    HeldBackFile heldBackFound;
    if (files.empty()) return heldBackFound;
    const std::string appDir = Path_GetParent(Path_Canonical(info.AppFile));
    // The plan keeps a folder once per listed file in it; a second look at a folder that went
    // (or stayed) changes nothing and costs the file system a search for a missing name.
    std::unordered_set<std::string> looked;
    for (const auto& entry : DirectoryPlan_Make(files)) {
        if (!looked.insert(entry).second) continue;
        const std::uint32_t attributes = disk.GetAttributes(entry);
        if (attributes == FileAttribute::Missing || !(attributes & FileAttribute::Directory)) continue;
        const std::string dir = Path_WithTrailingBackslash(entry);
        // A link is listed through, so that a link to a folder with files stays; it is never
        // wiped. Any other folder but the application's goes only when empty, which is what
        // removing it tests anyway: it needs no listing.
        if (Attributes_IsReparsePoint(attributes)) {
            if (Directory_ListFiles(disk, dir).empty()) disk.RemoveFolder(dir);
            continue;
        }
        if (appDir.empty() || !Path_Equal(dir, appDir)) {
            disk.RemoveFolder(dir);
            continue;
        }
        // The one deletion not named file by file in the data file: files only, and only in a
        // folder that is certainly not the system's or a whole drive, held open from the
        // listing to the last deletion. What the data file keeps stays, and what is held back
        // goes last, so that a run cut short can be repeated.
        std::unique_ptr<DiskFolder> folder = disk.OpenFolder(dir);
        const std::vector<std::string> listed = folder ? Folder_ListFiles(*folder) : Directory_ListFiles(disk, dir);
        if (!listed.empty() && folder && Folder_WipeAllowed(disk, *folder, dir, dirs)) {
            std::string heldBackName;
            for (const auto& name : listed) {
                if (kept.Holds(*folder, dir + name, name)) continue;
                if (heldBack.Holds(*folder, dir + name, name)) {
                    heldBackName = name;
                    continue;
                }
                folder->RemoveFile(name);
            }
            if (!heldBackName.empty() && !heldBackFound.Folder) heldBackFound = {std::move(folder), heldBackName};
        }
        // The listing from before the wipe decides: an application directory that held files
        // stays, even once emptied. One that held none goes, once no longer held open.
        if (listed.empty()) {
            folder.reset();
            disk.RemoveFolder(dir);
        }
    }
    return heldBackFound;
}

bool DesktopShortcut_LeadsIn(Disk& disk, RunPlatform& platform, RunInteraction& ui, const EntrySet& entries,
                             const BaseDirs& dirs) {
    const std::string shown = "Desktop shortcut " + entries.Info.AppName + ".lnk: ";
    std::string target;
    const std::uint32_t error = platform.ShortcutTarget(DesktopFolder, entries.Info.AppName, target);
    if (error == DiskError::FileNotFound) {
        ui.Note(shown + "not there", 0);
        return false;
    }
    if (error == DiskError::InvalidName) {
        ui.Note(shown + "skipped, as no shortcut on the desktop can have this name", 0);
        return false;
    }
    if (error) {
        ui.Note(shown + "stays, as it cannot be read", error);
        return false;
    }
    const std::string file = Path_Canonical(target);
    const std::string stays = shown + "stays, as it leads to '" + target + "', outside the installation";
    if (file.empty() || file.back() == '\\') {
        ui.Note(stays, 0);
        return false;
    }
    // Only a folder the wipe would accept counts as the installation's: an application file
    // at a drive's root must not claim every shortcut on the desktop.
    const std::string appDir = Path_GetParent(Path_Canonical(entries.Info.AppFile));
    if (!appDir.empty() && Folder_MayBeWiped(disk, appDir, dirs) && Path_LiesIn(disk, file, appDir)) return true;
    DiskIdentity targetId;
    const bool identified = disk.Identify(file, targetId);
    const std::u16string name = Path_FoldCase(Path_GetFileName(file));
    for (const auto& f : entries.Files) {
        if (!IsListedForDeletion(f) || Path_IsPattern(f.FilePath)) continue;
        if (Path_Equal(f.FilePath, file)) return true;
        DiskIdentity id;
        if (identified && Path_FoldCase(Path_GetFileName(f.FilePath)) == name && disk.Identify(f.FilePath, id) && id == targetId)
            return true;
    }
    ui.Note(stays, 0);
    return false;
}

void Shortcuts_Remove(Disk& disk, RunPlatform& platform, RunInteraction& ui,
                      const std::vector<ShortcutRecord>& shortcuts, const InfoRecord& info, bool desktop) {
    // Installers put the application's desktop shortcut two levels above the Programs folder.
    if (desktop) {
        const std::uint32_t result = platform.RemoveShortcut(DesktopFolder, info.AppName);
        const std::string shown = "Desktop shortcut " + info.AppName + ".lnk: ";
        ui.Note(result == 0 ? shown + "removed" : DiskError_IsNotThere(result) ? shown + "not there" : shown + "stayed",
                DiskError_IsNotThere(result) ? 0 : result);
    }
    for (const auto& s : shortcuts) ui.ShortcutDone(s.Folder, s.LinkName, platform.RemoveShortcut(s.Folder, s.LinkName));
    // Only a folder strictly below Programs: "...", blanks or a climb would name Programs itself
    // or a folder elsewhere, and an empty one of those would go.
    const std::string group = Path_StrictlyBelow(platform.ProgramsFolder(), info.GroupFolder);
    if (!group.empty() && Directory_IsPresent(disk, group)) disk.RemoveFolder(group);
}
