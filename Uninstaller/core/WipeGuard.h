// The guard of the directory pass's one deletion that the data file does not name file by
// file: the remaining files of the application folder.
#pragma once

#include "Disk.h"
#include "Placeholders.h"

#include <string>

// Whether the files of dir (canonical, ending with "\") may be wiped. Judged by what the folder
// is, not by its name: another name of the same folder (a share, a subst drive, a link) must not
// pass. Refused: a folder that is a reparse point; the Windows or the system folder; a drive or
// share root; anything below the Windows folder; and any folder the platform cannot identify or
// whose real path it cannot tell (a share of this computer whose folder it does not know).
// *checked receives the identity of the folder judged.
bool Folder_MayBeWiped(Disk& disk, const std::string& dir, const BaseDirs& dirs, DiskIdentity* checked = nullptr);

// Whether server (of "\\server\share\") names this computer: its own name, given by the
// platform, or one of the names every computer answers to for itself.
bool Server_IsThisComputer(const std::string& server, const std::string& computerName);
