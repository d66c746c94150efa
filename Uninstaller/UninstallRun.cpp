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

#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace {

// The path a shortcut leads to, as written in it, read by the shell's own reader of shortcut files. The calling thread may or may not have COM
// started already; it is left as it was.
DWORD ShellLink_ReadTarget(const std::string& folder, const std::string& linkName, std::string& target) {
    target.clear();
    const std::string file = ShellLink_File(folder, linkName);
    if (file.empty()) return ERROR_INVALID_NAME;
    const std::wstring path = Wide_FromText(file);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_FILE_NOT_FOUND;
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DWORD error = ERROR_BAD_FORMAT;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persisted = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted)))) {
            std::vector<wchar_t> written(32768), expanded(32768);
            if (SUCCEEDED(persisted->Load(path.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(written.data(), 32768, nullptr, SLGP_RAWPATH))) {
                const DWORD length = ExpandEnvironmentStringsW(written.data(), expanded.data(), 32768);
                target = Text_FromWideBuffer(length > 0 && length <= 32768 ? expanded.data() : written.data(), 32768);
                error = 0;
            }
            persisted->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(started)) CoUninitialize();
    return error;
}

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
