// Directory searches behind the uninstaller's existence tests and listings.
#include "FileSearch.h"

#include "Handles.h"
#include "Placeholders.h"

namespace {

// Hidden and system files are the user's or the platform's, never the installer's: the
// uninstaller neither reports nor deletes them.
bool IsVisibleFile(const WIN32_FIND_DATAA& fd) {
    return !(fd.dwFileAttributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE));
}

template <typename Visit>
void Search(const std::string& pattern, Visit visit) {
    if (pattern.empty() || pattern.back() == '\\') return;
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(pattern.c_str(), &fd));
    if (!find) return;
    do {
        if (IsVisibleFile(fd) && !visit(fd)) return;
    } while (FindNextFileA(find.get(), &fd));
}

}  // namespace

bool File_ExistsBySearch(const std::string& path) {
    bool found = false;
    Search(path, [&](const WIN32_FIND_DATAA&) {
        found = true;
        return false;
    });
    return found;
}

void File_DeleteMatching(const std::string& path) {
    // Collect first: deleting while the search is open would let it skip or repeat names.
    std::vector<std::string> names;
    Search(path, [&](const WIN32_FIND_DATAA& fd) {
        names.push_back(fd.cFileName);
        return true;
    });
    const std::string dir = Path_GetParent(path);
    for (const auto& name : names) DeleteFileA((dir + name).c_str());
}

bool Directory_IsPresent(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Directory_ListFiles(const std::string& dir) {
    std::vector<std::string> names;
    Search(Path_WithTrailingBackslash(dir) + "*", [&](const WIN32_FIND_DATAA& fd) {
        names.push_back(fd.cFileName);
        return true;
    });
    return names;
}

std::string Directory_GetFullPath(const std::string& dir) {
    DWORD needed = GetFullPathNameA(dir.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return "";
    std::string full(needed, '\0');
    DWORD got = GetFullPathNameA(dir.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) return "";
    full.resize(got);
    // Short 8.3 names would hide that a folder is the Windows directory.
    DWORD longNeeded = GetLongPathNameA(full.c_str(), nullptr, 0);
    if (longNeeded > 0) {
        std::string longer(longNeeded, '\0');
        DWORD longGot = GetLongPathNameA(full.c_str(), longer.data(), longNeeded);
        if (longGot > 0 && longGot < longNeeded) {
            longer.resize(longGot);
            full = longer;
        }
    }
    return Path_WithTrailingBackslash(full);
}
