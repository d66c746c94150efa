// The four removal passes of an uninstall run, in the order the run calls them: registry
// keys, files, directories, shortcuts.
#pragma once

#include "Disk.h"
#include "EntrySet.h"
#include "KeptSet.h"
#include "Placeholders.h"
#include "RunInteraction.h"
#include "UninstallSteps.h"

#include <string>
#include <vector>

// Deletes the listed keys, deepest first, with the levels between listed keys; silent.
void RegistryKeys_Remove(RunPlatform& platform, RunInteraction& ui, const std::vector<RegKeyRecord>& keys);

// Deletes the listed files (a path may be a pattern), asking Retry or Cancel for each one that
// stays; hidden and system files are listed files like any other. A file among kept stays. A
// pattern leaves the files among heldBack alone and then sets *heldBackMatched. False when a
// listed file stayed: skipped by the user, or there but not to be looked at.
bool Files_Remove(Disk& disk, RunInteraction& ui, const std::vector<FileRecord>& files, const KeptSet& kept,
                  const KeptSet* heldBack = nullptr, bool* heldBackMatched = nullptr);

// A file the wipe found among those held back, in the folder it was found in, still held.
struct HeldBackFile {
    std::unique_ptr<DiskFolder> Folder;
    std::string Name;
};

// Removes the emptied directories of the listed files, deepest first, and the remaining files
// of the application directory where that is safe, through the folder it opened and checked,
// except the files among kept and heldBack; silent. A file among heldBack that the wipe would
// have removed is given back for the caller to delete last.
HeldBackFile Directories_Remove(Disk& disk, const std::vector<FileRecord>& files, const InfoRecord& info,
                                const BaseDirs& dirs, const KeptSet& kept, const KeptSet& heldBack);

// Whether "<Desktop>\<AppName>.lnk" leads into the installation: to a file in the application
// folder (one the wipe would accept) or to a listed file. Asked before the files go, as only
// then can a listed file be recognised; what stays, and why, is told to the log.
bool DesktopShortcut_LeadsIn(Disk& disk, RunPlatform& platform, RunInteraction& ui, const EntrySet& entries,
                             const BaseDirs& dirs);

// Removes the application's desktop shortcut when desktop says so, the listed shortcuts and
// the empty program group.
void Shortcuts_Remove(Disk& disk, RunPlatform& platform, RunInteraction& ui,
                      const std::vector<ShortcutRecord>& shortcuts, const InfoRecord& info, bool desktop);
