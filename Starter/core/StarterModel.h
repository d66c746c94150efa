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
// Decimal text as written back ("-" for negatives).
std::string StartStation_NumberText(std::int32_t number);

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

// The program path of a registered command that begins with a quoted path (the text between
// the first two quotes), else "". With it a program is started by its own path even where the
// registered command puts options between the path and "%1".
std::string FileType_QuotedProgram(const std::string& commandLine);
