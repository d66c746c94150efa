// The uninstaller's only window: "Please wait, uninstalling..." beside the program icon and a
// progress bar below, shown while the run works, drawn for the DPI of its monitor. It cannot be
// closed by the user.
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

    // Creates the window hidden and disabled, centred on the monitor where the mouse is; false
    // when the platform refused.
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
    // The font, icons and boxes of the controls at dpi; the window's client size for them.
    SIZE Layout_Apply(UINT dpi);
    // The window's outer size for its layout at dpi, which may not be applied yet.
    SIZE Window_SizeAtDpi(UINT dpi) const;

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND image_ = nullptr;
    HWND label_ = nullptr;
    HWND progress_ = nullptr;
    UniqueGdiObject font_;  // the system's message font at the window's DPI
    UniqueIcon icon_;       // 32 x 32 at 96 DPI, shown in the window and as its big icon
    UniqueIcon smallIcon_;  // the caption's, 16 x 16 at 96 DPI
};
