// Path canonicalisation and the containment rules built on it. The rules follow the system's
// full-path function (checked against it under Wine), erring towards naming nothing.
#include "PathRules.h"

#include <cstring>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The drive or share root in canonical form ("C:\", "\\server\share\") and where the levels
// below it begin; false when the path starts from no root.
bool Root_Split(const std::string& path, std::string& root, std::size_t& rest) {
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        root = path.substr(0, 2) + "\\";
        rest = 3;
        return true;
    }
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
    std::size_t serverEnd = 2;
    while (serverEnd < path.size() && !IsSeparator(path[serverEnd])) ++serverEnd;
    std::size_t shareEnd = serverEnd + 1;
    while (shareEnd < path.size() && !IsSeparator(path[shareEnd])) ++shareEnd;
    if (serverEnd >= path.size() || serverEnd == 2 || shareEnd == serverEnd + 1) return false;
    const std::string server = path.substr(2, serverEnd - 2), share = path.substr(serverEnd + 1, shareEnd - serverEnd - 1);
    // "\\.\" and "\\?\" are device and raw namespaces, no shares; a name ending with a dot
    // or blank ("..", "x.") would be resolved further by the system.
    if (server == "?" || std::strchr(". ", server.back()) || std::strchr(". ", share.back())) return false;
    root = "\\\\" + server + "\\" + share + "\\";
    rest = shareEnd + 1;
    return true;
}

}  // namespace

std::string Path_Canonical(const std::string& path) {
    std::string root;
    std::size_t from = 0;
    if (!Root_Split(path, root, from)) return "";
    std::vector<std::string> levels;
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = from; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            parts.push_back(part);
            part.clear();
        } else {
            part += path[i];
        }
    }
    // The last part is what follows the last separator: empty when the path ends with one.
    bool endsWithSeparator = from >= path.size() || IsSeparator(path.back());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string level = parts[i];
        const bool last = i + 1 == parts.size();
        if (level.empty() || level == ".") continue;
        if (level == "..") {
            if (!levels.empty()) levels.pop_back();
            continue;
        }
        if (last) {
            level.erase(level.find_last_not_of(". ") + 1);
            // Trimmed away entirely, the name leaves the separator before it in place.
            if (level.empty()) {
                endsWithSeparator = true;
                continue;
            }
        } else {
            if (level.back() == '.') level.pop_back();
            // The system would drop a further dot on the next call with this text, so the
            // text would not say which folder is touched ("b..", "...").
            if (level.empty() || level.back() == '.') return "";
        }
        levels.push_back(level);
    }
    // A "." or ".." at the end makes an inner level the last one, and the system trims the last
    // level once the dots are resolved.
    if (!endsWithSeparator && !levels.empty()) {
        std::string& last = levels.back();
        last.erase(last.find_last_not_of(". ") + 1);
        if (last.empty()) {
            levels.pop_back();
            endsWithSeparator = true;
        }
    }
    std::string out = root;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i > 0) out += '\\';
        out += levels[i];
    }
    if (endsWithSeparator && !levels.empty()) out += '\\';
    return out;
}

std::string Path_StrictlyBelow(const std::string& folder, const std::string& relative) {
    std::string base = Path_Canonical(folder);
    if (base.empty()) return "";
    if (base.back() != '\\') base += '\\';
    // An absolute or rooted relative part would not be taken inside the folder.
    if (!relative.empty() && (IsSeparator(relative[0]) || relative.find(':') != std::string::npos)) return "";
    std::string full = Path_Canonical(base + relative);
    if (full.size() <= base.size() || full.compare(0, base.size(), base) != 0) return "";
    return full;
}

bool ShortcutName_IsValid(const std::string& linkName) {
    if (linkName.find_first_not_of(". ") == std::string::npos) return false;
    for (unsigned char c : linkName) {
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
    }
    return true;
}
