// Reading and writing Uninstall.dat on disk.
#pragma once

#include "EntrySet.h"
#include "UninstallSteps.h"
#include "Win32.h"

#include <string>

// Fills set from the data file at path. Every outcome but Read leaves the lists empty; the run
// tells the user why (Text_DataFileNotRead).
InstallFileRead InstallFile_Read(const std::string& path, EntrySet& set);

// Writes set as a data file at path (created or truncated). False when nothing usable was
// written; only an empty path is told to the user.
bool InstallFile_Write(HWND owner, const std::string& path, const EntrySet& set);
