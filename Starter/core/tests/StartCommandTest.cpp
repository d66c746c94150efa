// Which program a command starts and how its arguments are handed over: a slip here runs a
// planted program or cuts a folder with blanks in two.
#include "StartCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(StartCommandProgram, IsTheQuotedPartAnExistingWholeOrUpToTheFirstExeOrComWordElseTheFirstWord) {
    const struct { std::string command, existingFile, program, arguments; } cases[] = {
        // A planted C:\data\My.exe is never the program: no shorter prefix is tried.
        {R"(C:\data\My Player\player.exe /x "a b")", "", R"(C:\data\My Player\player.exe)", R"(/x "a b")"},
        {R"(C:\data\My Player)", "", R"(C:\data\My)", "Player"},  // a folder: its first word, which is no file
        {R"(  "C:\a b\p.exe"/x "%1")", "", R"(C:\a b\p.exe)", R"(/x "%1")"},
        {R"("C:\a b\p.exe)", "", R"(C:\a b\p.exe)", ""},  // never closed: the rest is the program
        {R"("C:\My Tools\run.bat")", R"("C:\My Tools\run.bat")", R"(C:\My Tools\run.bat)", ""},
        {R"(  C:\My Tools\run.bat)", R"(C:\My Tools\run.bat)", R"(C:\My Tools\run.bat)", ""},
        {R"(C:\My a.exe.old\b.COM  -a   -b )", "", R"(C:\My a.exe.old\b.COM)", "-a   -b "},
        {"C:\\x\\p.exe\t\targ", "", R"(C:\x\p.exe)", "arg"},
        {"notepad readme.txt", "", "notepad", "readme.txt"},  // ".exe" is never appended
        {"   ", "", "", ""},
    };
    for (const auto& c : cases) {
        const StartCommand split =
            StartCommand_Split(c.command, [&](const std::string& path) { return path == c.existingFile; });
        EXPECT_EQ(split.Program, c.program) << c.command;
        EXPECT_EQ(split.Arguments, c.arguments) << c.command;
    }
}

TEST(StartCommandProgram, WithoutAFolderIsLookedForInTheStartersTheSystemsAndTheAbsoluteFoldersOfPath) {
    const std::string path = R"(C:\bin;.;tools;"C:\Program Files\X";;\\srv\share\bin;D:rel;c:/gnu)";
    EXPECT_EQ(ProgramSearch_Folders(R"(C:\Apps\Vembrol\)", R"(C:\windows\system32)", "", path),
              (std::vector<std::string>{R"(C:\Apps\Vembrol\)", R"(C:\windows\system32\)", R"(C:\bin\)",
                                        R"(C:\Program Files\X\)", R"(\\srv\share\bin\)", R"(c:/gnu\)"}));
}

TEST(StartCommandArguments, ArriveWholeWhateverBlanksQuotesAndBackslashesTheyHold) {
    const std::pair<std::string, std::string> quoted[] = {
        {R"(D:\Music\)", R"(D:\Music\)"},
        {R"(D:\My Music\)", R"("D:\My Music\\")"},  // one backslash, not an escaped closing quote
        {R"(x y\\)", R"("x y\\\\")"},
        {"", R"("")"},
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(a\"b c\\d)", R"("a\\\"b c\\d")"},  // backslashes before no quote stay single
    };
    for (const auto& [argument, text] : quoted) EXPECT_EQ(CommandLine_QuoteArgument(argument), text) << argument;
    EXPECT_EQ(CommandLine_Build(R"(C:\a b\p.exe)", ""), R"("C:\a b\p.exe")");

    const struct { std::string arguments, argument, filled; } registered[] = {
        {R"(-osint -url "%1")", "www.vembrol.example", R"(-osint -url "www.vembrol.example")"},
        {"-url %1", "a b", R"(-url "a b")"},
        {R"("%L" %l)", R"(D:\a"b\)", R"("D:\a\"b\\" "D:\a\"b\\")"},
        {R"("--url=%1" \"%1)", "a b", R"("--url=a b" \""a b")"},  // an escaped quote opens nothing
        {"-new-window %2", "x", "-new-window %2 x"},
    };
    for (const auto& r : registered)
        EXPECT_EQ(CommandArguments_Fill(r.arguments, r.argument), r.filled) << r.arguments << " | " << r.argument;
}

}  // namespace
