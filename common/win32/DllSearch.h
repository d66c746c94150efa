// Where the programs let the system look for the DLLs they load: the system folder only.
#pragma once

// First thing in WinMain, before anything may load a DLL by name: a DLL planted beside the
// program (a download folder, a temporary folder) or in the current directory is never loaded.
// Windows 7 without its 2011 loader update lacks the call that restricts the search; there the
// current directory at least is taken out of it.
void DllSearch_RestrictToSystem();
