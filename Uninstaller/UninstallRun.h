// One uninstall run, from the data file check to the final message.
#pragma once

#include "CommandLine.h"
#include "Mfrm.h"
#include "Placeholders.h"

// The base directories from the platform and the running program's own path.
BaseDirs Uninstall_InitPaths();

// The run on form's state: check and read the data file, ask, expand, remove, report.
RunOutcome Uninstall_Run(Mfrm& form);

// The whole program inside the form's load: base directories, then the run.
RunOutcome Form_Load(Mfrm& form);
