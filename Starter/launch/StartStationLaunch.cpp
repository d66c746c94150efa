// Starting a Start Station slot: an application as its command line, a folder with the
// browse application, asking for a new browse application while that cannot be started.
#include "StarterShell.h"

#include "KtShellRegistration.h"
#include "PathChecks.h"
#include "StarterTexts.h"

namespace {

// Applications and browse applications often expect to find their files beside them, so they
// start in their own folder. False when the command names no existing program or it could not
// be started.
bool Command_StartInItsDirectory(const StartCommand& found, const std::string& arguments) {
    return Process_Start(found.Program, arguments, Path_GetDirectory(found.Program));
}

void Application_Launch(const StartStationEntry& entry) {
    if (entry.ApplicationName.empty()) return;
    const std::string command = Command_ExpandSystemRoot(entry.ApplicationName, WindowsDir_Get());
    const StartCommand found = StartCommand_Find(command);
    if (!Command_StartInItsDirectory(found, found.Arguments)) {
        StarterBox(StarterText::AppStartErrorBegin + command + StarterText::AppStartErrorEnd,
                   MB_ICONEXCLAMATION | MB_OK);
    }
}

void Folder_Launch(StartStationConfig& config, const std::string& folder) {
    if (!Path_Exists(folder)) return;
    // No limit on the rounds: each one is the user's answer, and an empty answer ends it.
    for (;;) {
        // The browse application is a command too; the folder goes where it has "%1", else last.
        const StartCommand browse = StartCommand_Find(config.BrowseApplication);
        if (Command_StartInItsDirectory(browse, CommandArguments_Fill(browse.Arguments, folder))) return;
        config.BrowseApplication = InputBox(
            StarterText::BrowsePromptBegin + config.BrowseApplication + StarterText::BrowsePromptEnd,
            StarterText::BrowseTitle, "");
        if (config.BrowseApplication.empty()) return;  // nothing saved; the next opening reloads
        // Tried all the same: the folder opens now, and the user knows to ask again next time.
        if (!StartStation_Save(config)) StarterBox(StarterText::BrowseNotSaved, MB_ICONEXCLAMATION | MB_OK);
    }
}

}  // namespace

void StartStation_Launch(StartStationConfig& config, std::int16_t index) {
    if (index < 1 || index > config.StartStationCount ||
        static_cast<std::size_t>(index) > config.StartStationEntries.size())
        return;
    const StartStationEntry entry = config.StartStationEntries[static_cast<std::size_t>(index - 1)];
    switch (entry.FileType) {
        case StartStationType_Application: Application_Launch(entry); break;
        case StartStationType_Folder: Folder_Launch(config, entry.ApplicationName); break;
        default: break;
    }
}
