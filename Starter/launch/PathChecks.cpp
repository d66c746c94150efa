// File-system checks and the current directory, shared by the launch operations.
#include "PathChecks.h"

#include "Win32.h"

bool Path_Exists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Path_IsFile(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Directory_MakeCurrentIfExists(const std::string& dir) {
    if (Path_Exists(dir)) SetCurrentDirectoryA(dir.c_str());
}
