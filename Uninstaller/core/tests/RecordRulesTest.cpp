// The rules that stand between a hostile data file and the system: which texts may name
// something, which long names a pattern means, and how the log writes what a record holds.
#include "LogText.h"
#include "NamePattern.h"
#include "RecordTexts.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(NamePattern, MeansWhatAWindowsUserMeansOnLongNamesOnly) {
    const struct { const char* pattern; const char* name; bool matches; } cases[] = {
        // Short names never widen a pattern: "*.htm" is no "*.htm*".
        {"*.htm", "page.htm", true}, {"*.htm", "page.html", false}, {"*.htm", "notes.htmlx", false},
        {"*.htm", "a.b.htm", true}, {"*.txt", "a.txt.bak", false}, {"*.txt", "a.txt.txt", true},
        // "*." is the names without an extension; "*.*" and "*" every name.
        {"*.", "README", true}, {"*.", "a.txt", false}, {"*.", "a.b.c", false},
        {"*.*", "README", true}, {"*.*", "a.b", true}, {"*", "a.b", true}, {"a*.*", "abc", true},
        // "?" is one character, or none at the end of the name or before its last dot.
        {"?", "a", true}, {"?", "ab", false}, {"??", "a", true}, {"a?.txt", "a.txt", true},
        {"a?.txt", "ab.txt", true}, {"a?.txt", "abc.txt", false}, {"?.txt", "a.b.txt", false},
        {"set*.ini", "settings.ini", true}, {"set*.ini", "reset.ini", false}, {"*s*s*", "sis", true},
        {"data", "data", true}, {"data", "data.bak", false}, {"data.", "data", true},
        // Ordinal comparison without regard to case, beyond ASCII too; no locale folding.
        {"\xC3\x84rger.INI", "\xC3\xA4rger.ini", true}, {"STRASSE", "stra\xC3\x9F" "e", false},
        {"*.JPG", "photo.jpg", true},
        // The directory entries of a folder itself are no files.
        {"*", ".", false}, {"*", "..", false}, {"*.*", "..", false},
    };
    for (const auto& c : cases) EXPECT_EQ(NamePattern_Matches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST(NamePattern, ManyStarsStayCheap) {
    EXPECT_FALSE(NamePattern_Matches(std::string(200, '*') + "x", std::string(255, 'a')));
}

// What Windows would read as another name (the part before a NUL), or no name at all, is refused;
// the rest keeps its order. Key names may hold what file names may not.
TEST(RecordText, ScreeningDropsWhatWouldNameSomethingElseAndKeepsTheRestInOrder) {
    EntrySet set;
    set.Info = {"ex\0tra"s, "App\0"s, "C:\\App\\app.exe", "\0"s};
    set.Files = {{"", "C:\\App\\*.dll", BooleanFalse}, {"", "C:\\Shared\\victim.txt\0.bak"s, BooleanFalse},
                 {"", "C:\\App\\Caf\xC3\xA9\x7F.txt", BooleanFalse}, {"", "C:\\App\\s\r.ini", BooleanTrue}, {"", "C:\\bin\\<.dll", BooleanFalse}};
    set.RegKeys = {{0, "Software\\Shared\0\\App"s, "", ""}, {0, "Software\\<Firm> \"App\"", "x\0"s, ""}, {0, "Soft\x1Fware", "", ""}};
    set.Shortcuts = {{"Group", "readme.txt\0"s, ""}, {"Gr\"oup", "Link", ""}, {"Group", "Link", "\0"s}, {"Gr\toup", "Link", ""}};
    const EntrySet untouched = set;
    const EntrySetScreening s = EntrySet_Screen(set);

    EXPECT_EQ(set.Info, untouched.Info);
    EXPECT_TRUE(s.AppNameRefused && s.GroupFolderRefused && !s.AppFileRefused);
    EXPECT_EQ(set.Files, (std::vector<FileRecord>{untouched.Files[0], untouched.Files[2]}));
    EXPECT_EQ(s.FilesRefused, 3u);
    EXPECT_EQ(set.RegKeys, std::vector<RegKeyRecord>{untouched.RegKeys[1]});
    EXPECT_EQ(set.Shortcuts, std::vector<ShortcutRecord>{untouched.Shortcuts[2]});
    std::vector<std::string> lines;
    for (const auto& r : s.Refused) lines.push_back(RefusedRecord_Describe(r));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Info record: refused, its AppName holds a NUL at byte 3: App<NUL>",
                         "Info record: refused, its GroupFolder holds a NUL at byte 0: <NUL>",
                         "File record 2: refused, its FilePath holds a NUL at byte 20: C:\\Shared\\victim.txt<NUL>.bak",
                         "File record 4: refused, its FilePath holds a control character at byte 8: C:\\App\\s<CR>.ini",
                         "File record 5: refused, its FilePath holds a character no file name may hold at byte 7: C:\\bin\\<<.dll",
                         "Key record 1: refused, its KeyPath holds a NUL at byte 15: Software\\Shared<NUL>\\App",
                         "Key record 3: refused, its KeyPath holds a control character at byte 4: Soft<0x1F>ware",
                         "Shortcut record 1: refused, its LinkName holds a NUL at byte 10: readme.txt<NUL>",
                         "Shortcut record 2: refused, its Folder holds a character no file name may hold at byte 2: Gr\"oup",
                         "Shortcut record 4: refused, its Folder holds a control character at byte 2: Gr<TAB>oup",
                     }));
}

TEST(LogText, WritesEveryLineBreakingCharacterVisiblyAndNoTextPassesForAnother) {
    const struct { std::string text, logged; } cases[] = {
        {"C:\\a\r\n2026-01-01 00:00:00 Outcome 0", "C:\\a<CR><LF>2026-01-01 00:00:00 Outcome 0"},
        {"a\0b\x07\tc\x1B\x7F"s, "a<NUL>b<0x07><TAB>c<0x1B><0x7F>"},
        // A literal "<" cannot pass for an escape.
        {"<CR>", "<<CR>"}, {"a<<b", "a<<<<b"}, {"<\r", "<<<CR>"},
        // Line and paragraph separators and the C1 controls break lines in some viewers.
        {"x\xC2\x85y\xE2\x80\xA8z\xE2\x80\xA9", "x<U+0085>y<U+2028>z<U+2029>"},
        // Other characters stay as they are; bytes of no UTF-8 character are shown.
        {"Caf\xC3\xA9 \xD0\x94 \xF0\x9F\x8E\xB5", "Caf\xC3\xA9 \xD0\x94 \xF0\x9F\x8E\xB5"},
        {"a\xFF" "b\xC3", "a<0xFF>b<0xC3>"},
    };
    for (const auto& c : cases) EXPECT_EQ(LogText_Escape(c.text), c.logged);
}

}  // namespace
