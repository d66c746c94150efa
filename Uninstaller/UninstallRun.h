// One uninstall run on this machine: the real disk, registry and shell, told through a
// RunInteraction (the window's or the silent run's).
#pragma once

#include "CommandLine.h"
#include "Placeholders.h"
#include "RunInteraction.h"

// The base directories from the platform and the running program's own path.
BaseDirs Uninstall_InitPaths();

// The whole program inside the form's load: base directories, the run, and the uninstaller's
// own removal once something was removed.
RunOutcome Form_Load(RunInteraction& ui);
