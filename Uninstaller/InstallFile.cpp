// Data file IO: the bytes come from and go to disk here; their meaning is the core's.
#include "InstallFile.h"

#include "FileSearch.h"
#include "Handles.h"
#include "InstallFileFormat.h"
#include "UninstallBox.h"
#include "UninstallTexts.h"
#include "WideText.h"

namespace {

// Far beyond any data file an installer writes (32767 records of each kind with long paths),
// and small enough to read into memory on any machine the program runs on.
constexpr LONGLONG kLargestDataFile = 256ll * 1024 * 1024;

void Tell(HWND owner, const std::string& text) { UninstallBox_Show(owner, text, MB_OK | MB_ICONEXCLAMATION); }

// Installers write the texts in the system's ANSI code page; inside the program text is UTF-8.
// The parser stays on bytes, so the counts it checks are the stored ones.
template <typename Convert>
void EntrySet_ConvertTexts(EntrySet& set, Convert convert) {
    for (std::string* t : {&set.Info.ExtraPath, &set.Info.AppName, &set.Info.AppFile, &set.Info.GroupFolder}) *t = convert(*t);
    for (auto& f : set.Files) {
        f.ExtraPath = convert(f.ExtraPath);
        f.FilePath = convert(f.FilePath);
    }
    for (auto& k : set.RegKeys) {
        k.KeyPath = convert(k.KeyPath);
        k.ExtraText1 = convert(k.ExtraText1);
        k.ExtraText2 = convert(k.ExtraText2);
    }
    for (auto& s : set.Shortcuts) {
        s.Folder = convert(s.Folder);
        s.LinkName = convert(s.LinkName);
        s.ExtraPath = convert(s.ExtraPath);
    }
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

InstallFileRead InstallFile_Read(const std::string& path, EntrySet& set) {
    Win32Disk disk;
    if (path.empty() || path.back() == '\\' || !File_ExistsBySearch(disk, path)) return InstallFileRead::Missing;
    set.Files.clear();
    set.RegKeys.clear();
    set.Shortcuts.clear();
    std::string bytes;
    {
        // Readers may share; a writer still at work must finish first.
        UniqueFile file(CreateFileW(Wide_LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file || !ReadWhole(file.get(), bytes)) return InstallFileRead::Unreadable;
    }
    const InfoRecord before = set.Info;
    if (InstallFile_Parse(bytes, set).Status != InstallFileStatus::Valid) return InstallFileRead::Invalid;
    // A file without a kind-1 record leaves the InfoRecord as it was, already converted.
    const bool infoRead = !(set.Info == before);
    const InfoRecord kept = set.Info;
    EntrySet_ConvertTexts(set, [](const std::string& t) { return Text_FromAnsi(t); });
    if (!infoRead) set.Info = kept;
    return InstallFileRead::Read;
}

bool InstallFile_Write(HWND owner, const std::string& path, const EntrySet& set) {
    if (path.empty()) {
        Tell(owner, Text_WriteNotFound(path));
        return false;
    }
    EntrySet stored = set;
    EntrySet_ConvertTexts(stored, [](const std::string& t) { return Ansi_FromText(t); });
    std::string bytes;
    if (!InstallFile_ToBytes(stored, bytes)) return false;
    UniqueFile file(CreateFileW(Wide_LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
