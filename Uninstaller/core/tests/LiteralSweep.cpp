#include "LiteralSweep.h"

#include "PathRules.h"
#include "RegistryRoots.h"

namespace {

std::string ParentOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

}  // namespace

void LiteralSweep_Complete(std::vector<ChainEntry>& list, std::size_t limit) {
    if (list.size() > limit) list.resize(limit);
    for (std::size_t a = 0; a < list.size(); ++a) {
        const ChainEntry e = list[a];
        const std::string parent = ParentOf(e.Path.substr(0, e.Path.size() - 1));
        bool hasAncestor = false, parentListed = false;
        for (const auto& b : list) {
            if (b.Root != e.Root || b.Path.size() >= e.Path.size() || e.Path.compare(0, b.Path.size(), b.Path) != 0) continue;
            hasAncestor = true;
            parentListed = parentListed || b.Path == parent;
        }
        if (!hasAncestor || parentListed) continue;
        if (list.size() >= limit) return;
        list.push_back({e.Root, parent});
        a = static_cast<std::size_t>(-1);  // begin the sweep again from the first entry
    }
}

std::vector<ChainEntry> LiteralSweep_DirectoryPlan(const std::vector<FileRecord>& files) {
    std::vector<ChainEntry> list;
    for (const auto& f : files)
        if (f.Keep == 0 && !ParentOf(Path_Canonical(f.FilePath)).empty()) list.push_back({0, ParentOf(Path_Canonical(f.FilePath))});
    LiteralSweep_Complete(list);
    return list;
}

std::vector<ChainEntry> LiteralSweep_RegistryKeyPlan(const std::vector<RegKeyRecord>& keys) {
    std::vector<ChainEntry> list;
    for (const auto& k : keys) {
        const std::string path = k.KeyPath.empty() || k.KeyPath.back() != '\\' ? k.KeyPath + '\\' : k.KeyPath;
        if (path.find_first_not_of('\\') != std::string::npos && RegRoot_IsPredefined(static_cast<std::uint32_t>(k.RootKey)))
            list.push_back({k.RootKey, path});
    }
    LiteralSweep_Complete(list);
    return list;
}
