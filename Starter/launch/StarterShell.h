// The Starter's platform operations below the forms: message boxes, the input box, process
// starts, the target program, the Start Station, file types, the web site and the registry
// settings. Each does one platform thing and leaves the decisions to core/StarterModel.h.
#pragma once

#include "Win32.h"

#include "StartCommand.h"
#include "StarterModel.h"
#include "Text.h"

#include <cstdint>
#include <string>
#include <vector>

// ---- dialogs ----------------------------------------------------------------------------------

// A modal message box with the Starter's title; returns the button pressed.
int StarterBox(const std::string& text, UINT style);
// A modal input box (prompt, title, default text, OK and Cancel); the typed text, or "" on Cancel.
std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText);

// ---- processes -------------------------------------------------------------------------------

// The full path of the existing file that a command's program names, or "" when there is none (a
// folder is none). A bare name is looked for in the Starter's folder, the system folders and the
// absolute folders of PATH, never in the current folder; a relative path is taken from the
// Starter's folder.
std::string Program_Find(const std::string& program);
// A stored command's program, found as above ("" when missing), and its arguments as stored.
StartCommand StartCommand_Find(const std::string& command);
// The system's own explorer.exe in the Windows folder.
std::string Explorer_GetPath();

// Starts the program at programPath (a full path) with its window shown normally and activated,
// in startDirectory when one is given. The path goes to the platform as the program to run, so
// that no other program can start in its place, and, quoted, as the command line's first token;
// the arguments follow as given. True when a process was created; false for an empty path.
bool Process_Start(const std::string& programPath, const std::string& arguments,
                   const std::string& startDirectory = "");

// The directory of the running executable, ending with "\".
std::string Starter_Directory();
// The running executable's base name (no extension).
std::string Starter_BaseName();

// ---- target program ---------------------------------------------------------------------------

std::string TargetProgram_GetPath();
void TargetProgram_Launch();
void TargetProgram_LaunchMode(const std::string& path, const std::string& modeSwitch);
std::int16_t TargetWindow_Find(HWND& hwnd, bool& minimized);
bool TargetWindow_Control(std::int16_t action);

// ---- Start Station -----------------------------------------------------------------------------

struct StartStationConfig {
    std::uint32_t StartStationRootKey = 0;
    std::string StartStationBaseKey;
    std::int16_t StartStationCount = 0;
    std::vector<StartStationEntry> StartStationEntries;  // [0] is slot 1
    std::string BrowseApplication;
};

void StartStation_Init(StartStationConfig& config, std::uint32_t rootKey, const std::string& baseKey);
void StartStation_Load(StartStationConfig& config);
// Stores config's browse application, and nothing else; true when it was stored.
bool StartStation_Save(const StartStationConfig& config);
void StartStation_Launch(StartStationConfig& config, std::int16_t index);

// ---- file types and web site --------------------------------------------------------------------

bool FileType_Lookup(const std::string& fileName, const std::string& verb, std::string& typeDescription,
                     std::string& commandLine, std::string& program, std::string& iconFile,
                     std::int16_t& iconIndex);
void WebSite_Open();

// ---- autostart and Run entries -------------------------------------------------------------------

// For a standard user HKEY_LOCAL_MACHINE is read-only: the writes the user asked for report
// whether they took effect, so that nothing is shown as saved that was not.
Boolean AutoStart_Load();
// True when the setting was stored.
bool AutoStart_Save(Boolean autoStartTarget);
// Silent: a Starter that cannot register itself still works for this session.
void StarterRunEntry_Write(const std::string& starterExePath);
// True when the upper Run value is gone (also when it was never there).
bool StarterRunEntry_Remove();
