// File-system checks and the current directory, shared by the launch operations.
#pragma once

#include <string>

// A file or a directory of that path exists.
bool Path_Exists(const std::string& path);
// An existing file, not a directory.
bool Path_IsFile(const std::string& path);
// Makes dir the current directory when it is not empty and exists; failures are passed over.
void Directory_MakeCurrentIfExists(const std::string& dir);
