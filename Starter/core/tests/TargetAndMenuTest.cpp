// The first item's captions, the meaning of every menu click, and the paths the Starter builds.
#include "StarterModel.h"
#include "StarterTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(TargetState, FirstItemCaptionFollowsStateAndMinimizedFlag) {
    struct Case {
        std::int16_t state;
        bool minimized;
        const char* caption;
    } cases[] = {
        {TargetNotRunning, false, "Launch Vembrol (Normal Mode)"},
        {TargetNotRunning, true, "Launch Vembrol (Normal Mode)"},  // the flag only matters when running
        {TargetInNormalMode, false, "Close Vembrol (Running)"},
        {TargetInNormalMode, true, "Restore Vembrol (Minimized)"},
        {TargetInFastReadMode, true, "Restore Vembrol (Minimized)"},
        {TargetInFastSortMode, false, "Close Vembrol (Running)"},
        {TargetInExtendedHelpMode, true, "Restore Vembrol (Minimized)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TargetCaption_ForState(c.state, c.minimized), c.caption) << c.state << " " << c.minimized;
}

TEST(StarterPaths, TargetAndRunEntryPathsGetExactlyOneBackslashAndOneExe) {
    EXPECT_EQ(TargetProgram_PathIn("C:\\Program Files\\Vembrol"), "C:\\Program Files\\Vembrol\\Vembrol.exe");
    EXPECT_EQ(TargetProgram_PathIn("C:\\Program Files\\Vembrol\\"), "C:\\Program Files\\Vembrol\\Vembrol.exe");
    EXPECT_EQ(TargetProgram_PathIn("C:\\"), "C:\\Vembrol.exe");

    EXPECT_EQ(StarterExePath_Build("C:\\", "Vembrol Starter"), "C:\\Vembrol Starter.exe");
    EXPECT_EQ(StarterExePath_Build("D:\\Tools", "Vembrol Starter"), "D:\\Tools\\Vembrol Starter.exe");
    EXPECT_EQ(StarterExePath_Build("D:\\Tools", "odd.EXE"), "D:\\Tools\\odd.EXE");
    EXPECT_EQ(StarterExePath_Build("D:\\Tools", "odd.ExE"), "D:\\Tools\\odd.ExE");
    EXPECT_EQ(StarterExePath_Build("", "x"), "\\x.exe");

    EXPECT_EQ(StarterRunEntry_Data("C:\\Program Files\\Vembrol\\Vembrol Starter.exe"),
              "\"C:\\Program Files\\Vembrol\\Vembrol Starter.exe\"");
}

TEST(MenuClick, EveryItemMapsToItsCommandAndEverythingElseToNothing) {
    const std::string launch = StarterText::CaptionLaunch;
    struct Case {
        std::int16_t menu, item;
        std::string caption;
        MenuCommand command;
    } cases[] = {
        {1, 1, launch, MenuCommand::LaunchTarget},
        {1, 1, "Restore Vembrol (Minimized)", MenuCommand::RestoreTarget},
        {1, 1, "Close Vembrol (Running)", MenuCommand::CloseTarget},
        {1, 1, "CLOSE anything", MenuCommand::CloseTarget},
        {1, 1, "&Launch Vembrol (Normal Mode)", MenuCommand::None},  // the caption before any refresh
        {1, 1, "la", MenuCommand::None},
        {1, 1, "", MenuCommand::None},
        {1, 6, launch, MenuCommand::VisitHomepage},
        {1, 8, launch, MenuCommand::ToggleAutoStart},
        {1, 10, launch, MenuCommand::CloseStarter},
        {1, 11, "Close Vembrol (Running)", MenuCommand::RemoveStarter},
        {2, 1, "Close Vembrol (Running)", MenuCommand::LaunchFastRead},  // the caption is only for item 1
        {2, 2, launch, MenuCommand::LaunchFastSort},
        {2, 3, launch, MenuCommand::LaunchExtendedHelp},
        {3, 1, launch, MenuCommand::StartStationItem},
        {3, 5, launch, MenuCommand::StartStationItem},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuCommand_FromClick(c.menu, c.item, c.caption), c.command) << c.menu << "," << c.item;

    // Separators, submenu heads and numbers outside the arrays.
    const std::pair<std::int16_t, std::int16_t> nothing[] = {
        {1, 0}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 7}, {1, 9}, {1, 12}, {1, -1}, {2, 0}, {2, 4},
        {3, 0}, {3, 6}, {3, -32768}, {0, 1}, {4, 1}, {-1, 1}};
    for (auto [menu, item] : nothing)
        EXPECT_EQ(MenuCommand_FromClick(menu, item, launch), MenuCommand::None) << menu << "," << item;
}

}  // namespace
