// Placeholder expansion: the base directories of a run and the texts that stand for them.
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

// A placeholder stands at the start of a path and is compared as the path's own names are.
bool StartsWithPlaceholder(const std::string& path, const std::string& placeholder) {
    return path.size() >= placeholder.size() && Path_Equal(path.substr(0, placeholder.size()), placeholder);
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

std::string Path_FromSystemForm(const std::string& path) {
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + path.substr(8);
    if (path.rfind("\\\\?\\", 0) == 0 || path.rfind("\\??\\", 0) == 0) return path.substr(4);
    return path;
}

BaseDirs BaseDirs_Make(const std::string& windowsDir, const std::string& systemDir, const std::string& exePath) {
    BaseDirs dirs;
    dirs.WindowsDir = windowsDir;
    dirs.SystemDir = systemDir;
    // The program's own path is compared with the data file's paths: it takes their form.
    const std::string plain = Path_FromSystemForm(exePath), canonical = Path_Canonical(plain);
    dirs.AppDir = Path_GetParent(canonical.empty() ? plain : canonical);
    if (dirs.AppDir.empty() || dirs.AppDir.back() != '\\') dirs.AppDir += '\\';
    dirs.DataFilePath = dirs.AppDir + "Uninstall.dat";
    return dirs;
}

void Placeholders_Expand(std::string& path, const BaseDirs& dirs, const std::string& groupFolder) {
    for (const auto& p : kPlaceholders) {
        std::string placeholder = p.text;
        if (StartsWithPlaceholder(path, placeholder))
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
