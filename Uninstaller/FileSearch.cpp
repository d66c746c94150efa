// The Win32 disk: directory searches, attributes, identity and deletions through the wide
// functions; the application folder's wipe through a folder handle and the native calls that
// open names relative to it.
#include "FileSearch.h"

#include "Handles.h"
#include "Placeholders.h"
#include "Text.h"
#include "WideText.h"
#include "WipeGuard.h"

#include <lm.h>
#include <winternl.h>

#include <vector>

namespace {

// Folders open only with the backup-semantics flag; opened for attributes only, and shared
// every way, so that the look disturbs no one.
UniqueFile Entry_OpenForQuery(const std::string& path) {
    return UniqueFile(CreateFileW(Wide_LongForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool Handle_Identify(HANDLE h, DiskIdentity& id, DWORD* attributes = nullptr) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return false;
    id.Volume = info.dwVolumeSerialNumber;
    id.Index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (attributes) *attributes = info.dwFileAttributes;
    return true;
}

// An entry of folder by its name alone: the system resolves the name inside the folder the
// handle holds, whatever the folder's path leads to now. A link is opened, not followed.
HANDLE Entry_OpenIn(HANDLE folder, const std::string& name, ACCESS_MASK access, ULONG options, NTSTATUS& status) {
    std::wstring wide = Wide_FromText(name);
    UNICODE_STRING text;
    text.Buffer = wide.data();
    text.Length = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io = {};
    HANDLE entry = nullptr;
    status = NtCreateFile(&entry, access | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                          options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return NT_SUCCESS(status) ? entry : nullptr;
}

class Win32Folder : public DiskFolder {
public:
    explicit Win32Folder(UniqueFile handle) : handle_(std::move(handle)) {}

    std::uint32_t Attributes() override {
        DiskIdentity id;
        DWORD attributes = 0;
        return Handle_Identify(handle_.get(), id, &attributes) ? attributes : FileAttribute::Missing;
    }
    bool Identify(DiskIdentity& id) override { return Handle_Identify(handle_.get(), id); }

    void List(const std::function<bool(const DiskEntry&)>& visit) override {
        std::vector<unsigned char> buffer(64 * 1024);
        auto kind = FileIdBothDirectoryRestartInfo;
        while (GetFileInformationByHandleEx(handle_.get(), kind, buffer.data(), static_cast<DWORD>(buffer.size()))) {
            kind = FileIdBothDirectoryInfo;
            for (std::size_t at = 0;;) {
                const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + at);
                DiskEntry entry;
                entry.Name = Text_FromWide(info->FileName, info->FileNameLength / sizeof(wchar_t));
                entry.ShortName = Text_FromWide(info->ShortName, static_cast<std::size_t>(info->ShortNameLength) / sizeof(wchar_t));
                entry.Attributes = info->FileAttributes;
                if (entry.Name != "." && entry.Name != ".." && !visit(entry)) return;
                if (info->NextEntryOffset == 0) break;
                at += info->NextEntryOffset;
            }
        }
    }

    bool IdentifyEntry(const std::string& name, DiskIdentity& id) override {
        NTSTATUS status = 0;
        UniqueFile entry(Entry_OpenIn(handle_.get(), name, FILE_READ_ATTRIBUTES, 0, status));
        return entry.get() && Handle_Identify(entry.get(), id);
    }

    std::uint32_t RemoveFile(const std::string& name) override {
        NTSTATUS status = 0;
        UniqueFile entry(Entry_OpenIn(handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES, FILE_NON_DIRECTORY_FILE, status));
        if (!entry.get()) return RtlNtStatusToDosError(status);
        FILE_DISPOSITION_INFO dispose = {TRUE};
        return SetFileInformationByHandle(entry.get(), FileDispositionInfo, &dispose, sizeof(dispose)) ? 0 : GetLastError();
    }

private:
    UniqueFile handle_;
};

// The folder a share of this computer shows, "" when the system does not tell.
std::string Share_LocalFolder(const std::string& share) {
    SHARE_INFO_2* info = nullptr;
    std::wstring name = Wide_FromText(share);
    if (NetShareGetInfo(nullptr, name.data(), 2, reinterpret_cast<LPBYTE*>(&info)) != NERR_Success || !info) return "";
    const std::string folder = info->shi2_path ? Text_FromWide(info->shi2_path, wcslen(info->shi2_path)) : "";
    NetApiBufferFree(info);
    return folder;
}

std::string Computer_Name() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? Text_FromWide(name, size) : "";
}

}  // namespace

std::wstring Wide_LongForm(const std::string& path) {
    const std::string canonical = Path_Canonical(path);
    if (canonical.empty()) return Wide_FromText(path);
    if (canonical.rfind("\\\\", 0) == 0) return Wide_FromText("\\\\?\\UNC\\" + canonical.substr(2));
    return Wide_FromText("\\\\?\\" + canonical);
}

void Win32Disk::Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) {
    if (pattern.empty() || pattern.back() == '\\') return;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(Wide_LongForm(pattern).c_str(), &fd));
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

