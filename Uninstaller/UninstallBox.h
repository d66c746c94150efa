// Every message box of the uninstaller: titled "Uninstall", whatever it says.
#pragma once

#include "Win32.h"

#include <string>

// Shows text with the given buttons and icon; returns the button pressed.
int UninstallBox_Show(HWND owner, const std::string& text, UINT style);
