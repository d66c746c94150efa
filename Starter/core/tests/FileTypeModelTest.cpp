// The program part of a registered command and the icon text of a file type.
#include "StarterModel.h"

#include <gtest/gtest.h>

namespace {

TEST(RegisteredCommand, ProgramPartDropsQuotesAndEndsBeforePercentOne) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("C:\Program Files\Web\browser.exe" "%1")", R"(C:\Program Files\Web\browser.exe)"},
        {R"(C:\Web\browser.exe %1)", R"(C:\Web\browser.exe)"},
        {R"(C:\Web\browser.exe "%1")", R"(C:\Web\browser.exe)"},  // ends at the quote; the blank is trimmed
        {R"("C:\Web\browser.exe" -nohome)", R"(C:\Web\browser.exe -nohome)"},
        {R"("C:\Web\browser.exe" -url "%1" -x)", R"(C:\Web\browser.exe -url)"},
        {R"(C:\Web\browser.exe %1 -later)", R"(C:\Web\browser.exe)"},
        {R"(C:\Web\browser.exe -a)", R"(C:\Web\browser.exe -a)"},
        {R"("C:\a""b")", R"(C:\a)"},
        {R"("unterminated path)", "unterminated path"},
        {R"(100% sure)", "100% sure"},
        {R"(%1)", ""}, {R"(")", ""}, {"", ""},
    };
    for (auto [command, program] : cases) EXPECT_EQ(FileType_ExtractProgram(command), program) << command;
}

TEST(RegisteredCommand, QuotedProgramIsTheTextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(FileType_QuotedProgram(R"("C:\Program Files\Web\b.exe" -osint -url "%1")"), R"(C:\Program Files\Web\b.exe)");
    EXPECT_EQ(FileType_QuotedProgram(R"(C:\Web\b.exe "%1")"), "");
    EXPECT_EQ(FileType_QuotedProgram(R"("unterminated)"), "");
    EXPECT_EQ(FileType_QuotedProgram(""), "");
}

TEST(FileTypeIcon, SplitsAtTheFirstCommaAndSaturatesTheIndex) {
    struct Case {
        const char* icon;
        const char* file;
        std::int16_t index;
    } cases[] = {
        {R"(C:\icons\web.ico,1)", R"(C:\icons\web.ico)", 1},
        {"web.ico, 2", "web.ico", 2},
        {"web.ico,2.5", "web.ico", 2},
        {"web.ico,-3", "web.ico", -3},
        {"web.ico,abc", "web.ico", 0},
        {"a,b,3", "a", 0},
        {",5", "", 5},
        {"web.ico,99999999", "web.ico", 32767},
        {"web.ico,-9E99", "web.ico", -32768},
        {"web.ico,9E99999", "web.ico", 32767},
    };
    for (const auto& c : cases) {
        std::string file = "unchanged";
        std::int16_t index = 42;
        ASSERT_TRUE(FileType_SplitIcon(c.icon, file, index)) << c.icon;
        EXPECT_EQ(file, c.file) << c.icon;
        EXPECT_EQ(index, c.index) << c.icon;
    }
    std::string file = "caller's";
    std::int16_t index = 42;
    EXPECT_FALSE(FileType_SplitIcon("web.ico", file, index));
    EXPECT_EQ(file, "caller's");
    EXPECT_EQ(index, 42);
}

TEST(FileTypeText, TrimRemovesBlanksOnlyAtBothEnds) {
    EXPECT_EQ(Text_TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(Text_TrimBlanks("\ta "), "\ta");
    EXPECT_EQ(Text_TrimBlanks("   "), "");
    EXPECT_EQ(Text_TrimBlanks(""), "");
}

}  // namespace
