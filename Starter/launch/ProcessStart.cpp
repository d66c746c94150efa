// Starting programs, and where the running Starter lies.
#include "StarterShell.h"

#include "Handles.h"
#include "PathChecks.h"

#include <vector>

bool Process_Start(const std::string& commandLine, const std::string& program) {
    // Without a program name Windows splits an unquoted command line at each blank and starts
    // the first prefix that exists, so "C:\Program Files\X\y.exe" could start a planted
    // C:\Program.exe. Naming the program closes that hole; the command line, which the started
    // program reads, stays exactly as given.
    const char* application = Path_IsFile(program) ? program.c_str() : nullptr;
    std::vector<char> writable(commandLine.begin(), commandLine.end());  // CreateProcessA may write into it
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(application, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    return true;
}

namespace {

std::string Module_Path() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "";
        // A full buffer means the path was cut; long-path installs need a larger one.
        if (length < buffer.size() || buffer.size() >= 65536) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string Starter_Directory() {
    std::string directory = Path_GetDirectory(Module_Path());
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

std::string Starter_BaseName() {
    return Path_RemoveExtension(Path_GetFileName(Module_Path()));
}
