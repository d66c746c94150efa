// Names narrow down, identities decide: asking the disk for every deleted file's identity
// would double the cost of a large run, and a file's directory entry is only reached through
// its folder and its long or short name.
#include "KeptSet.h"

#include "DiskSearch.h"
#include "PathRules.h"
#include "Text.h"

#include <algorithm>

void KeptSet::Add(Disk& disk, const std::string& path) {
    if (path.empty() || path.back() == '\\') return;
    const std::string dir = Path_GetParent(path);
    Entries_Find(disk, path, [&](const DiskEntry& e) {
        if (e.IsFolder()) return true;
        paths_.push_back(dir + e.Name);
        names_.insert(Path_FoldCase(e.Name));
        if (!e.ShortName.empty()) names_.insert(Path_FoldCase(e.ShortName));
        DiskIdentity id;
        if (disk.Identify(dir + e.Name, id)) ids_.push_back(id);
        else someUnknown_ = true;
        return true;
    });
}

bool KeptSet::MayBe(const std::string& path, const std::string& name, bool& byText) const {
    byText = false;
    if (paths_.empty() || !names_.count(Path_FoldCase(name))) return false;
    byText = std::any_of(paths_.begin(), paths_.end(), [&](const std::string& p) { return Path_Equal(p, path); });
    return true;
}

bool KeptSet::Holds(Disk& disk, const std::string& path) const {
    bool byText = false;
    if (!MayBe(path, Path_GetFileName(path), byText)) return false;
    if (byText || someUnknown_) return true;
    DiskIdentity id;
    return !disk.Identify(path, id) || std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

bool KeptSet::Holds(DiskFolder& folder, const std::string& path, const std::string& name) const {
    bool byText = false;
    if (!MayBe(path, name, byText)) return false;
    if (byText || someUnknown_) return true;
    DiskIdentity id;
    return !folder.IdentifyEntry(name, id) || std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}
