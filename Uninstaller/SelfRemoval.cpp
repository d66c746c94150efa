// The copy learns which process to wait for through a handle it inherits, never through a path:
// whatever starts it, it can only delete the image of a process it was given a handle to, and
// that file's folder when empty. It runs elevated, so it runs from a folder that only SYSTEM and
// the administrators may change; and a copy's duties are taken up only by a program that runs
// from such a folder and holds a handle to another process of its own bytes, so that no
// variable planted in an ordinary run's environment makes it one.
#include "SelfRemoval.h"

#include "FileSearch.h"
#include "Handles.h"
#include "PathRules.h"
#include "Text.h"
#include "WideText.h"

#include <sddl.h>

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

// Carries the inherited handle's value to the copy, beside the command line that the
// uninstaller's users own. Anyone can set it; it counts only together with the checks of
// SelfRemoval_RunAsCopy.
constexpr wchar_t kOriginalVariable[] = L"VEMBROL_UNINSTALL_ORIGINAL";
constexpr char kCopyFolderPrefix[] = "Vembrol-Uninstall-";
// Protected, so that nothing of the temporary folder's own rules (where users may create and
// own folders) is inherited: only SYSTEM and the administrators can change, rename or replace
// the copy or put a DLL beside it between its copy and its start.
constexpr wchar_t kCopyFolderAccess[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
// The original ends right after starting the copy; this only bounds a copy whose original hangs.
constexpr DWORD kOriginalWaitMs = 5 * 60 * 1000;
// How long the original waits for its copy to know it: far longer than the copy needs.
constexpr DWORD kCopyReadyWaitMs = 30000;
// The image file can stay locked for a moment after its process has ended.
constexpr DWORD kDeleteRetryMs = 10000;
constexpr DWORD kDeleteRetryStepMs = 50;
// Far above the uninstaller's size; a larger file is no copy of it.
constexpr LONGLONG kLargestImage = 64ll * 1024 * 1024;

// The Windows folder's own temporary folder, not the user's: the user's inherits the user's
// full control. The system's Windows folder, also on a Remote Desktop host.
std::string CopyParent_Get() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return "";
    return Path_Canonical(Path_WithTrailingBackslash(Text_FromWide(buffer, length)) + "Temp\\");
}

// A folder no other program uses: made here, so it cannot be one that existed before.
std::string CopyFolder_Make(const std::string& parent) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kCopyFolderAccess, SDDL_REVISION_1, &descriptor, nullptr))
        return "";
    UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = parent + kCopyFolderPrefix + std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(GetTickCount() + attempt) + "\\";
        if (CreateDirectoryW(Wide_FromText(folder).c_str(), &security)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
}

// Whether self lies directly in a folder of the kind made for a copy. Its rules are not read
// back: they guard the copy against others, while a program someone else put in such a folder
// runs with that someone's own rights and gains nothing by taking up a copy's duties.
bool Path_InCopyFolder(const std::string& self) {
    const std::string parent = CopyParent_Get(), folder = Path_GetParent(self);
    if (parent.empty() || folder.size() <= parent.size() + 1 || !Path_Equal(folder.substr(0, parent.size()), parent))
        return false;
    const std::string name = folder.substr(parent.size(), folder.size() - parent.size() - 1);
    return name.find('\\') == std::string::npos && name.rfind(kCopyFolderPrefix, 0) == 0;
}

