// The Starter's portable rules where a slip changes what the tray menu shows or what gets started.
#include "StarterModel.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(StartStationNumbers, ReadFromTheFirstCharactersRoundedHalfToEvenAndSaturated) {
    const std::pair<const char*, std::int16_t> types[] = {
        {"2abc", 2}, {"2.5", 2}, {"3.5", 4}, {"12345", 1234}, {"", 0}, {"9E99", 32767}, {"-9E9", -32768}};
    for (auto [text, n] : types) EXPECT_EQ(StartStation_FileTypeFromText(text), n) << text;
    const std::pair<const char*, std::int16_t> icons[] = {
        {"0.5", 0}, {"1.5", 2}, {"0000001234", 12}, {"-32768", -32767}, {"9E999999", 32767}, {"-9E99999", -32767}};
    for (auto [text, n] : icons) EXPECT_EQ(StartStation_IconIndexFromText(text), n) << text;
}

TEST(StartStationMenu, CaptionsShortenLongNamesKeepDriveRootsAndMarkUndefinedSlots) {
    const std::string head(10, 'h'), tail(50, 't');
    std::string cyrillic;  // 60 characters of two bytes each: shortened by characters, never inside one
    for (int i = 0; i < 60; ++i) cyrillic += i < 13 ? "ж" : "я";
    const struct { std::int16_t type; std::string name, current, caption; bool enabled; } cases[] = {
        {1, "C:\\Program Files\\Tools\\Tool Name.exe /x", "", "Tool Name", true},
        {1, "C:\\Tools\\" + head + tail + ".exe", "", "..." + tail.substr(3), true},
        {1, "C:\\Tools\\" + cyrillic + ".exe", "", "..." + cyrillic.substr(26), true},
        {1, "C:\\Tools\\R&B Tagger.exe", "", "R&&B Tagger", true},  // shown as "R&B Tagger"
        {1, "notepad.exe", "old", "[not defined]", false},
        {2, "D:\\Music\\", "", "Music", true},
        {2, "D:\\", "", "D:\\", true},
        {0, "C:\\Tools\\Player.exe", "Player", "[not defined]", false},
        {7, "C:\\Tools\\Player.exe", "Old Caption", "Old Caption", true},
    };
    for (const auto& c : cases) {
        StartStationEntry entry;
        entry.FileType = c.type;
        entry.ApplicationName = c.name;
        const MenuItemText item = StartStationItem_Refresh(entry, c.current);
        EXPECT_EQ(item.caption, c.caption) << c.name;
        EXPECT_EQ(item.enabled, c.enabled) << c.name;
    }
}

TEST(MenuClick, FirstItemActsOnItsCaptionPrefixOnly) {
    const std::pair<const char*, MenuCommand> cases[] = {
        {"Launch Vembrol (Normal Mode)", MenuCommand::LaunchTarget}, {"la", MenuCommand::None},
        {"Restore Vembrol (Minimized)", MenuCommand::RestoreTarget}, {"CLOSE anything", MenuCommand::CloseTarget},
        {"&Launch Vembrol (Normal Mode)", MenuCommand::None}};  // the caption before any refresh
    for (auto [caption, command] : cases) EXPECT_EQ(MenuCommand_FromClick(1, 1, caption), command) << caption;
    EXPECT_EQ(MenuCommand_FromClick(2, 1, "Close Vembrol (Running)"), MenuCommand::LaunchFastRead);
}

TEST(TargetWindows, CountOnlyForAProgramFileNamedVembrolExeInAnyFolderAndCase) {
    const std::pair<const char*, bool> images[] = {
        {"C:\\Program Files\\Vembrol\\Vembrol.exe", true}, {"Z:\\tmp\\VEMBROL.EXE", true},
        {"C:\\Windows\\explorer.exe", false}, {"C:\\Vembrol.exe\\Other.exe", false},
        {"C:\\Apps\\Vembrol.exe.old", false}, {"", false}};
    for (auto [image, counts] : images) EXPECT_EQ(TargetProgram_IsImage(image), counts) << image;
}

TEST(StartCommands, ProgramOfARegisteredCommand) {
    const std::pair<const char*, const char*> programs[] = {
        {R"("C:\Program Files\Web\browser.exe" "%1")", R"(C:\Program Files\Web\browser.exe)"},
        {R"(C:\Web\browser.exe %1)", R"(C:\Web\browser.exe)"},
        {R"("C:\Web\browser.exe" -url "%1" -x)", R"(C:\Web\browser.exe -url)"},
        {R"(C:\Web\browser.exe -a)", R"(C:\Web\browser.exe -a)"},
        {"%1", ""}};
    for (auto [command, program] : programs) EXPECT_EQ(FileType_ExtractProgram(command), program) << command;
}

TEST(TrayCallback, OlderShellsSendTheMessageAloneVersion4TheEventAndASignedAnchor) {
    const struct { bool version4; std::uintptr_t wParam; std::intptr_t lParam; std::uint32_t event; int x, y; } cases[] = {
        {false, 1, 0x0202, 0x0202, 0, 0},
        {false, 1, 0x10202, 0x10202, 0, 0},                 // no button release
        {true, 0x00C80064, 0x00010401, 0x0401, 100, 200},   // Enter at the icon
        {true, 0xFFF6FF38, 0x0001007B, 0x007B, -200, -10},  // on a monitor left of and above the primary one
    };
    for (const auto& c : cases) {
        const TrayCallback got = TrayCallback_Decode(c.version4, c.wParam, c.lParam);
        EXPECT_EQ(std::make_tuple(got.event, got.anchorX, got.anchorY), std::make_tuple(c.event, c.x, c.y)) << c.lParam;
    }
}

TEST(TrayClicks, ReleasesOpenAtTheCursorTheirFollowUpNothingAndTheKeyboardAtTheAnchor) {
    using namespace TrayEvent;
    constexpr std::uint32_t LeftDown = 0x0201, LeftDouble = 0x0203;
    constexpr TrayOpen N = TrayOpen::Nothing, C = TrayOpen::AtCursor, A = TrayOpen::AtAnchor;
    const struct { std::vector<std::uint32_t> events; std::vector<TrayOpen> opens; } cases[] = {
        {{MouseMove, LeftDown, LeftDouble}, {N, N, N}},
        {{LeftButtonUp, MouseMove, Select, RightButtonUp, ContextMenu}, {C, N, N, C, N}},
        {{KeySelect, ContextMenu, Select}, {A, A, A}},  // Enter or Space, Shift+F10, the menu key
        {{LeftButtonUp, ContextMenu}, {C, A}},          // a left click's follow-up is Select: this is the keyboard
        {{RightButtonUp, ContextMenu, ContextMenu}, {C, N, A}},
    };
    for (const auto& c : cases) {
        TrayClicks clicks;
        std::vector<TrayOpen> opens;
        for (std::uint32_t event : c.events) opens.push_back(clicks.Event_Receive(event));
        EXPECT_EQ(opens, c.opens) << ::testing::PrintToString(c.events);
    }
}

}  // namespace
