// The matcher reads a pattern as the system's directory search does once it has rewritten it
// into its DOS forms (a "*" before a dot, a "?", a dot before a wildcard or at the end), then
// matches by dynamic programming: no pattern, however many stars it holds, takes more than
// pattern length times name length steps.
#include "NamePattern.h"

#include "PathRules.h"

#include <vector>

namespace {

// Pattern units above the UTF-16 range stand for the DOS forms.
enum : int { Star = 0x10000, DosStar, DosQuestion, DosDot };

// Names are at most 255 units on every file system the uninstaller meets; a table for more
// would only serve a hostile data file.
constexpr std::size_t kLargestTable = 1u << 22;

std::vector<int> Pattern_Tokens(const std::u16string& p) {
    std::vector<int> tokens;
    if (p == u"*.*") return {Star};
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char16_t next = i + 1 < p.size() ? p[i + 1] : u'\0';
        if (p[i] == u'?') tokens.push_back(DosQuestion);
        else if (p[i] == u'*') tokens.push_back(next == u'.' ? DosStar : Star);
        else if (p[i] == u'.' && (next == u'*' || next == u'?' || i + 1 == p.size())) tokens.push_back(DosDot);
        else tokens.push_back(p[i]);
    }
    return tokens;
}

}  // namespace

bool NamePattern_Matches(const std::string& pattern, const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    const std::vector<int> p = Pattern_Tokens(Path_FoldCase(pattern));
    const std::u16string n = Path_FoldCase(name);
    const std::size_t lastDot = n.rfind(u'.');
    const std::size_t width = n.size() + 1;
    if ((p.size() + 1) > kLargestTable / width) return false;
    // at[i * width + j]: pattern from token i matches name from unit j.
    std::vector<char> at((p.size() + 1) * width, 0);
    at[p.size() * width + n.size()] = 1;
    for (std::size_t i = p.size(); i-- > 0;) {
        for (std::size_t j = n.size() + 1; j-- > 0;) {
            const bool more = j < n.size();
            const auto rest = [&](std::size_t ti, std::size_t tj) { return at[ti * width + tj] != 0; };
            bool match = false;
            switch (p[i]) {
                case Star: match = rest(i + 1, j) || (more && rest(i, j + 1)); break;
                case DosStar: match = rest(i + 1, j) || (more && j != lastDot && rest(i, j + 1)); break;
                case DosQuestion:
                    if (!more || j == lastDot) {
                        std::size_t k = i;
                        while (k < p.size() && p[k] == DosQuestion) ++k;
                        match = rest(k, j);
                    } else {
                        match = rest(i + 1, j + 1);
                    }
                    break;
                case DosDot: match = more ? n[j] == u'.' && rest(i + 1, j + 1) : rest(i + 1, j); break;
                default: match = more && n[j] == p[i] && rest(i + 1, j + 1);
            }
            at[i * width + j] = match;
        }
    }
    return at[0] != 0;
}
