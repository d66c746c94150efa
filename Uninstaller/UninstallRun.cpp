// The run on the real machine: the Win32 disk and platform under the portable steps.
#include "UninstallRun.h"

#include "FileSearch.h"
#include "InstallFile.h"
#include "KtShellRegistration.h"
#include "Rmod.h"
#include "RunningPrograms.h"
#include "SelfRemoval.h"
#include "UninstallSteps.h"
#include "WideText.h"

#include <shlobj.h>

#include <vector>

namespace {

class Win32RunPlatform : public RunPlatform {
public:
    InstallFileRead ReadDataFile(const std::string& path, EntrySet& set) override { return InstallFile_Read(path, set); }
    void ClosePrograms(const std::vector<FileRecord>& files) override { RunningPrograms_Close(files); }
    std::int32_t DeleteKey(std::uint32_t root, const std::string& keyPath) override {
        return Registry_DeleteKeyResult(root, keyPath);
    }
    std::uint32_t RemoveShortcut(const std::string& folder, const std::string& linkName) override {
        return ShellLink_RemoveResult(folder, linkName);
    }
    std::uint32_t ShortcutTarget(const std::string& folder, const std::string& linkName, std::string& target) override {
        return ShellLink_ReadTarget(folder, linkName, target);
    }
    std::string ProgramsFolder() override { return SpecialFolder_GetPath(CSIDL_PROGRAMS); }
};

// The program's path as the system reports it may be a "\\?\" form or hold short names; the
// data file's paths are compared with it, so it takes their long form first.
std::string Module_GetLongPath() {
    const std::string reported = Module_GetPath();
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetLongPathNameW(Wide_FromText(reported).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return length > 0 && length < buffer.size() ? Text_FromWide(buffer.data(), length) : reported;
}

}  // namespace

BaseDirs Uninstall_InitPaths() { return BaseDirs_Make(WindowsDir_Get(), SystemDir_Get(), Module_GetLongPath()); }

RunOutcome Form_Load(RunInteraction& ui) {
    RunState state;
    state.Dirs = Uninstall_InitPaths();
    Win32Disk disk;
    Win32RunPlatform platform;
    const RunOutcome outcome = Uninstall_Run(state, disk, platform, ui);
    if (outcome == RunOutcome::AllRemoved || outcome == RunOutcome::FileStayed) SelfRemoval_Start();
    return outcome;
}
