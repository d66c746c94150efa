// Reading and writing Uninstall.dat on disk, with the messages the user sees when it fails.
#pragma once

#include "EntrySet.h"
#include "Win32.h"

#include <string>

enum class InstallFileRead {
    Read,        // set holds the file's content
    Missing,     // no such visible file, or an unusable path
    Unreadable,  // there, but could not be opened or read
    Invalid,     // read, but no valid data file
};

// Fills set from the data file at path. Every outcome but Read has been told to the user in a
// message box owned by owner; the lists are then empty.
InstallFileRead InstallFile_Read(HWND owner, const std::string& path, EntrySet& set);

// Writes set as a data file at path (created or truncated). False when nothing usable was
// written; only an empty path is told to the user.
bool InstallFile_Write(HWND owner, const std::string& path, const EntrySet& set);
