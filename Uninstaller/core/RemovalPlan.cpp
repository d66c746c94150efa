// Chain completion in one pass over the growing list. Appending the parent of an entry can
// neither unsettle an entry already passed nor give an ancestor to one that had none, so the
// restart-from-the-top sweep that installers' uninstallers used to run appends exactly the
// same entries in exactly the same order as this single pass; the prefix lookups go through a
// hash table of the listed paths, keeping the whole step linear in the total path length.
#include "RemovalPlan.h"

#include "PathRules.h"
#include "Placeholders.h"
#include "RegistryRoots.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace {

std::uint64_t HashStep(std::uint64_t h, unsigned char c) { return (h ^ c) * 0x100000001B3ull; }

std::uint64_t HashStart(std::int32_t root) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    auto u = static_cast<std::uint32_t>(root);
    for (int i = 0; i < 4; ++i) h = HashStep(h, static_cast<unsigned char>(u >> (8 * i)));
    return h;
}

// Open addressing over indexes into the list; sized once for the largest list there can be.
class PathTable {
public:
    // At most a quarter full, so probe runs stay short.
    PathTable(const std::vector<ChainEntry>& list, std::size_t capacity)
        : list_(list), mask_(SizeFor(capacity) - 1), slots_(mask_ + 1, -1), hashes_(mask_ + 1) {}

    bool Contains(std::int32_t root, std::string_view path, std::uint64_t hash) const {
        for (std::size_t i = static_cast<std::size_t>(hash) & mask_;; i = (i + 1) & mask_) {
            int index = slots_[i];
            if (index < 0) return false;
            const ChainEntry& e = list_[static_cast<std::size_t>(index)];
            if (hashes_[i] == hash && e.Root == root && e.Path == path) return true;
        }
    }

    void Insert(int index, std::uint64_t hash) {
        const ChainEntry& e = list_[static_cast<std::size_t>(index)];
        if (Contains(e.Root, e.Path, hash)) return;
        std::size_t i = static_cast<std::size_t>(hash) & mask_;
        while (slots_[i] >= 0) i = (i + 1) & mask_;
        slots_[i] = index;
        hashes_[i] = hash;
    }

private:
    static std::size_t SizeFor(std::size_t capacity) {
        std::size_t size = 16;
        while (size < 4 * capacity) size *= 2;
        return size;
    }

    const std::vector<ChainEntry>& list_;
    std::size_t mask_;
    std::vector<int> slots_;
    std::vector<std::uint64_t> hashes_;
};

std::uint64_t HashOf(const ChainEntry& e) {
    std::uint64_t h = HashStart(e.Root);
    for (char c : e.Path) h = HashStep(h, static_cast<unsigned char>(c));
    return h;
}

}  // namespace

void Chains_Complete(std::vector<ChainEntry>& list, std::size_t limit) {
    if (list.size() > limit) list.resize(limit);
    // Every appended entry is a distinct prefix ending with "\" of a listed path, so the list
    // never grows beyond its entries plus their separators: sized for that, a run of a few
    // files costs no more than a few files.
    std::size_t capacity = list.size();
    for (const auto& e : list) capacity += static_cast<std::size_t>(std::count(e.Path.begin(), e.Path.end(), '\\'));
    capacity = std::min(capacity, limit);
    // The table refers to entries by index and compares their paths in place, so the list must
    // not move its strings while it grows.
    list.reserve(capacity);
    PathTable table(list, capacity);
    for (std::size_t i = 0; i < list.size(); ++i) table.Insert(static_cast<int>(i), HashOf(list[i]));

    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& path = list[i].Path;
        const std::int32_t root = list[i].Root;
        if (path.size() < 2) continue;  // "\" alone has no ancestor other than ""
        // Hashes of the prefixes ending with "\", shortest first; the last one is the parent.
        bool hasAncestor = false;
        std::size_t parentLength = 0;
        std::uint64_t parentHash = 0;
        std::uint64_t h = HashStart(root);
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            h = HashStep(h, static_cast<unsigned char>(path[k]));
            if (path[k] != '\\') continue;
            parentLength = k + 1;
            parentHash = h;
            if (!hasAncestor && table.Contains(root, std::string_view(path).substr(0, k + 1), h)) hasAncestor = true;
        }
        if (!hasAncestor || parentLength == 0) continue;
        std::string_view parent = std::string_view(path).substr(0, parentLength);
        if (table.Contains(root, parent, parentHash)) continue;
        if (list.size() >= capacity) return;
        list.push_back({root, std::string(parent)});
        table.Insert(static_cast<int>(list.size() - 1), parentHash);
    }
}

void Chains_OrderDeepestFirst(std::vector<ChainEntry>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const ChainEntry& a, const ChainEntry& b) { return a.Path.size() > b.Path.size(); });
}

std::vector<std::string> DirectoryPlan_Make(const std::vector<FileRecord>& files) {
    std::vector<ChainEntry> list;
    list.reserve(std::min(files.size(), RemovalPlan_MaxEntries));
    for (const auto& f : files) {
        if (list.size() >= RemovalPlan_MaxEntries) break;
        if (f.Keep != 0) continue;
        // On canonical text a chain can only join folders that really lie one in the other: a
        // ".." would otherwise reach a folder that no listed path lies in. A path that names
        // nothing (relative, an unexpanded placeholder) would give an empty entry, which would
        // be everybody's ancestor and pull every chain up to its drive root.
        std::string dir = Path_GetParent(Path_Canonical(f.FilePath));
        if (dir.empty()) continue;
        list.push_back({0, std::move(dir)});
    }
    Chains_Complete(list);
    Chains_OrderDeepestFirst(list);
    std::vector<std::string> dirs;
    dirs.reserve(list.size());
    for (auto& e : list) dirs.push_back(std::move(e.Path));
    return dirs;
}

std::vector<RegKeyRecord> RegistryKeyPlan_Make(const std::vector<RegKeyRecord>& keys) {
    std::vector<ChainEntry> list;
    std::vector<const RegKeyRecord*> origin;  // the listed record of each original entry
    list.reserve(std::min(keys.size(), RemovalPlan_MaxEntries));
    for (const auto& k : keys) {
        if (list.size() >= RemovalPlan_MaxEntries) break;
        // Any other value would reach the registry as a raw handle.
        if (!RegRoot_IsPredefined(static_cast<std::uint32_t>(k.RootKey))) continue;
        std::string path = k.KeyPath;
        if (path.empty() || path.back() != '\\') path += '\\';
        // Empty, or "\" alone once completed: the deletion would be aimed at the root key itself.
        if (path.find_first_not_of('\\') == std::string::npos) continue;
        list.push_back({k.RootKey, std::move(path)});
        origin.push_back(&k);
    }
    const std::size_t listed = list.size();
    Chains_Complete(list);

    // Keep each entry's ExtraTexts through the ordering: sort indexes, not entries.
    std::vector<std::size_t> order(list.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return list[a].Path.size() > list[b].Path.size(); });
    std::vector<RegKeyRecord> plan;
    plan.reserve(list.size());
    for (std::size_t i : order) {
        RegKeyRecord r;
        r.RootKey = list[i].Root;
        r.KeyPath = std::move(list[i].Path);
        if (i < listed) {
            r.ExtraText1 = origin[i]->ExtraText1;
            r.ExtraText2 = origin[i]->ExtraText2;
        }
        plan.push_back(std::move(r));
    }
    return plan;
}