std::uint32_t Win32Disk::GetAttributes(const std::string& path, std::uint32_t& error) {
    error = 0;
    if (path.empty()) {
        error = ERROR_PATH_NOT_FOUND;
        return FileAttribute::Missing;
    }
    const DWORD attributes = GetFileAttributesW(Wide_LongForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) error = GetLastError();
    // A name that cannot exist names nothing that is there.
    if (error == ERROR_INVALID_NAME || error == ERROR_BAD_PATHNAME || error == ERROR_DIRECTORY) error = ERROR_PATH_NOT_FOUND;
    return attributes;
}

bool Win32Disk::Identify(const std::string& path, DiskIdentity& id) {
    UniqueFile entry = Entry_OpenForQuery(path);
    return entry && Handle_Identify(entry.get(), id);
}

std::uint32_t Win32Disk::RemoveFile(const std::string& path) {
    return DeleteFileW(Wide_LongForm(path).c_str()) ? 0 : GetLastError();
}

bool Win32Disk::RemoveFolder(const std::string& path) { return RemoveDirectoryW(Wide_LongForm(path).c_str()) != 0; }

bool Win32Disk::ClearAttributes(const std::string& path, std::uint32_t bits) {
    const std::wstring wide = Wide_LongForm(path);
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
    std::string real = Path_Canonical(Path_WithTrailingBackslash(Path_FromSystemForm(Text_FromWide(buffer.data(), length))));
    // A share of this computer is a folder of one of its drives: that folder is the real path,
    // and one the system will not name cannot be judged.
    if (real.rfind("\\\\", 0) == 0) {
        const std::string root = Path_GetRoot(real);
        const std::size_t serverEnd = root.find('\\', 2);
        if (root.empty() || serverEnd == std::string::npos) return "";
        if (Server_IsThisComputer(root.substr(2, serverEnd - 2), Computer_Name())) {
            const std::string local = Share_LocalFolder(root.substr(serverEnd + 1, root.size() - serverEnd - 2));
            if (local.empty()) return "";
            real = Path_Canonical(Path_WithTrailingBackslash(local) + real.substr(root.size()));
        }
    }
    return real;
}

std::string Win32Disk::VolumeRoot(const std::string& path) {
    std::vector<wchar_t> volume(32768);
    if (!GetVolumePathNameW(Wide_LongForm(path).c_str(), volume.data(), static_cast<DWORD>(volume.size()))) return "";
    return Path_WithTrailingBackslash(Path_FromSystemForm(Text_FromWideBuffer(volume.data(), volume.size())));
}

std::unique_ptr<DiskFolder> Win32Disk::OpenFolder(const std::string& path) {
    // No FILE_SHARE_DELETE: while held, nobody can rename or remove the folder to put
    // something else in its place.
    UniqueFile handle(CreateFileW(Wide_LongForm(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return nullptr;
    return std::make_unique<Win32Folder>(std::move(handle));
}
