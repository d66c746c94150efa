// The form Mfrm: window class, layout at the DPI of its monitor (client 346 x 95 at 96 DPI: the
// 32 x 32 icon at 16,20, the label at 64,28 and the progress bar at 64,60), and the refusal to
// close.
#include "Mfrm.h"

#include "FormLayout.h"
#include "MonitorDpi.h"
#include "UninstallTexts.h"
#include "WideText.h"

#include <commctrl.h>

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Asks, before a DPI change, for the window's size at the new DPI (Windows 10 1703 on).
constexpr UINT kGetDpiScaledSize = 0x02E4;

HICON LoadAppIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(MfrmIconResource), IMAGE_ICON, size, size, 0));
}

HWND Child_Create(const wchar_t* className, const std::wstring& text, DWORD style, HWND parent, HINSTANCE instance) {
    return CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr,
                           instance, nullptr);
}

void Child_Place(HWND child, const PixelRect& r) {
    SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system's message font at dpi; null where the system gives none, and the stock GUI font
// stands in.
HFONT Font_AtDpi(UINT dpi) {
    LOGFONTW font = {};
    return MessageFont_ForDpi(dpi, font) ? CreateFontIndirectW(&font) : nullptr;
}

SIZE Text_Measure(HFONT font, const std::wstring& text) {
    SIZE size = {0, 0};
    ScreenDc screen(nullptr);
    if (!screen.get()) return size;
    ScopedSelectObject selected(screen.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r = {0, 0, 0, 0};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    size.cx = r.right - r.left;
    size.cy = r.bottom - r.top;
    return size;
}

FormLayout Layout_AtDpi(UINT dpi, HFONT font) {
    const SIZE text = Text_Measure(font, Wide_FromText(WaitCaption));
    return FormLayout_AtDpi(dpi, text.cx, text.cy);
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
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* form = reinterpret_cast<Mfrm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
        case kGetDpiScaledSize:
            // The layout does not scale in proportion (a font's height, the frame), so Windows is
            // told the exact size, and suggests a rectangle of that size with the DPI change.
            if (!form || !form->label_) break;
            *reinterpret_cast<SIZE*>(lParam) = form->Window_SizeAtDpi(LOWORD(wParam));
            return TRUE;
        case WM_DPICHANGED:
            // Moved to a monitor of another scaling, or the user changed it.
            if (!form || !form->label_) break;
            form->Layout_Apply(LOWORD(wParam));
            if (const RECT* r = reinterpret_cast<const RECT*>(lParam))
                SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Mfrm::Create(HINSTANCE instance) {
    instance_ = instance;
    const std::wstring className = Wide_FromText(MfrmClassName);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // Opened where the user works: centred on the monitor under the mouse, at that monitor's DPI.
    POINT mouse = {0, 0};
    GetCursorPos(&mouse);
    RECT work = {};
    const UINT dpi = Dpi_ForPoint(mouse, &work);
    const SIZE size = Window_SizeAtDpi(dpi);
    const PixelRect at = Rect_CenteredIn({work.left, work.top, work.right, work.bottom}, size.cx, size.cy);
    hwnd_ = CreateWindowExW(0, className.c_str(), Wide_FromText(UninstallTitle).c_str(), kStyle | WS_DISABLED, at.left,
                            at.top, size.cx, size.cy, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;

    image_ = Child_Create(L"STATIC", L"", SS_ICON, hwnd_, instance);
    label_ = Child_Create(L"STATIC", Wide_FromText(WaitCaption), SS_LEFT | SS_NOPREFIX, hwnd_, instance);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    progress_ = Child_Create(PROGRESS_CLASSW, L"", 0, hwnd_, instance);
    // The window's DPI is its monitor's; where Windows places it elsewhere, it follows.
    const UINT placed = Dpi_ForWindow(hwnd_);
    const SIZE client = Layout_Apply(placed);
    if (placed != dpi) {
        RECT r = {0, 0, client.cx, client.cy};
        WindowRect_FromClient(r, kStyle, 0, placed);
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

SIZE Mfrm::Window_SizeAtDpi(UINT dpi) const {
    UniqueGdiObject font(Font_AtDpi(dpi));
    const FormLayout layout = Layout_AtDpi(dpi, static_cast<HFONT>(font.get()));
    RECT r = {0, 0, layout.clientWidth, layout.clientHeight};
    WindowRect_FromClient(r, kStyle, 0, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE Mfrm::Layout_Apply(UINT dpi) {
    UniqueGdiObject font(Font_AtDpi(dpi));
    const FormLayout layout = Layout_AtDpi(dpi, static_cast<HFONT>(font.get()));
    UniqueIcon icon(LoadAppIcon(instance_, layout.image.right - layout.image.left));
    UniqueIcon smallIcon(LoadAppIcon(instance_, Metric_ForDpi(SM_CXSMICON, dpi)));
    // The controls take the new font and icons before the old ones go.
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font.get() : GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    font_ = std::move(font);
    icon_ = std::move(icon);
    smallIcon_ = std::move(smallIcon);
    Child_Place(image_, layout.image);
    Child_Place(label_, layout.label);
    Child_Place(progress_, layout.progress);
    return {layout.clientWidth, layout.clientHeight};
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
