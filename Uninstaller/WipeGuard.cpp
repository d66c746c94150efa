// Folder identity is the volume serial number and the file index: the same for every name that
// leads to the folder, which no comparison of texts can promise.
#include "WipeGuard.h"

#include "Handles.h"
#include "PathRules.h"
#include "WideText.h"

#include <vector>

namespace {

struct FolderId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FolderId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

// Directories open only with the backup-semantics flag; the folder itself, not a link's target,
// is not needed here, since a link is refused before its identity counts.
bool Folder_Identify(const std::string& path, FolderId& id) {
    UniqueFile folder(CreateFileW(Wide_FromText(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder || !GetFileInformationByHandle(folder.get(), &info)) return false;
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

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

}  // namespace

bool Folder_MayBeWiped(const std::string& dir, const BaseDirs& dirs) {
    const std::string canonical = Path_Canonical(dir);
    if (canonical.empty()) return false;
    // Without its trailing "\" the name is the link itself, not the folder it leads to.
    const std::string named = canonical.size() > Path_GetRoot(canonical).size() && canonical.back() == '\\'
                                  ? canonical.substr(0, canonical.size() - 1)
                                  : canonical;
    const DWORD attributes = GetFileAttributesW(Wide_FromText(named).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    FolderId self, windows, system, root;
    if (!Folder_Identify(canonical, self) || !Folder_Identify(dirs.WindowsDir, windows) ||
        !Folder_Identify(dirs.SystemDir, system))
        return false;
    if (self == windows || self == system) return false;
    const std::vector<std::string> chain = Folder_Chain(canonical);
    if (chain.size() < 2 || !Folder_Identify(chain.back(), root) || self == root) return false;
    // The root of the volume the folder really lies on, which a link inside another folder
    // may hide from its name.
    wchar_t volume[MAX_PATH + 1] = {};
    FolderId volumeRoot;
    if (GetVolumePathNameW(Wide_FromText(canonical).c_str(), volume, MAX_PATH) &&
        Folder_Identify(Text_FromWideBuffer(volume, MAX_PATH), volumeRoot) && self == volumeRoot)
        return false;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        FolderId above;
        if (Folder_Identify(chain[i], above) && above == windows) return false;
    }
    return true;
}
