// Programs of the installation that still run when the user has agreed to remove it.
#pragma once

#include "EntrySet.h"

#include <vector>

// Asks every running process whose program is one of the files listed for deletion to close,
// as at log-off (WM_CLOSE to its top-level windows), and waits up to 10 seconds in all for them
// to end. A program still running then leaves its file to the file pass's Retry/Cancel.
void RunningPrograms_Close(const std::vector<FileRecord>& files);
