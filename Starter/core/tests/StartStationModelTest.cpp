// Start Station slots: the stored names and numbers, the captions of the menu, "%systemroot%".
#include "StarterModel.h"

#include <gtest/gtest.h>

namespace {

TEST(StartStationValues, FileTypeReadsFourCharactersRoundsAndSaturates) {
    const std::pair<const char*, std::int16_t> cases[] = {
        {"1", 1}, {"2abc", 2}, {"02", 2}, {"1.6", 2}, {"2.5", 2}, {"3.5", 4}, {"7,5", 7},
        {"12345", 1234},  // a fifth digit is never read
        {"", 0}, {"abc", 0}, {" 1", 1}, {"-1", -1}, {"&H7", 7},
        {"9E99", 32767}, {"-9E9", -32768}, {"1E2x", 100}, {"1E5x", 32767}, {"1E9999", 32767},
    };
    for (auto [text, type] : cases) EXPECT_EQ(StartStation_FileTypeFromText(text), type) << text;
}

TEST(StartStationValues, IconIndexReadsEightCharactersAndStaysWithinPlusMinus32767) {
    const std::pair<const char*, std::int16_t> cases[] = {
        {"7", 7}, {"7,5", 7}, {"1.5", 2}, {"0.5", 0}, {"-1", -1}, {"", 0}, {"x", 0},
        {"32767", 32767}, {"99999", 32767}, {"-32768", -32767}, {"-99999", -32767},
        {"123456789", 32767}, {"9E999999", 32767}, {"-9E99999", -32767}, {"-2147483649", -32767},
    };
    for (auto [text, index] : cases) EXPECT_EQ(StartStation_IconIndexFromText(text), index) << text;
}

TEST(StartStationValues, SaveWritesNumbersBackNormalised) {
    const std::pair<const char*, const char*> cases[] = {
        {"02", "2"}, {"1.6", "2"}, {"", "0"}, {"-3", "-3"}, {"2abc", "2"}, {"9E99", "32767"}};
    for (auto [stored, written] : cases)
        EXPECT_EQ(StartStation_NumberText(StartStation_FileTypeFromText(stored)), written) << stored;
    EXPECT_EQ(StartStation_NumberText(-32767), "-32767");
}

StartStationEntry Slot(std::int16_t type, const std::string& name) {
    StartStationEntry e;
    e.FileType = type;
    e.ApplicationName = name;
    return e;
}

TEST(StartStationMenu, CaptionAndEnabledStateOfEachKindOfSlot) {
    const std::string longName(60, 'n');
    const std::string fifty(50, 'f');
    struct Case {
        StartStationEntry entry;
        std::string current;
        std::string caption;
        bool enabled;
    } cases[] = {
        {Slot(1, "C:\\Tools\\Player.exe"), "", "Player", true},
        {Slot(1, "C:\\Program Files\\A Long Folder Name\\Tool Name.exe"), "", "Tool Name", true},
        {Slot(1, "C:\\Tools\\" + longName + ".exe"), "", "..." + longName.substr(13), true},
        {Slot(1, "C:\\Tools\\" + fifty + ".exe"), "", fifty, true},
        {Slot(1, "C:\\Tools\\Player.exe C:\\Music\\song.mp3"), "", "song", true},
        {Slot(1, "notepad.exe"), "old", "[not defined]", false},
        {Slot(1, ""), "", "[not defined]", false},
        {Slot(2, "D:\\Music\\"), "", "Music", true},
        {Slot(2, "D:\\"), "", "D:\\", true},
        {Slot(2, ""), "", "[not defined]", false},
        {Slot(0, "C:\\Tools\\Player.exe"), "Player", "[not defined]", false},
        // Unknown types keep the caption the item already has.
        {Slot(7, "C:\\Tools\\Player.exe"), "Old Caption", "Old Caption", true},
        {Slot(-1, ""), "", "[not defined]", false},
        {Slot(3, "C:\\x.exe"), "[not defined]", "[not defined]", false},
    };
    for (const auto& c : cases) {
        MenuItemText item = StartStationItem_Refresh(c.entry, c.current);
        EXPECT_EQ(item.caption, c.caption) << c.entry.FileType << " " << c.entry.ApplicationName;
        EXPECT_EQ(item.enabled, c.enabled) << c.entry.FileType << " " << c.entry.ApplicationName;
    }
}

TEST(StartStationCommand, FirstSystemRootPlaceholderInAnyCaseBecomesTheWindowsDirectory) {
    const std::string win = "C:\\WINDOWS\\";
    const std::pair<const char*, const char*> cases[] = {
        {"%SystemRoot%\\system32\\calc.exe", "C:\\WINDOWS\\\\system32\\calc.exe"},
        {"%SYSTEMROOT%\\a.exe", "C:\\WINDOWS\\\\a.exe"},
        {"x.exe %systemroot%", "x.exe C:\\WINDOWS\\"},
        {"%systemroot%%SystemRoot%", "C:\\WINDOWS\\%SystemRoot%"},
        {"%systemroot\\a.exe", "%systemroot\\a.exe"},
        {"C:\\Tools\\Player.exe", "C:\\Tools\\Player.exe"},
        {"", ""},
    };
    for (auto [command, expanded] : cases) EXPECT_EQ(Command_ExpandSystemRoot(command, win), expanded) << command;
}

}  // namespace
