// The uninstaller's only window: "Please wait, uninstalling..." beside the program icon, shown
// while the run works. It cannot be closed by the user.
#pragma once

#include "EntrySet.h"
#include "Placeholders.h"
#include "Win32.h"

constexpr char MfrmClassName[] = "VembrolUninstallMfrm";
constexpr int MfrmIconResource = 1;

class Mfrm {
public:
    Mfrm() = default;
    ~Mfrm();
    Mfrm(const Mfrm&) = delete;
    Mfrm& operator=(const Mfrm&) = delete;

    // Creates the window hidden and disabled; false when the platform refused.
    bool Create(HINSTANCE instance);
    HWND Hwnd() const { return hwnd_; }
    // Enabled, visible and painted at once: the run blocks the message loop afterwards.
    void Show();
    // Invisible and disabled, repainted.
    void Hide();

    // The run's state, owned by the form for the life of the process.
    BaseDirs Dirs;
    EntrySet Entries;
    bool NotAllRemoved = false;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;       // 32 x 32, shown in the window and as its big icon
    HICON smallIcon_ = nullptr;  // 16 x 16, for the caption
};
