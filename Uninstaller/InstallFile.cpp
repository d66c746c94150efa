// Data file IO: the bytes come from and go to disk here; their meaning is the core's.
#include "InstallFile.h"

#include "FileSearch.h"
#include "Handles.h"
#include "InstallFileFormat.h"
#include "UninstallTexts.h"

namespace {

// Far beyond any data file an installer writes (32767 records of each kind with long paths),
// and small enough to read into memory on any machine the program runs on.
constexpr LONGLONG kLargestDataFile = 256ll * 1024 * 1024;

void Tell(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), UninstallTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool ReadWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestDataFile) return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) return false;
        if (got == 0) break;  // shorter than it was a moment ago: what is there is the file
        done += got;
    }
    bytes.resize(done);
    return true;
}

}  // namespace

InstallFileRead InstallFile_Read(HWND owner, const std::string& path, EntrySet& set) {
    if (path.empty() || path.back() == '\\' || !File_ExistsBySearch(path)) {
        Tell(owner, Text_ReadNotFound(path));
        return InstallFileRead::Missing;
    }
    set.Files.clear();
    set.RegKeys.clear();
    set.Shortcuts.clear();
    std::string bytes;
    {
        // Readers may share; a writer still at work must finish first.
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file || !ReadWhole(file.get(), bytes)) {
            Tell(owner, Text_Unreadable(path));
            return InstallFileRead::Unreadable;
        }
    }
    if (InstallFile_Parse(bytes, set).Status != InstallFileStatus::Valid) {
        Tell(owner, Text_InvalidFile(path));
        return InstallFileRead::Invalid;
    }
    return InstallFileRead::Read;
}

bool InstallFile_Write(HWND owner, const std::string& path, const EntrySet& set) {
    if (path.empty()) {
        Tell(owner, Text_WriteNotFound(path));
        return false;
    }
    std::string bytes;
    if (!InstallFile_ToBytes(set, bytes)) return false;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) || put == 0)
            return false;
        done += put;
    }
    return true;
}
