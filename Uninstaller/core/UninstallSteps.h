// One uninstall run without the platform: from the data file check to the final message, on a
// Disk, the rest of the machine (RunPlatform) and a RunInteraction. The order is fixed: the
// installation's programs are asked to close before anything of theirs goes, registry keys go
// before the files that programs may still look up through them, files before their
// directories, shortcuts after them, and the data file last of all, so that a run cut short
// can be started again and finish the job.
#pragma once

#include "CommandLine.h"
#include "Disk.h"
#include "EntrySet.h"
#include "Placeholders.h"
#include "RunInteraction.h"

#include <cstdint>
#include <string>
#include <vector>

// How a data file read ended.
enum class InstallFileRead {
    Read,        // the set holds the file's content
    Missing,     // no such visible file, or an unusable path
    Unreadable,  // there, but could not be opened or read
    Invalid,     // read, but no valid data file
};

// What a run needs of the machine besides the disk.
class RunPlatform {
public:
    virtual ~RunPlatform() = default;
    // Fills set from the data file at path (texts converted to UTF-8); every outcome but Read
    // leaves the lists empty. Tells nobody: the run does.
    virtual InstallFileRead ReadDataFile(const std::string& path, EntrySet& set) = 0;
    // Asks the running programs among the files to close and waits a while for them.
    virtual void ClosePrograms(const std::vector<FileRecord>& files) = 0;
    // Deletes one registry key (no subkeys): 0, 2 when it is not there, or the error.
    virtual std::int32_t DeleteKey(std::uint32_t root, const std::string& keyPath) = 0;
    // Removes "<linkName>.lnk" from folder, relative to the Start-menu Programs folder
    // ("..\..\Desktop": the user's desktop): 0 when it went, DiskError::FileNotFound when there
    // was none, DiskError::InvalidName when the name is no shortcut's or leads elsewhere, or the
    // system's reason it stayed.
    virtual std::uint32_t RemoveShortcut(const std::string& folder, const std::string& linkName) = 0;
    // The path the shortcut "<linkName>.lnk" in folder (as for RemoveShortcut) leads to, as
    // written in it: 0 and target ("" when it leads to no file), or the error as above.
    virtual std::uint32_t ShortcutTarget(const std::string& folder, const std::string& linkName, std::string& target) = 0;
    // The user's Start-menu Programs folder, ending with "\"; "" when unknown.
    virtual std::string ProgramsFolder() = 0;
};

// The state of one run: it lives as long as the run, nowhere else.
struct RunState {
    BaseDirs Dirs;
    EntrySet Entries;
    bool NotAllRemoved = false;
};

// The text that tells the user why the data file was not read; "" for Read.
std::string Text_DataFileNotRead(InstallFileRead outcome, const std::string& path);

// The whole run on state.Dirs: check and read the data file, ask, then Removal_Run.
RunOutcome Uninstall_Run(RunState& state, Disk& disk, RunPlatform& platform, RunInteraction& ui);

// Everything after the user's Yes, for state.Entries as read: expand, remove, hide the window,
// tell the final message. AllRemoved, or FileStayed when a file was skipped.
RunOutcome Removal_Run(RunState& state, Disk& disk, RunPlatform& platform, RunInteraction& ui);
