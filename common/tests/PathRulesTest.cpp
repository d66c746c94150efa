// Paths from data files: what they name once the system has resolved them, and which of them
// stay inside the folder they must not leave.
#include "PathRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(PathCanonical, ResolvesAsTheSystemDoesAndNamesNothingWithoutARoot) {
    const char* const cases[][2] = {
        {"C:\\a\\b\\..\\c", "C:\\a\\c"}, {"C:/a//b\\", "C:\\a\\b\\"}, {"C:\\..\\..\\x", "C:\\x"},
        {"C:\\a\\..", "C:\\"}, {"C:\\a\\.", "C:\\a"}, {"C:\\a\\b \\.", "C:\\a\\b"},
        {"C:\\a\\b.\\c", "C:\\a\\b\\c"}, {"C:\\a\\b. \\c", "C:\\a\\b. \\c"},
        {"C:\\a\\Tips...", "C:\\a\\Tips"}, {"C:\\a\\...", "C:\\a\\"},
        // A pattern keeps its dots: "*." is the names without an extension, "*" every name.
        {"C:\\bin\\*.", "C:\\bin\\*."}, {"C:\\bin\\*. ", "C:\\bin\\*."}, {"C:\\bin\\a?..", "C:\\bin\\a?.."},
        {"C:\\bin\\*.\\..\\x.", "C:\\bin\\x"}, {"C:\\bin.\\*.*", "C:\\bin\\*.*"},
        {"//srv/sh/../../x", "\\\\srv\\sh\\x"}, {"\\\\srv\\sh", "\\\\srv\\sh\\"},
        // Not from a root, or resolved differently by different system versions: nothing.
        {"C:\\a\\b..\\c", ""}, {"C:x.txt", ""}, {"\\x", ""}, {"x\\y", ""},
        {"\\\\srv\\", ""}, {"\\\\?\\C:\\x", ""}, {"\\\\.\\C:\\x", ""}, {"\\\\srv\\..\\x", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Path_Canonical(c[0]), c[1]) << c[0];
        EXPECT_EQ(Path_Canonical(c[1]), c[1]) << "again: " << c[1];
    }
}

// The root is where a walk up the folders stops: it must never be a relative text, or a
// level that a ".." could still take back.
TEST(PathRoot, IsTheDriveOrShareAPathStartsFrom) {
    const char* const cases[][2] = {
        {"C:\\a\\b", "C:\\"}, {"c:/a", "c:\\"}, {"C:\\", "C:\\"}, {"\\\\srv\\sh\\x\\y", "\\\\srv\\sh\\"},
        {"//srv/sh", "\\\\srv\\sh\\"}, {"C:", ""}, {"C:x", ""}, {"x\\y", ""}, {"\\x", ""}, {"\\\\srv", ""},
        {"\\\\?\\C:\\x", ""}, {"%windir%\\x", ""}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Path_GetRoot(c[0]), c[1]) << c[0];
    for (const char* path : {"C:\\a\\..\\b\\", "\\\\srv\\sh\\..\\..", "D:/x/./y"}) {
        const std::string canonical = Path_Canonical(path);
        EXPECT_EQ(canonical.compare(0, Path_GetRoot(path).size(), Path_GetRoot(path)), 0) << path;
        EXPECT_EQ(Path_GetRoot(canonical), Path_GetRoot(path)) << path;
    }
}

TEST(PathStrictlyBelow, KeepsGroupsAndShortcutsInsideTheirFolder) {
    const std::string programs = "C:\\Users\\u\\Start Menu\\Programs\\";
    const char* const below[][2] = {
        {"Group/Sub//App.lnk", "Group\\Sub\\App.lnk"}, {"Tips...", "Tips"},
        {"Sub\\..\\Group", "Group"}, {"..\\Programs\\Group", "Group"},
    };
    for (const auto& c : below) EXPECT_EQ(Path_StrictlyBelow(programs, c[0]), programs + c[1]) << c[0];
    // The Programs folder itself, or a way out of it.
    for (const char* relative : {"", "...", "   ", "Group\\..", "..\\Other", "..\\programs\\Group", "\\Group",
                                 "C:\\Group", "Group:stream", "...\\x"})
        EXPECT_EQ(Path_StrictlyBelow(programs, relative), "") << '"' << relative << '"';
    EXPECT_EQ(Path_StrictlyBelow("C:\\P", "G"), "C:\\P\\G");
    EXPECT_EQ(Path_StrictlyBelow("Programs", "G"), "");
}

TEST(ShortcutName, NamesOneFileInItsFolder) {
    for (const char* name : {"Tips...", "..App", "Read me", "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0"})
        EXPECT_TRUE(ShortcutName_IsValid(name)) << name;
    for (const char* name : {"", "..", " . ", "a\\b", "a/b", "C:x", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "a\tb"})
        EXPECT_FALSE(ShortcutName_IsValid(name)) << '"' << name << '"';
}

}  // namespace

TEST(PathEqual, ComparesAsTheFileSystemDoesWithoutRegardToCase) {
    const char* const same[][2] = {
        {"C:\\Program Files\\App", "c:\\PROGRAM FILES\\app"}, {"C:\\Ärger.ini", "c:\\ärger.INI"},
        {"C:\\Проба\\файл", "c:\\ПРОБА\\ФАЙЛ"}, {"C:\\Ωmega", "c:\\ωMEGA"}, {"", ""},
    };
    for (const auto& c : same) EXPECT_TRUE(Path_Equal(c[0], c[1])) << c[0] << " / " << c[1];
    const char* const different[][2] = {
        {"C:\\Straße", "C:\\STRASSE"},  // no letter is two letters in an ordinal comparison
        {"C:\\ı", "C:\\I"}, {"C:\\ǅ", "C:\\ǆ"},  // upper cases that do not lead back stay apart
        {"C:\\a", "C:\\a\\"}, {"C:\\a", "C:\\b"}, {"C:\\É", "C:\\E"}, {"C:\\x\xC3", "C:\\x\xC4"},
        {"C:\\x\xE9", "C:\\xé"},  // a stray byte is no character, least of all the one it encodes in Latin-1
    };
    for (const auto& c : different) EXPECT_FALSE(Path_Equal(c[0], c[1])) << c[0] << " / " << c[1];
    EXPECT_FALSE(Path_Equal(std::string("C:\\a\0b", 6), "C:\\a"));
    EXPECT_EQ(Path_FoldCase("c:\\ärger"), Path_FoldCase("C:\\ÄRGER"));
}
