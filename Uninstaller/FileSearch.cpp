// Directory searches behind the uninstaller's existence tests and listings.
#include "FileSearch.h"

#include "Handles.h"
#include "Placeholders.h"
#include "WideText.h"

namespace {

// Hidden and system files are the user's or the platform's, never the installer's: the
// uninstaller neither reports nor deletes them.
bool IsVisibleFile(DWORD attributes) {
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE));
}
bool IsVisibleFile(const WIN32_FIND_DATAW& fd) { return IsVisibleFile(fd.dwFileAttributes); }

template <typename Visit>
void Search(const std::string& pattern, Visit visit) {
    if (pattern.empty() || pattern.back() == '\\') return;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(Wide_FromText(pattern).c_str(), &fd));
    if (!find) return;
    do {
        if (IsVisibleFile(fd) && !visit(fd)) return;
    } while (FindNextFileW(find.get(), &fd));
}

std::string NameOf(const WIN32_FIND_DATAW& fd) { return Text_FromWideBuffer(fd.cFileName, MAX_PATH); }

}  // namespace

bool File_ExistsBySearch(const std::string& path) {
    bool found = false;
    Search(path, [&](const WIN32_FIND_DATAW&) {
        found = true;
        return false;
    });
    return found;
}

bool Path_IsPattern(const std::string& path) { return path.find_first_of("*?<>\"") != std::string::npos; }

bool File_IsThere(const std::string& path) {
    if (path.empty() || path.back() == '\\' || Path_IsPattern(path)) return File_ExistsBySearch(path);
    const DWORD attributes = Path_GetAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && IsVisibleFile(attributes);
}

std::vector<std::string> File_FindMatching(const std::string& path) {
    std::vector<std::string> found;
    const std::string dir = Path_GetParent(path);
    Search(path, [&](const WIN32_FIND_DATAW& fd) {
        found.push_back(dir + NameOf(fd));
        return true;
    });
    return found;
}

DWORD Files_Delete(const std::vector<std::string>& paths) {
    DWORD error = 0;
    for (const auto& file : paths)
        if (!File_Delete(file)) error = GetLastError();
    return error;
}

bool File_Delete(const std::string& path) { return DeleteFileW(Wide_FromText(path).c_str()) != 0; }

bool Directory_IsPresent(const std::string& path) {
    const DWORD attributes = Path_GetAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD Path_GetAttributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Wide_FromText(path).c_str());
}

bool Directory_Remove(const std::string& path) { return RemoveDirectoryW(Wide_FromText(path).c_str()) != 0; }

std::vector<std::string> Directory_ListFiles(const std::string& dir) {
    std::vector<std::string> names;
    Search(Path_WithTrailingBackslash(dir) + "*", [&](const WIN32_FIND_DATAW& fd) {
        names.push_back(NameOf(fd));
        return true;
    });
    return names;
}

bool Path_SameIgnoringCase(const std::string& a, const std::string& b) {
    const std::wstring wa = Wide_FromText(a), wb = Wide_FromText(b);
    if (wa.size() != wb.size()) return false;
    if (wa.empty()) return true;
    // The file system's own case folding, for every script: ASCII folding would let a kept
    // "Ärger.ini" listed as "ärger.ini" be wiped.
    return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE) ==
           CSTR_EQUAL;
}
