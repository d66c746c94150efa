// The Starter's message box.
#include "StarterShell.h"

#include "StarterTexts.h"
#include "WideText.h"

int StarterBox(const std::string& text, UINT style) {
    // No owner: the main form is hidden and disabled. A tray program is rarely the foreground
    // process, so the box asks to be brought to the front instead of opening behind other windows.
    return MessageBox_Show(nullptr, text, StarterText::AppTitle, style | MB_SETFOREGROUND);
}
