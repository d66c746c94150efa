// Starting programs, and where the running Starter lies.
#include "StarterShell.h"

#include "Handles.h"
#include "PathChecks.h"
#include "WideText.h"

bool Process_Start(const std::string& commandLine, const std::string& program) {
    // Without a program name Windows splits an unquoted command line at each blank and starts
    // the first prefix that exists, so "C:\Program Files\X\y.exe" could start a planted
    // C:\Program.exe. Naming the program closes that hole; the command line, which the started
    // program reads, stays exactly as given.
    const std::wstring application = Path_IsFile(program) ? Wide_FromText(program) : std::wstring();
    std::wstring writable = Wide_FromText(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), writable.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &started))
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
