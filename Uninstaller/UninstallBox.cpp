#include "UninstallBox.h"

#include "RunReport.h"
#include "UninstallTexts.h"

int UninstallBox_Show(HWND owner, const std::string& text, UINT style) {
    return RunReport_Box(owner, text, UninstallTitle, style);
}