bool File_ReadAll(const std::string& path, std::string& bytes) {
    UniqueFile file(CreateFileW(Wide_FromText(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestImage) return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

bool Files_SameBytes(const std::string& a, const std::string& b) {
    std::string bytesA, bytesB;
    return File_ReadAll(a, bytesA) && File_ReadAll(b, bytesB) && bytesA == bytesB;
}

// The variable holds "<process>" or "<process>;<ready event>", handle numbers in decimal.
HANDLE Handle_Parse(const wchar_t* text, const wchar_t*& end) {
    wchar_t* after = nullptr;
    const unsigned long long number = std::wcstoull(text, &after, 10);
    end = after;
    if (!after || after == text || number == 0 || static_cast<std::uintptr_t>(number) != number) return nullptr;
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(number));
}

// The handle the variable names, when it is a handle to another process running this very
// program from somewhere else; null otherwise. The number may name any handle of this process
// or none: only the kernel's answers count.
HANDLE Original_Find(const wchar_t* value, const std::string& self, std::string& image, HANDLE& ready) {
    const wchar_t* end = nullptr;
    const HANDLE handle = Handle_Parse(value, end);
    ready = nullptr;
    if (handle && *end == L';') ready = Handle_Parse(end + 1, end);
    if (!handle || *end != L'\0') return nullptr;
    const DWORD id = GetProcessId(handle);
    if (id == 0 || id == GetCurrentProcessId()) return nullptr;
    image = Process_GetImagePath(handle);
    if (image.empty() || Path_Equal(Path_Canonical(image), Path_Canonical(self))) return nullptr;
    return Files_SameBytes(image, self) ? handle : nullptr;
}

void Reboot_ScheduleDeletion(const std::string& path) {
    MoveFileExW(Wide_FromText(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

bool File_DeleteWhenReleased(const std::wstring& path) {
    for (DWORD waited = 0;; waited += kDeleteRetryStepMs) {
        if (DeleteFileW(path.c_str())) return true;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (waited >= kDeleteRetryMs) return false;
        Sleep(kDeleteRetryStepMs);
    }
}

}  // namespace

void SelfRemoval_Start() {
    const std::string parent = CopyParent_Get();
    const std::string self = Module_GetPath();
    if (parent.empty() || self.empty()) return;
    const std::string folder = CopyFolder_Make(parent);
    if (folder.empty()) return;
    const std::wstring copy = Wide_FromText(folder + "Uninstall.exe");
    if (!CopyFileW(Wide_FromText(self).c_str(), copy.c_str(), TRUE)) {
        RemoveDirectoryW(Wide_FromText(folder).c_str());
        return;
    }
    HANDLE inheritable = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &inheritable,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0)) {
        DeleteFileW(copy.c_str());
        RemoveDirectoryW(Wide_FromText(folder).c_str());
        return;
    }
    UniqueKernelHandle original(inheritable);
    // The copy reads this program's bytes to know it; this program stays until it has, so that
    // nothing (a test, a user, a second uninstaller) can take the file away in between.
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    UniqueKernelHandle ready(CreateEventW(&inherited, TRUE, FALSE, nullptr));
    SetEnvironmentVariableW(kOriginalVariable, (std::to_wstring(reinterpret_cast<std::uintptr_t>(inheritable)) + L";" +
                                                std::to_wstring(reinterpret_cast<std::uintptr_t>(ready.get())))
                                                   .c_str());
    std::wstring commandLine = L"\"" + copy + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // Started in the folder's parent: a current directory inside its own folder would keep that
    // folder from being deleted.
    const BOOL ok = CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   Wide_FromText(parent).c_str(), &startup, &started);
    SetEnvironmentVariableW(kOriginalVariable, nullptr);
    if (!ok) {
        DeleteFileW(copy.c_str());
        RemoveDirectoryW(Wide_FromText(folder).c_str());
        return;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    const HANDLE either[] = {ready.get(), process.get()};
    if (ready) WaitForMultipleObjects(2, either, FALSE, kCopyReadyWaitMs);
}

bool SelfRemoval_RunAsCopy() {
    wchar_t value[64] = {};
    const DWORD length = GetEnvironmentVariableW(kOriginalVariable, value, 64);
    // Whatever the run turns out to be, the variable must not reach anything it starts.
    if (length != 0) SetEnvironmentVariableW(kOriginalVariable, nullptr);
    if (length == 0 || length >= 64) return false;
    const std::string self = Module_GetPath();
    if (self.empty() || !Path_InCopyFolder(self)) return false;
    std::string image;
    HANDLE ready = nullptr;
    const HANDLE handle = Original_Find(value, self, image, ready);
    if (!handle) return false;
    UniqueKernelHandle original(handle);
    // Taken over only now that the original is known: until then the number may name any
    // handle of this process.
    UniqueKernelHandle readyEvent(ready);
    if (readyEvent) SetEvent(readyEvent.get());
    // Named while the process still runs; only its own image file is ever deleted.
    if (WaitForSingleObject(original.get(), kOriginalWaitMs) == WAIT_OBJECT_0 && File_DeleteWhenReleased(Wide_FromText(image)))
        RemoveDirectoryW(Wide_FromText(Path_GetParent(image)).c_str());
    Reboot_ScheduleDeletion(self);
    const std::string folder = Path_GetParent(self);
    Reboot_ScheduleDeletion(folder.substr(0, folder.size() - 1));
    return true;
}
