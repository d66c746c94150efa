// File-system checks shared by the launch operations.
#include "PathChecks.h"

#include "WideText.h"

namespace {

DWORD Path_Attributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Wide_FromText(path).c_str());
}

}  // namespace

bool Path_Exists(const std::string& path) { return Path_Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool Path_IsFile(const std::string& path) {
    const DWORD attributes = Path_Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
