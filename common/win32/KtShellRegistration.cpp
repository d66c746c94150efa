// Windows and system directories, shell special folders, and removal of the shortcuts an
// installer put into the Start menu or onto the desktop.
#include "KtShellRegistration.h"

#include "PathRules.h"
#include "Text.h"
#include "WideText.h"

#include <objbase.h>
#include <shlobj.h>

#include <cctype>
#include <cstring>
#include <vector>

namespace {

constexpr UINT PathBufferSize = MAX_PATH;

// An item list from the shell, given back to the shell allocator however the call ends.
class ItemList {
public:
    ItemList() = default;
    ~ItemList() { CoTaskMemFree(list_); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    LPITEMIDLIST* put() { return &list_; }
    LPCITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_ = nullptr;
};

// The text before the first NUL (all of it when the platform filled the buffer), as a
// directory ending in one "\": callers append names directly.
std::string Buffer_ToDirectory(const wchar_t* buffer, std::size_t size) {
    return Path_WithTrailingBackslash(Text_FromWideBuffer(buffer, size));
}

std::vector<std::string> Folder_Split(const std::string& folder) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : folder + "\\") {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

}  // namespace

// The shortcut file for a folder given relative to the user's Start-menu Programs folder; ""
// when it would not lie below that folder.
//
// "..\..\Desktop" is how installers wrote "the desktop" when the Start menu lay two levels
// below the profile; on current profile layouts that path leads into the roaming application
// data instead, so it stands for the user's real desktop folder. Any other way out of Programs
// is refused: a data file must not reach shortcuts elsewhere.
std::string ShellLink_File(const std::string& folder, const std::string& linkName) {
    if (!ShortcutName_IsValid(linkName)) return "";
    const std::vector<std::string> parts = Folder_Split(folder);
    std::size_t first = 0;
    int base = CSIDL_PROGRAMS;
    if (parts.size() >= 3 && parts[0] == ".." && parts[1] == ".." && Ascii_EqualsIgnoringCase(parts[2], "Desktop")) {
        base = CSIDL_DESKTOPDIRECTORY;
        first = 3;
    }
    std::string relative;
    for (std::size_t i = first; i < parts.size(); ++i) relative += parts[i] + "\\";
    return Path_StrictlyBelow(SpecialFolder_GetPath(base), relative + linkName + ".lnk");
}

namespace {

// The platform refuses to delete a read-only file; an installer's shortcut marked read-only is
// still the installer's, so the flag is cleared for the deletion and put back if it fails.
bool File_DeleteShortcut(const std::wstring& path, DWORD attributes) {
    // The desktop's shell reads a new shortcut (its icon, its target) a moment after it appears,
    // and may hold it open without sharing deletion meanwhile: wait that moment out.
    for (int tries = 0;; ++tries) {
        if (DeleteFileW(path.c_str())) return true;
        if (GetLastError() != ERROR_SHARING_VIOLATION || tries == 40) break;
        Sleep(50);
    }
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    if (!SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) return false;
    if (DeleteFileW(path.c_str())) return true;
    SetFileAttributesW(path.c_str(), attributes);
    return false;
}

}  // namespace

std::string WindowsDir_Get() {
    wchar_t buffer[PathBufferSize] = {};
    GetSystemWindowsDirectoryW(buffer, PathBufferSize);
    return Buffer_ToDirectory(buffer, PathBufferSize);
}

std::string SystemDir_Get() {
    wchar_t buffer[PathBufferSize] = {};
    GetSystemDirectoryW(buffer, PathBufferSize);
    return Buffer_ToDirectory(buffer, PathBufferSize);
}

std::string SpecialFolder_GetPath(int csidl) {
    wchar_t buffer[PathBufferSize] = {};
    ItemList list;
    if (SHGetSpecialFolderLocation(nullptr, csidl, list.put()) != S_OK || list.get() == nullptr) return "";
    // Virtual folders (My Computer, the printers) have an item list but no file-system path.
    if (!SHGetPathFromIDListW(list.get(), buffer)) return "";
    // Wine answers some of them with a shell parsing name ("::{GUID}\..."); only a drive or
    // network path is a folder that callers can append names to.
    bool onDrive = buffer[0] < 0x80 && std::isalpha(static_cast<int>(buffer[0])) && buffer[1] == L':' && buffer[2] == L'\\';
    bool onNetwork = buffer[0] == L'\\' && buffer[1] == L'\\';
    if (!onDrive && !onNetwork) return "";
    return Buffer_ToDirectory(buffer, PathBufferSize);
}

// Only a file "<linkName>.lnk" is ever deleted: never a folder, never another extension, and
// never anything outside Programs (or the desktop), whatever the uninstall data file says.
DWORD ShellLink_RemoveResult(const std::string& folder, const std::string& linkName) {
    const std::string file = ShellLink_File(folder, linkName);
    if (file.empty()) return ERROR_INVALID_NAME;
    const std::wstring path = Wide_FromText(file);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : error;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_FILE_NOT_FOUND;
    DWORD error = File_DeleteShortcut(path, attributes) ? ERROR_SUCCESS : GetLastError();
    // Removed means gone: a deletion the platform reported but did not carry out is no removal.
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) return 0;
    return error ? error : ERROR_ACCESS_DENIED;
}

bool ShellLink_Remove(const std::string& folder, const std::string& linkName) {
    return ShellLink_RemoveResult(folder, linkName) == 0;
}

