// The user's shell folders, asked from the shell directly rather than through the programs' own
// helper, which is part of what the test checks.
#include "LifecycleLayout.h"

#include "Win32.h"

#include <shlobj.h>

namespace lifecycle {
namespace {

std::string ShellFolder_Get(int csidl) {
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return "";
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

Folders Folders_Get() { return {ShellFolder_Get(CSIDL_PROGRAMS), ShellFolder_Get(CSIDL_DESKTOPDIRECTORY)}; }

}  // namespace lifecycle
