// Windows and system directories, shell special folders, and shortcut removal.
#pragma once

#include "Win32.h"

#include <string>

// The system's Windows directory (the real one, never a Remote Desktop user's own copy), always
// ending with "\".
std::string WindowsDir_Get();
// The system directory, always ending with "\".
std::string SystemDir_Get();
// A special folder's file-system path ending with "\", or "" when it has none.
std::string SpecialFolder_GetPath(int csidl);
// Removes the shortcut "<linkName>.lnk" from folder, taken relative to the current user's
// Start-menu Programs folder ("..\..\Desktop" stands for the user's desktop); a file that would
// not lie below that folder, or a name that is no shortcut name, is left alone. True only when
// a shortcut file was removed.
bool ShellLink_Remove(const std::string& folder, const std::string& linkName);
// The same, with the reason: 0 when the shortcut went, ERROR_FILE_NOT_FOUND when there was
// none, ERROR_INVALID_NAME for a name or folder refused as above, or the system's error when
// it stayed.
DWORD ShellLink_RemoveResult(const std::string& folder, const std::string& linkName);
// The shortcut file "<linkName>.lnk" in folder, taken as above; "" when the name or the folder
// is refused.
std::string ShellLink_File(const std::string& folder, const std::string& linkName);
