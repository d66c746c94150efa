// The four removal passes of an uninstall run, in the order the run calls them: registry
// keys, files, directories, shortcuts.
#pragma once

#include "Disk.h"
#include "EntrySet.h"
#include "Placeholders.h"
#include "RunInteraction.h"
#include "UninstallSteps.h"

#include <string>
#include <vector>

// Deletes the listed keys, deepest first, with the levels between listed keys; silent.
void RegistryKeys_Remove(RunPlatform& platform, RunInteraction& ui, const std::vector<RegKeyRecord>& keys);

// Deletes the listed files (a path may be a pattern), asking Retry or Cancel for each one that
// stays. False when the user skipped at least one file. A pattern leaves the file spared alone
// and then sets *sparedMatched.
bool Files_Remove(Disk& disk, RunInteraction& ui, const std::vector<FileRecord>& files, const std::string& spared = "",
                  bool* sparedMatched = nullptr);

// Removes the emptied directories of the listed files, deepest first, and the remaining files
// of the application directory where that is safe, except kept files and the data file; silent.
// True when the data file was among those files and is left for the caller to delete last.
bool Directories_Remove(Disk& disk, const std::vector<FileRecord>& files, const InfoRecord& info, const BaseDirs& dirs);

// Removes the application's desktop shortcut, the listed shortcuts and the empty program group.
void Shortcuts_Remove(Disk& disk, RunPlatform& platform, RunInteraction& ui,
                      const std::vector<ShortcutRecord>& shortcuts, const InfoRecord& info);
