// Starting Vembrol from the Starter's own directory, in its normal or a special mode.
#include "StarterShell.h"

#include "Handles.h"
#include "StarterTexts.h"
#include "WideText.h"

namespace {

// Present means what a directory search for normal files finds: a hidden or system
// Vembrol.exe, or a directory of that name, counts as missing.
bool Target_IsPresent(const std::string& path) {
    if (path.empty() || path.back() == '\\') return false;
    WIN32_FIND_DATAW found = {};
    UniqueFind search(FindFirstFileW(Wide_FromText(path).c_str(), &found));
    if (!search) return false;
    constexpr DWORD notNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if (!(found.dwFileAttributes & notNormal)) return true;
    } while (FindNextFileW(search.get(), &found));
    return false;
}

}  // namespace

std::string TargetProgram_GetPath() { return TargetProgram_PathIn(Starter_Directory()); }

// A present Vembrol that still fails to start is passed over: the user sees no window and can
// try again from the menu.
void TargetProgram_Launch() {
    const std::string path = TargetProgram_GetPath();
    if (Target_IsPresent(path)) {
        Process_Start(path, "");
    } else {
        StarterBox(StarterText::TargetMissingNormal, MB_ICONEXCLAMATION | MB_OK);
    }
}

void TargetProgram_LaunchMode(const std::string& path, const std::string& modeSwitch) {
    if (Target_IsPresent(path)) {
        // The switch follows the quoted path after its own blank.
        Process_Start(path, Text_TrimBlanks(modeSwitch));
    } else {
        StarterBox(StarterText::TargetMissingMode, MB_ICONEXCLAMATION | MB_OK);
    }
}
