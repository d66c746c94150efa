// Finds the installation's running programs by walking the process list and comparing image
// paths: the Restart Manager would be the system's own way, but it cannot be relied on
// everywhere the uninstaller runs, and a walk finds the same processes.
#include "RunningPrograms.h"

#include "FileSearch.h"
#include "Handles.h"
#include "PathRules.h"
#include "WideText.h"

#include <tlhelp32.h>

#include <unordered_set>

namespace {

constexpr DWORD kCloseWaitMs = 10000;

// Folded as the file system compares names, so that the set finds a program by any case of it.
std::u16string Path_Folded(const std::string& path) { return Path_FoldCase(Path_Canonical(path)); }

std::unordered_set<std::u16string> ListedPrograms(const std::vector<FileRecord>& files) {
    std::unordered_set<std::u16string> listed;
    Win32Disk disk;
    for (const auto& f : files) {
        if (f.Keep != 0 || f.FilePath.empty()) continue;
        if (!Path_IsPattern(f.FilePath)) {
            listed.insert(Path_Folded(f.FilePath));
        } else {
            for (const auto& match : File_FindMatching(disk, f.FilePath)) listed.insert(Path_Folded(match));
        }
    }
    listed.erase(std::u16string());
    return listed;
}

struct Running {
    DWORD id;
    UniqueKernelHandle handle;
};

std::vector<Running> Processes_Find(const std::unordered_set<std::u16string>& listed) {
    std::vector<Running> found;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        // The uninstaller itself may be listed; it ends on its own.
        if (entry.th32ProcessID == 0 || entry.th32ProcessID == GetCurrentProcessId()) continue;
        UniqueKernelHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (!process) continue;
        if (listed.count(Path_Folded(Process_GetImagePath(process.get()))) == 0) continue;
        found.push_back({entry.th32ProcessID, std::move(process)});
    }
    return found;
}

BOOL CALLBACK Window_AskToClose(HWND window, LPARAM lParam) {
    const auto& running = *reinterpret_cast<const std::vector<Running>*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    for (const auto& r : running)
        if (r.id == owner) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void RunningPrograms_Close(const std::vector<FileRecord>& files) {
    const std::unordered_set<std::u16string> listed = ListedPrograms(files);
    if (listed.empty()) return;
    const std::vector<Running> running = Processes_Find(listed);
    if (running.empty()) return;
    EnumWindows(Window_AskToClose, reinterpret_cast<LPARAM>(&running));
    // Ten seconds in all, not each: the window thread keeps answering meanwhile.
    const DWORD deadline = GetTickCount() + kCloseWaitMs;
    for (const auto& r : running) {
        const DWORD left = deadline - GetTickCount();
        if (static_cast<LONG>(left) <= 0) break;
        WaitForSingleObject(r.handle.get(), left);
    }
}
