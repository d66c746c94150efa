// The uninstaller's only window: "Please wait, uninstalling..." beside the program icon and a
// progress bar below, shown while the run works. It cannot be closed by the user.
#pragma once

#include "Handles.h"
#include "Win32.h"

#include <functional>

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
    // Null until Create succeeded; a silent run never creates the window.
    HWND Hwnd() const { return hwnd_; }
    HWND ProgressBar() const { return progress_; }
    // Enabled, visible and painted at once.
    void Show();
    // Invisible and disabled, repainted.
    void Hide();

    // Runs work on a thread of its own while this thread, the window's, answers its messages;
    // returns work's result once it has ended. Without a window, work simply runs here.
    int RunAnswering(const std::function<int()>& work);

    // Runs call on the window's thread and returns once it has: a message box shown there is
    // owned by the window and answered in the window's own loop. Without a window, or on the
    // window's thread, call simply runs here.
    void OnWindowThread(const std::function<void()>& call);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND progress_ = nullptr;
    UniqueIcon icon_;       // 32 x 32, shown in the window and as its big icon
    UniqueIcon smallIcon_;  // 16 x 16, for the caption
};
