// The existence tests and listings of the removal passes, on any Disk.
#include "DiskSearch.h"

#include "NamePattern.h"
#include "PathRules.h"
#include "Text.h"

bool Attributes_IsVisibleFile(std::uint32_t attributes) {
    return attributes != FileAttribute::Missing &&
           !(attributes & (FileAttribute::Directory | FileAttribute::Hidden | FileAttribute::System | FileAttribute::Device));
}

bool Path_IsPattern(const std::string& path) { return path.find_first_of("*?<>\"") != std::string::npos; }

void Entries_Find(Disk& disk, const std::string& path, const std::function<bool(const DiskEntry&)>& visit) {
    if (!Path_IsPattern(path)) {
        disk.Find(path, visit);
        return;
    }
    const std::string dir = Path_GetParent(path), pattern = path.substr(dir.size());
    if (dir.empty() || pattern.empty()) return;
    disk.Find(dir + "*", [&](const DiskEntry& e) { return !NamePattern_Matches(pattern, e.Name) || visit(e); });
}

bool File_ExistsBySearch(Disk& disk, const std::string& path) {
    bool found = false;
    Entries_Find(disk, path, [&](const DiskEntry& e) {
        found = Attributes_IsVisibleFile(e.Attributes);
        return !found;
    });
    return found;
}

bool File_IsThere(Disk& disk, const std::string& path) {
    if (path.empty() || path.back() == '\\' || Path_IsPattern(path)) return File_ExistsBySearch(disk, path);
    return Attributes_IsVisibleFile(disk.GetAttributes(path));
}

std::vector<std::string> File_FindMatching(Disk& disk, const std::string& path) {
    std::vector<std::string> found;
    const std::string dir = Path_GetParent(path);
    Entries_Find(disk, path, [&](const DiskEntry& e) {
        if (Attributes_IsVisibleFile(e.Attributes)) found.push_back(dir + e.Name);
        return true;
    });
    return found;
}

std::uint32_t Files_Delete(Disk& disk, const std::vector<std::string>& paths) {
    std::uint32_t error = 0;
    for (const auto& file : paths)
        if (const std::uint32_t e = disk.RemoveFile(file)) error = e;
    return error;
}

bool Directory_IsPresent(Disk& disk, const std::string& path) {
    if (path.empty()) return false;
    const std::uint32_t attributes = disk.GetAttributes(path);
    return attributes != FileAttribute::Missing && (attributes & FileAttribute::Directory);
}

std::vector<std::string> Directory_ListFiles(Disk& disk, const std::string& dir) {
    std::vector<std::string> names;
    disk.Find(Path_WithTrailingBackslash(dir) + "*", [&](const DiskEntry& e) {
        if (Attributes_IsVisibleFile(e.Attributes)) names.push_back(e.Name);
        return true;
    });
    return names;
}
