// The uninstaller's own file: it cannot delete itself while it runs, so a copy in a fresh
// temporary folder waits for it to end, deletes it, and leaves itself to the next restart.
#pragma once

// In the uninstaller, after a removal and its final message: starts the copy. Silent; when the
// copy cannot be made, the uninstaller simply stays.
void SelfRemoval_Start();

// First thing at start: true in such a copy, after it has done its work (the process then
// ends); false in a normal run, which goes on as usual.
bool SelfRemoval_RunAsCopy();
