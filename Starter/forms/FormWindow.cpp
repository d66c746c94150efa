// Window classes and windows of the hidden forms.
#include "FormWindow.h"

#include "WideText.h"

namespace {

// IDC_ARROW is a narrow resource name unless UNICODE is set; the wide call takes the same number.
const LPCWSTR kArrowCursor = reinterpret_cast<LPCWSTR>(IDC_ARROW);

}  // namespace

HWND FormWindow_Create(const FormWindowClass& windowClass, const std::string& caption, DWORD style,
                       DWORD extendedStyle, const RECT& bounds, void* createParam) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowClass.procedure;
    wc.cbWndExtra = sizeof(LONG_PTR);  // room for the form that owns the window
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.iconSmall;
    wc.hCursor = LoadCursorW(nullptr, kArrowCursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass.name;
    RegisterClassExW(&wc);  // fails harmlessly when the class is already there
    return CreateWindowExW(extendedStyle, windowClass.name, Wide_FromText(caption).c_str(), style, bounds.left,
                           bounds.top, bounds.right, bounds.bottom, nullptr, nullptr, instance, createParam);
}
