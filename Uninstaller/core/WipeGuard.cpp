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

bool Server_IsThisComputer(const std::string& server, const std::string& computerName) {
    if (server.empty()) return false;
    if (Path_Equal(server, computerName) || Path_Equal(server, "localhost") || Path_Equal(server, "::1") ||
        Path_Equal(server, "[::1]") || Path_Equal(server, "0--1.ipv6-literal.net"))
        return true;
    // A DNS name of this computer ("name.example.org") names it too.
    const std::size_t dot = server.find('.');
    if (dot != std::string::npos && !computerName.empty() && Path_Equal(server.substr(0, dot), computerName)) return true;
    // The whole loopback network 127.0.0.0/8, written as the system accepts it in a path.
    if (server.rfind("127.", 0) != 0) return false;
    int parts = 2, digits = 0;
    for (std::size_t i = 4; i < server.size(); ++i) {
        if (server[i] == '.') {
            if (digits == 0) return false;
            ++parts;
            digits = 0;
        } else if (server[i] >= '0' && server[i] <= '9' && digits < 3) {
            ++digits;
        } else {
            return false;
        }
    }
    return parts == 4 && digits > 0;
}

bool Folder_MayBeWiped(Disk& disk, const std::string& dir, const BaseDirs& dirs, DiskIdentity* checked) {
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
    // A path the platform cannot resolve might lead anywhere: a share of this computer reaches
    // its folder by a name that no chain shows.
    const std::string real = disk.FinalPath(canonical);
    if (real.empty() || Chain_IsRefused(disk, real, self, windows)) return false;
    // The root of the volume the folder really lies on, which a link inside another folder
    // may hide from its name.
    const std::string volume = disk.VolumeRoot(canonical);
    DiskIdentity volumeRoot;
    if (!volume.empty() && disk.Identify(volume, volumeRoot) && self == volumeRoot) return false;
    if (checked) *checked = self;
    return true;
}
