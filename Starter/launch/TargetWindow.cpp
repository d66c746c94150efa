// Recognising a running Vembrol by its main window's title, and restoring or closing it.
#include "StarterShell.h"

std::int16_t TargetWindow_Find(HWND& hwnd, bool& minimized) {
    for (const TargetTitle& target : TargetTitles_InSearchOrder()) {
        // FindWindowA compares titles without regard to case, so a renamed "VEMBROL" counts too.
        if (HWND found = FindWindowA(nullptr, target.title)) {
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
    // Restored first in both cases, so that a minimized Vembrol shows any question it asks
    // before closing where the user can see it.
    ShowWindow(hwnd, SW_RESTORE);
    SetFocus(hwnd);
    // Sent, not posted: the Starter goes on only after Vembrol has handled the close.
    if (action == TargetAction_Close) SendMessageA(hwnd, WM_CLOSE, 0, 0);
    return true;
}
