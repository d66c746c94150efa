// Arbitrary bytes as paths from a data file: a canonical path is stable, holds no level the
// system would resolve further, and a path "strictly below" a folder never leaves it.
#include "PathRules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckCanonical(const std::string& c) {
    if (c.empty()) return;
    Check(Path_Canonical(c) == c);
    Check(c.find('/') == std::string::npos);
    const std::size_t from = c.compare(0, 2, "\\\\") == 0 ? 2 : 0;
    Check(c.find("\\\\", from) == std::string::npos);
    const std::string wrapped = "\\" + c.substr(from) + "\\";
    Check(wrapped.find("\\.\\") == std::string::npos && wrapped.find("\\..\\") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckCanonical(Path_Canonical(text));
    CheckCanonical(Path_Canonical("C:\\" + text));
    const std::string folder = "C:\\Users\\u\\Programs\\";
    const std::string below = Path_StrictlyBelow(folder, text);
    if (!below.empty()) {
        CheckCanonical(below);
        Check(below.size() > folder.size() && below.compare(0, folder.size(), folder) == 0);
    }
    ShortcutName_IsValid(text);
    // Equality without regard to case is an equivalence that the fold key reproduces.
    const std::string a = text.substr(0, size / 2), b = text.substr(size / 2);
    Check(Path_Equal(a, b) == (Path_FoldCase(a) == Path_FoldCase(b)));
    Check(Path_Equal(a, a) && Path_Equal(a, b) == Path_Equal(b, a));
    return 0;
}
