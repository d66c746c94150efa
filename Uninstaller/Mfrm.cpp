// The form Mfrm: window class, layout (client 346 x 95 at 96 DPI: the 32 x 32 icon at 16,20,
// the label at 64,28 and the progress bar at 64,60) and the refusal to close.
#include "Mfrm.h"

#include "UninstallTexts.h"
#include "WideText.h"

#include <commctrl.h>

namespace {

// The layout is kept in twips, its own unit, and turned into pixels at the screen's DPI: the
// program declares itself DPI aware, so Windows no longer scales it (at 96 DPI, 15 twips make
// one pixel and the window is 346 x 95).
struct Box {
    int left, top, width, height;
};
constexpr int kProgressHeight = 255;
// The window grows by the bar's height; everything above the bar keeps its place.
constexpr Box kClient = {0, 0, 5190, 1170 + kProgressHeight};
constexpr Box kImage1 = {240, 300, 480, 480};
constexpr Box kLabel1 = {960, 420, 4095, 195};
constexpr Box kProgress1 = {960, 900, 4095, kProgressHeight};

Box Twips_ToPixels(const Box& t) {
    ScreenDc screen(nullptr);
    const int dpiX = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int dpiY = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return {MulDiv(t.left, dpiX, 1440), MulDiv(t.top, dpiY, 1440), MulDiv(t.width, dpiX, 1440),
            MulDiv(t.height, dpiY, 1440)};
}
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HICON LoadAppIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(MfrmIconResource), IMAGE_ICON, size, size, 0));
}

HWND Child_Create(const wchar_t* className, const std::wstring& text, DWORD style, const Box& at, HWND parent,
                  HINSTANCE instance) {
    return CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.width,
                           at.height, parent, nullptr, instance, nullptr);
}

// The message that carries a call from the run's thread to the window's.
constexpr UINT kCallMessage = WM_APP + 1;

DWORD WINAPI Work_Run(LPVOID parameter) {
    auto* work = static_cast<std::pair<const std::function<int()>*, int>*>(parameter);
    work->second = (*work->first)();
    return 0;
}

}  // namespace

Mfrm::~Mfrm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Mfrm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // The run removes things step by step; closing half-way would leave a partial
            // uninstall with no report, so the window never closes on request.
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
            break;
        case kCallMessage:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Mfrm::Create(HINSTANCE instance) {
    const Box client = Twips_ToPixels(kClient);
    const Box image1 = Twips_ToPixels(kImage1);
    const Box label1 = Twips_ToPixels(kLabel1);
    const Box progress1 = Twips_ToPixels(kProgress1);
    icon_.reset(LoadAppIcon(instance, image1.width));
    smallIcon_.reset(LoadAppIcon(instance, 16));
    const std::wstring className = Wide_FromText(MfrmClassName);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon_.get();
    wc.hIconSm = smallIcon_.get();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT r = {0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    hwnd_ = CreateWindowExW(0, className.c_str(), Wide_FromText(UninstallTitle).c_str(), kStyle | WS_DISABLED, x, y,
                            width, height, nullptr, nullptr, instance, nullptr);
    if (!hwnd_) return false;

    HWND image = Child_Create(L"STATIC", L"", SS_ICON, image1, hwnd_, instance);
    if (image && icon_) SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    HWND label = Child_Create(L"STATIC", Wide_FromText(WaitCaption), SS_LEFT, label1, hwnd_, instance);
    if (label) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    progress_ = Child_Create(PROGRESS_CLASSW, L"", 0, progress1, hwnd_, instance);
    return true;
}

void Mfrm::Show() {
    if (!hwnd_) return;
    EnableWindow(hwnd_, TRUE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void Mfrm::Hide() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_HIDE);
    EnableWindow(hwnd_, FALSE);
    UpdateWindow(hwnd_);
}

int Mfrm::RunAnswering(const std::function<int()>& work) {
    if (!hwnd_) return work();
    std::pair<const std::function<int()>*, int> job(&work, 0);
    UniqueKernelHandle thread(CreateThread(nullptr, 0, Work_Run, &job, 0, nullptr));
    if (!thread) return work();
    // The window's own thread only dispatches: it answers within moments while the run deletes,
    // waits for a message box's answer or pauses.
    HANDLE running = thread.get();
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &running, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_FAILED) {
            WaitForSingleObject(thread.get(), INFINITE);
            break;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return job.second;
}

void Mfrm::OnWindowThread(const std::function<void()>& call) {
    if (!hwnd_ || GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId()) {
        call();
        return;
    }
    // Sent, not posted: the run waits for the answer, and the window's thread takes sent
    // messages even while a message box of its own is up.
    SendMessageW(hwnd_, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
}
