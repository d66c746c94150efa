// The tray icon of a window: added, added again, its image replaced, and deleted. Knows nothing
// of the forms.
#pragma once

#include "Win32.h"

#include <shellapi.h>

#include <string>

// Adds the icon (identifier 1) of window; the shell reports mouse actions on it to the window as
// callbackMessage. False when the shell refused the icon.
bool Systray_Add(HWND window, HICON icon, UINT callbackMessage, const std::string& tip);
// Asks the shell for version 4 of the callback (the keyboard's events, the anchor in wParam);
// false when the shell keeps to the older form. Needed after every add.
bool Systray_UseVersion4(HWND window);
// Shows another image for the icon of window, such as one drawn for a new DPI.
bool Systray_SetIcon(HWND window, HICON icon);
// Deletes the icon of window; false when the shell had no such icon.
bool Systray_Remove(HWND window);

// The shell call behind all of them. A test replaces it to see the shell refuse an icon, which no
// test desktop does on its own.
using Systray_ShellFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
extern Systray_ShellFunction Systray_Shell;
