// Uninstall.exe: reads its command line, then the whole run happens in the form's load while
// the window keeps answering; the run's outcome is the exit code.
#include "CommandLine.h"
#include "DllSearch.h"
#include "Mfrm.h"
#include "RunInteractions.h"
#include "RunReport.h"
#include "SelfRemoval.h"
#include "UninstallBox.h"
#include "UninstallRun.h"
#include "WideText.h"

#include <cwchar>

namespace {

[[noreturn]] void Refuse(const UninstallOptions& options, const std::string& why) {
    if (!options.Silent) UninstallBox_Show(nullptr, why + "\n\n" + Text_Usage, MB_OK | MB_ICONEXCLAMATION);
    ExitProcess(static_cast<UINT>(RunOutcome::CommandLineRefused));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // It runs as administrator, often from a download folder full of other files.
    DllSearch_RestrictToSystem();
    // The temporary copy that deletes the uninstaller after a run does only that.
    if (SelfRemoval_RunAsCopy()) ExitProcess(0);
    const UninstallOptions options = CommandLine_Parse(Text_FromWide(GetCommandLineW(), std::wcslen(GetCommandLineW())));
    if (!options.Understood) Refuse(options, Text_NotUnderstood(options.Refused));
    if (options.ShowUsage) {
        UninstallBox_Show(nullptr, Text_Usage, MB_OK | MB_ICONINFORMATION);
        ExitProcess(static_cast<UINT>(RunOutcome::AllRemoved));
    }
    std::string reason;
    if (!RunReport_Start(options, reason)) Refuse(options, Text_LogNotOpened(options.LogPath, reason));

    Mfrm form;
    // A silent run has no window; an interactive one whose window cannot be made still asks
    // and reports through its message boxes.
    if (!options.Silent) form.Create(instance);
    if (form.ProgressBar()) RunReport_SetProgressBar(form.ProgressBar());
    WindowInteraction window(form);
    SilentInteraction silent;
    RunInteraction& ui = options.Silent ? static_cast<RunInteraction&>(silent) : window;
    const RunOutcome outcome = static_cast<RunOutcome>(form.RunAnswering([&] { return static_cast<int>(Form_Load(ui)); }));
    RunReport_Finish(outcome);
    // Ends at once, as the run's last message box is answered: nothing is left to unload.
    ExitProcess(static_cast<UINT>(outcome));
}
