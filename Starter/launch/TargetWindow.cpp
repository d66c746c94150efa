// Recognising a running Vembrol by its main window's title and its program file, and restoring
// or closing it without ever waiting on it.
#include "StarterShell.h"

#include "Handles.h"
#include "WideText.h"

namespace {

// Long enough for a busy Vembrol to ask its own questions before closing; a hung one is given
// up at once (SMTO_ABORTIFHUNG), so the tray menu never waits longer than this.
constexpr UINT kCloseTimeoutMs = 3000;

std::string Window_ProgramPath(HWND hwnd) {
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? Process_GetImagePath(process.get()) : "";
}

// The first top-level window with this title (compared without regard to case, as FindWindow
// does) that Vembrol itself owns: an Explorer window on a folder named Vembrol is no Vembrol.
HWND TargetWindow_WithTitle(const char* title) {
    const std::wstring wide = Wide_FromText(title);
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, wide.c_str())) != nullptr;)
        if (TargetProgram_IsImage(Window_ProgramPath(window))) return window;
    return nullptr;
}

}  // namespace

std::int16_t TargetWindow_Find(HWND& hwnd, bool& minimized) {
    for (const TargetTitle& target : TargetTitles_InSearchOrder()) {
        if (HWND found = TargetWindow_WithTitle(target.title)) {
            hwnd = found;
            if (IsIconic(found)) minimized = true;
            return target.state;
        }
    }
    hwnd = nullptr;
    return TargetNotRunning;
}

bool TargetWindow_Control(std::int16_t action) {
    HWND hwnd = nullptr;
    bool minimized = false;
    // Looked up afresh: the menu may have been drawn while another Vembrol ran.
    if (TargetWindow_Find(hwnd, minimized) == TargetNotRunning) return false;
    if (action != TargetAction_Close && action != TargetAction_Restore) return false;
    // Restored and brought to the front in both cases, so that a Vembrol that was minimized or
    // behind other windows shows any question it asks before closing where the user sees it.
    // Asynchronously: a busy Vembrol restores when it gets to it, and the Starter's menu stays at
    // hand meanwhile. Focus can only be given to a window of one's own thread; the foreground
    // can, as the Starter has just had the user's click.
    ShowWindowAsync(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (action == TargetAction_Close) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(hwnd, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs, &ignored);
    }
    return true;
}
