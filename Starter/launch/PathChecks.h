// File-system checks shared by the launch operations.
#pragma once

#include <string>

// A file or a directory of that path exists.
bool Path_Exists(const std::string& path);
// An existing file, not a directory.
bool Path_IsFile(const std::string& path);
