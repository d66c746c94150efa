// Single instance through a named mutex that lives as long as the Starter's process.
#include "SingleInstance.h"

#include "Win32.h"

namespace {

// "Local\" scopes the name to the logon session, so every user at a terminal server has one
// Starter of their own.
constexpr wchar_t kMutexName[] = L"Local\\Vembrol Starter single instance";

}  // namespace

bool SingleInstance_Claim() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!mutex) {
        // Access denied means the mutex exists under a security descriptor of another Starter.
        return GetLastError() != ERROR_ACCESS_DENIED;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    // Deliberately never closed: the open handle is what marks this process as the running
    // Starter, and the system releases it when the process ends, however it ends.
    return true;
}
