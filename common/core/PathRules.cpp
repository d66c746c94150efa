// Path canonicalisation and the containment rules built on it. The rules follow the system's
// full-path function (checked against it under Wine), erring towards naming nothing.
#include "PathRules.h"

#include "Text.h"

#include <cstring>

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

struct UpperRange {
    char16_t first, last;
    int delta;
    int step;
};
constexpr UpperRange UpperRanges[] = {
#include "OrdinalUpperTable.inc"
};

}  // namespace

char16_t Ordinal_Upper(char16_t unit) {
    if (unit < 0x80) return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit;
    std::size_t low = 0, high = sizeof UpperRanges / sizeof UpperRanges[0];
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (UpperRanges[middle].last < unit) low = middle + 1;
        else high = middle;
    }
    if (low == sizeof UpperRanges / sizeof UpperRanges[0]) return unit;
    const UpperRange& range = UpperRanges[low];
    if (unit < range.first || (unit - range.first) % range.step != 0) return unit;
    return static_cast<char16_t>(unit + range.delta);
}

std::u16string Path_FoldCase(const std::string& path) {
    std::u16string units = Text_ToUtf16(path);
    for (char16_t& unit : units) unit = Ordinal_Upper(unit);
    return units;
}

bool Path_Equal(const std::string& a, const std::string& b) {
    // Most paths differ early or are plain ASCII: compare bytes first, units only past them.
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && static_cast<unsigned char>(a[i]) < 0x80 &&
           static_cast<unsigned char>(b[i]) < 0x80) {
        if (Ordinal_Upper(static_cast<char16_t>(a[i])) != Ordinal_Upper(static_cast<char16_t>(b[i]))) return false;
        ++i;
    }
    if (i == a.size() || i == b.size()) return a.size() == b.size();
    return Path_FoldCase(a.substr(i)) == Path_FoldCase(b.substr(i));
}

// One pass over the text, building the result in place: the plans canonicalise every listed
// path, up to 32,767 of them per run.
std::string Path_Canonical(const std::string& path) {
    std::string out;
    std::size_t from = 0;
    if (!Root_Split(path, out, from)) return "";
    const std::size_t rootSize = out.size();
    out.reserve(path.size() + 1);
    // Where the last level of out begins (its separator, if any); levels hold no "\".
    auto lastLevelStart = [&]() -> std::size_t {
        const std::size_t cut = out.rfind('\\');
        return cut == std::string::npos || cut < rootSize ? rootSize : cut;
    };
    // What follows the last separator is the last level: empty when the path ends with one.
    bool endsWithSeparator = from >= path.size() || IsSeparator(path.back());
    for (std::size_t i = from; i <= path.size();) {
        std::size_t end = i;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const bool last = end >= path.size();
        std::size_t length = end - i;
        const char* level = path.data() + i;
        i = end + 1;
        if (length == 0 || (length == 1 && level[0] == '.')) continue;
        if (length == 2 && level[0] == '.' && level[1] == '.') {
            out.resize(lastLevelStart());
            continue;
        }
        if (last) {
            // A pattern's dots are part of what it matches ("*." is every name without an
            // extension), as the directory search reads them; only its trailing blanks go.
            const bool pattern = std::memchr(level, '*', length) != nullptr || std::memchr(level, '?', length) != nullptr;
            while (length > 0 && ((!pattern && level[length - 1] == '.') || level[length - 1] == ' ')) --length;
            // Trimmed away entirely, the name leaves the separator before it in place.
            if (length == 0) {
                endsWithSeparator = true;
                continue;
            }
        } else {
            if (level[length - 1] == '.') --length;
            // The system would drop a further dot on the next call with this text, so the
            // text would not say which folder is touched ("b..", "...").
            if (length == 0 || level[length - 1] == '.') return "";
        }
        if (out.size() > rootSize) out += '\\';
        out.append(level, length);
    }
    // A "." or ".." at the end makes an inner level the last one, and the system trims the last
    // level once the dots are resolved.
    if (!endsWithSeparator && out.size() > rootSize) {
        const std::size_t start = lastLevelStart();
        const std::size_t levelStart = start + (start > rootSize ? 1 : 0);
        const bool pattern = out.find_first_of("*?", levelStart) != std::string::npos;
        std::size_t keep = out.size();
        while (keep > levelStart && ((!pattern && out[keep - 1] == '.') || out[keep - 1] == ' ')) --keep;
        if (keep == levelStart) {
            out.resize(start);
            endsWithSeparator = true;
        } else {
            out.resize(keep);
        }
    }
    if (endsWithSeparator && out.size() > rootSize) out += '\\';
    return out;
}

std::string Path_GetRoot(const std::string& path) {
    std::string root;
    std::size_t rest = 0;
    return Root_Split(path, root, rest) ? root : "";
}

std::string Path_GetParent(const std::string& path) { return Path_GetDirectory(path); }

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
