// Portable rules of the Starter: what the tray menu shows and what a click on it means, the
// Start Station slots as stored, and the paths and command lines the Starter builds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- target program -------------------------------------------------------------------------

// Which Vembrol runs, by the title of its main window; single bits, one reported at a time.
enum TargetState : std::int16_t {
    TargetNotRunning = 1,
    TargetInNormalMode = 2,
    TargetInFastSortMode = 4,
    TargetInFastReadMode = 8,
    TargetInExtendedHelpMode = 16,
};
enum TargetAction : std::int16_t { TargetAction_Close = 1, TargetAction_Restore = 2 };

// Window titles in search order, each with its state.
struct TargetTitle {
    const char* title;
    TargetState state;
};
const std::vector<TargetTitle>& TargetTitles_InSearchOrder();

// True when a process's program file is Vembrol.exe, in any folder and any letter case; only
// such a process's windows count as Vembrol's, whatever other programs title their windows.
bool TargetProgram_IsImage(const std::string& imagePath);

// The caption of the first menu item for a target state (refresh of group 1).
std::string TargetCaption_ForState(std::int16_t state, bool minimized);

// Directory of the running program with exactly one trailing "\" + "Vembrol.exe".
std::string TargetProgram_PathIn(const std::string& starterDirectory);
// Directory + "\" (unless present) + base name + ".exe" (unless it already ends so, any case).
std::string StarterExePath_Build(const std::string& directory, const std::string& baseName);
// The Run value's data: the path in a pair of double quotes.
std::string StarterRunEntry_Data(const std::string& starterExePath);

// ---- menu ------------------------------------------------------------------------------------

// The tray menu's three item arrays (MenuIndex) and the positions (Index, 1-based) of the items
// that carry a command; the gaps are separators and submenu heads.
constexpr std::int16_t MenuArray_Main = 1;          // M1, the popup itself
constexpr std::int16_t MenuArray_SpecialModes = 2;  // M2
constexpr std::int16_t MenuArray_StartStation = 3;  // M3, one item per slot
constexpr std::int16_t M1_Target = 1;
constexpr std::int16_t M1_SpecialModes = 3;
constexpr std::int16_t M1_StartStation = 4;
constexpr std::int16_t M1_Homepage = 6;
constexpr std::int16_t M1_AutoStart = 8;
constexpr std::int16_t M1_CloseStarter = 10;
constexpr std::int16_t M1_RemoveStarter = 11;
constexpr std::int16_t M2_FastRead = 1;
constexpr std::int16_t M2_FastSort = 2;
constexpr std::int16_t M2_ExtendedHelp = 3;
constexpr std::int16_t M2_Count = 3;
constexpr std::int16_t M3_Count = 5;

enum class MenuCommand {
    None,
    LaunchTarget,
    RestoreTarget,
    CloseTarget,
    LaunchFastRead,
    LaunchFastSort,
    LaunchExtendedHelp,
    StartStationItem,  // the slot is the SubMenuIndex
    VisitHomepage,
    ToggleAutoStart,
    CloseStarter,
    RemoveStarter,
};
// What a click means: (MenuIndex, SubMenuIndex) and, for the first item, its current caption.
MenuCommand MenuCommand_FromClick(std::int16_t menuIndex, std::int16_t subMenuIndex,
                                  const std::string& firstItemCaption);

// ---- tray icon -------------------------------------------------------------------------------

// The shell's notification events, numbered as the platform numbers them.
namespace TrayEvent {
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LeftButtonUp = 0x0202;
constexpr std::uint32_t RightButtonUp = 0x0205;
constexpr std::uint32_t ContextMenu = 0x007B;  // right click, Shift+F10 or the menu key
constexpr std::uint32_t Select = 0x0400;       // left click
constexpr std::uint32_t KeySelect = 0x0401;    // Enter or Space
}  // namespace TrayEvent

// One tray callback message: its event and, from version 4 on, the anchor the shell gives (the
// icon for the keyboard, the click for the mouse), in screen pixels.
struct TrayCallback {
    std::uint32_t event = 0;
    std::int32_t anchorX = 0;
    std::int32_t anchorY = 0;
};
// The older shells put the mouse message alone in lParam. Version 4 puts the event in the low
// word of lParam (the icon's id in the high one) and the anchor in wParam: x and y as signed
// words, since monitors left of or above the primary one have negative coordinates.
TrayCallback TrayCallback_Decode(bool version4, std::uintptr_t wParam, std::intptr_t lParam);

enum class TrayOpen { Nothing, AtCursor, AtAnchor };
// Where the menu opens for each event. A button release opens it at the cursor, as it always
// has; the shell follows such a release with Select (left) or ContextMenu (right), which must not
// open a second menu, even once the first has closed. Without a click just before, ContextMenu
// and Select come from the keyboard and open the menu at the anchor, as does KeySelect.
class TrayClicks {
public:
    TrayOpen Event_Receive(std::uint32_t event);

private:
    std::uint32_t followUp_ = 0;  // the event that completes the last release, until it comes
};

// ---- Start Station ----------------------------------------------------------------------------

enum StartStationType : std::int16_t {
    StartStationType_None = 0,
    StartStationType_Application = 1,
    StartStationType_Folder = 2,
};

struct StartStationEntry {
    std::int16_t FileType = 0;
    std::string FileTypeDescription;
    std::string ApplicationCommand;
    std::string ApplicationName;
    std::string IconFile;
    std::int16_t IconIndex = 0;
};

// Registry value names of slot n ("file type" + n, ...).
std::string StartStationValue_FileType(int n);
std::string StartStationValue_FileTypeDescription(int n);
std::string StartStationValue_ApplicationCommand(int n);
std::string StartStationValue_ApplicationName(int n);
std::string StartStationValue_IconFile(int n);
std::string StartStationValue_IconIndex(int n);

// The stored texts turned into numbers: the first 4 (8) characters, rounded halves to even,
// saturated (icon index limited to -32767..32767).
std::int16_t StartStation_FileTypeFromText(const std::string& text);
std::int16_t StartStation_IconIndexFromText(const std::string& text);

// A menu item's caption and enabled flag after the refresh of group 3; currentCaption is kept
// for unknown types.
struct MenuItemText {
    std::string caption;
    bool enabled = false;
};
MenuItemText StartStationItem_Refresh(const StartStationEntry& entry, const std::string& currentCaption);
// A stored name as a menu caption that shows it as it is: "&" would otherwise mark an access key
// ("R&B Tagger" would show an underlined B), so it is doubled.
std::string MenuCaption_FromText(const std::string& text);

// "%systemroot%" (any case, first occurrence) replaced by the Windows directory as given.
std::string Command_ExpandSystemRoot(const std::string& command, const std::string& windowsDir);

// ---- file types ----------------------------------------------------------------------------

// The program part of a registered command: quotes dropped, cut before "%1".
std::string FileType_ExtractProgram(const std::string& commandLine);
// An icon text "path,index": true and both parts when there is a comma.
bool FileType_SplitIcon(const std::string& icon, std::string& iconFile, std::int16_t& iconIndex);

