#include "UninstallBox.h"

#include "UninstallTexts.h"
#include "WideText.h"

int UninstallBox_Show(HWND owner, const std::string& text, UINT style) {
    return MessageBox_Show(owner, text, UninstallTitle, style);
}
