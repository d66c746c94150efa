// Files and directories as the uninstaller sees them: through a directory search that shows
// ordinary, read-only and archive files, never hidden or system ones.
#pragma once

#include "Win32.h"

#include <string>
#include <vector>

// True when a search for path (a name, or a pattern with * and ?) shows a visible file.
bool File_ExistsBySearch(const std::string& path);
// True when the search reads path as a pattern: * and ?, and the DOS forms < > " of them.
bool Path_IsPattern(const std::string& path);
// The answer of File_ExistsBySearch, from one look at the attributes for a plain name (a
// search costs a folder read each time) and from the search for a pattern.
bool File_IsThere(const std::string& path);
// The full paths of the visible files the search for path shows.
std::vector<std::string> File_FindMatching(const std::string& path);
// Deletes the files; returns the system's error of the last deletion that failed (0 when none
// failed); the caller's next existence test decides.
DWORD Files_Delete(const std::vector<std::string>& paths);
bool File_Delete(const std::string& path);

bool Directory_IsPresent(const std::string& path);
// Attributes of path (INVALID_FILE_ATTRIBUTES when it is not there), as one look.
DWORD Path_GetAttributes(const std::string& path);
// Removes an empty directory; false when it is not there or not empty.
bool Directory_Remove(const std::string& path);
// The names of the visible files directly in dir (which ends with "\"); no subdirectories.
std::vector<std::string> Directory_ListFiles(const std::string& dir);

// Equality of two paths as the file system compares names: without regard to case.
bool Path_SameIgnoringCase(const std::string& a, const std::string& b);
