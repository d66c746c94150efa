// Files as the uninstaller's existence tests see them: through a directory search that shows
// ordinary, read-only and archive files, never hidden or system ones.
#pragma once

#include "Disk.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Hidden and system files are the user's or the platform's, never the installer's.
bool Attributes_IsVisibleFile(std::uint32_t attributes);

// True when the search reads path as a pattern: * and ?, and the DOS forms < > " of them.
bool Path_IsPattern(const std::string& path);
// Each entry path names: for a plain name what the search for it shows; for a pattern each entry
// of its folder whose LONG name matches the pattern's last level, as users read patterns (the
// search's own matching also tries short names, so that "*.htm" would find "page.html").
void Entries_Find(Disk& disk, const std::string& path, const std::function<bool(const DiskEntry&)>& visit);
// True when a search for path (a name, or a pattern) shows a visible file.
bool File_ExistsBySearch(Disk& disk, const std::string& path);
// The answer of File_ExistsBySearch, from one look at the attributes for a plain name (a
// search costs a folder read each time) and from the search for a pattern.
bool File_IsThere(Disk& disk, const std::string& path);
// The full paths (folder of path + long name) of the visible files the search for path shows.
std::vector<std::string> File_FindMatching(Disk& disk, const std::string& path);
// Deletes the files; returns the error of the last deletion that failed (0 when none failed);
// the caller's next existence test decides.
std::uint32_t Files_Delete(Disk& disk, const std::vector<std::string>& paths);

bool Directory_IsPresent(Disk& disk, const std::string& path);
// The names of the visible files directly in dir; no subdirectories.
std::vector<std::string> Directory_ListFiles(Disk& disk, const std::string& dir);
