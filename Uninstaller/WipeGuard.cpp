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

// The path the system reaches the folder by, with every link on the way resolved; "" when the
// platform cannot tell.
std::string Folder_FinalPath(const std::string& path) {
    UniqueFile folder(CreateFileW(Wide_FromText(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return "";
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(folder.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= buffer.size()) return "";
    std::string real = Text_FromWide(buffer.data(), length);
    if (real.rfind("\\\\?\\UNC\\", 0) == 0) real = "\\\\" + real.substr(8);
    else if (real.rfind("\\\\?\\", 0) == 0) real = real.substr(4);
    return Path_Canonical(Path_WithTrailingBackslash(real));
}

// Whether a folder above dir (by name) is the Windows folder, or dir is its own chain's root.
bool Chain_IsRefused(const std::string& dir, const FolderId& self, const FolderId& windows) {
    const std::vector<std::string> chain = Folder_Chain(dir);
    FolderId root;
    if (chain.size() < 2 || !Folder_Identify(chain.back(), root) || self == root) return true;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        FolderId above;
        if (Folder_Identify(chain[i], above) && above == windows) return true;
    }
    return false;
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
    FolderId self, windows, system;
    if (!Folder_Identify(canonical, self) || !Folder_Identify(dirs.WindowsDir, windows) ||
        !Folder_Identify(dirs.SystemDir, system))
        return false;
    if (self == windows || self == system) return false;
    // By its name and by its real path: a link further up (C:\Apps\Link\Sub with the link
    // leading into the Windows folder) hides the Windows folder from the name alone.
    if (Chain_IsRefused(canonical, self, windows)) return false;
    const std::string real = Folder_FinalPath(canonical);
    if (!real.empty() && Chain_IsRefused(real, self, windows)) return false;
    // The root of the volume the folder really lies on, which a link inside another folder
    // may hide from its name.
    wchar_t volume[MAX_PATH + 1] = {};
    FolderId volumeRoot;
    if (GetVolumePathNameW(Wide_FromText(canonical).c_str(), volume, MAX_PATH) &&
        Folder_Identify(Text_FromWideBuffer(volume, MAX_PATH), volumeRoot) && self == volumeRoot)
        return false;
    return true;
}
