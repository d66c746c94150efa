// Starting programs by their full path, finding the program a stored command names, and where
// the running Starter lies.
#include "StarterShell.h"

#include "Handles.h"
#include "KtShellRegistration.h"
#include "PathChecks.h"
#include "WideText.h"

#include <vector>

namespace {

// The folder that holds the system's own programs. On a terminal server GetWindowsDirectory names
// a folder of the user's, which holds no explorer.exe.
std::string SystemWindowsDir_Get() {
    wchar_t buffer[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(buffer, MAX_PATH);
    return Path_WithTrailingBackslash(Text_FromWideBuffer(buffer, MAX_PATH));
}

std::string Environment_Path() {
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) return "";
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATH", buffer.data(), size);
    return length < size ? Text_FromWide(buffer.data(), length) : "";
}

std::string Path_Full(const std::string& path) {
    const std::wstring wide = Wide_FromText(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return "";
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, buffer.data(), nullptr);
    return length > 0 && length < size ? Text_FromWide(buffer.data(), length) : "";
}

}  // namespace

std::string Program_Find(const std::string& program) {
    if (program.empty()) return "";
    if (Program_HasFolder(program)) {
        // A relative path means the Starter's folder, which is current from start-up on.
        const std::string full = Path_Full(program);
        return Path_IsFile(full) ? full : "";
    }
    for (const std::string& folder :
         ProgramSearch_Folders(Starter_Directory(), SystemDir_Get(), SystemWindowsDir_Get(), Environment_Path())) {
        if (Path_IsFile(folder + program)) return folder + program;
    }
    return "";
}

StartCommand StartCommand_Find(const std::string& command) {
    StartCommand found = StartCommand_Split(command, Path_IsFile);
    found.Program = Program_Find(found.Program);
    return found;
}

std::string Explorer_GetPath() { return SystemWindowsDir_Get() + "explorer.exe"; }

bool Process_Start(const std::string& programPath, const std::string& arguments, const std::string& startDirectory) {
    if (programPath.empty()) return false;
    // Named separately, the program is exactly this file: Windows splits nothing and searches
    // nowhere. The started program reads its arguments from the command line alone.
    const std::wstring application = Wide_FromText(programPath);
    std::wstring writable = Wide_FromText(CommandLine_Build(programPath, arguments));  // CreateProcessW may write into it
    const std::wstring directory = Wide_FromText(startDirectory);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &started))
        return false;
    // The Starter has just had the user's click, and the program it starts comes up in front.
    AllowSetForegroundWindow(started.dwProcessId);
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    return true;
}

std::string Starter_Directory() { return Path_WithTrailingBackslash(Path_GetDirectory(Module_GetPath())); }

std::string Starter_BaseName() {
    return Path_RemoveExtension(Path_GetFileName(Module_GetPath()));
}
