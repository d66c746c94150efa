// Folder identity is the volume serial number and the file index: the same for every name that
// leads to the folder, which no comparison of texts can promise.
#include "WipeGuard.h"

#include "PathRules.h"

#include <vector>

namespace {

// The folder and each folder above it by name, up to its drive or share root.
std::vector<std::string> Folder_Chain(const std::string& dir) {
    std::vector<std::string> chain;
    const std::string root = Path_GetRoot(dir);
    std::string level = Path_WithTrailingBackslash(dir);
    while (level.size() > root.size() && chain.size() < 4096) {
        chain.push_back(level);
        level = Path_GetParent(level.substr(0, level.size() - 1));
    }
    chain.push_back(root);
    return chain;
}

// Whether a folder above dir (by name) is the Windows folder, or dir is its own chain's root.
bool Chain_IsRefused(Disk& disk, const std::string& dir, const DiskIdentity& self, const DiskIdentity& windows) {
    const std::vector<std::string> chain = Folder_Chain(dir);
    DiskIdentity root;
    if (chain.size() < 2 || !disk.Identify(chain.back(), root) || self == root) return true;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        DiskIdentity above;
        if (disk.Identify(chain[i], above) && above == windows) return true;
    }
    return false;
}

}  // namespace

bool Folder_MayBeWiped(Disk& disk, const std::string& dir, const BaseDirs& dirs) {
    const std::string canonical = Path_Canonical(dir);
    if (canonical.empty()) return false;
    // Without its trailing "\" the name is the link itself, not the folder it leads to.
    const std::string named = canonical.size() > Path_GetRoot(canonical).size() && canonical.back() == '\\'
                                  ? canonical.substr(0, canonical.size() - 1)
                                  : canonical;
    const std::uint32_t attributes = disk.GetAttributes(named);
    if (attributes == FileAttribute::Missing || !(attributes & FileAttribute::Directory) ||
        Attributes_IsReparsePoint(attributes))
        return false;
    DiskIdentity self, windows, system;
    if (!disk.Identify(canonical, self) || !disk.Identify(dirs.WindowsDir, windows) ||
        !disk.Identify(dirs.SystemDir, system))
        return false;
    if (self == windows || self == system) return false;
    // By its name and by its real path: a link further up (C:\Apps\Link\Sub with the link
    // leading into the Windows folder) hides the Windows folder from the name alone.
    if (Chain_IsRefused(disk, canonical, self, windows)) return false;
    const std::string real = disk.FinalPath(canonical);
    if (!real.empty() && Chain_IsRefused(disk, real, self, windows)) return false;
    // The root of the volume the folder really lies on, which a link inside another folder
    // may hide from its name.
    const std::string volume = disk.VolumeRoot(canonical);
    DiskIdentity volumeRoot;
    if (!volume.empty() && disk.Identify(volume, volumeRoot) && self == volumeRoot) return false;
    return true;
}
