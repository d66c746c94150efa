// Placeholder expansion and the two path helpers it relies on.
#include "Placeholders.h"

#include "PathRules.h"

#include <cstddef>

namespace {

enum class Base { Windows, System, App, Root, User, Group };

struct Placeholder {
    const char* text;
    Base base;
};

// Tried in this order, each once. The forms with "\" come first so that they swallow the
// path's own separator: every base directory already ends with one.
const Placeholder kPlaceholders[] = {
    {"%windir%\\", Base::Windows},  {"%winsysdir%\\", Base::System}, {"%currentdir%\\", Base::App},
    {"%rootdir%\\", Base::Root},    {"%userdir%\\", Base::User},     {"%windir%", Base::Windows},
    {"%winsysdir%", Base::System},  {"%currentdir%", Base::App},     {"%rootdir%", Base::Root},
    {"%userdir%", Base::User},      {"%userfolder%", Base::Group},
};

bool StartsWithIgnoreCase(const std::string& path, const std::string& placeholder) {
    if (path.size() < placeholder.size()) return false;
    for (std::size_t i = 0; i < placeholder.size(); ++i)
        if (Ascii_ToLower(path[i]) != placeholder[i]) return false;
    return true;
}

std::string Replacement(Base base, const BaseDirs& dirs, const std::string& groupFolder) {
    switch (base) {
        case Base::Windows: return dirs.WindowsDir;
        case Base::System: return dirs.SystemDir;
        case Base::App: return dirs.AppDir;
        case Base::Root: return Path_GetRoot(dirs.AppDir);
        case Base::User: return Path_GetParent(dirs.DataFilePath);
        case Base::Group: return groupFolder;
    }
    return {};
}

}  // namespace

BaseDirs BaseDirs_Make(const std::string& windowsDir, const std::string& systemDir, const std::string& exePath) {
    BaseDirs dirs;
    dirs.WindowsDir = windowsDir;
    dirs.SystemDir = systemDir;
    dirs.AppDir = Path_GetParent(exePath);
    if (dirs.AppDir.empty() || dirs.AppDir.back() != '\\') dirs.AppDir += '\\';
    dirs.DataFilePath = dirs.AppDir + "Uninstall.dat";
    return dirs;
}

void Placeholders_Expand(std::string& path, const BaseDirs& dirs, const std::string& groupFolder) {
    for (const auto& p : kPlaceholders) {
        std::string placeholder = p.text;
        if (StartsWithIgnoreCase(path, placeholder))
            path = Replacement(p.base, dirs, groupFolder) + path.substr(placeholder.size());
    }
}

void Placeholders_ExpandAll(EntrySet& set, const BaseDirs& dirs) {
    const std::string& group = set.Info.GroupFolder;
    for (auto& f : set.Files) {
        Placeholders_Expand(f.ExtraPath, dirs, group);
        Placeholders_Expand(f.FilePath, dirs, group);
    }
    for (auto& s : set.Shortcuts) {
        Placeholders_Expand(s.Folder, dirs, group);
        Placeholders_Expand(s.ExtraPath, dirs, group);
    }
    Placeholders_Expand(set.Info.ExtraPath, dirs, group);
    Placeholders_Expand(set.Info.AppFile, dirs, group);
}

void Paths_MakeCanonical(EntrySet& set) {
    for (auto& f : set.Files) f.FilePath = Path_Canonical(f.FilePath);
    set.Info.AppFile = Path_Canonical(set.Info.AppFile);
}

std::string Path_GetRoot(const std::string& path) {
    std::string p = path.substr(0, 32767);
    if (p.compare(0, 2, "\\\\") != 0) return p.substr(0, 3);
    p += '\\';
    std::size_t serverEnd = p.find('\\', 2);
    if (serverEnd == std::string::npos) return {};
    std::size_t shareEnd = p.find('\\', serverEnd + 1);
    if (shareEnd == std::string::npos) return {};
    return p.substr(0, shareEnd + 1);
}

