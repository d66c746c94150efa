// Guard of the application-directory wipe. It errs on the side of wiping nothing: a data file
// is written by another program, and a wrong AppFile must never empty a system folder.
#include "AppDirWipe.h"

#include "Placeholders.h"

#include <cstddef>

namespace {

std::string Folded(const std::string& dir) {
    std::string out;
    out.reserve(dir.size() + 1);
    for (char c : dir) out += Ascii_ToLower(c);
    if (out.empty() || out.back() != '\\') out += '\\';
    return out;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The number of levels below the drive or share root of "X:\..." or "\\server\share\...",
// or -1 when dir has another form, or a level that is empty, "." or "..", or holds a wildcard
// or "/": the only paths whose text alone says which folder they are.
int LevelsBelowRoot(const std::string& dir) {
    std::size_t from = 0;
    int rootLevels = 0;
    if (dir.size() >= 3 && IsAsciiLetter(dir[0]) && dir[1] == ':' && dir[2] == '\\') {
        from = 3;
    } else if (dir.compare(0, 2, "\\\\") == 0) {
        from = 2;
        rootLevels = 2;  // server and share
    } else {
        return -1;
    }
    std::string rest = dir.substr(from);
    if (!rest.empty() && rest.back() != '\\') rest += '\\';
    int levels = 0;
    for (std::size_t start = 0; start < rest.size();) {
        std::size_t end = rest.find('\\', start);
        std::string level = rest.substr(start, end - start);
        if (level.empty() || level == "." || level == ".." || level.find_first_of("/?*") != std::string::npos)
            return -1;
        ++levels;
        start = end + 1;
    }
    return levels < rootLevels ? -1 : levels - rootLevels;
}

bool IsSameOrBelow(const std::string& foldedDir, const std::string& foldedBase) {
    return foldedDir.compare(0, foldedBase.size(), foldedBase) == 0;
}

}  // namespace

bool Directory_SameText(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }

bool Directory_IsAppDir(const std::string& listedDir, const std::string& appFile) {
    std::string appDir = Path_GetParent(appFile);
    return !appDir.empty() && !listedDir.empty() && Directory_SameText(listedDir, appDir);
}

bool Directory_MayBeWiped(const std::string& fullDir, const std::string& windowsDir, const std::string& systemDir) {
    if (LevelsBelowRoot(windowsDir) < 0 || LevelsBelowRoot(systemDir) < 0) return false;
    if (LevelsBelowRoot(fullDir) < 1) return false;
    std::string dir = Folded(fullDir);
    return !IsSameOrBelow(dir, Folded(windowsDir)) && !IsSameOrBelow(dir, Folded(systemDir));
}
