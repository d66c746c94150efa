// The Starter's message box.
#include "StarterShell.h"

#include "StarterTexts.h"

int StarterBox(const std::string& text, UINT style) {
    // No owner: the main form is hidden and disabled. A tray program is rarely the foreground
    // process, so the box asks to be brought to the front instead of opening behind other windows.
    return MessageBoxA(nullptr, text.c_str(), StarterText::AppTitle, style | MB_SETFOREGROUND);
}
