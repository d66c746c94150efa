// The form Mfrm: window class, layout (client 346 x 78 at 96 DPI: the 32 x 32 icon at 16,20 and
// the label at 64,28) and the refusal to close.
#include "Mfrm.h"

#include "Handles.h"
#include "UninstallTexts.h"

namespace {

// The layout is kept in twips, its own unit, and turned into pixels at the screen's DPI: the
// program declares itself DPI aware, so Windows no longer scales it (at 96 DPI, 15 twips make
// one pixel and the window is 346 x 78).
struct Box {
    int left, top, width, height;
};
constexpr Box kClient = {0, 0, 5190, 1170};
constexpr Box kImage1 = {240, 300, 480, 480};
constexpr Box kLabel1 = {960, 420, 4095, 195};

Box Twips_ToPixels(const Box& t) {
    ScreenDc screen(nullptr);
    const int dpiX = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int dpiY = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return {MulDiv(t.left, dpiX, 1440), MulDiv(t.top, dpiY, 1440), MulDiv(t.width, dpiX, 1440),
            MulDiv(t.height, dpiY, 1440)};
}
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HICON LoadAppIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(MfrmIconResource), IMAGE_ICON, size, size, 0));
}

}  // namespace

Mfrm::~Mfrm() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (icon_) DestroyIcon(icon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
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
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Mfrm::Create(HINSTANCE instance) {
    const Box client = Twips_ToPixels(kClient);
    const Box image1 = Twips_ToPixels(kImage1);
    const Box label1 = Twips_ToPixels(kLabel1);
    icon_ = LoadAppIcon(instance, image1.width);
    smallIcon_ = LoadAppIcon(instance, 16);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = MfrmClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT r = {0, 0, client.width, client.height};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    hwnd_ = CreateWindowExA(0, MfrmClassName, UninstallTitle, kStyle | WS_DISABLED, x, y, width, height, nullptr,
                            nullptr, instance, nullptr);
    if (!hwnd_) return false;

    HWND image = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, image1.left, image1.top,
                                 image1.width, image1.height, hwnd_, nullptr, instance, nullptr);
    if (image && icon_) SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
    HWND label = CreateWindowExA(0, "STATIC", WaitCaption, WS_CHILD | WS_VISIBLE | SS_LEFT, label1.left, label1.top,
                                 label1.width, label1.height, hwnd_, nullptr, instance, nullptr);
    if (label) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

void Mfrm::Show() {
    EnableWindow(hwnd_, TRUE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void Mfrm::Hide() {
    ShowWindow(hwnd_, SW_HIDE);
    EnableWindow(hwnd_, FALSE);
    UpdateWindow(hwnd_);
}
