// The uninstaller's own file: it cannot delete itself while it runs, so a copy in a fresh folder
// of the Windows folder's temporary folder waits for it to end, deletes it, and leaves itself to
// the next restart.
#pragma once

// In the uninstaller, after a removal and its final message: starts the copy. Silent; when the
// copy cannot be made, the uninstaller simply stays.
void SelfRemoval_Start();

// First thing at start: true in such a copy, after it has done its work (the process then
// ends); false in every other run, which goes on as usual. A copy is a program that runs from a
// folder of the kind made for it (in the Windows folder's temporary folder) and was handed a
// handle to another process whose image holds exactly its own bytes.
bool SelfRemoval_RunAsCopy();
