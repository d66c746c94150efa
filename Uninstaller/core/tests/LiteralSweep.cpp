// Reference chain completion: a word-for-word rendering of the sweep, with no cleverness.
#include "LiteralSweep.h"

#include <algorithm>

namespace {

std::string ParentOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (path[i - 1] == '\\') return path.substr(0, i);
    return "";
}

std::string DirectParent(const std::string& path) {
    return ParentOf(path.empty() ? path : path.substr(0, path.size() - 1));
}

bool IsAncestor(const ChainEntry& b, const ChainEntry& a) {
    return b.Root == a.Root && b.Path.size() < a.Path.size() && a.Path.compare(0, b.Path.size(), b.Path) == 0;
}

void OrderByLength(std::vector<ChainEntry>& list) {
    // A plain selection of the longest remaining entry, as the original did.
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::size_t longest = i;
        for (std::size_t j = i + 1; j < list.size(); ++j)
            if (list[j].Path.size() > list[longest].Path.size()) longest = j;
        std::swap(list[i], list[longest]);
    }
}

}  // namespace

void LiteralSweep_Complete(std::vector<ChainEntry>& list, std::size_t limit) {
    if (list.size() > limit) list.resize(limit);
    bool appended = true;
    while (appended) {
        appended = false;
        for (std::size_t a = 0; a < list.size(); ++a) {
            bool hasAncestor = false;
            bool parentListed = false;
            std::string parent = DirectParent(list[a].Path);
            for (std::size_t b = 0; b < list.size(); ++b) {
                if (b == a || !IsAncestor(list[b], list[a])) continue;
                hasAncestor = true;
                if (list[b].Path == parent) parentListed = true;
            }
            if (hasAncestor && !parentListed) {
                if (list.size() >= limit) return;
                list.push_back({list[a].Root, parent});
                appended = true;
                break;  // begin the sweep again from the first entry
            }
        }
    }
}

std::vector<std::string> LiteralSweep_DirectoryPlan(const std::vector<FileRecord>& files) {
    std::vector<ChainEntry> list;
    for (const auto& f : files) {
        if (f.Keep != 0 || (!f.FilePath.empty() && f.FilePath[0] == '%')) continue;
        std::string dir = ParentOf(f.FilePath);
        if (!dir.empty()) list.push_back({0, dir});
    }
    LiteralSweep_Complete(list);
    OrderByLength(list);
    std::vector<std::string> out;
    for (const auto& e : list) out.push_back(e.Path);
    return out;
}

std::vector<RegKeyRecord> LiteralSweep_RegistryKeyPlan(const std::vector<RegKeyRecord>& keys) {
    std::vector<ChainEntry> list;
    for (const auto& k : keys) {
        std::string path = k.KeyPath;
        if (path.empty() || path.back() != '\\') path += '\\';
        if (path.find_first_not_of('\\') == std::string::npos) continue;
        list.push_back({k.RootKey, path});
    }
    LiteralSweep_Complete(list);
    OrderByLength(list);
    std::vector<RegKeyRecord> out;
    for (const auto& e : list) {
        RegKeyRecord r;
        r.RootKey = e.Root;
        r.KeyPath = e.Path;
        out.push_back(r);
    }
    return out;
}
