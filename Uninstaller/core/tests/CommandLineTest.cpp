// Uninstall.exe's command line as administrators' scripts write it.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SplitsAsTheWindowsRuntimeDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"Uninstall.exe", {"Uninstall.exe"}},
        {"\"C:\\Program Files\\App\\Uninstall.exe\" /S", {"C:\\Program Files\\App\\Uninstall.exe", "/S"}},
        {"C:\\App\\Uninstall.exe\t/S   /LOG=x  ", {"C:\\App\\Uninstall.exe", "/S", "/LOG=x"}},
        {"u \"/LOG=C:\\My Logs\\u.log\"", {"u", "/LOG=C:\\My Logs\\u.log"}},
        {"u /LOG=\"C:\\My Logs\\u.log\" /S", {"u", "/LOG=C:\\My Logs\\u.log", "/S"}},
        {"u \"C:\\logs\\\\\" next", {"u", "C:\\logs\\", "next"}},
        {"u a\\\\b a\\\"b \"a\"\"b\"", {"u", "a\\\\b", "a\"b", "a\"b"}},
        {"u \"\" x", {"u", "", "x"}},
        {"\"C:\\Pro gram\\u.exe\"/S", {"C:\\Pro gram\\u.exe/S"}},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLine_Split(c.line), c.args) << c.line;
}

TEST(CommandLine, ReadsTheSwitchesAndRefusesAnythingElse) {
    struct Case {
        const char* line;
        bool understood, silent, usage;
        const char* log;
        const char* refused;
    };
    const Case cases[] = {
        {"Uninstall.exe", true, false, false, "", ""},
        {"\"C:\\Program Files\\App\\Uninstall.exe\"", true, false, false, "", ""},
        {"u /S", true, true, false, "", ""},
        {"u /s /S", true, true, false, "", ""},
        {"u /?", true, false, true, "", ""},
        {"u /LOG=C:\\logs\\u.log", true, false, false, "C:\\logs\\u.log", ""},
        {"u /log=\"C:\\My Logs\\u.log\" /S", true, true, false, "C:\\My Logs\\u.log", ""},
        {"u /?  /LOG=u.log", true, false, true, "u.log", ""},
        {"u /LOG=", false, false, false, "", "/LOG="},
        {"u /LOG=a.log /LOG=b.log", false, false, false, "", "/LOG=b.log"},
        {"u /X", false, false, false, "", "/X"},
        {"u /SILENT", false, false, false, "", "/SILENT"},
        {"u -S", false, false, false, "", "-S"},
        {"u /S extra", false, true, false, "", "extra"},
        {"u \"\"", false, false, false, "", ""},
        {"u /S /?", false, true, false, "", "/?"},
        {"u /LOG u.log", false, false, false, "", "/LOG"},
    };
    for (const auto& c : cases) {
        const UninstallOptions o = CommandLine_Parse(c.line);
        EXPECT_EQ(o.Understood, c.understood) << c.line;
        EXPECT_EQ(o.Silent, c.silent) << c.line;
        EXPECT_EQ(o.ShowUsage, c.usage) << c.line;
        EXPECT_EQ(o.LogPath, c.log) << c.line;
        EXPECT_EQ(o.Refused, c.refused) << c.line;
    }
}

}  // namespace
