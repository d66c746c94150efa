// The Win32 disk: directory searches, attributes, identity and deletions through the wide
// functions.
#include "FileSearch.h"

#include "Handles.h"
#include "Text.h"
#include "WideText.h"

namespace {

// Folders open only with the backup-semantics flag; opened for attributes only, and shared
// every way, so that the look disturbs no one.
UniqueFile Entry_OpenForQuery(const std::string& path) {
    return UniqueFile(CreateFileW(Wide_FromText(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

void Win32Disk::Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) {
    if (pattern.empty() || pattern.back() == '\\') return;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(Wide_FromText(pattern).c_str(), &fd));
    if (!find) return;
    DiskEntry entry;
    do {
        entry.Name = Text_FromWideBuffer(fd.cFileName, MAX_PATH);
        if (entry.Name == "." || entry.Name == "..") continue;
        entry.ShortName = Text_FromWideBuffer(fd.cAlternateFileName, 14);
        entry.Attributes = fd.dwFileAttributes;
        if (!visit(entry)) return;
    } while (FindNextFileW(find.get(), &fd));
}

std::uint32_t Win32Disk::GetAttributes(const std::string& path) {
    return path.empty() ? FileAttribute::Missing : GetFileAttributesW(Wide_FromText(path).c_str());
}

bool Win32Disk::Identify(const std::string& path, DiskIdentity& id) {
    UniqueFile entry = Entry_OpenForQuery(path);
    BY_HANDLE_FILE_INFORMATION info;
    if (!entry || !GetFileInformationByHandle(entry.get(), &info)) return false;
    id.Volume = info.dwVolumeSerialNumber;
    id.Index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

std::uint32_t Win32Disk::RemoveFile(const std::string& path) {
    return DeleteFileW(Wide_FromText(path).c_str()) ? 0 : GetLastError();
}

bool Win32Disk::RemoveFolder(const std::string& path) { return RemoveDirectoryW(Wide_FromText(path).c_str()) != 0; }

bool Win32Disk::ClearAttributes(const std::string& path, std::uint32_t bits) {
    const std::wstring wide = Wide_FromText(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD clearable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD kept = attributes & clearable & ~static_cast<DWORD>(bits);
    return SetFileAttributesW(wide.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::string Win32Disk::FinalPath(const std::string& folder) {
    UniqueFile entry = Entry_OpenForQuery(folder);
    if (!entry) return "";
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(entry.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= buffer.size()) return "";
    std::string real = Text_FromWide(buffer.data(), length);
    if (real.rfind("\\\\?\\UNC\\", 0) == 0) real = "\\\\" + real.substr(8);
    else if (real.rfind("\\\\?\\", 0) == 0) real = real.substr(4);
    return Path_Canonical(Path_WithTrailingBackslash(real));
}

std::string Win32Disk::VolumeRoot(const std::string& path) {
    wchar_t volume[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(Wide_FromText(path).c_str(), volume, MAX_PATH)) return "";
    return Path_WithTrailingBackslash(Text_FromWideBuffer(volume, MAX_PATH));
}
