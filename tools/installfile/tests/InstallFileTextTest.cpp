// The text form must carry every data file exactly: blanks, empty texts, "|", line ends and
// any byte, and report a malformed line by its number.
#include "InstallFileFormat.h"
#include "InstallFileText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(InstallFileText, CanonicalTextSurvivesTheDataFileUnchanged) {
    const std::string text =
        "info|%windir%\\|My  App |%currentdir%\\app.exe|\n"
        "file||C:\\Program Files\\App\\a b.txt|keep\n"
        "file|^7C extra ^5E|\xE4\xF6\xFC\\\xFF.txt\n"
        "file|||keep\n"
        "regkey|HKLM|Software\\Firm\\App|one^0Atwo|^0D^0A\n"
        "regkey|HKCU|||\n"
        "regkey|HKCR|.vbr||\n"
        "regkey|HKU|x||\n"
        "regkey|0x00000007|odd root||\n"
        "regkey|0xFFFFFFFF|minus one||\n"
        "shortcut|%userfolder%|App ^09 tab|\n"
        "shortcut|||\n";
    EntrySet set;
    std::string error;
    ASSERT_TRUE(InstallFileText_Parse(text, set, error)) << error;
    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
    EntrySet back;
    ASSERT_EQ(InstallFile_Parse(bytes, back).Status, InstallFileStatus::Valid);
    EXPECT_EQ(InstallFileText_Print(back), text);

    EXPECT_EQ(set.Info.AppName, "My  App ");
    EXPECT_EQ(set.Files[1].ExtraPath, "| extra ^");
    EXPECT_EQ(set.RegKeys[0].ExtraText1, "one\ntwo");
    EXPECT_EQ(set.RegKeys[4].RootKey, 7);
    EXPECT_EQ(set.RegKeys[5].RootKey, -1);
}

TEST(InstallFileText, AnyDataFileSurvivesTheText) {
    std::mt19937 rng(7);
    auto text = [&] {
        std::string s(static_cast<std::size_t>(rng() % 6), '\0');
        for (auto& c : s) c = static_cast<char>(rng() % 256);
        return s;
    };
    for (int round = 0; round < 500; ++round) {
        EntrySet set;
        set.Info = {text(), text(), text(), text()};
        for (unsigned i = rng() % 4; i > 0; --i) set.Files.push_back({text(), text(), rng() % 2 ? BooleanTrue : BooleanFalse});
        for (unsigned i = rng() % 4; i > 0; --i)
            set.RegKeys.push_back({static_cast<std::int32_t>(rng()), text(), text(), text()});
        for (unsigned i = rng() % 4; i > 0; --i) set.Shortcuts.push_back({text(), text(), text()});
        EntrySet back;
        std::string error;
        ASSERT_TRUE(InstallFileText_Parse(InstallFileText_Print(set), back, error)) << error;
        ASSERT_TRUE(back == set) << "round " << round;
    }
}

TEST(InstallFileText, AcceptsCommentsBlankLinesCrLfAndLowerCaseHex) {
    EntrySet set;
    std::string error;
    ASSERT_TRUE(InstallFileText_Parse("# made by hand\r\n\r\nfile||C:\\a^7c^5e|keep\r\nregkey|0x80000002|K||", set, error))
        << error;
    ASSERT_EQ(set.Files.size(), 1u);
    EXPECT_EQ(set.Files[0].FilePath, "C:\\a|^");
    ASSERT_EQ(set.RegKeys.size(), 1u);
    EXPECT_EQ(set.RegKeys[0].RootKey, static_cast<std::int32_t>(0x80000002u));
    EXPECT_EQ(set.Info.AppName, "");
}

TEST(InstallFileText, NamesTheLineOfAMistake) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"info|a|b|c\n", "line 1: \"info\" takes 4 fields, found 3"},
        {"\nfile|x\n", "line 2: \"file\" takes 2 fields, found 1"},
        {"file|x|y|kept\n", "line 1: the third field of \"file\" is \"keep\" or absent"},
        {"regkey|HKEY_LOCAL_MACHINE|k||\n", "line 1: root key \"HKEY_LOCAL_MACHINE\" is none of HKCR, HKCU, HKLM, HKU or 0x followed by 1 to 8 hex digits"},
        {"shortcut|a^4|b|c\n", "line 1: field 1 has a \"^\" not followed by two hex digits"},
        {"shortcut|a|b|^G0\n", "line 1: field 3 has a \"^\" not followed by two hex digits"},
        {" info||||\n", "line 1: unknown record kind \" info\""},
    };
    for (const auto& c : cases) {
        EntrySet set;
        set.Info.AppName = "untouched";
        std::string error;
        EXPECT_FALSE(InstallFileText_Parse(c.text, set, error)) << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(set.Info.AppName, "untouched");
    }
}

}  // namespace
