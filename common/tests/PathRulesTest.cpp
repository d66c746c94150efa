// Paths from data files: what they name once the system has resolved them, and which of them
// stay inside the folder they must not leave.
#include "PathRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PathCanonical, ResolvesAsTheSystemDoesAndNamesNothingWithoutARoot) {
    const char* const cases[][2] = {
        {"C:\\a\\b\\..\\c", "C:\\a\\c"},
        {"C:/a/b", "C:\\a\\b"},
        {"C:\\a\\\\b\\", "C:\\a\\b\\"},
        {"C:\\..\\..\\x", "C:\\x"},
        {"C:\\a\\..", "C:\\"},
        {"C:\\a\\.", "C:\\a"},
        {"C:\\", "C:\\"},
        {"C:\\a\\b.\\c", "C:\\a\\b\\c"},
        {"C:\\a\\b. \\c", "C:\\a\\b. \\c"},
        {"C:\\a\\Tips...", "C:\\a\\Tips"},
        {"C:\\a\\b \\.", "C:\\a\\b"},
        {"C:\\a\\...", "C:\\a\\"},
        {"C:\\a\\   ", "C:\\a\\"},
        {"C:\\a\\*.", "C:\\a\\*"},
        {"c:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0\\f.txt", "c:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0\\f.txt"},
        {"\\\\srv\\sh\\..\\..\\x", "\\\\srv\\sh\\x"},
        {"//srv/sh/a", "\\\\srv\\sh\\a"},
        {"\\\\srv\\sh", "\\\\srv\\sh\\"},
        // Not from a root, or resolved differently by different system versions: nothing.
        {"C:\\a\\...\\b", ""},
        {"C:\\a\\b..\\c", ""},
        {"C:x.txt", ""},
        {"C:", ""},
        {"\\x", ""},
        {"x\\y", ""},
        {"%windir%\\x", ""},
        {"\\\\srv\\", ""},
        {"\\\\?\\C:\\x", ""},
        {"\\\\srv\\..\\x", ""},
        {"\\\\.\\C:\\x", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Path_Canonical(c[0]), c[1]) << c[0];
        EXPECT_EQ(Path_Canonical(c[1]), c[1]) << "again: " << c[1];
    }
}

TEST(PathStrictlyBelow, KeepsGroupsAndShortcutsInsideTheirFolder) {
    const std::string programs = "C:\\Users\\u\\Start Menu\\Programs\\";
    const char* const cases[][2] = {
        {"Group", "C:\\Users\\u\\Start Menu\\Programs\\Group"},
        {"Group/Sub//App.lnk", "C:\\Users\\u\\Start Menu\\Programs\\Group\\Sub\\App.lnk"},
        {"Tips...", "C:\\Users\\u\\Start Menu\\Programs\\Tips"},
        {"Group\\Tips....lnk", "C:\\Users\\u\\Start Menu\\Programs\\Group\\Tips....lnk"},
        {"Sub\\..\\Group", "C:\\Users\\u\\Start Menu\\Programs\\Group"},
        {"..\\Programs\\Group", "C:\\Users\\u\\Start Menu\\Programs\\Group"},
        // The Programs folder itself, or a way out of it.
        {"", ""},
        {"...", ""},
        {"   ", ""},
        {"Group\\..", ""},
        {"..", ""},
        {"..\\Other", ""},
        {"..\\..\\Desktop\\App.lnk", ""},
        {"..\\programs\\Group", ""},
        {"\\Group", ""},
        {"C:\\Group", ""},
        {"Group:stream", ""},
        {"...\\x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Path_StrictlyBelow(programs, c[0]), c[1]) << '"' << c[0] << '"';
    EXPECT_EQ(Path_StrictlyBelow("C:\\P", "G"), "C:\\P\\G");
    EXPECT_EQ(Path_StrictlyBelow("", "G"), "");
    EXPECT_EQ(Path_StrictlyBelow("Programs", "G"), "");
}

TEST(ShortcutName, NamesOneFileInItsFolder) {
    for (const char* name : {"App", "Tips...", "Read me", "..App", "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0", "a.b"})
        EXPECT_TRUE(ShortcutName_IsValid(name)) << name;
    for (const char* name : {"", ".", "..", "...", " ", " . ", "a\\b", "a/b", "..\\x", "C:x", "a*", "a?", "a\"b", "a<b",
                             "a>b", "a|b", "a\tb", "a\nb"})
        EXPECT_FALSE(ShortcutName_IsValid(name)) << '"' << name << '"';
}

}  // namespace
