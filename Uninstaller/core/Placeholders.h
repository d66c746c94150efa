// Base directories of a run and the path placeholders of data files that stand for them.
#pragma once

#include "EntrySet.h"

#include <string>

// Computed once at start; every directory ends with "\".
struct BaseDirs {
    std::string WindowsDir;
    std::string SystemDir;
    std::string AppDir;
    std::string DataFilePath;
};

// A path the system gave in its raw forms ("\\?\C:\...", "\\?\UNC\server\share\...") in the
// form data files use ("C:\...", "\\server\share\...").
std::string Path_FromSystemForm(const std::string& path);

// BaseDirs from the platform's answers: the Windows and system directories (already ending with
// "\") and the full path of the running uninstaller.
BaseDirs BaseDirs_Make(const std::string& windowsDir, const std::string& systemDir, const std::string& exePath);

// Replaces a leading placeholder of path ("%windir%\", "%currentdir%", "%userfolder%", ...);
// groupFolder is the value of "%userfolder%".
void Placeholders_Expand(std::string& path, const BaseDirs& dirs, const std::string& groupFolder);
// Expands the fields of set that may carry placeholders, in the fixed order installers expect.
void Placeholders_ExpandAll(EntrySet& set, const BaseDirs& dirs);
// Puts every FilePath and the AppFile into canonical form once expanded, so that each pass
// works on the file the system would touch; a path that names nothing becomes "" and is
// skipped as missing.
void Paths_MakeCanonical(EntrySet& set);
