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
        {"f?le", "file", true}, {"f?le", "fle", false},
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
    const std::string pattern = std::string(200, '*') + "x", name(255, 'a');
    EXPECT_FALSE(NamePattern_Matches(pattern, name));
    EXPECT_TRUE(NamePattern_Matches(pattern, name + "x"));
}

TEST(RecordText, RefusesWhatWindowsWouldReadAsAnotherName) {
    using K = RecordTextKind;
    using F = RecordTextFault;
    const struct { std::string text; K kind; F fault; std::size_t at; } cases[] = {
        {"C:\\Shared\\victim.txt\0.bak"s, K::FilePath, F::Nul, 20},
        {"Software\\Shared\0\\App"s, K::KeyPath, F::Nul, 15},
        {"readme.txt\0"s, K::LinkName, F::Nul, 10},
        {"\0"s, K::GroupFolder, F::Nul, 0},
        {"C:\\a\r\nFile C:\\x: removed", K::FilePath, F::ControlCharacter, 4},
        {"Group\tName", K::ShortcutFolder, F::ControlCharacter, 5},
        {"Soft\x1Fware", K::KeyPath, F::ControlCharacter, 4},
        {"C:\\bin\\<.dll", K::FilePath, F::NameCharacter, 7},
        {"C:\\bin\\a>b", K::FilePath, F::NameCharacter, 8},
        {"App \"Pro\"", K::LinkName, F::NameCharacter, 4},
        {"Group>", K::GroupFolder, F::NameCharacter, 5},
        // Registry key names may hold what file names may not.
        {"Software\\<Firm> \"App\"", K::KeyPath, F::None, 0},
        {"C:\\Program Files\\App\\*.dll", K::FilePath, F::None, 0},
        {"Caf\xC3\xA9 \xD0\x94", K::LinkName, F::None, 0},
        {"", K::GroupFolder, F::None, 0},
        {"a\x7F" "b", K::FilePath, F::None, 0},
    };
    for (const auto& c : cases) {
        const RecordTextCheck check = RecordText_Check(c.text, c.kind);
        EXPECT_EQ(check.Fault, c.fault) << LogText_Escape(c.text);
        if (c.fault != F::None) {
            EXPECT_EQ(check.Offset, c.at) << LogText_Escape(c.text);
        }
    }
}

TEST(RecordText, ScreeningDropsRefusedRecordsAndKeepsTheRestInOrder) {
    EntrySet set;
    set.Info = {"ex\0tra"s, "App\0"s, "C:\\App\\app.exe", "\0"s};
    set.Files = {{"", "C:\\App\\a.txt", BooleanFalse}, {"", "C:\\Shared\\victim.txt\0.bak"s, BooleanFalse},
                 {"", "C:\\App\\b.txt", BooleanFalse}, {"", "C:\\App\\s\r.ini", BooleanTrue}};
    set.RegKeys = {{0, "Software\\Shared\0\\App"s, "", ""}, {0, "Software\\Firm", "x\0"s, ""}};
    set.Shortcuts = {{"Group", "readme.txt\0"s, ""}, {"Gr\"oup", "Link", ""}, {"Group", "Link", "\0"s}};
    const EntrySet untouched = set;
    const EntrySetScreening s = EntrySet_Screen(set);

    EXPECT_EQ(set.Info, untouched.Info);
    EXPECT_TRUE(s.AppNameRefused && s.GroupFolderRefused && !s.AppFileRefused);
    EXPECT_EQ(set.Files, (std::vector<FileRecord>{untouched.Files[0], untouched.Files[2]}));
    EXPECT_EQ(s.FilesRefused, 2u);
    EXPECT_EQ(set.RegKeys, std::vector<RegKeyRecord>{untouched.RegKeys[1]});
    EXPECT_EQ(set.Shortcuts, std::vector<ShortcutRecord>{untouched.Shortcuts[2]});
    std::vector<std::string> lines;
    for (const auto& r : s.Refused) lines.push_back(RefusedRecord_Describe(r));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Info record: refused, its AppName holds a NUL at byte 3: App<NUL>",
                         "Info record: refused, its GroupFolder holds a NUL at byte 0: <NUL>",
                         "File record 2: refused, its FilePath holds a NUL at byte 20: C:\\Shared\\victim.txt<NUL>.bak",
                         "File record 4: refused, its FilePath holds a control character at byte 8: C:\\App\\s<CR>.ini",
                         "Key record 1: refused, its KeyPath holds a NUL at byte 15: Software\\Shared<NUL>\\App",
                         "Shortcut record 1: refused, its LinkName holds a NUL at byte 10: readme.txt<NUL>",
                         "Shortcut record 2: refused, its Folder holds a character no file name may hold at byte 2: Gr\"oup",
                     }));
}

// The reverse of the escaping, to prove that no two texts are written alike.
std::string Unescape(const std::string& logged) {
    std::string out;
    for (std::size_t i = 0; i < logged.size();) {
        if (logged[i] != '<') {
            out += logged[i++];
            continue;
        }
        if (logged.compare(i, 2, "<<") == 0) {
            out += '<';
            i += 2;
            continue;
        }
        const std::size_t end = logged.find('>', i);
        const std::string code = logged.substr(i + 1, end - i - 1);
        i = end + 1;
        if (code == "NUL") out += '\0';
        else if (code == "TAB") out += '\t';
        else if (code == "LF") out += '\n';
        else if (code == "CR") out += '\r';
        else if (code.rfind("0x", 0) == 0) out += static_cast<char>(std::stoi(code.substr(2), nullptr, 16));
        else if (code.rfind("U+", 0) == 0) {
            const int u = std::stoi(code.substr(2), nullptr, 16);
            if (u < 0x800) out += {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
            else out += {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)), static_cast<char>(0x80 | (u & 0x3F))};
        } else ADD_FAILURE() << "unknown escape " << code;
    }
    return out;
}

TEST(LogText, WritesEveryLineBreakingCharacterVisiblyAndCanBeReadBack) {
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
    for (const auto& c : cases) {
        const std::string logged = LogText_Escape(c.text);
        EXPECT_EQ(logged, c.logged);
        EXPECT_EQ(logged.find_first_of("\r\n"s + '\0'), std::string::npos);
        if (c.text.find('\xFF') == std::string::npos && c.text.back() != '\xC3') {
            EXPECT_EQ(Unescape(logged), c.text) << c.logged;
        }
    }
}

}  // namespace
