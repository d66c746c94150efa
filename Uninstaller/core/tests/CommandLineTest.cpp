// Uninstall.exe's command line as administrators' scripts write it. (The split by the runtime's
// quoting rules is fuzzed against them.)
#include "CommandLine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(CommandLine, ReadsTheSwitchesAndRefusesAnythingElse) {
    using Options = std::tuple<bool, bool, bool, std::string, std::string>;  // understood, /S, /?, log, refused
    const std::pair<const char*, Options> cases[] = {
        {"Uninstall.exe", {true, false, false, "", ""}},
        {"u /S", {true, true, false, "", ""}},
        {"u /?", {true, false, true, "", ""}},
        {"u /LOG=C:\\logs\\u.log", {true, false, false, "C:\\logs\\u.log", ""}},
        {"u /log=\"C:\\My Logs\\u.log\" /S", {true, true, false, "C:\\My Logs\\u.log", ""}},
        {"u /?  /LOG=u.log", {true, false, true, "u.log", ""}},
        {"u /LOG=", {false, false, false, "", "/LOG="}},
        {"u /LOG=a.log /LOG=b.log", {false, false, false, "", "/LOG=b.log"}},
        {"u /X", {false, false, false, "", "/X"}},
        {"u -S", {false, false, false, "", "-S"}},
        {"u /S extra", {false, true, false, "", "extra"}},
        {"u \"\"", {false, false, false, "", ""}},
        {"u /S /?", {false, true, false, "", "/?"}},
        {"u /LOG u.log", {false, false, false, "", "/LOG"}},
    };
    for (const auto& [line, expected] : cases) {
        const UninstallOptions o = CommandLine_Parse(line);
        EXPECT_EQ(Options(o.Understood, o.Silent, o.ShowUsage, o.LogPath, o.Refused), expected) << line;
    }
}

}  // namespace
