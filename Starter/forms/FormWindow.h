// The hidden windows behind the Starter's forms: one window class per form, created on first use.
#pragma once

#include "Win32.h"

#include <string>

struct FormWindowClass {
    const wchar_t* name;
    WNDPROC procedure;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
};

// A top-level window of the class (registered on the first call), hidden, at bounds (left, top,
// width, height); createParam reaches WM_NCCREATE in CREATESTRUCTW::lpCreateParams.
HWND FormWindow_Create(const FormWindowClass& windowClass, const std::string& caption, DWORD style,
                       DWORD extendedStyle, const RECT& bounds, void* createParam);
