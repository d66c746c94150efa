// The copy learns which process to wait for through a handle it inherits, never through a path:
// whatever starts it, it can only delete the image of a process it was given a handle to, and
// that file's folder when empty.
#include "SelfRemoval.h"

#include "FileSearch.h"
#include "Handles.h"
#include "PathRules.h"
#include "Text.h"
#include "WideText.h"

#include <cwchar>
#include <string>

namespace {

// Carries the inherited handle's value to the copy, beside the command line that the
// uninstaller's users own.
constexpr wchar_t kOriginalVariable[] = L"VEMBROL_UNINSTALL_ORIGINAL";
// The original ends right after starting the copy; this only bounds a copy whose original hangs.
constexpr DWORD kOriginalWaitMs = 5 * 60 * 1000;
// The image file can stay locked for a moment after its process has ended.
constexpr DWORD kDeleteRetryMs = 10000;
constexpr DWORD kDeleteRetryStepMs = 50;

std::string TempFolder_Get() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return "";
    return Path_Canonical(Path_WithTrailingBackslash(Text_FromWide(buffer, length)));
}

// A folder no other program uses: made here, so it cannot be one that existed before.
std::string TempFolder_MakeOwn(const std::string& temp) {
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = temp + "Uninstall-" + std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(GetTickCount() + attempt) + "\\";
        if (CreateDirectoryW(Wide_FromText(folder).c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
    return "";
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
    const std::string temp = TempFolder_Get();
    const std::string self = Module_GetPath();
    if (temp.empty() || self.empty()) return;
    const std::string folder = TempFolder_MakeOwn(temp);
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
    SetEnvironmentVariableW(kOriginalVariable, std::to_wstring(reinterpret_cast<std::uintptr_t>(inheritable)).c_str());
    std::wstring commandLine = L"\"" + copy + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // Started in the temporary folder's parent: a current directory inside its own folder
    // would keep that folder from being deleted.
    const BOOL ok = CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   Wide_FromText(temp).c_str(), &startup, &started);
    SetEnvironmentVariableW(kOriginalVariable, nullptr);
    if (!ok) {
        DeleteFileW(copy.c_str());
        RemoveDirectoryW(Wide_FromText(folder).c_str());
        return;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

bool SelfRemoval_RunAsCopy() {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(kOriginalVariable, value, 32);
    if (length == 0 || length >= 32) return false;
    // The variable must not reach anything this copy might start.
    SetEnvironmentVariableW(kOriginalVariable, nullptr);
    wchar_t* end = nullptr;
    const unsigned long long number = std::wcstoull(value, &end, 10);
    const std::string self = Module_GetPath();
    if (end && *end == L'\0' && number != 0) {
        UniqueKernelHandle original(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(number)));
        // Named while the process still runs; only its own image file is ever deleted.
        const std::string image = Process_GetImagePath(original.get());
        if (!image.empty() && !Path_Equal(image, self) &&
            WaitForSingleObject(original.get(), kOriginalWaitMs) == WAIT_OBJECT_0 &&
            File_DeleteWhenReleased(Wide_FromText(image)))
            RemoveDirectoryW(Wide_FromText(Path_GetParent(image)).c_str());
    }
    if (!self.empty()) {
        Reboot_ScheduleDeletion(self);
        const std::string folder = Path_GetParent(self);
        Reboot_ScheduleDeletion(folder.substr(0, folder.size() - 1));
    }
    return true;
}
